// The program's command line, run as a user runs it: the built program in a
// process of its own, with a home folder of its own.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "model/ProjectModel.h"
#include "model/ScriptWriter.h"

using namespace didad;

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

QProcessEnvironment IsolatedEnvironment(const QString& home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

    QString program_ = qEnvironmentVariable("DIDAD_PROGRAM");
    QTemporaryDir home_;

    // Without a display: the answers must come before any window would.
    Run RunWithoutDisplay(const QStringList& arguments) {
        QProcessEnvironment environment = IsolatedEnvironment(home_.path());
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program_, arguments);
        Run run;
        if (!process.waitForFinished(60000)) return run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        run.err = QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }

private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(program_), "DIDAD_PROGRAM names the built program");
        QVERIFY(home_.isValid());
    }

    void helpAndVersionAnswerOnStandardOutput() {
        const Run help = RunWithoutDisplay({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.out.startsWith(QStringLiteral("Usage: didad [options] [folder]\n")), qPrintable(help.out));
        QVERIFY(help.out.contains(QStringLiteral("--version")));
        QCOMPARE(help.err, QString());

        const Run version = RunWithoutDisplay({QStringLiteral("--version")});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QStringLiteral("Didad " DIDAD_VERSION "\n"));
        QCOMPARE(version.err, QString());
    }

    void unknownOptionIsRefused() {
        const Run run = RunWithoutDisplay({QStringLiteral("--frobnicate")});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.err.startsWith(QStringLiteral("didad: Unknown option 'frobnicate'.\n")), qPrintable(run.err));
    }

    // Opening reads the project and rewrites its script for the preview at
    // once, which shows from outside: the final script on disk becomes a
    // preview script.
    void folderOpensItsProject() {
        QTemporaryDir folder;
        ProjectModel project;
        project.projectFolder = QFile::encodeName(folder.path()).toStdString();
        project.AddMenuEntry();
        WriteProjectScript(project, ScriptMode::Final);
        const QString script = QDir(folder.path()).filePath(QStringLiteral("Dirovidadaz.js"));
        QVERIFY(ReadText(script).contains(QStringLiteral("IDE=0")));

        QProcess process;
        QProcessEnvironment environment = IsolatedEnvironment(home_.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(program_, {folder.path()});
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(ReadText(script).contains(QStringLiteral("IDE=1")), 60000);
        QCOMPARE(process.state(), QProcess::Running);
        process.kill();
        process.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
