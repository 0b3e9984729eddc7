#pragma once
// Small controls the editor and the settings dialog share.
#include <QColor>
#include <QFrame>
#include <QWidget>

class QComboBox;
class QFocusEvent;
class QKeyEvent;
class QLineEdit;
class QMouseEvent;
class QToolButton;

namespace didad {

// `widget`, given the object name by which tests and assistive tools find it.
template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// What an editable list box completes typed text into.
enum class Completion {
    Inline, // the rest of the first item that starts so, of any case, as the box does by itself
    None,   // nothing: typed text is taken as it stands
};

// Makes `box` editable. Its inline completion is made when the box first
// takes the focus: made with the box, it costs more than the rest of the box,
// and most boxes sit in dialogs made at start and opened later, if at all.
void MakeEditable(QComboBox* box, Completion completion);

// Arrow buttons bound to a number box: a click steps the position within the
// range and writes it into the box, which runs the box's change handling.
// Up and Down in the box step by one, Page Up and Page Down by ten; the
// buttons take no focus, so Tab goes from box to box.
class UpDownButtons : public QWidget {
    Q_OBJECT
public:
    UpDownButtons(QLineEdit* buddy, int low, int high, QWidget* parent);
    int Position() const { return position_; }
    void SetPosition(int value);
    int Low() const { return low_; }
    int High() const { return high_; }
    void StepBy(int delta);
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }
    // "Increase Left", "Decrease Left": what each arrow does, for screen readers.
    void NameArrows(const QString& field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* buddy_;
    QToolButton* up_;
    QToolButton* down_;
    int low_;
    int high_;
    int position_;
};

// A 20 x 20 colour swatch that reports clicks. It is a button to the
// keyboard (Space or Enter) and to screen readers, which hear its colour.
class ColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent);
    QColor Colour() const { return colour_; }
    void SetColour(const QColor& colour);
    // What a click does, when the swatch is enabled.
    void Press();
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QColor colour_ = Qt::white;
};

} // namespace didad
