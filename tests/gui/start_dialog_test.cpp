// The start dialog and the folder chooser, driven through the real windows:
// new and opened projects, Projects... and back, the remembered project.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

#include "GuiTestBase.h"
#include "app/QtProgramWindows.h"
#include "editor/AutoSave.h"
#include "editor/TfrmMain.h"
#include "model/ScriptWriter.h"
#include "ui/QtMessageBoxes.h"
#include "workflow/TfrmSelFolder.h"
#include "workflow/TfrmStart.h"

using namespace didad;

namespace {

// Runs `act` once the folder chooser is up (its exec() blocks the click that
// opens it); the chooser itself may be made only by that click.
void WhenChooserOpens(std::function<void()> act) {
    testing::WhenModal([](QWidget* w) { return w == frmSelFolder; }, [act](QWidget*) { act(); });
}

void ChooseInChooser(const QString& path) {
    WhenChooserOpens([path] {
        frmSelFolder->txtPath->setText(path);
        QTest::mouseClick(frmSelFolder->btnOK, Qt::LeftButton);
    });
}

QString ScriptText(const QString& folder) {
    QFile file(QDir(folder).filePath(QStringLiteral("Dirovidadaz.js")));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(file.readAll());
}

bool IsEditing() { return frmMain->isEnabled() && !frmStart->isVisible(); }

} // namespace

class StartDialogTest : public testing::GuiTestBase {
    Q_OBJECT
private slots:
    void initTestCase() { CreateWindows(); }
    void cleanupTestCase() { DestroyWindows(); }
    void init() { ResetRecords(); }

    void firstStartOverDisabledMainWindow();
    void quitEndsTheProgram();
    void newProjectInProposedFolder();
    void folderThatCannotBeCreated();
    void existingScriptOpenedOrReplaced();
    void projectsThenCancelKeepsProject();
    void openThroughDirectoryList();
    void openFolderWithoutScript();
    void chooserVolumesHelpAndCancel();
    void reopenLastEditedProject();
    void removedFolderIsToldThenSavedWhereTheUserSays();

private:
    QString projectFolder_;
};

void StartDialogTest::firstStartOverDisabledMainWindow() {
    // A remembered folder that is gone leaves the button disabled.
    QSettings(QStringLiteral("Divero"), QStringLiteral("Didad"))
        .setValue(QStringLiteral("LastEdited"), QDir(ProgramFolder()).filePath(QStringLiteral("gone")));
    frmStart->show();
    QVERIFY(QTest::qWaitForWindowExposed(frmStart));
    QVERIFY(!frmMain->isEnabled());
    QVERIFY(!frmMain->btnHelp->isEnabled());
    QCOMPARE(frmStart->btnQuit_Cancel->text(), QStringLiteral("Quit"));
    QVERIFY(!frmStart->btnOpenLastEdited->isEnabled());
    QCOMPARE(frmMain->lblActiveProject->text(), QStringLiteral("No Active Project!"));
    // Neither Esc nor a close request leaves the dialog.
    QTest::keyClick(frmStart, Qt::Key_Escape);
    frmStart->close();
    QVERIFY(frmStart->isVisible());
}

// Guards against the quit being refused because the start dialog, still up,
// will not close: the program's event loop must end with the click.
void StartDialogTest::quitEndsTheProgram() {
    QVERIFY(frmStart->isVisible());
    constexpr int kStillRunning = 1;
    QTimer stillRunning;
    stillRunning.setSingleShot(true);
    connect(&stillRunning, &QTimer::timeout, [] { QCoreApplication::exit(kStillRunning); });
    QTimer::singleShot(0, frmStart, [&stillRunning] {
        QTest::mouseClick(frmStart->btnQuit_Cancel, Qt::LeftButton);
        // Fires only if the loop goes on after the click. Not at once: a
        // timer of the program's own due in the same pass of the loop would
        // let it run before the loop sees the exit.
        stillRunning.start(2000);
    });
    QCOMPARE(QApplication::exec(), 0);
}

// Proposed in the user's documents folder, made when first needed: the
// program's own folder is read-only for its users.
void StartDialogTest::newProjectInProposedFolder() {
    const QString documents = HomeFolder() + QStringLiteral("/Documents");
    QCOMPARE(ProjectsFolder(), documents + QStringLiteral("/Didad Projects"));
    QVERIFY(!QFileInfo::exists(ProjectsFolder()));
    QVERIFY(QDir().mkpath(documents + QStringLiteral("/Didad Projects/NewProject_01")));
    QString shownPath;
    WhenChooserOpens([&] {
        shownPath = frmSelFolder->txtPath->text();
        QCOMPARE(frmSelFolder->windowTitle(), QStringLiteral("Select Destination Folder"));
        QTest::mouseClick(frmSelFolder->btnOK, Qt::LeftButton);
    });
    QTest::mouseClick(frmStart->btnNew, Qt::LeftButton);

    projectFolder_ = QDir(ProjectsFolder()).filePath(QStringLiteral("NewProject_02"));
    QCOMPARE(shownPath, projectFolder_);
    QTRY_VERIFY(IsEditing());
    QVERIFY(frmMain->btnHelp->isEnabled());
    QCOMPARE(FromBytes(frmMain->Model().projectFolder), projectFolder_);
    QCOMPARE(frmMain->Model().numOfMenus(), 0);
    QVERIFY(ScriptText(projectFolder_).contains(QStringLiteral("IDE=1")));
    QVERIFY(QFile::exists(QDir(projectFolder_).filePath(QStringLiteral("Temp.html"))));
    QCOMPARE(frmMain->lblActiveProject->toolTip(), projectFolder_);
    QVERIFY(frmMain->lblActiveProject->text().startsWith(QStringLiteral("Active Project: ")));
    QVERIFY(QFontMetrics(frmMain->lblActiveProject->font()).horizontalAdvance(frmMain->lblActiveProject->text()) <=
            380);
    QVERIFY(!frmMain->txtLeft->isEnabled());

    // A folder too long for the status line loses its middle, measured in the label's font.
    const QString deep = QStringLiteral("/srv/") + QString(200, QLatin1Char('d')) + QStringLiteral("/end-of-path");
    frmMain->ShowActiveProject(deep);
    const QString shown = frmMain->lblActiveProject->text();
    QVERIFY(shown.startsWith(QStringLiteral("Active Project: /")));
    QVERIFY(shown.contains(QStringLiteral("...")));
    QVERIFY(shown.endsWith(QStringLiteral("path")));
    QVERIFY(QFontMetrics(frmMain->lblActiveProject->font()).horizontalAdvance(shown) <= 380);
    QCOMPARE(frmMain->lblActiveProject->toolTip(), deep);
    frmMain->ShowActiveProject(projectFolder_);
}

// The system's reason: a parent that is a file refuses even root.
void StartDialogTest::folderThatCannotBeCreated() {
    QTest::mouseClick(frmMain->btnProjects, Qt::LeftButton);
    QTRY_VERIFY(frmStart->isVisible());
    QFile file(QDir(ProgramFolder()).filePath(QStringLiteral("a-file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString underFile = file.fileName() + QStringLiteral("/NewProject_01");
    ChooseInChooser(underFile);
    QTest::mouseClick(frmStart->btnNew, Qt::LeftButton);

    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text,
             QStringLiteral("Cannot create folder: ") + underFile + QStringLiteral("\r\n\r\nNot a directory"));
    QVERIFY(frmStart->isVisible());
    QVERIFY(!frmMain->isEnabled());
    QCOMPARE(FromBytes(frmMain->Model().projectFolder), projectFolder_);
    QTest::mouseClick(frmStart->btnQuit_Cancel, Qt::LeftButton);
    QTRY_VERIFY(IsEditing());
}

void StartDialogTest::existingScriptOpenedOrReplaced() {
    frmMain->btnAddMenuClick();
    frmMain->btnAddMenuClick();
    QCOMPARE(frmMain->Model().numOfMenus(), 2);

    // Yes opens the project that is there.
    QTest::mouseClick(frmMain->btnProjects, Qt::LeftButton);
    QTRY_VERIFY(frmStart->isVisible());
    QueueAnswer(true);
    ChooseInChooser(projectFolder_);
    QTest::mouseClick(frmStart->btnNew, Qt::LeftButton);
    QTRY_VERIFY(IsEditing());
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].caption, QStringLiteral("Warning"));
    QVERIFY(boxes[0].text.startsWith(QStringLiteral("File \"Dirovidadaz.js\" already exists")));
    QCOMPARE(frmMain->Model().numOfMenus(), 2);
    QCOMPARE(frmMain->listMenus->count(), 2);
    QVERIFY(frmMain->txtLeft->isEnabled());

    // No makes a new, empty project over it.
    QTest::mouseClick(frmMain->btnProjects, Qt::LeftButton);
    QTRY_VERIFY(frmStart->isVisible());
    QueueAnswer(false);
    ChooseInChooser(projectFolder_);
    QTest::mouseClick(frmStart->btnNew, Qt::LeftButton);
    QTRY_VERIFY(IsEditing());
    QCOMPARE(frmMain->Model().numOfMenus(), 0);
    QCOMPARE(frmMain->listMenus->count(), 0);
    QVERIFY(ScriptText(projectFolder_).contains(QStringLiteral("var numOfMenus=0")));
}

void StartDialogTest::projectsThenCancelKeepsProject() {
    frmMain->btnAddMenuClick();
    QVERIFY(ScriptText(projectFolder_).contains(QStringLiteral("IDE=1")));

    QTest::mouseClick(frmMain->btnProjects, Qt::LeftButton);
    QTRY_VERIFY(frmStart->isVisible());
    QVERIFY(!frmMain->isEnabled());
    QVERIFY(!frmMain->btnHelp->isEnabled());
    QCOMPARE(frmStart->btnQuit_Cancel->text(), QStringLiteral("Cancel"));
    QVERIFY(!frmStart->btnOpenLastEdited->isEnabled());
    QVERIFY(ScriptText(projectFolder_).contains(QStringLiteral("IDE=0")));

    QTest::mouseClick(frmStart->btnQuit_Cancel, Qt::LeftButton);
    QTRY_VERIFY(IsEditing());
    QVERIFY(frmMain->btnHelp->isEnabled());
    QCOMPARE(FromBytes(frmMain->Model().projectFolder), projectFolder_);
    QCOMPARE(frmMain->Model().numOfMenus(), 1);
    // Still the final script until the next preview update.
    QVERIFY(ScriptText(projectFolder_).contains(QStringLiteral("IDE=0")));
}

void StartDialogTest::openThroughDirectoryList() {
    // A second project to switch to; the first keeps its menu.
    const QString other = QDir(ProjectsFolder()).filePath(QStringLiteral("other"));
    QDir().mkpath(other);
    ProjectModel written;
    written.projectFolder = ToBytes(other);
    written.AddMenuEntry();
    written.AddMenuEntry();
    written.AddMenuEntry();
    written.entries[0].MX = 77;
    WriteProjectScript(written, ScriptMode::Final);

    QTest::mouseClick(frmMain->btnProjects, Qt::LeftButton);
    QTRY_VERIFY(frmStart->isVisible());
    QString openedAt;
    QString afterDoubleClick;
    WhenChooserOpens([&] {
        openedAt = frmSelFolder->txtPath->text();
        QListWidget* list = frmSelFolder->NewDirList1;
        const QList<QListWidgetItem*> found = list->findItems(QStringLiteral("other"), Qt::MatchEndsWith);
        if (!found.isEmpty()) {
            list->scrollToItem(found.first());
            const QRect where = list->visualItemRect(found.first());
            // An item view takes a double click only on the item it saw pressed.
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, where.center());
        }
        afterDoubleClick = frmSelFolder->txtPath->text();
        QTest::mouseClick(frmSelFolder->btnOK, Qt::LeftButton);
    });
    QTest::mouseClick(frmStart->btnOpen, Qt::LeftButton);

    // Open starts where New proposes.
    QCOMPARE(openedAt, ProjectsFolder() + QLatin1Char('/'));
    QCOMPARE(afterDoubleClick, other);
    QTRY_VERIFY(IsEditing());
    QCOMPARE(FromBytes(frmMain->Model().projectFolder), other);
    QCOMPARE(frmMain->Model().numOfMenus(), 3);
    QCOMPARE(frmMain->listMenus->count(), 3);
    QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("77"));
    QVERIFY(ScriptText(other).contains(QStringLiteral("IDE=1")));
    // The project left behind was written as a final script with its menu.
    QVERIFY(ScriptText(projectFolder_).contains(QStringLiteral("var numOfMenus=1")));
    projectFolder_ = other;
}

void StartDialogTest::openFolderWithoutScript() {
    const QString empty = QDir(ProgramFolder()).filePath(QStringLiteral("empty"));
    QDir().mkpath(empty);
    QTest::mouseClick(frmMain->btnProjects, Qt::LeftButton);
    QTRY_VERIFY(frmStart->isVisible());
    ChooseInChooser(empty);
    QTest::mouseClick(frmStart->btnOpen, Qt::LeftButton);

    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes[0].text.startsWith(QStringLiteral("\"Dirovidadaz.js\" not found in this folder.")));
    QVERIFY(frmStart->isVisible());
    QCOMPARE(FromBytes(frmMain->Model().projectFolder), projectFolder_);
    QTest::mouseClick(frmStart->btnQuit_Cancel, Qt::LeftButton);
    QTRY_VERIFY(IsEditing());
}

void StartDialogTest::chooserVolumesHelpAndCancel() {
    QTest::mouseClick(frmMain->btnProjects, Qt::LeftButton);
    QTRY_VERIFY(frmStart->isVisible());
    QTest::keyRelease(frmStart->btnOpen, Qt::Key_F1);
    QCOMPARE(urls.opened.size(), 1);
    QVERIFY(urls.opened[0].toLocalFile().endsWith(QStringLiteral("Help/index.htm")));

    QString onRootVolume;
    WhenChooserOpens([&] {
        QTest::keyRelease(frmSelFolder->txtPath, Qt::Key_F1);
        const int root = frmSelFolder->NewDriveBox1->findData(QStringLiteral("/"));
        if (root >= 0) {
            frmSelFolder->NewDriveBox1->setCurrentIndex(root);
            emit frmSelFolder->NewDriveBox1->activated(root);
        }
        onRootVolume = frmSelFolder->txtPath->text();
        QTest::mouseClick(frmSelFolder->BitBtn1, Qt::LeftButton);
    });
    QTest::mouseClick(frmStart->btnOpen, Qt::LeftButton);

    QCOMPARE(urls.opened.size(), 2);
    QCOMPARE(onRootVolume, QStringLiteral("/"));
    QVERIFY(!frmSelFolder->Accepted);
    QVERIFY(boxes.isEmpty());
    QVERIFY(frmStart->isVisible());
    QCOMPARE(FromBytes(frmMain->Model().projectFolder), projectFolder_);
    QTest::mouseClick(frmStart->btnQuit_Cancel, Qt::LeftButton);
    QTRY_VERIFY(IsEditing());
}

void StartDialogTest::reopenLastEditedProject() {
    // Program end records the folder; the next run's first start offers it.
    frmMain->RecordLastEditedProject();
    QCOMPARE(
        QSettings(QStringLiteral("Divero"), QStringLiteral("Didad")).value(QStringLiteral("LastEdited")).toString(),
        projectFolder_);

    delete frmStart;
    frmStart = new TfrmStart(MainWindowAccess());
    HandWindowsToMain();
    frmMain->Model().projectFolder.clear();
    frmMain->Model().entries.clear();
    frmStart->show();
    QTRY_VERIFY(frmStart->btnOpenLastEdited->isEnabled());
    QCOMPARE(frmStart->btnOpenLastEdited->toolTip(), projectFolder_);
    QCOMPARE(frmStart->btnQuit_Cancel->text(), QStringLiteral("Quit"));

    QTest::mouseClick(frmStart->btnOpenLastEdited, Qt::LeftButton);
    QTRY_VERIFY(IsEditing());
    QCOMPARE(FromBytes(frmMain->Model().projectFolder), projectFolder_);
    QCOMPARE(frmMain->Model().numOfMenus(), 3);
    QVERIFY(boxes.isEmpty());
}

// The automatic save finds the project's folder removed: it does not make it
// again unasked. The user is asked, and the project goes there again, or into
// another place the user chooses, with the edits typed meanwhile.
void StartDialogTest::removedFolderIsToldThenSavedWhereTheUserSays() {
    QVERIFY(IsEditing());
    const QString folder = projectFolder_;
    const QString question = FromBytes(FolderRemovedQuestion(ToBytes(folder)));
    auto* saveState = Find<QLabel>(frmMain, "lblSaveState");
    auto removeAndType = [&](const QString& text) {
        QVERIFY(QDir(folder).removeRecursively());
        frmMain->tabProp->setCurrentIndex(2);
        frmMain->txtMenuHTML->setFocus();
        QTest::keyClicks(frmMain->txtMenuHTML, text);
    };

    QueueAnswer(true); // Save Here Again
    removeAndType(QStringLiteral("first"));
    QTRY_VERIFY_WITH_TIMEOUT(BoxTexts().contains(question), 10000);
    QCOMPARE(boxes.last().caption, QStringLiteral("Project Folder Removed"));
    QVERIFY(ScriptText(folder).contains(QStringLiteral("first")));
    QCOMPARE(saveState->text(), QStringLiteral("Saved again"));

    boxes.clear();
    QueueAnswer(false); // Choose Another Place...
    const QString elsewhere = QDir(ProgramFolder()).filePath(QStringLiteral("Elsewhere"));
    ChooseInChooser(elsewhere);
    removeAndType(QStringLiteral("second"));
    QTRY_COMPARE_WITH_TIMEOUT(FromBytes(frmMain->Model().projectFolder), elsewhere, 10000);
    QCOMPARE(BoxTexts(), QStringList{question});
    const QString moved = ScriptText(elsewhere);
    QVERIFY(moved.contains(QStringLiteral("first")) && moved.contains(QStringLiteral("second")));
    QVERIFY(QFile::exists(QDir(elsewhere).filePath(QStringLiteral("Temp.html"))));
    QVERIFY(!QFileInfo::exists(folder));
    QCOMPARE(frmMain->lblActiveProject->toolTip(), elsewhere);
    QCOMPARE(
        QSettings(QStringLiteral("Divero"), QStringLiteral("Didad")).value(QStringLiteral("LastEdited")).toString(),
        elsewhere);
}

DIDAD_GUI_TEST_MAIN(StartDialogTest)
#include "start_dialog_test.moc"
