#pragma once
// The program's dialogs open in the middle of the screen they are on, and
// the snippet dialogs open in their main input.
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace didad {

inline void CentreOnDesktop(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    // Centre the size the window opens with: a layout that fixes the size
    // sets it only once it is activated, which showing would do too late.
    window->ensurePolished();
    if (QLayout* layout = window->layout()) layout->activate();
    window->setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(), screen->availableGeometry()));
}

// Centres the window when it is first shown, before it reaches the screen,
// and leaves it where the user puts it after that. Laying a dialog out costs
// more than making it, and most dialogs are made long before they are shown.
inline void CentreOnFirstShow(QWidget* window) {
    class Centring : public QObject {
    public:
        using QObject::QObject;

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Show && !event->spontaneous()) {
                watched->removeEventFilter(this);
                CentreOnDesktop(static_cast<QWidget*>(watched));
                deleteLater();
            }
            return false;
        }
    };
    window->installEventFilter(new Centring(window));
}

// Gives `input` the focus each time `window` opens, wherever the focus was
// when it last closed. Setting it on closing is not enough: an activation the
// window system delivers after a quick close still moves the focus on to the
// next control of the hidden window.
inline void StartEachOpeningIn(QWidget* window, QWidget* input) {
    class Starting : public QObject {
    public:
        Starting(QWidget* window, QWidget* input) : QObject(window), input_(input) {}

    protected:
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Show && !event->spontaneous()) input_->setFocus();
            return false;
        }

    private:
        QWidget* input_;
    };
    window->installEventFilter(new Starting(window, input));
}

} // namespace didad
