// The editor on a disk that fails: Update Preview, Add Menu and Finalize
// with the project on a full and on a read-only disk, and the JS error log
// with a folder in the way. Each shows its error box, leaves every file of
// the project as it was, and the editor goes on working once the disk does.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "../support/FaultyDisk.h"
#include "GuiTestBase.h"
#include "editor/TfrmMain.h"
#include "model/ValueHelpers.h"
#include "preview/TfrmBrowser.h"
#include "workflow/TfrmFinilizedOK.h"

using namespace didad;
using namespace didad::testing;
namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        files[fs::relative(entry.path(), root).string()] =
            entry.is_directory() ? std::string("<folder>") : ReadFileBytes(entry.path());
    return files;
}

// Closes the finalize result dialog whenever it comes up, and counts it.
class ResultDialogWatch {
public:
    ResultDialogWatch() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QApplication::activeModalWidget() != frmFinilizedOK) return;
            ++shown;
            frmFinilizedOK->reject();
        });
        timer_.start(10);
    }
    int shown = 0;

private:
    QTimer timer_;
};

} // namespace

const QString kFull = QStringLiteral("No space left on device");
const QString kReadOnly = QStringLiteral("Read-only file system");

class FailingDiskTest : public GuiTestBase {
    Q_OBJECT

    std::unique_ptr<SmallDisk> disk_;
    QString whyNot_;

    fs::path ProjectPath() const { return disk_->path() / "Project"; }
    QString ScriptPath() const { return FromBytes(frmMain->Model().ScriptPath()); }

    // A project of two menus on the small disk, written as the editor does.
    void OpenProjectOnDisk() {
        ProjectModel& model = frmMain->Model();
        model.ResetForNewProject();
        model.projectFolder = ProjectPath().string();
        frmMain->ProjectActivated(false);
        QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
        QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
        QCOMPARE(frmMain->Model().numOfMenus(), 2);
        QVERIFY(boxes.isEmpty());
    }

    // Fills the disk once no automatic save is writing: a save that ended
    // after the disk was full would free the old script's blocks, and the
    // next write would find room.
    void FillDisk() {
        frmMain->WaitForRunningSave();
        disk_->Fill();
    }

    // A write still running holds the disk in use, and the system refuses to
    // switch it until the write ends.
    bool SetDiskReadOnly(bool readOnly) {
        frmMain->WaitForRunningSave();
        return QTest::qWaitFor([&] { return disk_->SetReadOnly(readOnly); }, 5000);
    }

    void ExpectCannotCreate(const QString& path, const QString& reason) {
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].kind, BoxRequest::Kind::Error);
        QCOMPARE(boxes[0].text, QStringLiteral("Cannot create file ") + QDir::toNativeSeparators(path) +
                                    QStringLiteral("\r\n\r\n") + reason);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        boxes.clear();
    }

private slots:
    void initTestCase() {
        CreateWindows();
        std::string why;
        disk_ = SmallDisk::Mount(1024 * 1024, why);
        whyNot_ = QString::fromStdString(why);
    }
    void cleanupTestCase() {
        DestroyWindows();
        disk_.reset();
    }
    void init() {
        if (!disk_) QSKIP(qPrintable(whyNot_));
        ResetRecords();
        fs::remove_all(ProjectPath());
        OpenProjectOnDisk();
    }

    void writesToAFullDiskKeepTheProjectAndGoOnAfterwards() {
        FillDisk();
        const auto before = Snapshot(ProjectPath());

        // Update Preview: the box, the pending look stays for a later try.
        frmMain->MarkPreviewPending();
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        ExpectCannotCreate(ScriptPath(), kFull);
        QVERIFY(frmMain->IsPreviewPending());

        // Add Menu: the entry is added in the editor even though the write failed.
        QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
        ExpectCannotCreate(ScriptPath(), kFull);
        QCOMPARE(frmMain->Model().numOfMenus(), 3);

        // Finalize: no result dialog claims success.
        ResultDialogWatch watch;
        QTest::mouseClick(frmMain->btnFinalize, Qt::LeftButton);
        ExpectCannotCreate(ScriptPath(), kFull);
        QTest::qWait(50);
        QCOMPARE(watch.shown, 0);

        QCOMPARE(Snapshot(ProjectPath()), before);

        // Space again: the three menus reach the disk, and Finalize completes.
        disk_->Drain();
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        QVERIFY(boxes.isEmpty());
        QVERIFY(!frmMain->IsPreviewPending());
        QVERIFY(QFile(ScriptPath()).size() > 0);
        QVERIFY(ReadFileBytes(ProjectPath() / "Dirovidadaz.js").find("var numOfMenus=3,") != std::string::npos);
        QTest::mouseClick(frmMain->btnFinalize, Qt::LeftButton);
        QTRY_COMPARE(watch.shown, 1);
        QVERIFY(boxes.isEmpty());
        QVERIFY(fs::exists(ProjectPath() / "ReadMe.txt"));
    }

    void writesToAReadOnlyDiskKeepTheProject() {
        ResultDialogWatch watch;
        QTest::mouseClick(frmMain->btnFinalize, Qt::LeftButton); // a ReadMe.txt to keep
        QTRY_COMPARE(watch.shown, 1);
        QVERIFY(boxes.isEmpty());
        QVERIFY(SetDiskReadOnly(true));
        const auto before = Snapshot(ProjectPath());

        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        ExpectCannotCreate(ScriptPath(), kReadOnly);
        QTest::mouseClick(frmMain->btnFinalize, Qt::LeftButton);
        ExpectCannotCreate(ScriptPath(), kReadOnly);
        QTest::qWait(50);
        QCOMPARE(watch.shown, 1);
        QCOMPARE(Snapshot(ProjectPath()), before);

        QVERIFY(SetDiskReadOnly(false));
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        QVERIFY(boxes.isEmpty());
    }

    // Guards against the window closing, and the program ending, after the
    // final script could not be written: the edits since the last write
    // would be gone.
    void closingOnAFullDiskKeepsTheWindowOpen() {
        FillDisk();
        QSignalSpy closed(frmMain, &TfrmMain::Closed);
        // As the window manager's close button asks.
        const bool windowClosed = frmMain->windowHandle()->close();
        disk_->Drain();
        QVERIFY(!windowClosed);
        ExpectCannotCreate(ScriptPath(), kFull);
        QCOMPARE(closed.count(), 0);
        QVERIFY(frmMain->isVisible());
        QCOMPARE(frmMain->Model().numOfMenus(), 2);
    }

    // The save made while typing on a full disk: the status line tells why,
    // no box interrupts, the disk is not asked again until the next change,
    // and the status line tells when a save works again.
    void automaticSaveOnAFullDiskTellsOnTheStatusLine() {
        auto* state = Find<QLabel>(frmMain, "lblSaveState");
        const fs::path script = ProjectPath() / "Dirovidadaz.js";
        FillDisk();
        frmMain->tabProp->setCurrentIndex(2);
        QTest::keyClicks(frmMain->txtMenuHTML, QStringLiteral("typed on a full disk"));
        QTRY_COMPARE_WITH_TIMEOUT(state->text(), QStringLiteral("Not saved: ") + kFull, 10000);
        QVERIFY(state->isVisible());
        QVERIFY(boxes.isEmpty());

        disk_->Drain();
        QTest::qWait(3000); // longer than the save's delay: no retry without a change
        QVERIFY(ReadFileBytes(script).find("typed on a full disk") == std::string::npos);

        QTest::keyClicks(frmMain->txtMenuHTML, QStringLiteral("!"));
        QTRY_COMPARE_WITH_TIMEOUT(state->text(), QStringLiteral("Saved again"), 10000);
        QVERIFY(ReadFileBytes(script).find("typed on a full disk!") != std::string::npos);
        QVERIFY(boxes.isEmpty());
        // Saved, but not shown: Update Preview still says the preview is behind.
        QVERIFY(frmMain->IsPreviewPending());
    }

    // The error log is written on the page's behalf, not on a click: a log
    // that cannot be written shows nothing and does not stop the preview.
    void jsLogWithAFolderInTheWayIsSilentAndTheEditorGoesOn() {
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        QVERIFY(WaitForPreviewLoaded());
        const QString logPath = JsLogPath();
        const QDir logFolder = QFileInfo(logPath).dir();
        QFile::remove(logPath);
        QVERIFY(QDir().mkpath(logPath));
        QFile inside(logPath + QStringLiteral("/kept.txt"));
        QVERIFY(inside.open(QIODevice::WriteOnly));
        inside.write("kept");
        inside.close();

        EvalInPreview(QStringLiteral("document.title='!RarurAVI:ERROR(y is not defined@here@3)'"));
        EvalInPreview(QStringLiteral("document.title='!RarurAVI:ySetSel(1)'"));
        QTRY_COMPARE(frmMain->Model().iSelectedMenu, 1);
        // The log writes on its own thread: its attempt is over once flushed.
        frmBrowser->ErrorLog().Flush();
        QVERIFY(boxes.isEmpty());
        QVERIFY(QFileInfo(logPath).isDir());
        QCOMPARE(ReadFileBytes(fs::path(logPath.toStdString()) / "kept.txt"), std::string("kept"));
        QCOMPARE(logFolder.entryList(QStringList{QStringLiteral(".js.log*")}, QDir::Files | QDir::Hidden),
                 QStringList());
        QVERIFY(QDir(logPath).removeRecursively());
    }
};

int main(int argc, char** argv) {
    // Before the application starts any thread: mounts need a namespace of
    // this process's own, which cannot be entered once threads run.
    EnterPrivateMountNamespace();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    FailingDiskTest test;
    return RunGuiTest(argc, argv, test);
}

#include "failing_disk_test.moc"
