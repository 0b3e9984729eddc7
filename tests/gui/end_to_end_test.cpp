// The whole road of one edit through the real program: start, a new project,
// edits in the editor and in the preview, settings, finalize, closing, and a
// second start that opens the last edited project as it was left. Real
// windows, a real web view fed with real mouse input, real files.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

#include <functional>

#include "GuiTestBase.h"
#include "app/QtProgramWindows.h"
#include "editor/TfrmAddImage.h"
#include "editor/TfrmAddText.h"
#include "editor/TfrmAddURL.h"
#include "editor/TfrmMain.h"
#include "model/ProjectModel.h"
#include "preview/TfrmBrowser.h"
#include "ui/QtMessageBoxes.h"
#include "workflow/TfrmFinilizedOK.h"
#include "workflow/TfrmProjectSettings.h"
#include "workflow/TfrmSelFolder.h"
#include "workflow/TfrmStart.h"
#include "workflow/TfrmTemplateInfo.h"

using namespace didad;
using namespace didad::testing;

namespace {

// The web engine answers from its own processes; a loaded machine is slow.
constexpr int kPageWait = 30000;

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

bool IsEditing() { return frmMain->isEnabled() && !frmStart->isVisible(); }

// Where the page's input arrives: the render widget behind the view.
QWidget* PageInput() { return frmBrowser->WebBrowser1->focusProxy(); }

void TypeInto(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

const QString kVerticalCaptionShown = QStringLiteral("<CENTER>\nC<BR>a<BR>p<BR>t<BR>i<BR>o<BR>n</CENTER>");

} // namespace

class EndToEndTest : public GuiTestBase {
    Q_OBJECT

    QString folder_;
    ProjectModel leftAs_;

    QString ScriptPath() const { return QDir(folder_).filePath(QStringLiteral("Dirovidadaz.js")); }
    QString Script() const { return QString::fromLatin1(ReadBytes(ScriptPath())); }

    // The page's own idea of where menu i's owner element stands and how big it is.
    QRect OwnerRect(int index) {
        const QVariantList v =
            EvalInPreview(
                QStringLiteral("(function(){var o=document.getElementById('owner%1');"
                               "return o ? [o.offsetLeft,o.offsetTop,o.offsetWidth,o.offsetHeight] : null;})()")
                    .arg(index))
                .toList();
        if (v.size() != 4) return {};
        return {v[0].toInt(), v[1].toInt(), v[2].toInt(), v[3].toInt()};
    }

    // The caption's size: the owner also holds the panel once it opens.
    QSize CaptionSize(int index) {
        const QVariantList v = EvalInPreview(QStringLiteral("(function(){var c=document.getElementById('cap%1');"
                                                            "return c ? [c.offsetWidth,c.offsetHeight] : null;})()")
                                                 .arg(index))
                                   .toList();
        if (v.size() != 2) return {};
        return {v[0].toInt(), v[1].toInt()};
    }

    QString CaptionHtml(int index) {
        return EvalInPreview(QStringLiteral("(function(){var c=document.getElementById('cap%1');"
                                            "return c ? c.innerHTML : '';})()")
                                 .arg(index))
            .toString();
    }

    // The selected menu opened by makeDidad: its panel is visible and slid out.
    bool MenuOpen(int index) {
        return EvalInPreview(QStringLiteral("(function(){var m=document.getElementById('menu%1');"
                                            "return !!m && getComputedStyle(m).visibility=='visible';})()")
                                 .arg(index))
            .toBool();
    }

    // The program's start: the windows in their order, then the start dialog
    // over the disabled main window, as the program entry does it.
    void StartProgramAgain() {
        frmMain = new TfrmMain();
        frmMain->Model().programFolder = ToBytes(QDir::toNativeSeparators(ProgramFolder() + QLatin1Char('/')));
        QVERIFY(CheckBrowserVersion(frmMain));
        CreateProgramWindows();
        ShowStartWindows();
        QVERIFY(QTest::qWaitForWindowExposed(frmStart));
    }

    // Closing the main window and the end of the program, in the entry's order.
    void EndProgram() {
        frmMain->close();
        DestroyProgramWindows();
    }

private slots:
    void initTestCase() {
        CreateWindows();
        frmStart->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmStart));
    }
    void cleanupTestCase() { DestroyWindows(); }

    void firstStartNewProjectTwoMenus();
    void typedLeftReachesThePageOnUpdate();
    void dragInThePreviewReachesTheEditor();
    void verticalSwitchExchangesTheCaption();
    void settingsSpeedsReachScriptAndPage();
    void finalizeWritesWhatASiteNeeds();
    void closeWritesFinalScriptAndRemembersFolder();
    void secondStartOpensEverythingAsLeft();
};

void EndToEndTest::firstStartNewProjectTwoMenus() {
    QVERIFY(!frmMain->isEnabled());
    QVERIFY(!frmStart->btnOpenLastEdited->isEnabled());

    // New Menu Project in the folder the chooser proposes.
    QString proposed;
    WhenModal(frmSelFolder, [&] {
        proposed = frmSelFolder->txtPath->text();
        QTest::mouseClick(frmSelFolder->btnOK, Qt::LeftButton);
    });
    QTest::mouseClick(frmStart->btnNew, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(IsEditing(), kPageWait);
    folder_ = FromBytes(frmMain->Model().projectFolder);
    QCOMPARE(QDir::toNativeSeparators(proposed), folder_);
    QCOMPARE(folder_, QDir::toNativeSeparators(ProjectsFolder() + QStringLiteral("/NewProject_01")));
    QVERIFY(Script().contains(QStringLiteral("IDE=1")));
    QVERIFY(QFile::exists(QDir(folder_).filePath(QStringLiteral("Temp.html"))));
    QVERIFY(WaitForPreviewLoaded(kPageWait));
    QVERIFY(boxes.isEmpty());

    QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
    QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
    QCOMPARE(frmMain->listMenus->count(), 2);
    QCOMPARE(frmMain->listMenus->currentRow(), 1);
    QCOMPARE(frmMain->Model().iSelectedMenu, 1);
    // Add Menu writes the preview script: both menus are on disk already.
    QVERIFY(Script().contains(QStringLiteral("numOfMenus=2")));
    QVERIFY(frmMain->txtLeft->isEnabled());
    QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("162"));
}

void EndToEndTest::typedLeftReachesThePageOnUpdate() {
    QVERIFY(WaitForPreviewLoaded(kPageWait));
    frmMain->ClearPreviewPending();
    QVERIFY(!frmMain->btnUpdatePreview->font().bold());

    TypeInto(frmMain->txtLeft, QStringLiteral("120"));
    QCOMPARE(frmMain->Model().entries[1].MX, 120);
    QVERIFY(frmMain->IsPreviewPending());
    QVERIFY(frmMain->btnUpdatePreview->font().bold());
    // Nothing is written before the update: the page still has the old place.
    QTRY_COMPARE_WITH_TIMEOUT(OwnerRect(1).left(), 162, kPageWait);

    QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
    QVERIFY(!frmMain->IsPreviewPending());
    QVERIFY(!frmMain->btnUpdatePreview->font().bold());
    QVERIFY(Script().contains(QStringLiteral("var MX = new Array (10,120);")));
    QVERIFY(WaitForPreviewLoaded(kPageWait));
    QTRY_COMPARE_WITH_TIMEOUT(OwnerRect(1).topLeft(), QPoint(120, 10), kPageWait);
    QCOMPARE(CaptionSize(1), QSize(150, 22));
    // makeDidad opened the selected menu.
    QTRY_VERIFY_WITH_TIMEOUT(MenuOpen(1), kPageWait);
    QVERIFY(!MenuOpen(0));
}

void EndToEndTest::dragInThePreviewReachesTheEditor() {
    frmBrowser->scroller->horizontalScrollBar()->setValue(0);
    frmBrowser->scroller->verticalScrollBar()->setValue(0);
    const QRect owner = OwnerRect(1);
    QCOMPARE(owner.topLeft(), QPoint(120, 10));
    // The middle of the caption, clear of the first menu that it overlaps.
    const QPoint grab(owner.left() + 100, owner.top() + 11);
    const QPoint by(40, 60);

    QTest::mousePress(PageInput(), Qt::LeftButton, {}, grab);
    QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("bAllowMove")).toInt(), 1, kPageWait);
    for (int step = 1; step <= 4; ++step) QTest::mouseMove(PageInput(), grab + by * step / 4);
    // The owner follows the pointer in the page while the button is down.
    QTRY_COMPARE_WITH_TIMEOUT(OwnerRect(1).topLeft(), QPoint(160, 70), kPageWait);
    QTest::mouseRelease(PageInput(), Qt::LeftButton, {}, grab + by);

    QTRY_COMPARE_WITH_TIMEOUT(frmMain->Model().entries[1].MX, 160, kPageWait);
    QTRY_COMPARE_WITH_TIMEOUT(frmMain->Model().entries[1].MY, 70, kPageWait);
    QCOMPARE(frmMain->Model().iSelectedMenu, 1);
    QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("160"));
    QCOMPARE(frmMain->txtTop->text(), QStringLiteral("70"));
    // The page shows the move already: no pending look.
    QVERIFY(!frmMain->IsPreviewPending());
    QVERIFY(!frmMain->btnUpdatePreview->font().bold());
    QCOMPARE(frmMain->Model().entries[0].MX, 10);
    QCOMPARE(frmMain->Model().entries[0].MY, 10);
}

void EndToEndTest::verticalSwitchExchangesTheCaption() {
    QCOMPARE(frmMain->tabProp->currentIndex(), 0);
    QTest::mouseClick(frmMain->radVertical, Qt::LeftButton);
    QCOMPARE(frmMain->Model().entries[1].OO, 1);
    QVERIFY(frmMain->IsPreviewPending());
    // The caption is exchanged when the script is written, not before.
    QCOMPARE(frmMain->Model().entries[1].MTC, std::string("Caption"));

    QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
    QCOMPARE(frmMain->Model().entries[1].MTC, std::string(kVerticalDefaultCaption));
    QCOMPARE(frmMain->txtCapHTML->toPlainText(), kVerticalCaptionShown);
    QCOMPARE(frmMain->Model().entries[0].MTC, std::string("Caption"));
    QVERIFY(!frmMain->IsPreviewPending());
    QVERIFY(WaitForPreviewLoaded(kPageWait));
    // Vertical: the menu's width is its height, the caption height its width.
    QTRY_COMPARE_WITH_TIMEOUT(OwnerRect(1).topLeft(), QPoint(160, 70), kPageWait);
    QCOMPARE(CaptionSize(1), QSize(22, 150));
    QVERIFY(CaptionHtml(1).contains(QStringLiteral("C<br>a<br>p<br>t<br>i<br>o<br>n"), Qt::CaseInsensitive));
    QCOMPARE(CaptionHtml(0).trimmed(), QStringLiteral("Caption"));
}

void EndToEndTest::settingsSpeedsReachScriptAndPage() {
    QString shownOut;
    WhenModal(frmProjectSettings, [&] {
        shownOut = frmProjectSettings->txtScrollOut->text();
        // Help stays locked while the dialog is up.
        QVERIFY(!frmMain->btnHelp->isEnabled());
        TypeInto(frmProjectSettings->txtScrollOut, QStringLiteral("25"));
        TypeInto(frmProjectSettings->txtScrollIn, QStringLiteral("35"));
        QTest::mouseClick(frmProjectSettings->btnOK, Qt::LeftButton);
    });
    QTest::mouseClick(frmMain->btnActiveProjectSettings, Qt::LeftButton);
    QCOMPARE(shownOut, QStringLiteral("10"));
    QVERIFY(!frmProjectSettings->isVisible());
    QVERIFY(frmMain->btnHelp->isEnabled());
    QCOMPARE(frmMain->Model().settings.scrOUT, 25);
    QCOMPARE(frmMain->Model().settings.scrIN, 35);
    QVERIFY(Script().contains(QStringLiteral("scrOUT=25")));
    QVERIFY(Script().contains(QStringLiteral("IDE=1")));
    QVERIFY(WaitForPreviewLoaded(kPageWait));
    QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("[scrOUT, scrIN]")).toList(), QVariantList({25, 35}),
                              kPageWait);
    QVERIFY(boxes.isEmpty());
}

void EndToEndTest::finalizeWritesWhatASiteNeeds() {
    const QString page = QDir(folder_).filePath(QStringLiteral("Temp.html"));
    const QByteArray pageBefore = ReadBytes(page);
    QVERIFY(pageBefore.contains("makeDidad()"));

    QString notes;
    WhenModal(frmFinilizedOK, [&] {
        notes = frmFinilizedOK->txtINFO->toPlainText();
        QVERIFY(!frmMain->btnHelp->isEnabled());
        QTest::mouseClick(frmFinilizedOK->btnOK, Qt::LeftButton);
    });
    QTest::mouseClick(frmMain->btnFinalize, Qt::LeftButton);
    QVERIFY(!frmFinilizedOK->isVisible());
    QVERIFY(frmMain->btnHelp->isEnabled());
    QVERIFY(boxes.isEmpty());

    const QString script = Script();
    QVERIFY(script.contains(QStringLiteral("IDE=0")));
    QVERIFY(!script.contains(QStringLiteral("function ySetSel")));
    QVERIFY(script.contains(QStringLiteral("makeDidad")));
    QVERIFY(script.contains(QStringLiteral("scrOUT=25")));
    QCOMPARE(ReadBytes(page), pageBefore);

    const QByteArray readMe = ReadBytes(QDir(folder_).filePath(QStringLiteral("ReadMe.txt")));
    QCOMPARE(readMe.count("\r\n"), 16);
    QVERIFY(readMe.endsWith("\r\n"));
    QVERIFY(readMe.contains(" <SCRIPT LANGUAGE=\"JavaScript\" SRC=\"Dirovidadaz.js\"></SCRIPT>\r\n"));
    // The dialog shows the very text of the file.
    QString shown = notes;
    if (!shown.endsWith(QLatin1Char('\n'))) shown += QLatin1Char('\n');
    QCOMPARE(QString::fromLatin1(readMe).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), shown);

    // Editing goes on after finalizing: the next update is a preview script again.
    const QRect row0 = frmMain->listMenus->visualItemRect(frmMain->listMenus->item(0));
    QTest::mouseClick(frmMain->listMenus->viewport(), Qt::LeftButton, {}, row0.center());
    QCOMPARE(frmMain->Model().iSelectedMenu, 0);
    frmMain->tabProp->setCurrentIndex(1);
    frmMain->txtCapHTML->setFocus();
    frmMain->txtCapHTML->selectAll();
    QTest::keyClicks(frmMain->txtCapHTML, QStringLiteral("Home"));
    QCOMPARE(frmMain->Model().entries[0].MTC, std::string("Home"));
    QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
    QVERIFY(Script().contains(QStringLiteral("IDE=1")));
    QVERIFY(WaitForPreviewLoaded(kPageWait));
    QTRY_COMPARE_WITH_TIMEOUT(CaptionHtml(0).trimmed(), QStringLiteral("Home"), kPageWait);
}

void EndToEndTest::closeWritesFinalScriptAndRemembersFolder() {
    leftAs_ = frmMain->Model();
    QVERIFY(Script().contains(QStringLiteral("IDE=1")));
    EndProgram();

    const QString script = Script();
    QVERIFY(script.contains(QStringLiteral("IDE=0")));
    QVERIFY(!script.contains(QStringLiteral("function ySetSel")));
    QVERIFY(script.contains(QStringLiteral("Home")));
    QCOMPARE(
        QSettings(QStringLiteral("Divero"), QStringLiteral("Didad")).value(QStringLiteral("LastEdited")).toString(),
        folder_);
    QVERIFY(boxes.isEmpty());
}

void EndToEndTest::secondStartOpensEverythingAsLeft() {
    StartProgramAgain();
    QVERIFY(!frmMain->isEnabled());
    QCOMPARE(frmMain->lblActiveProject->text(), QStringLiteral("No Active Project!"));
    QVERIFY(frmStart->btnOpenLastEdited->isEnabled());
    QCOMPARE(frmStart->btnQuit_Cancel->text(), QStringLiteral("Quit"));

    QTest::mouseClick(frmStart->btnOpenLastEdited, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(IsEditing(), kPageWait);
    QVERIFY(boxes.isEmpty());

    const ProjectModel& model = frmMain->Model();
    QCOMPARE(FromBytes(model.projectFolder), folder_);
    QVERIFY(model.settings == leftAs_.settings);
    QCOMPARE(model.numOfMenus(), 2);
    for (int i = 0; i < 2; ++i)
        QVERIFY2(model.entries[i] == leftAs_.entries[i], qPrintable(QStringLiteral("menu %1").arg(i + 1)));
    QCOMPARE(model.iSelectedMenu, 0);
    QCOMPARE(frmMain->listMenus->count(), 2);
    QCOMPARE(frmMain->listMenus->currentRow(), 0);
    QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("10"));
    QCOMPARE(frmMain->txtCapHTML->toPlainText(), QStringLiteral("Home"));
    QVERIFY(!frmMain->IsPreviewPending());
    QVERIFY(frmMain->lblActiveProject->text().startsWith(QStringLiteral("Active Project: ")));

    // The preview shows the project as it was left.
    QVERIFY(Script().contains(QStringLiteral("IDE=1")));
    QVERIFY(WaitForPreviewLoaded(kPageWait));
    QTRY_COMPARE_WITH_TIMEOUT(OwnerRect(1).topLeft(), QPoint(160, 70), kPageWait);
    QCOMPARE(CaptionSize(1), QSize(22, 150));
    QCOMPARE(OwnerRect(0).topLeft(), QPoint(10, 10));
    QCOMPARE(CaptionHtml(0).trimmed(), QStringLiteral("Home"));
    QVERIFY(CaptionHtml(1).contains(QStringLiteral("C<br>a<br>p"), Qt::CaseInsensitive));
    QCOMPARE(EvalInPreview(QStringLiteral("[scrOUT, scrIN]")).toList(), QVariantList({25, 35}));
    QTRY_VERIFY_WITH_TIMEOUT(MenuOpen(0), kPageWait);
}

DIDAD_GUI_TEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
