#pragma once
// The program's dialogs open in the middle of the screen they are on.
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace didad {

inline void CentreOnDesktop(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(),
                                            screen->availableGeometry()));
}

} // namespace didad
