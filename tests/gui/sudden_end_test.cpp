// A first run of the editor that the system kills, and a project that
// another running editor has open. The other editor is this test program
// started again as a child process, set up as the program sets itself up.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>

#include <csignal>
#include <cstdio>

#include "GuiTestBase.h"
#include "app/QtProgramWindows.h"
#include "editor/AutoSave.h"
#include "editor/TfrmMain.h"
#include "model/ScriptWriter.h"
#include "preview/QtLocalFileGuard.h"
#include "preview/TfrmBrowser.h"
#include "workflow/ProjectLocks.h"
#include "workflow/QtProjectLock.h"
#include "workflow/TfrmStart.h"

using namespace didad;

namespace {

// Set in the child's environment: the project to open, what to type into
// its first menu's Menu HTML box, and the parent's settings folder.
constexpr const char* kChildProject = "DIDAD_CHILD_PROJECT";
constexpr const char* kChildTypes = "DIDAD_CHILD_TYPES";
constexpr const char* kChildSettings = "DIDAD_CHILD_SETTINGS";

// The child: the program's windows, the project opened as the command line
// opens it, the typing, then "ready" on standard output and the message loop.
int RunChild(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    PrepareEngineForPreview();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Didad"));
    QApplication::setOrganizationName(QStringLiteral("Divero"));
    QApplication::setQuitOnLastWindowClosed(false);
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setDefaultFormat(QSettings::IniFormat);
    for (const QSettings::Format format : {QSettings::IniFormat, QSettings::NativeFormat})
        QSettings::setPath(format, QSettings::UserScope, qEnvironmentVariable(kChildSettings));
    QtMessageBoxes::SetHook([](const BoxRequest& box) {
        std::printf("box: %s\n", qPrintable(box.text));
        return false;
    });
    frmMain = new TfrmMain();
    if (!CheckBrowserVersion(frmMain)) return 2;
    CreateProgramWindows();
    ShowStartWindows();
    if (!frmStart->OpenProjectFolder(qEnvironmentVariable(kChildProject))) return 3;
    const QString text = qEnvironmentVariable(kChildTypes);
    if (!text.isEmpty()) {
        frmMain->tabProp->setCurrentIndex(2);
        QTest::keyClicks(frmMain->txtMenuHTML, text);
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

} // namespace

class SuddenEndTest : public testing::GuiTestBase {
    Q_OBJECT

    // A project of one menu, written as the editor writes it.
    QString MakeProject(const QString& name) {
        const QString folder = QDir(ProgramFolder()).filePath(name);
        ProjectModel model;
        model.ResetForNewProject();
        model.projectFolder = ToBytes(QDir::toNativeSeparators(folder));
        model.AddMenuEntry();
        WriteProjectScript(model, ScriptMode::Preview);
        return folder;
    }

    // Starts the other editor on `folder` and waits until it has typed `text`.
    bool StartChild(QProcess& child, const QString& folder, const QString& text = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildProject), folder);
        env.insert(QString::fromLatin1(kChildTypes), text);
        env.insert(QString::fromLatin1(kChildSettings), SettingsFolder());
        env.insert(QStringLiteral("HOME"), HomeFolder());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {});
        QByteArray out;
        while (!out.contains("ready\n")) {
            if (!child.waitForReadyRead(120000)) {
                qWarning("child said: %s", out.constData());
                return false;
            }
            out += child.readAllStandardOutput();
        }
        return true;
    }

    static void Kill(QProcess& child) {
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(30000));
    }

private slots:
    void initTestCase() { CreateWindows(); }
    void cleanupTestCase() { DestroyWindows(); }
    void init() { ResetRecords(); }

    // Typing, a pause, and the program killed before Update Preview: the next
    // start tells what happened and Open Last Edited Project brings the typing back.
    void typingSurvivesAKill() {
        const QString folder = MakeProject(QStringLiteral("Killed"));
        QProcess child;
        QVERIFY(StartChild(child, folder, QStringLiteral("<B>typed before the kill</B>")));
        QTest::qWait(static_cast<int>(kAutoSaveDelayMs) + 1500);
        Kill(child);

        frmStart->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmStart));
        QVERIFY(frmStart->lblAbnormalEnd->isVisible());
        QVERIFY2(frmStart->lblAbnormalEnd->text().startsWith(QStringLiteral("Didad did not end normally last time.")),
                 qPrintable(frmStart->lblAbnormalEnd->text()));
        QVERIFY(frmStart->btnOpenLastEdited->isEnabled());
        QTest::mouseClick(frmStart->btnOpenLastEdited, Qt::LeftButton);
        QTRY_VERIFY(!frmStart->isVisible());
        QVERIFY(BoxTexts().isEmpty());
        QCOMPARE(frmMain->Model().projectFolder, ToBytes(QDir::toNativeSeparators(folder)));
        QCOMPARE(frmMain->listMenus->count(), 1);
        frmMain->listMenus->setCurrentRow(0);
        frmMain->SelectFromList();
        QCOMPARE(frmMain->txtMenuHTML->toPlainText(), QStringLiteral("Blank menu<B>typed before the kill</B>"));
    }

    // Two editors never write one project: the second is told and opens
    // nothing; once the first is gone, its lock is taken over.
    void projectOpenElsewhereIsRefused() {
        const QString folder = MakeProject(QStringLiteral("Shared"));
        QProcess child;
        QVERIFY(StartChild(child, folder));
        const std::string active = frmMain->Model().projectFolder;

        QVERIFY(!frmStart->OpenProjectFolder(folder));
        QCOMPARE(BoxTexts(), QStringList{FromBytes(ProjectInUseMessage(ToBytes(folder)))});
        QCOMPARE(frmMain->Model().projectFolder, active);
        // The lock is not among the files the user uploads.
        const QStringList projectFiles{QStringLiteral("Dirovidadaz.js"), QStringLiteral("Temp.html")};
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), projectFiles);

        Kill(child);
        boxes.clear();
        QVERIFY(frmStart->OpenProjectFolder(folder));
        QVERIFY(BoxTexts().isEmpty());
        QCOMPARE(frmMain->Model().projectFolder, ToBytes(folder));
    }

    // A data folder that takes no lock file (a file in the way of its lock
    // folder) still keeps a second editor out, through the other lock
    // folder, and does so when the data folder works again meanwhile.
    void lockWithoutItsDataFolderStillRefuses() {
        const QString dataLocks = QtProjectLock::LockFolders().first();
        QVERIFY(QDir(dataLocks).removeRecursively());
        QFile blocker(dataLocks);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString folder = MakeProject(QStringLiteral("Blocked"));
        QProcess child;
        QVERIFY(StartChild(child, folder));
        const std::string active = frmMain->Model().projectFolder;

        QVERIFY(!frmStart->OpenProjectFolder(folder));
        QCOMPARE(BoxTexts(), QStringList{FromBytes(ProjectInUseMessage(ToBytes(folder)))});
        QVERIFY(QFile::remove(dataLocks));
        QVERIFY(!frmStart->OpenProjectFolder(folder));
        QCOMPARE(BoxTexts().size(), 2);
        QCOMPARE(frmMain->Model().projectFolder, active);

        Kill(child);
        boxes.clear();
        QVERIFY(frmStart->OpenProjectFolder(folder));
        QVERIFY(BoxTexts().isEmpty());
        QVERIFY(QFileInfo(dataLocks).isDir());
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet(kChildProject)) return RunChild(argc, argv);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    PrepareEngineForPreview();
    QApplication app(argc, argv);
    SuddenEndTest test;
    return testing::RunGuiTest(argc, argv, test);
}

#include "sudden_end_test.moc"
