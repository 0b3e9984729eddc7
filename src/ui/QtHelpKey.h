#pragma once
// F1 in a dialog opens the help pages. The filter sits on the dialog and on
// every widget in it, so the key reaches the form before the control that
// has the focus, whichever control that is.
#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>

#include <functional>

namespace didad {

class HelpKeyFilter : public QObject {
public:
    HelpKeyFilter(QWidget* form, std::function<void()> openHelp) : QObject(form), openHelp_(std::move(openHelp)) {
        form->installEventFilter(this);
        for (QWidget* child : form->findChildren<QWidget*>()) child->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F1 && !key->isAutoRepeat()) {
                openHelp_();
                // Taken here, so the parent form does not open help a second time.
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> openHelp_;
};

} // namespace didad
