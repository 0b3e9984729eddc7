// The main window and the preview window, offscreen, on the real widgets and
// a real web view.
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

#include "GuiTestBase.h"
#include "editor/TfrmAddImage.h"
#include "editor/TfrmAddText.h"
#include "editor/TfrmAddURL.h"
#include "editor/TfrmMain.h"
#include "model/ProjectModel.h"
#include "model/ValueHelpers.h"
#include "preview/TfrmBrowser.h"
#include "workflow/TfrmSelFolder.h"

using namespace didad;
using namespace didad::testing;

namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLocal8Bit(file.readAll());
}

// The web engine runs in its own processes; on a busy machine its answers
// take a while.
constexpr int kPageWait = 20000;

QWidget* PageInput() { return frmBrowser->WebBrowser1->focusProxy(); }

} // namespace

class MainWindowTest : public GuiTestBase {
    Q_OBJECT

    void ClickListRow(int row) {
        const QRect rect = frmMain->listMenus->visualItemRect(frmMain->listMenus->item(row));
        QTest::mouseClick(frmMain->listMenus->viewport(), Qt::LeftButton, {}, rect.center());
    }

    // The page's own idea of a menu's owner element position.
    QPoint OwnerPosition(int index) {
        const QVariant value = EvalInPreview(QStringLiteral("(function(){var o=document.getElementById('owner%1');"
                                                            "return o ? [o.offsetLeft, o.offsetTop] : null;})()")
                                                 .arg(index));
        const QVariantList list = value.toList();
        if (list.size() != 2) return {-9999, -9999};
        return {list[0].toInt(), list[1].toInt()};
    }

    int SelectorLeft() {
        return EvalInPreview(QStringLiteral("parseInt(document.getElementById('SEL_TOP').style.left)")).toInt();
    }

private slots:
    void initTestCase() { CreateWindows(); }
    void cleanupTestCase() { DestroyWindows(); }
    void init() { ResetRecords(); }

    void startsWithNoProjectAndEditingDisabled() {
        QCOMPARE(frmMain->windowTitle(), QStringLiteral("Didad 1.03"));
        QCOMPARE(frmMain->lblActiveProject->text(), QStringLiteral("No Active Project!"));
        QCOMPARE(frmMain->txtCapHTML->toPlainText(), QStringLiteral("No Menus in Project"));
        QCOMPARE(frmMain->txtMenuHTML->toPlainText(), QStringLiteral("No Menus in Project"));
        QVERIFY(!frmMain->txtLeft->isEnabled());
        QVERIFY(!frmMain->chkTranspCO->isEnabled());
        QVERIFY(!frmMain->btnAddimage->isEnabled());
        QCOMPARE(frmMain->tabProp->currentIndex(), 0);
        QCOMPARE(frmMain->tabProp->count(), 4);
        QVERIFY(frmMain->panHTMLTools->isHidden());
        QVERIFY(frmMain->listMenus->count() == 0);
        QCOMPARE(frmBrowser->windowTitle(), QStringLiteral("Preview - Didad 1.0"));
        QCOMPARE(frmBrowser->WebBrowser1->size(), QSize(820, 620));
        QVERIFY(frmBrowser->btnBackToPreview->isHidden());
        // Every control the other parts reach by name is there.
        for (const char* name : {"btnAddMenu",    "btnDelete",        "btnFinalize",    "btnShowPreview",
                                 "chkStayOnTop",  "btnUpdatePreview", "btnProjects",    "btnActiveProjectSettings",
                                 "btnHelp",       "panStatusBar",     "UpDown_Left",    "UpDown_CapHeight",
                                 "radActivateOn", "chkFloat",         "grpOrientation", "radHorizontal",
                                 "radVertical",   "panCaptionColor",  "panMenuColor",   "panOwnerColor",
                                 "chkTranspCC",   "chkTranspCM",      "btnAddNEWLINE",  "btnAddText",
                                 "btnAddURL"})
            QVERIFY2(frmMain->findChild<QWidget*>(QLatin1String(name)), name);
    }

    // Guards against windows that do not keep the sizes and places they are
    // given: the main window's tabs pushed behind scroll arrows, a dialog
    // centred before its layout sized it, a folder chooser that resizes.
    void windowsKeepTheirSizesAndPlaces() {
        QCOMPARE(frmMain->size(), QSize(392, 329));
        QTabBar* bar = frmMain->tabProp->tabBar();
        for (int i = 0; i < bar->count(); ++i)
            QVERIFY2(bar->rect().contains(bar->tabRect(i)), qPrintable(bar->tabText(i)));

        for (QDialog* dialog : {static_cast<QDialog*>(frmAddText), static_cast<QDialog*>(frmAddURL),
                                static_cast<QDialog*>(frmAddImage)}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            const QPoint offCentre = dialog->geometry().center() - dialog->screen()->availableGeometry().center();
            dialog->hide();
            QVERIFY2(offCentre.manhattanLength() <= 1, qPrintable(dialog->objectName()));
        }

        QCOMPARE(frmSelFolder->minimumSize(), frmSelFolder->maximumSize());

        // Update Preview carries its mark only while something waits.
        QVERIFY(frmMain->btnUpdatePreview->icon().isNull());

        // The preview window's place and size are kept for the next start.
        frmBrowser->setGeometry(QRect(31, 43, 500, 300));
        QTRY_VERIFY(!QSettings(QStringLiteral("Divero"), QStringLiteral("Didad"))
                         .value(QStringLiteral("PreviewWindow/geometry"))
                         .toByteArray()
                         .isEmpty());
        QWidget nextStart;
        QVERIFY(nextStart.restoreGeometry(QSettings(QStringLiteral("Divero"), QStringLiteral("Didad"))
                                              .value(QStringLiteral("PreviewWindow/geometry"))
                                              .toByteArray()));
        QCOMPARE(nextStart.geometry(), frmBrowser->geometry());
    }

    void newProjectAddDeleteAndSelect() {
        const QString folder = StartNewProject(QStringLiteral("NewProject_01"));
        QVERIFY(frmMain->lblActiveProject->text().startsWith(QStringLiteral("Active Project: ")));
        QVERIFY(QFile::exists(folder + QStringLiteral("/Dirovidadaz.js")));
        QVERIFY(QFile::exists(folder + QStringLiteral("/Temp.html")));
        QVERIFY(WaitForPreviewLoaded());
        QVERIFY(!frmMain->txtLeft->isEnabled());

        for (int i = 0; i < 3; ++i) QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
        QCOMPARE(frmMain->listMenus->count(), 3);
        QCOMPARE(frmMain->listMenus->item(2)->text(), QStringLiteral("Menu 3"));
        QCOMPARE(frmMain->listMenus->currentRow(), 2);
        QVERIFY(frmMain->txtLeft->isEnabled());
        // Placed side by side: 10, 10 + 150 + 2, 162 + 150 + 2.
        QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("314"));
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("numOfMenus")).toInt(), 3, kPageWait);
        QCOMPARE(OwnerPosition(2), QPoint(314, 10));
        QVERIFY(ReadText(folder + QStringLiteral("/Dirovidadaz.js")).contains(QStringLiteral("/* IDE! */")));

        // Delete the middle one, after declining once.
        ClickListRow(1);
        QCOMPARE(frmMain->Model().iSelectedMenu, 1);
        QueueAnswer(false);
        QTest::mouseClick(frmMain->btnDelete, Qt::LeftButton);
        QCOMPARE(frmMain->listMenus->count(), 3);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Delete Confirmation"));
        QCOMPARE(boxes[0].text, QStringLiteral("        Delete Menu 2 ?"));
        QueueAnswer(true);
        QTest::mouseClick(frmMain->btnDelete, Qt::LeftButton);
        QCOMPARE(frmMain->listMenus->count(), 2);
        QCOMPARE(frmMain->listMenus->item(1)->text(), QStringLiteral("Menu 2"));
        QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("314")); // what was entry 3
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("numOfMenus")).toInt(), 2, kPageWait);

        // Selecting in the list moves the page's selector frame (3 px outside the menu).
        ClickListRow(0);
        QCOMPARE(frmMain->Model().iSelectedMenu, 0);
        QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("10"));
        QTRY_COMPARE_WITH_TIMEOUT(SelectorLeft(), 7, kPageWait);
        ClickListRow(1);
        QTRY_COMPARE_WITH_TIMEOUT(SelectorLeft(), 311, kPageWait);
        // Keyboard: a key release on the list selects what the list highlights.
        QTest::keyClick(frmMain->listMenus, Qt::Key_Up);
        QCOMPARE(frmMain->Model().iSelectedMenu, 0);
        QTRY_COMPARE_WITH_TIMEOUT(SelectorLeft(), 7, kPageWait);
    }

    void clickAndDragInThePreviewReachTheEditor() {
        QVERIFY(frmMain->Model().numOfMenus() >= 2);
        frmBrowser->scroller->horizontalScrollBar()->setValue(0);
        frmBrowser->scroller->verticalScrollBar()->setValue(0);
        const QPoint caption1 = OwnerPosition(1) + QPoint(20, 8);
        QVERIFY(caption1.x() > 0);
        const bool pendingBefore = frmMain->IsPreviewPending();

        // A press on menu 2's caption selects it in the editor.
        QTest::mousePress(PageInput(), Qt::LeftButton, {}, caption1);
        QTRY_COMPARE_WITH_TIMEOUT(frmMain->Model().iSelectedMenu, 1, kPageWait);
        QTRY_COMPARE_WITH_TIMEOUT(frmMain->listMenus->currentRow(), 1, kPageWait);
        QTest::mouseRelease(PageInput(), Qt::LeftButton, {}, caption1);
        QTest::qWait(0);

        // A drag moves it; Left and Top follow without the pending look.
        const QPoint caption0 = OwnerPosition(0) + QPoint(20, 8);
        QTest::mousePress(PageInput(), Qt::LeftButton, {}, caption0);
        QTRY_COMPARE_WITH_TIMEOUT(frmMain->Model().iSelectedMenu, 0, kPageWait);
        for (int step = 1; step <= 5; ++step) QTest::mouseMove(PageInput(), caption0 + QPoint(step * 10, step * 20));
        QTest::mouseRelease(PageInput(), Qt::LeftButton, {}, caption0 + QPoint(50, 100));
        QTRY_COMPARE_WITH_TIMEOUT(frmMain->Model().entries[0].MX, 60, kPageWait);
        QTRY_COMPARE_WITH_TIMEOUT(frmMain->Model().entries[0].MY, 110, kPageWait);
        QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("60"));
        QCOMPARE(frmMain->txtTop->text(), QStringLiteral("110"));
        QCOMPARE(frmMain->IsPreviewPending(), pendingBefore);
    }

    void pendingLookOnlyClearedByUpdatePreview() {
        QVERIFY(frmMain->Model().hasProject());
        frmMain->ClearPreviewPending();
        QVERIFY(!frmMain->btnUpdatePreview->font().bold());
        frmMain->MarkPreviewPending();
        QVERIFY(frmMain->btnUpdatePreview->font().bold());
        QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
        QVERIFY(frmMain->btnUpdatePreview->font().bold());
        // Update Preview keeps the user's own page, reloads it and brings
        // the preview window back from the task bar.
        const QString page = FromBytes(frmMain->Model().TemplatePath());
        QFile own(page);
        QVERIFY(own.open(QIODevice::Append));
        own.write("<!-- the user's own page -->\r\n");
        own.close();
        frmBrowser->showMinimized();
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        QVERIFY(!frmMain->btnUpdatePreview->font().bold());
        QVERIFY(!frmBrowser->isMinimized());
        QVERIFY(ReadText(page).contains(QStringLiteral("the user's own page")));
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("numOfMenus")).toInt(), frmMain->Model().numOfMenus(),
                                  kPageWait);
    }

    void addAfterAVerticalEntryShowsTheVerticalCaption() {
        ProjectModel& model = frmMain->Model();
        MenuEntry& last = model.entries.back();
        last.OO = 1;
        last.MTCH = 40;
        last.CC = "#FF0000";
        last.CM = "transparent";
        QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
        const MenuEntry& added = model.entries.back();
        QCOMPARE(added.OO, 1);
        QCOMPARE(added.MTCH, 40);
        QCOMPARE(added.CC, std::string("#FF0000"));
        QCOMPARE(added.CM, std::string("transparent"));
        QCOMPARE(added.MTM, std::string("Blank menu"));
        QCOMPARE(added.MTC, std::string(kVerticalDefaultCaption));
        QCOMPARE(frmMain->txtCapHTML->toPlainText(),
                 QString::fromLatin1(kVerticalDefaultCaption).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(frmMain->chkTranspCM->isChecked());
        QVERIFY(frmMain->panMenuColor->isHidden());
        QVERIFY(WaitForPreviewLoaded());
    }

    void aFailedWriteShowsTheErrorAndKeepsThePendingLook() {
        ProjectModel& model = frmMain->Model();
        const std::string folder = model.projectFolder;
        QFile blocker(ProgramFolder() + QStringLiteral("/not-a-folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        model.projectFolder = ToBytes(blocker.fileName() + QStringLiteral("/Project"));
        frmMain->MarkPreviewPending();
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        model.projectFolder = folder;
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].kind, BoxRequest::Kind::Error);
        QVERIFY2(boxes[0].text.startsWith(QStringLiteral("Cannot create file ")), qPrintable(boxes[0].text));
        QVERIFY(frmMain->IsPreviewPending());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void errorCommandsGoToJsLogAndForeignPagesAreIgnored() {
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        QVERIFY(WaitForPreviewLoaded());
        // In the user's data folder: the program's own folder is read-only for its users.
        const QString log = JsLogPath();
        QVERIFY(!log.startsWith(ProgramFolder()));
        EvalInPreview(QStringLiteral("document.title='!RarurAVI:ERROR(x is not defined@here@12)'"));
        QTRY_VERIFY_WITH_TIMEOUT(
            ReadText(log).contains(QStringLiteral("!RarurAVI:ERROR(x is not defined@here@12)\r\n")), kPageWait);

        // A bad number from the page is the platform's conversion error box.
        EvalInPreview(QStringLiteral("document.title='!RarurAVI:ySetSel(1x)'"));
        QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 1, kPageWait);
        QCOMPARE(boxes[0].kind, BoxRequest::Kind::Error);
        QCOMPARE(boxes[0].text, QStringLiteral("'1x' is not a valid integer value"));

        // A link leading away shows Back to Preview; that page cannot move menus.
        const QString other = ProgramFolder() + QStringLiteral("/other.html");
        QFile page(other);
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><head><title>Elsewhere</title></head><body>elsewhere</body></html>");
        page.close();
        EvalInPreview(QStringLiteral("location.href=%1")
                          .arg(QLatin1Char('"') + QUrl::fromLocalFile(other).toString() + QLatin1Char('"')));
        QTRY_VERIFY_WITH_TIMEOUT(frmBrowser->btnBackToPreview->isVisible(), kPageWait);
        const int leftBefore = frmMain->Model().entries[0].MX;
        EvalInPreview(QStringLiteral("document.title='!RarurAVI:docMouseMove(0,444,333)'"));
        EvalInPreview(QStringLiteral("document.title='!RarurAVI:ERROR(foreign@x@1)'"));
        QTRY_VERIFY_WITH_TIMEOUT(ReadText(log).contains(QStringLiteral("foreign@x@1")), kPageWait);
        QCOMPARE(frmMain->Model().entries[0].MX, leftBefore);

        QTest::mouseClick(frmBrowser->btnBackToPreview, Qt::LeftButton);
        QVERIFY(WaitForPreviewLoaded());
        QTRY_VERIFY_WITH_TIMEOUT(frmBrowser->btnBackToPreview->isHidden(), kPageWait);
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("typeof numOfMenus")).toString(),
                                  QStringLiteral("number"), kPageWait);
    }

    void helpKeyAndHelpButtonLock() {
        QTest::keyRelease(frmMain->txtLeft, Qt::Key_F1);
        QCOMPARE(urls.opened.size(), 1);
        QVERIFY(urls.opened[0].toLocalFile().endsWith(QStringLiteral("Help/index.htm")));
        QTest::mouseClick(frmMain->btnHelp, Qt::LeftButton);
        QCOMPARE(urls.opened.size(), 2);
        // The preview window's web view takes the keys; F1 still opens help.
        QTest::keyRelease(PageInput(), Qt::Key_F1);
        QCOMPARE(urls.opened.size(), 3);

        QDialog dialog(frmMain);
        bool lockedWhileOpen = false;
        QTimer::singleShot(0, &dialog, [&] {
            lockedWhileOpen = !frmMain->btnHelp->isEnabled();
            dialog.reject();
        });
        frmMain->RunModal(dialog);
        QVERIFY(lockedWhileOpen);
        QVERIFY(frmMain->btnHelp->isEnabled());
    }

    void showPreviewTakesTheEditorOffTop() {
        QTest::mouseClick(frmMain->chkStayOnTop, Qt::LeftButton);
        QVERIFY(frmMain->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        frmBrowser->showMinimized();
        QTest::mouseClick(frmMain->btnShowPreview, Qt::LeftButton);
        QVERIFY(!frmMain->chkStayOnTop->isChecked());
        QVERIFY(!frmMain->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(frmMain->isVisible());
        QVERIFY(!frmBrowser->isMinimized());
    }

    void revealScrollsThePreviewToTheMenu() {
        frmBrowser->resize(454, 237);
        QScrollBar* across = frmBrowser->scroller->horizontalScrollBar();
        QScrollBar* down = frmBrowser->scroller->verticalScrollBar();
        across->setValue(0);
        down->setValue(0);
        const QSize outer = frmBrowser->frameGeometry().size();
        MenuEntry& entry = frmMain->Model().entries[0];
        entry.MX = 450;
        entry.MY = 300;
        entry.MW = 150;
        frmMain->RevealInPreview(0);
        QCOMPARE(across->value(), 450 + 75 - outer.width() / 2);
        QCOMPARE(down->value(), 300 - outer.height() / 2);

        // Back near the top left corner: both move back, kept within range.
        entry.MX = 10;
        entry.MY = 10;
        frmMain->RevealInPreview(0);
        QCOMPARE(across->value(), 0);
        QCOMPARE(down->value(), 0);

        // An index that names no entry leaves the window where it is.
        across->setValue(50);
        frmMain->RevealInPreview(frmMain->Model().numOfMenus());
        QCOMPARE(across->value(), 50);
    }

    void dragAcrossTheListThenDeleteEverything() {
        QListWidget* list = frmMain->listMenus;
        QVERIFY(list->count() >= 2);
        ClickListRow(0);
        QCOMPARE(frmMain->Model().iSelectedMenu, 0);
        // Pressing on line 1 and letting go on line 2 selects line 2.
        const QPoint from = list->visualItemRect(list->item(0)).center();
        const QPoint to = list->visualItemRect(list->item(1)).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(list->viewport(), to);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, to);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(frmMain->Model().iSelectedMenu, 1);
        QTRY_COMPARE_WITH_TIMEOUT(SelectorLeft(), OwnerPosition(1).x() - 3, kPageWait);

        while (list->count() > 0) {
            QueueAnswer(true);
            QTest::mouseClick(frmMain->btnDelete, Qt::LeftButton);
        }
        QCOMPARE(frmMain->Model().numOfMenus(), 0);
        QVERIFY(!frmMain->txtLeft->isEnabled());
        QVERIFY(!frmMain->panMenuColor->isEnabled());
        QCOMPARE(frmMain->txtCapHTML->toPlainText(), QStringLiteral("No Menus in Project"));
        QCOMPARE(frmMain->txtMenuHTML->toPlainText(), QStringLiteral("No Menus in Project"));
        // The arrows stay usable with no entry and have nothing to change.
        frmMain->ClearPreviewPending();
        QTest::mouseClick(frmMain->UpDown_Width->UpButton(), Qt::LeftButton);
        QCOMPARE(frmMain->Model().numOfMenus(), 0);
        QVERIFY(!frmMain->IsPreviewPending());
        QTest::mouseClick(frmMain->btnDelete, Qt::LeftButton);
        QCOMPARE(boxes.last().text, QStringLiteral("Nothing to delete, sorry..."));
        QCOMPARE(boxes.last().kind, BoxRequest::Kind::Message);
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("numOfMenus")).toInt(), 0, kPageWait);
    }

    // Last: closing the window leaves the final script behind.
    void closingWritesTheFinalScript() {
        const QString script = FromBytes(frmMain->Model().ScriptPath());
        QVERIFY(ReadText(script).contains(QStringLiteral("/* IDE! */")));
        QSignalSpy closed(frmMain, &TfrmMain::Closed);
        frmMain->close();
        QCOMPARE(closed.count(), 1);
        const QString text = ReadText(script);
        QVERIFY(!text.isEmpty());
        QVERIFY(!text.contains(QStringLiteral("/* IDE! */")));
    }
};

DIDAD_GUI_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
