// Program start as the user waits for it: the editor's executable until its
// start dialog is on screen, beside a minimal web-engine program until its
// web view is on screen. Each is run as a whole process, in alternation, and
// the medians are compared.
//
//   start_bench [runs]        (default 9; the probes lie beside this program)
//
// "shown" is the time from launching the process to the window's first
// expose; "whole" adds the program's normal shutdown.
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

#include <unistd.h>

namespace {

double MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

struct Run {
    double shown = -1;
    double whole = -1;
};

Run TimeOnce(const QString& program, const QString& window) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DIDAD_PROBE_WINDOW"), window);
    if (::geteuid() == 0) env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    const double started = MonotonicMs();
    process.start(program, {});
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    Run run;
    run.whole = MonotonicMs() - started;
    const QStringList lines = QString::fromLocal8Bit(process.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (line.startsWith(QLatin1String("shown "))) run.shown = line.mid(6).toDouble() - started;
    if (process.exitCode() != 0 || run.shown < 0) {
        std::fprintf(stderr, "%s did not show its window (exit %d): %s\n", qPrintable(program), process.exitCode(),
                     process.readAllStandardError().constData());
        return {};
    }
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
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
    TimeOnce(didad, QStringLiteral("frmStart"));

    std::vector<double> didadShown, didadWhole, minimalShown, minimalWhole;
    for (int i = 0; i < runs; ++i) {
        const Run m = TimeOnce(minimal, QStringLiteral("view"));
        const Run d = TimeOnce(didad, QStringLiteral("frmStart"));
        if (m.shown < 0 || d.shown < 0) return 1;
        minimalShown.push_back(m.shown);
        minimalWhole.push_back(m.whole);
        didadShown.push_back(d.shown);
        didadWhole.push_back(d.whole);
    }
    const double ms = Median(minimalShown), mw = Median(minimalWhole);
    const double ds = Median(didadShown), dw = Median(didadWhole);
    std::printf("program start, median of %d runs (QT_QPA_PLATFORM=%s)\n", runs,
                qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ? qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM"))
                                                              : "default");
    std::printf("%-28s %10s %10s\n", "", "shown ms", "whole ms");
    std::printf("%-28s %10.1f %10.1f\n", "minimal web-engine program", ms, mw);
    std::printf("%-28s %10.1f %10.1f\n", "editor to start dialog", ds, dw);
    std::printf("%-28s %10.2f %10.2f   (target: shown within 1.30)\n", "ratio", ds / ms, dw / mw);
    return 0;
}
