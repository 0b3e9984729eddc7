#pragma once
// The program's dialogs open in the middle of the screen they are on.
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

} // namespace didad
