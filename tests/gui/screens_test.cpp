// Menus for every screen, in the real windows: a change of a menu's anchor
// keeps the menu where the preview shows it, a drag counts from the anchor,
// Undo takes both back; the preview's width choice; the number boxes' arrows
// and limits; the compact settings and the anchor of all menus; where and
// when the preview builds its menus.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

#include "GuiTestBase.h"
#include "editor/AnchorEdits.h"
#include "editor/TfrmMain.h"
#include "model/ProjectModel.h"
#include "preview/TfrmBrowser.h"
#include "ui/QtMessageBoxes.h"
#include "workflow/ProjectSettingsRules.h"
#include "workflow/TfrmProjectSettings.h"

using namespace didad;
using namespace didad::testing;

namespace {

constexpr int kPageWait = 20000;

QWidget* PageInput() { return frmBrowser->WebBrowser1->focusProxy(); }

void Retype(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    if (!text.isEmpty()) QTest::keyClicks(box, text);
}

// A centred layout: the element the menus may count from moves with the width.
const char kCentredPage[] =
    "<html><head><script src=\"Dirovidadaz.js\"></script></head><body style=\"margin:0\">\r\n"
    "<script>makeDidad();</script>\r\n"
    "<div id=\"box\" style=\"width:300px;height:30px;margin:150px auto 0\">box</div></body></html>\r\n";

} // namespace

class ScreensTest : public GuiTestBase {
    Q_OBJECT

    MenuEntry& Entry(int i = 0) { return frmMain->Model().entries.at(static_cast<std::size_t>(i)); }

    // The owner's top-left corner on the page.
    QPoint OwnerOnPage(int index) {
        const QVariantList list =
            EvalInPreview(QStringLiteral("(function(){var o=document.getElementById('owner%1');if(!o)return null;"
                                         "var r=o.getBoundingClientRect();"
                                         "return [r.left+window.pageXOffset, r.top+window.pageYOffset];})()")
                              .arg(index))
                .toList();
        if (list.size() != 2) return {-99999, -99999};
        return {qRound(list[0].toDouble()), qRound(list[1].toDouble())};
    }

    QPoint Origin(const QString& kindAndSelector) {
        const QVariantList list = EvalInPreview(QStringLiteral("MenuAnchorOrigin(%1)").arg(kindAndSelector)).toList();
        return list.size() == 2 ? QPoint(list[0].toInt(), list[1].toInt()) : QPoint(-99999, -99999);
    }

    void UpdatePreviewAndWait() {
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("document.readyState")).toString(),
                                  QStringLiteral("complete"), kPageWait);
    }

    // An arrow pressed and let go while Alt stays down, as a user moving a
    // menu step by step does.
    static void HeldAltArrow(QWidget* target, Qt::Key key, Qt::KeyboardModifiers more = {}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::AltModifier | more);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::AltModifier | more);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }

    void ChooseAnchor(int item) {
        QComboBox* box = frmMain->cBoxAnchor;
        box->setFocus();
        while (box->currentIndex() < item) QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > item) QTest::keyClick(box, Qt::Key_Up);
    }

private slots:
    void initTestCase() {
        CreateWindows();
        const QString folder = StartNewProject(QStringLiteral("Screens"));
        QVERIFY(WaitForPreviewLoaded());
        QFile page(folder + QStringLiteral("/Temp.html"));
        QVERIFY(page.open(QIODevice::WriteOnly | QIODevice::Truncate));
        page.write(kCentredPage);
        page.close();
        QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
        QVERIFY(WaitForPreviewLoaded());
    }
    void cleanupTestCase() { DestroyWindows(); }
    void init() { ResetRecords(); }

    void anchorChangeKeepsTheMenuPutAndDragsCountFromTheAnchor() {
        Retype(frmMain->txtLeft, QStringLiteral("100"));
        Retype(frmMain->txtTop, QStringLiteral("200"));
        UpdatePreviewAndWait();
        frmBrowser->scroller->horizontalScrollBar()->setValue(0);
        frmBrowser->scroller->verticalScrollBar()->setValue(0);
        const QPoint place = OwnerOnPage(0);
        QCOMPARE(place, QPoint(100, 200));

        // Page centre: Left becomes the offset from the centre line.
        const QPoint centre = Origin(QStringLiteral("1,''"));
        QVERIFY(centre.x() > 300);
        ChooseAnchor(1);
        QTRY_COMPARE_WITH_TIMEOUT(Entry().AN, 1, kPageWait);
        QCOMPARE(Entry().MX, 100 - centre.x());
        QCOMPARE(frmMain->txtLeft->text(), QString::number(100 - centre.x()));
        QVERIFY(frmMain->IsPreviewPending());
        UpdatePreviewAndWait();
        QTRY_COMPARE_WITH_TIMEOUT(OwnerOnPage(0), place, kPageWait);

        // An element without a selector, or one the page does not find: the
        // box says so at once and the menu keeps its anchor and its place.
        ChooseAnchor(3);
        QTRY_VERIFY_WITH_TIMEOUT(frmMain->actSelectorProblem->isVisible(), kPageWait);
        QCOMPARE(frmMain->actSelectorProblem->text(), QString::fromLatin1(kSelectorInvalid));
        QVERIFY(frmMain->txtAnchorElement->isEnabled());
        Retype(frmMain->txtAnchorElement, QStringLiteral("#nothing"));
        QTRY_COMPARE_WITH_TIMEOUT(frmMain->actSelectorProblem->text(), QString::fromLatin1(kSelectorMatchesNothing),
                                  kPageWait);
        QTest::keyClick(frmMain->txtAnchorElement, Qt::Key_Return);
        QTest::qWait(500); // the page's answer
        QCOMPARE(Entry().AN, 1);
        QCOMPARE(Entry().MX, 100 - centre.x());
        Retype(frmMain->txtAnchorElement, QStringLiteral("#box"));
        QTRY_VERIFY_WITH_TIMEOUT(!frmMain->actSelectorProblem->isVisible(), kPageWait);
        QTest::keyClick(frmMain->txtAnchorElement, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(Entry().AE, std::string("#box"), kPageWait);
        const QPoint box = Origin(QStringLiteral("3,'#box'"));
        QCOMPARE(box.y(), 150);
        QCOMPARE(Entry().MX, 100 - box.x());
        QCOMPARE(Entry().MY, 200 - box.y());
        UpdatePreviewAndWait();
        QTRY_COMPARE_WITH_TIMEOUT(OwnerOnPage(0), place, kPageWait);

        // A drag reports Left and Top from the element.
        const QPoint grab = place + QPoint(20, 8);
        QTest::mousePress(PageInput(), Qt::LeftButton, {}, grab);
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("bAllowMove")).toInt(), 1, kPageWait);
        for (int step = 1; step <= 4; ++step) QTest::mouseMove(PageInput(), grab + QPoint(step * 10, step * 5));
        QTest::mouseRelease(PageInput(), Qt::LeftButton, {}, grab + QPoint(40, 20));
        QTRY_COMPARE_WITH_TIMEOUT(Entry().MX, 140 - box.x(), kPageWait);
        QCOMPARE(Entry().MY, 220 - box.y());
        QCOMPARE(frmMain->txtTop->text(), QString::number(220 - box.y()));

        // Undo: the drag, then the element with its selector.
        QTest::keyClick(frmMain->txtLeft, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Entry().MX, 100 - box.x());
        QTest::keyClick(frmMain->txtLeft, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Entry().AE, std::string());
        QCOMPARE(Entry().AN, 1);
        QCOMPARE(frmMain->cBoxAnchor->currentIndex(), 1);
        QCOMPARE(Entry().MX, 100 - centre.x());
        QVERIFY(!frmMain->txtAnchorElement->isEnabled());
    }

    void previewWidthChoice() {
        QComboBox* widths = frmBrowser->cBoxPreviewWidth;
        QCOMPARE(widths->currentText(), QStringLiteral("Editing page, 820 px"));
        QCOMPARE(frmMain->Model().settings.cmpW, 640);
        QCOMPARE(EvalInPreview(QStringLiteral("window.innerWidth")).toInt(), 820);

        // The phone: what a visitor sees, the compact layout, no editing.
        widths->setFocus();
        QTest::keyClick(widths, Qt::Key_Down);
        QCOMPARE(widths->currentText(), QStringLiteral("Phone, 390 px"));
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("window.innerWidth")).toInt(), 390, kPageWait);
        QTRY_COMPARE_WITH_TIMEOUT(
            EvalInPreview(QStringLiteral("document.getElementById('didadMenus').style.display")).toString(),
            QStringLiteral("none"), kPageWait);
        QVERIFY(!EvalInPreview(QStringLiteral("yEditing()")).toBool());
        // The phone lays the page out anew: anchors are chosen on the editing page.
        QVERIFY(!frmMain->cBoxAnchor->isEnabled());
        QVERIFY(!frmMain->cBoxAnchor->toolTip().isEmpty());
        const MenuEntry before = Entry();

        // The wide window: an editing page, the normal layout.
        QTest::keyClick(widths, Qt::Key_Down);
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("window.innerWidth")).toInt(), 1366, kPageWait);
        QCOMPARE(EvalInPreview(QStringLiteral("document.getElementById('didadMenus').style.display")).toString(),
                 QString());
        QCOMPARE(frmBrowser->WebBrowser1->width(), 1366);
        QVERIFY(!frmMain->cBoxAnchor->isEnabled());
        QCOMPARE(Entry().MX, before.MX);
        QCOMPARE(Entry().AN, before.AN);

        // Back at the editing page, the width the project is edited at.
        QTest::keyClick(widths, Qt::Key_Up);
        QTest::keyClick(widths, Qt::Key_Up);
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("window.innerWidth")).toInt(), 820, kPageWait);
        QVERIFY(frmMain->cBoxAnchor->isEnabled());
    }

    // Up and Down did nothing in the boxes, the arrows were Tab stops, and a
    // menu could be moved only by typing numbers.
    void keyboardStepsBoxesAndMovesTheMenu() {
        frmMain->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frmMain));
        Retype(frmMain->txtLeft, QStringLiteral("20"));
        Retype(frmMain->txtTop, QStringLiteral("30"));
        frmMain->txtLeft->setFocus();
        QTest::keyClick(frmMain->txtLeft, Qt::Key_Up);
        QTest::keyClick(frmMain->txtLeft, Qt::Key_Up);
        QTest::keyClick(frmMain->txtLeft, Qt::Key_PageDown);
        QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("12"));
        QCOMPARE(Entry().MX, 12);
        QTest::keyClick(frmMain->txtLeft, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), frmMain->txtTop);
        QTest::keyClick(frmMain->txtTop, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), frmMain->txtWidth);
        UpdatePreviewAndWait();
        const QPoint place = OwnerOnPage(0);

        // Alt+arrows move the menu, in the preview window too; a run is one step.
        if (!frmMain->chkLive->isChecked()) QTest::mouseClick(frmMain->chkLive, Qt::LeftButton);
        HeldAltArrow(PageInput(), Qt::Key_Right);
        HeldAltArrow(PageInput(), Qt::Key_Right);
        HeldAltArrow(frmMain->txtWidth, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(Entry().MX, 14);
        QCOMPARE(Entry().MY, 40);
        QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("14"));
        QCOMPARE(frmMain->txtTop->text(), QStringLiteral("40"));
        QVERIFY(frmBrowser->btnBackToPreview->isHidden()); // Alt+Left did not leave the page
        QTRY_COMPARE_WITH_TIMEOUT(OwnerOnPage(0), place + QPoint(2, 10), kPageWait);
        QTest::keyRelease(frmMain->txtWidth, Qt::Key_Alt);
        HeldAltArrow(frmMain->txtWidth, Qt::Key_Left);
        QCOMPARE(Entry().MX, 13);
        QTest::keyClick(frmMain->txtWidth, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Entry().MX, 14);
        QTest::keyClick(frmMain->txtWidth, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Entry().MX, 12);
        QCOMPARE(Entry().MY, 30);
        QCOMPARE(frmMain->txtTop->text(), QStringLiteral("30"));

        // A main button's mnemonic.
        frmMain->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frmMain));
        const int menus = frmMain->Model().numOfMenus();
        QTest::keyClick(frmMain->txtWidth, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(frmMain->Model().numOfMenus(), menus + 1); // the button's click is animated
        QVERIFY(WaitForPreviewLoaded());
        QTest::keyClick(frmMain->txtWidth, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(frmMain->Model().numOfMenus(), menus);
        QVERIFY(WaitForPreviewLoaded());
    }

    // Left 999 and the up arrow gave 800; Width 950 typed and left kept
    // showing 950 while the menu was 900 wide.
    void numberBoxArrowsAndLimitsShowWhatTheMenuHolds() {
        // Focus moves between boxes only in the active window.
        frmMain->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frmMain));
        Retype(frmMain->txtLeft, QStringLiteral("999"));
        QTest::mouseClick(frmMain->UpDown_Left->UpButton(), Qt::LeftButton);
        QCOMPARE(Entry().MX, 1000);
        Retype(frmMain->txtLeft, QStringLiteral("-999"));
        QTest::mouseClick(frmMain->UpDown_Left->DownButton(), Qt::LeftButton);
        QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("-1000"));

        Retype(frmMain->txtWidth, QStringLiteral("950"));
        QCOMPARE(frmMain->txtWidth->text(), QStringLiteral("950"));
        frmMain->txtCapHeight->setFocus();
        QCOMPARE(Entry().MW, 900);
        QCOMPARE(frmMain->txtWidth->text(), QStringLiteral("900"));
        Retype(frmMain->txtCapHeight, QStringLiteral("0"));
        frmMain->txtLeft->setFocus();
        QCOMPARE(frmMain->txtCapHeight->text(), QStringLiteral("1"));
    }

    // The preview builds its menus once the page is parsed (one layout, one
    // drawing), where makeDidad() was called: a script right after the call
    // finds none yet, and the layer stands right after the first call's script.
    void previewBuildsAfterTheCallOnceParsed() {
        // Three menus, the last one selected.
        QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
        QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
        QCOMPARE(frmMain->Model().numOfMenus(), 3);
        QCOMPARE(frmMain->Model().iSelectedMenu, 2);
        const QString page = FromBytes(frmMain->Model().TemplatePath());
        QVERIFY(WriteFile(page,
                          "<html><head><script src=\"Dirovidadaz.js\"></script></head><body style=\"margin:0\">"
                          "<p>Above</p><div id=\"wrap\"><script>makeDidad();</script>"
                          "<script>window.menusAtCall = !!document.getElementById('owner0');</script></div>"
                          "<div id=\"box\" style=\"width:300px;height:30px;margin:150px auto 0\">box</div>"
                          "<p><script>makeDidad();</script></p></body></html>"));
        UpdatePreviewAndWait();
        QCOMPARE(EvalInPreview(QStringLiteral("window.menusAtCall")).toBool(), false);
        QCOMPARE(EvalInPreview(QStringLiteral("(function(){var l=document.getElementById('didadLayer');"
                                              "return l.parentNode.id+'|'+l.previousElementSibling.textContent;})()"))
                     .toString(),
                 QStringLiteral("wrap|makeDidad();"));
        // All three are built; the selected one is opened and framed, the
        // others stay closed.
        QTRY_COMPARE_WITH_TIMEOUT(
            EvalInPreview(QStringLiteral("[0,1,2].map(function(i){return getComputedStyle("
                                         "document.getElementById('menu'+i)).visibility;}).join()"))
                .toString(),
            QStringLiteral("hidden,hidden,visible"), kPageWait);
        QCOMPARE(EvalInPreview(QStringLiteral("document.getElementById('SEL_TOP').style.top=="
                                              "(document.getElementById('owner2').offsetTop-3)+'px'"))
                     .toBool(),
                 true);

        QTest::keyClick(frmMain->txtLeft, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(frmMain->txtLeft, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(frmMain->Model().numOfMenus(), 1);
        QVERIFY(WriteFile(page, kCentredPage));
        UpdatePreviewAndWait();
    }

    void settingsRefuseABadCompactWidthAndSetEveryAnchor() {
        Retype(frmMain->txtLeft, QStringLiteral("-50"));
        UpdatePreviewAndWait();
        const QPoint place = OwnerOnPage(0);
        const ProjectSettings before = frmMain->Model().settings;

        // The boxes take only what they allow; an empty button text, a
        // negative width and a selector that finds nothing are refused with
        // a message, and the dialog stays.
        QTimer::singleShot(0, [this] {
            QLineEdit* width = frmProjectSettings->txtCompactWidth;
            QCOMPARE(width->text(), QStringLiteral("640"));
            width->setFocus();
            width->selectAll();
            QTest::keyClicks(width, QStringLiteral("-5abc99999"));
            QCOMPARE(width->text(), QStringLiteral("5999"));
            QLineEdit* label = frmProjectSettings->txtCompactLabel;
            label->setFocus();
            label->selectAll();
            QTest::keyClicks(label, QString(45, QLatin1Char('x')));
            QCOMPARE(label->text(), QString(40, QLatin1Char('x')));
            label->selectAll();
            QTest::keyClick(label, Qt::Key_Backspace);
            QTest::mouseClick(frmProjectSettings->btnOK, Qt::LeftButton);
            QCOMPARE(frmProjectSettings->focusWidget(), label);

            frmProjectSettings->cBoxAllAnchors->setCurrentIndex(1 + 3); // an element
            frmProjectSettings->txtAllAnchorElement->setText(QStringLiteral("#nothing"));
            label->setText(QStringLiteral("Menu"));
            QTest::mouseClick(frmProjectSettings->btnOK, Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(static_cast<int>(boxes.size()), 2, kPageWait);
            QVERIFY(frmProjectSettings->isVisible());
            QCOMPARE(frmProjectSettings->focusWidget(), frmProjectSettings->txtAllAnchorElement);
            frmProjectSettings->txtCompactWidth->setText(QStringLiteral("-5"));
            QTest::mouseClick(frmProjectSettings->btnOK, Qt::LeftButton);
            QVERIFY(frmProjectSettings->isVisible());
            QCOMPARE(frmProjectSettings->focusWidget(), frmProjectSettings->txtCompactWidth);

            frmProjectSettings->txtCompactWidth->setText(QStringLiteral("480"));
            frmProjectSettings->txtCompactLabel->setText(QStringLiteral("Navigation"));
            frmProjectSettings->cBoxAllAnchors->setCurrentIndex(1 + 2); // page right
            QTest::mouseClick(frmProjectSettings->btnOK, Qt::LeftButton);
        });
        QTest::mouseClick(frmMain->btnActiveProjectSettings, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!frmProjectSettings->isVisible(), kPageWait);
        QCOMPARE(BoxTexts(),
                 (QStringList{QString::fromLatin1(kEmptyCompactLabel), QString::fromLatin1(kSelectorMatchesNothing),
                              QString::fromLatin1(kBadCompactWidth)}));
        QCOMPARE(frmMain->Model().settings.cmpW, 480);
        QCOMPARE(frmMain->Model().settings.cmpL, std::string("Navigation"));
        QCOMPARE(Entry().AN, 2);
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(OwnerOnPage(0), place, kPageWait);

        // One step takes back the settings and the anchors together.
        QTest::keyClick(frmMain->txtLeft, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(frmMain->Model().settings, before);
        QCOMPARE(Entry().AN, 1);
        QCOMPARE(Entry().MX, -50);
        QCOMPARE(frmMain->cBoxAnchor->currentIndex(), 1);

        // A compact width above the preview's: the preview shows the compact layout.
        QTimer::singleShot(0, [] {
            frmProjectSettings->txtCompactWidth->setText(QStringLiteral("900"));
            QTest::mouseClick(frmProjectSettings->btnOK, Qt::LeftButton);
        });
        QTest::mouseClick(frmMain->btnActiveProjectSettings, Qt::LeftButton);
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(
            EvalInPreview(QStringLiteral("document.getElementById('didadMenus').style.display")).toString(),
            QStringLiteral("none"), kPageWait);
        QCOMPARE(EvalInPreview(QStringLiteral("window.innerWidth")).toInt(), 820);
    }
};

DIDAD_GUI_TEST_MAIN(ScreensTest)
#include "screens_test.moc"
