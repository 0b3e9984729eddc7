// Live preview: changes in the main window reach the shown page without a
// reload, through the real widgets and the real web view.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QWebEngineView>

#include "GuiTestBase.h"
#include "editor/TfrmMain.h"
#include "preview/TfrmBrowser.h"

using namespace didad;
using namespace didad::testing;

namespace {
constexpr int kPageWait = 20000;
}

class LivePreviewTest : public GuiTestBase {
    Q_OBJECT

    QString Eval(const QString& script) { return EvalInPreview(script).toString(); }

    // A project of two menus, the second selected and open, with Live on.
    void StartLiveProject(const QString& name) {
        StartNewProject(name);
        QVERIFY(WaitForPreviewLoaded());
        QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
        QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
        QVERIFY(WaitForPreviewLoaded());
        if (!frmMain->chkLive->isChecked()) QTest::mouseClick(frmMain->chkLive, Qt::LeftButton);
        QVERIFY(frmMain->chkLive->isChecked());
        QTRY_COMPARE_WITH_TIMEOUT(Eval(QStringLiteral("document.getElementById('cap1').getAttribute('aria-expanded')")),
                                  QStringLiteral("true"), kPageWait);
    }

    void TypeInto(QPlainTextEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    // The panel that shows open in the page, if exactly one does.
    QString OpenPanels() {
        return Eval(
            QStringLiteral("(function(){var r=[];for(var i=0;i<numOfMenus;i++)"
                           "if(getComputedStyle(document.getElementById('menu'+i)).visibility=='visible')"
                           "r.push(i);return r.join(',');})()"));
    }

    void SelectLine(int row) {
        QListWidget* list = frmMain->listMenus;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        QCOMPARE(frmMain->Model().iSelectedMenu, row);
    }

private slots:
    void theSelectedMenusPanelShowsOpenWhicheverMenuItIs() {
        StartLiveProject(QStringLiteral("Live_Three"));
        QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(OpenPanels(), QStringLiteral("2"), kPageWait);
        frmMain->tabProp->setCurrentIndex(2);
        for (int row : {0, 1}) {
            SelectLine(row);
            const QString text = QStringLiteral("<A HREF=\"x.html\">Link %1</A>").arg(row + 1);
            TypeInto(frmMain->txtMenuHTML, text);
            QTRY_COMPARE_WITH_TIMEOUT(Eval(QStringLiteral("document.getElementById('menu%1').textContent").arg(row)),
                                      QStringLiteral("Link %1").arg(row + 1), kPageWait);
            // Open in full, the only one open, without Update Preview.
            QTRY_COMPARE_WITH_TIMEOUT(OpenPanels(), QString::number(row), kPageWait);
            QCOMPARE(Eval(QStringLiteral("(function(){var m=document.getElementById('menu%1');"
                                         "return String(m.offsetTop);})()")
                              .arg(row)),
                     QStringLiteral("22"));
        }
        QVERIFY(!frmMain->IsPreviewPending());
    }

    void undoAndRedoShowLiveAtEveryWidth() {
        StartLiveProject(QStringLiteral("Live_Redo"));
        const QString caption = QStringLiteral("document.getElementById('cap1').textContent");
        QComboBox* widths = frmBrowser->cBoxPreviewWidth;
        for (int width : {0, 1}) {
            // The page is built anew for the width, from the project as it is.
            widths->setFocus();
            if (width == 1) QTest::keyClick(widths, Qt::Key_Down);
            QCOMPARE(widths->currentIndex(), width);
            QVERIFY(WaitForPreviewLoaded());
            frmMain->tabProp->setCurrentIndex(1);
            const QString before = Eval(caption);
            const QString last = QStringLiteral("C%1").arg(width);
            for (const QString& text : {QStringLiteral("A%1").arg(width), QStringLiteral("B%1").arg(width), last}) {
                TypeInto(frmMain->txtCapHTML, text);
                QTest::qWait(1100); // a pause in typing ends the step
            }
            QTRY_COMPARE_WITH_TIMEOUT(Eval(caption), last, kPageWait);
            for (int i = 0; i < 3; ++i) QTest::keyClick(frmMain->txtCapHTML, Qt::Key_Z, Qt::ControlModifier);
            QTRY_COMPARE_WITH_TIMEOUT(Eval(caption), before, kPageWait);
            for (int i = 0; i < 3; ++i) QTest::keyClick(frmMain->txtCapHTML, Qt::Key_Y, Qt::ControlModifier);
            QTRY_COMPARE_WITH_TIMEOUT(Eval(caption), last, kPageWait);
            QVERIFY(!frmMain->IsPreviewPending());
        }
        QTest::keyClick(widths, Qt::Key_Up);
        QVERIFY(WaitForPreviewLoaded());
    }

    void initTestCase() { CreateWindows(); }
    void cleanupTestCase() { DestroyWindows(); }
    void init() { ResetRecords(); }

    void typedChangesShowWithoutReloadKeepingScrollAndOpenMenu() {
        StartLiveProject(QStringLiteral("Live_Typing"));
        // A reload would lose the marker and the scroll position.
        Eval(QStringLiteral("window.yMarker='kept';document.body.style.height='3000px';window.scrollTo(0,40);"));
        QCOMPARE(Eval(QStringLiteral("String(window.pageYOffset)")), QStringLiteral("40"));

        frmMain->tabProp->setCurrentIndex(2);
        TypeInto(frmMain->txtMenuHTML, QStringLiteral("<B>Live</B> text"));
        QTRY_COMPARE_WITH_TIMEOUT(Eval(QStringLiteral("document.getElementById('menu1').innerHTML")),
                                  QStringLiteral("<b>Live</b> text"), kPageWait);
        frmMain->tabProp->setCurrentIndex(0);
        frmMain->txtLeft->setFocus();
        frmMain->txtLeft->selectAll();
        QTest::keyClicks(frmMain->txtLeft, QStringLiteral("300"));
        QTRY_COMPARE_WITH_TIMEOUT(Eval(QStringLiteral("String(document.getElementById('owner1').offsetLeft)")),
                                  QStringLiteral("300"), kPageWait);

        QCOMPARE(Eval(QStringLiteral("window.yMarker")), QStringLiteral("kept"));
        QCOMPARE(Eval(QStringLiteral("String(window.pageYOffset)")), QStringLiteral("40"));
        // Still open, at once and in full; the frame went with the menu.
        QCOMPARE(Eval(QStringLiteral("document.getElementById('cap1').getAttribute('aria-expanded')")),
                 QStringLiteral("true"));
        QCOMPARE(Eval(QStringLiteral("(function(){var m=document.getElementById('menu1');"
                                     "return getComputedStyle(m).visibility+' '+m.offsetTop;})()")),
                 QStringLiteral("visible 22"));
        QCOMPARE(Eval(QStringLiteral("document.getElementById('SEL_TOP').style.left")), QStringLiteral("297px"));
        QVERIFY(!frmMain->IsPreviewPending());
    }

    void textThatTriesToBreakOutShowsAsTypedAndRunsNothing() {
        StartLiveProject(QStringLiteral("Live_BreakOut"));
        const int loggedBefore = static_cast<int>(frmBrowser->ErrorLog().Lines().size());
        const QString text = QStringLiteral("a\"b'c\\d</script>e\"+(window.yBroke=1)+\"f-->g") + QChar(0xD800) +
                             QChar(0x2028) + QStringLiteral("\u00e9h\\");
        frmMain->tabProp->setCurrentIndex(1);
        frmMain->txtCapHTML->setFocus();
        frmMain->txtCapHTML->selectAll();
        frmMain->txtCapHTML->insertPlainText(text);
        const QString live = QStringLiteral("document.getElementById('cap1').innerHTML");
        QTRY_VERIFY_WITH_TIMEOUT(Eval(live).contains(QStringLiteral("(window.yBroke=1)")), kPageWait);
        const QString shownLive = Eval(live);
        QCOMPARE(Eval(QStringLiteral("typeof window.yBroke")), QStringLiteral("undefined"));

        // What a reload of the same project shows is what the live change showed.
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        QVERIFY(WaitForPreviewLoaded());
        QCOMPARE(Eval(live), shownLive);
        QVERIFY(shownLive.startsWith(QStringLiteral("a\"b'c\\de\"+(window.yBroke=1)+\"f")));
        QVERIFY(shownLive.endsWith(QStringLiteral("\u00e9h\\")));
        QCOMPARE(Eval(QStringLiteral("typeof window.yBroke")), QStringLiteral("undefined"));
        QCOMPARE(static_cast<int>(frmBrowser->ErrorLog().Lines().size()), loggedBefore);
    }

    // A project from elsewhere whose texts are not UTF-8 (a Latin-1 byte
    // beside a UTF-8 letter): the page reads its script in its own character
    // set, and a live change shows the texts as a reload does.
    void textsThatAreNotUtf8ShowLiveAsAfterAReload() {
        StartLiveProject(QStringLiteral("Live_Bytes"));
        MenuEntry& entry = frmMain->Model().entries[1];
        entry.MTM = "caf\xE9 \xC3\xA9 \x80 <B>bold</B>";
        entry.MTC = "Men\xFC";
        const QString readTexts = QStringLiteral(
            "document.getElementById('menu1').textContent+'|'+document.getElementById('cap1').textContent+'|'+"
            "document.characterSet");
        frmMain->tabProp->setCurrentIndex(0);
        frmMain->txtLeft->setFocus();
        frmMain->txtLeft->selectAll();
        QTest::keyClicks(frmMain->txtLeft, QStringLiteral("250"));
        QTRY_COMPARE_WITH_TIMEOUT(Eval(QStringLiteral("String(document.getElementById('owner1').offsetLeft)")),
                                  QStringLiteral("250"), kPageWait);
        const QString live = Eval(readTexts);

        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(Eval(QStringLiteral("String(document.getElementById('owner1').offsetLeft)")),
                                  QStringLiteral("250"), kPageWait);
        const QString reloaded = Eval(readTexts);
        QCOMPARE(live, reloaded);
        QVERIFY2(live.startsWith(QStringLiteral("caf")) && !live.contains(QChar(0xFFFD)), qPrintable(live));
        // The page of the project declares no character set.
        if (live.endsWith(QStringLiteral("|windows-1252")))
            QCOMPARE(live, QStringLiteral("caf\u00E9 \u00C3\u00A9 \u20AC bold|Men\u00FC|windows-1252"));
    }

    void errorsGoToTheLogAndAnotherPageGetsNothing() {
        StartLiveProject(QStringLiteral("Live_Errors"));
        const auto logged = frmBrowser->ErrorLog().Lines().size();
        frmMain->tabProp->setCurrentIndex(2);
        TypeInto(frmMain->txtMenuHTML, QStringLiteral("<IMG SRC=\"none.png\" onerror=\"noSuchFunction()\">"));
        QTRY_VERIFY_WITH_TIMEOUT(frmBrowser->ErrorLog().Lines().size() > logged, kPageWait);
        QTest::keyClicks(frmMain->txtMenuHTML, QStringLiteral("after"));
        QTRY_VERIFY_WITH_TIMEOUT(
            Eval(QStringLiteral("document.getElementById('menu1').innerHTML")).endsWith(QStringLiteral("after")),
            kPageWait);
        QVERIFY(!frmMain->IsPreviewPending());

        // The user followed a link: the page there is told nothing, and the
        // button shows that the preview lags.
        const QString other =
            QString::fromLocal8Bit(frmMain->Model().projectFolder.c_str()) + QStringLiteral("/other.html");
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // It would show what it was sent.
        file.write(
            "<html><body>Another page<script>function yLive(){document.body.innerHTML='sent';}</script>"
            "</body></html>");
        file.close();
        frmBrowser->WebBrowser1->load(QUrl::fromLocalFile(other));
        QTRY_VERIFY_WITH_TIMEOUT(frmBrowser->btnBackToPreview->isVisible(), kPageWait);
        QVERIFY(frmMain->IsPreviewPending()); // the live changes went with the page
        QTest::keyClicks(frmMain->txtMenuHTML, QStringLiteral("more"));
        QVERIFY(frmMain->IsPreviewPending());
        QTest::qWait(100); // past the statement interval
        QVERIFY(Eval(QStringLiteral("document.body.innerHTML")).startsWith(QStringLiteral("Another page")));
    }
};

DIDAD_GUI_TEST_MAIN(LivePreviewTest)
#include "live_preview_test.moc"
