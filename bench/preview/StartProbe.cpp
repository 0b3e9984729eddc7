// Linked into a program to time its start from outside: when the top-level
// widget named by DIDAD_PROBE_WINDOW is first exposed, the probe prints the
// monotonic clock in milliseconds ("shown <ms>") and leaves the event loop, so
// the program ends the way it normally ends.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>

namespace {

class ExposeProbe : public QObject {
public:
    explicit ExposeProbe(QString target) : QObject(qApp), target_(std::move(target)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (fired_ || event->type() != QEvent::Expose) return false;
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window) return false;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() != window || widget->objectName() != target_) continue;
            fired_ = true;
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("shown %.3f\n", now.tv_sec * 1000.0 + now.tv_nsec / 1e6);
            std::fflush(stdout);
            // After this expose has been painted. exit(), not quit(): quit()
            // asks the windows to close, and the start dialog refuses.
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return false;
    }

private:
    QString target_;
    bool fired_ = false;
};

void InstallProbe() {
    const QString target = qEnvironmentVariable("DIDAD_PROBE_WINDOW");
    if (target.isEmpty()) return;
    qApp->installEventFilter(new ExposeProbe(target));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
