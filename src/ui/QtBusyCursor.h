#pragma once
// The busy cursor for the length of a script read or write, restored also
// when the operation throws.
#include <QCursor>
#include <QGuiApplication>

namespace didad {

class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace didad
