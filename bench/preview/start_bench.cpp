// Program start as the user waits for it: the editor's executable until its
// start dialog is on screen and ready, beside a minimal web-engine program
// until its web view is on screen. Each is run as a whole process, in
// alternation, and the medians are compared.
//
//   start_bench [runs]        (default 9; the probes lie beside this program)
//
// "shown" is the time from launching the process to the window's first
// expose; "ready" is when, besides, every window the start dialog's buttons
// and the editor behind it open exists, so that a click at once finds it (the
// minimal program is ready when shown); "whole" adds the program's normal
// shutdown; "cpu" is the CPU time of the whole run, all processes and
// threads, steadier than the clock when other work shares the machine.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "BenchStats.h"

using didad::bench::Median;

namespace {

double MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// CPU time of the finished child processes (and what they waited for).
double ChildrenCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// The windows the start dialog's buttons and the editor behind it open.
constexpr const char* kDialogs =
    "frmSelFolder,frmAddText,frmAddURL,frmAddImage,frmFinilizedOK,frmProjectSettings,frmTemplateInfo,frmPublish";

struct Run {
    double shown = -1;
    double ready = -1;
    double whole = -1;
    double cpu = -1;
};

Run TimeOnce(const QString& program, const QString& window, const QString& ready = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DIDAD_PROBE_WINDOW"), window);
    env.insert(QStringLiteral("DIDAD_PROBE_READY"), ready);
    if (::geteuid() == 0) env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    const double cpuBefore = ChildrenCpuMs();
    const double started = MonotonicMs();
    process.start(program, {});
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    Run run;
    run.whole = MonotonicMs() - started;
    run.cpu = ChildrenCpuMs() - cpuBefore;
    const QStringList lines = QString::fromLocal8Bit(process.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (line.startsWith(QLatin1String("shown "))) {
            run.shown = line.mid(6).toDouble() - started;
        } else if (line.startsWith(QLatin1String("ready "))) {
            run.ready = line.mid(6).toDouble() - started;
        }
    if (process.exitCode() != 0 || run.shown < 0 || run.ready < 0) {
        std::fprintf(stderr, "%s did not show its window (exit %d): %s\n", qPrintable(program), process.exitCode(),
                     process.readAllStandardError().constData());
        return {};
    }
    return run;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const QDir here(QCoreApplication::applicationDirPath());
    const QString didad = here.filePath(QStringLiteral("start_probe_didad"));
    const QString minimal = here.filePath(QStringLiteral("start_probe_minimal"));

    // One untimed start each fills the file cache.
    TimeOnce(minimal, QStringLiteral("view"));
    const QString dialogs = QString::fromLatin1(kDialogs);
    TimeOnce(didad, QStringLiteral("frmStart"), dialogs);

    std::vector<double> didadShown, didadReady, didadWhole, didadCpu;
    std::vector<double> minimalShown, minimalReady, minimalWhole, minimalCpu;
    for (int i = 0; i < runs; ++i) {
        const Run m = TimeOnce(minimal, QStringLiteral("view"));
        const Run d = TimeOnce(didad, QStringLiteral("frmStart"), dialogs);
        if (m.shown < 0 || d.shown < 0) return 1;
        minimalShown.push_back(m.shown);
        minimalReady.push_back(m.ready);
        minimalWhole.push_back(m.whole);
        minimalCpu.push_back(m.cpu);
        didadShown.push_back(d.shown);
        didadReady.push_back(d.ready);
        didadWhole.push_back(d.whole);
        didadCpu.push_back(d.cpu);
    }
    const double ms = Median(minimalShown), mr = Median(minimalReady), mw = Median(minimalWhole),
                 mc = Median(minimalCpu);
    const double ds = Median(didadShown), dr = Median(didadReady), dw = Median(didadWhole), dc = Median(didadCpu);
    std::printf(
        "program start, median of %d runs (QT_QPA_PLATFORM=%s)\n", runs,
        qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ? qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM")) : "default");
    std::printf("%-28s %10s %10s %10s %10s\n", "", "shown ms", "ready ms", "whole ms", "cpu ms");
    std::printf("%-28s %10.1f %10.1f %10.1f %10.1f\n", "minimal web-engine program", ms, mr, mw, mc);
    std::printf("%-28s %10.1f %10.1f %10.1f %10.1f\n", "editor to start dialog", ds, dr, dw, dc);
    std::printf("%-28s %10.2f %10.2f %10.2f %10.2f\n", "ratio", ds / ms, dr / mr, dw / mw, dc / mc);
    std::printf("ratio at ready  %.2f   (target: within 1.25)\n", dr / mr);
    return 0;
}
