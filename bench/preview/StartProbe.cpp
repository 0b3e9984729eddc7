// Linked into a program to time its start from outside. When the top-level
// widget named by DIDAD_PROBE_WINDOW is first exposed, the probe prints the
// monotonic clock in milliseconds ("shown <ms>"). It then waits until every
// widget named in DIDAD_PROBE_READY (names joined by commas) exists, so that
// whatever the shown window's buttons open is there for a click at once,
// prints "ready <ms>" and leaves the event loop, so the program ends the way
// it normally ends.
#include <QApplication>
#include <QEvent>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>

namespace {

void PrintClock(const char* what) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%s %.3f\n", what, now.tv_sec * 1000.0 + now.tv_nsec / 1e6);
    std::fflush(stdout);
}

class ExposeProbe : public QObject {
public:
    ExposeProbe(QString target, QStringList ready)
        : QObject(qApp), target_(std::move(target)), ready_(std::move(ready)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (fired_ || event->type() != QEvent::Expose) return false;
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window) return false;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() != window || widget->objectName() != target_) continue;
            fired_ = true;
            PrintClock("shown");
            // After this expose has been painted, and after whatever the
            // program queued behind that paint.
            QTimer::singleShot(0, this, &ExposeProbe::WaitUntilReady);
        }
        return false;
    }

private:
    bool AllReady() const {
        const QWidgetList widgets = QApplication::allWidgets();
        for (const QString& name : ready_) {
            bool found = false;
            for (const QWidget* widget : widgets) found = found || widget->objectName() == name;
            if (!found) return false;
        }
        return true;
    }

    void WaitUntilReady() {
        if (!AllReady()) {
            QTimer::singleShot(0, this, &ExposeProbe::WaitUntilReady);
            return;
        }
        PrintClock("ready");
        // exit(), not quit(): quit() asks the windows to close, and the
        // start dialog refuses.
        QCoreApplication::exit(0);
    }

    QString target_;
    QStringList ready_;
    bool fired_ = false;
};

void InstallProbe() {
    const QString target = qEnvironmentVariable("DIDAD_PROBE_WINDOW");
    if (target.isEmpty()) return;
    const QStringList ready = qEnvironmentVariable("DIDAD_PROBE_READY").split(QLatin1Char(','), Qt::SkipEmptyParts);
    qApp->installEventFilter(new ExposeProbe(target, ready));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
