#pragma once
// What a screen reader needs of the forms: controls that say what they are,
// changes that are told, and a key to go between the editor and the preview.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;

namespace didad {

// Gives a control the name a screen reader speaks for it. With a label, the
// label becomes the control's buddy and speaks the same name: on this
// platform a drop-down list is announced by the label that names it, never
// by a name of its own. An editable list's text part and its pop-up list get
// the name too, since either can be where the reader is.
void NameControl(QWidget* control, const QString& name, QLabel* label = nullptr);

// Tells the screen reader that the element's text changed (a status line).
void AnnounceChange(QWidget* element);

// F6 (and Shift+F6) in the editor goes to the preview; F6 or Ctrl+Tab (with
// or without Shift) in the preview goes back. A web view keeps every other
// key for its page, so without these the preview would be a trap.
class WindowSwitchKeys : public QObject {
public:
    // `previewFocus` is what takes the keys when the preview is reached.
    WindowSwitchKeys(QWidget* editor, QWidget* preview, QWidget* previewFocus);
    ~WindowSwitchKeys() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> editor_;
    QPointer<QWidget> preview_;
    QPointer<QWidget> previewFocus_;
};

} // namespace didad
