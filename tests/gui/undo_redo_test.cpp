// Undo and Redo in the real windows: the standard keys, sent as key events
// to whatever has the focus, take back a drag in the preview and an added
// menu, and bring the menu back; nothing is written until the next update.
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWebEngineView>

#include "GuiTestBase.h"
#include "editor/TfrmMain.h"
#include "model/ProjectModel.h"
#include "preview/TfrmBrowser.h"

using namespace didad;
using namespace didad::testing;

namespace {

constexpr int kPageWait = 20000;

QWidget* PageInput() { return frmBrowser->WebBrowser1->focusProxy(); }

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

} // namespace

class UndoRedoTest : public GuiTestBase {
    Q_OBJECT

    QPoint OwnerPosition(int index) {
        const QVariantList list = EvalInPreview(QStringLiteral("(function(){var o=document.getElementById('owner%1');"
                                                               "return o ? [o.offsetLeft, o.offsetTop] : null;})()")
                                                    .arg(index))
                                      .toList();
        if (list.size() != 2) return {-9999, -9999};
        return {list[0].toInt(), list[1].toInt()};
    }

private slots:
    void initTestCase() { CreateWindows(); }
    void cleanupTestCase() { DestroyWindows(); }
    void init() { ResetRecords(); }

    void keysTakeBackADragAndAnAddedMenuAndRedoBringsItBack() {
        const QString script = StartNewProject(QStringLiteral("UndoProject")) + QStringLiteral("/Dirovidadaz.js");
        QVERIFY(WaitForPreviewLoaded());
        QTest::mouseClick(frmMain->btnAddMenu, Qt::LeftButton);
        QCOMPARE(frmMain->listMenus->count(), 1);
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("numOfMenus")).toInt(), 1, kPageWait);
        frmMain->ClearPreviewPending();

        // A drag of the caption in the preview.
        frmBrowser->scroller->horizontalScrollBar()->setValue(0);
        frmBrowser->scroller->verticalScrollBar()->setValue(0);
        const QPoint grab = OwnerPosition(0) + QPoint(20, 8);
        QTest::mousePress(PageInput(), Qt::LeftButton, {}, grab);
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("bAllowMove")).toInt(), 1, kPageWait);
        for (int step = 1; step <= 4; ++step) QTest::mouseMove(PageInput(), grab + QPoint(step * 10, step * 15));
        QTest::mouseRelease(PageInput(), Qt::LeftButton, {}, grab + QPoint(40, 60));
        QTRY_COMPARE_WITH_TIMEOUT(frmMain->txtLeft->text(), QStringLiteral("50"), kPageWait);
        QCOMPARE(frmMain->txtTop->text(), QStringLiteral("70"));
        const QByteArray written = ReadBytes(script);

        // Ctrl+Z in the preview window takes the drag back.
        QTest::keyClick(PageInput(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(frmMain->Model().entries[0].MX, 10);
        QCOMPARE(frmMain->Model().entries[0].MY, 10);
        QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("10"));
        QCOMPARE(frmMain->txtTop->text(), QStringLiteral("10"));
        QVERIFY(frmMain->IsPreviewPending()); // the page still shows the drag

        // Ctrl+Z in a number box of the main window is the project's undo,
        // not the box's own: the added menu goes.
        frmMain->txtLeft->setFocus();
        QTest::keyClick(frmMain->txtLeft, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(frmMain->Model().numOfMenus(), 0);
        QCOMPARE(frmMain->listMenus->count(), 0);
        QVERIFY(!frmMain->txtLeft->isEnabled());
        QCOMPARE(frmMain->txtCapHTML->toPlainText(), QStringLiteral("No Menus in Project"));
        QCOMPARE(ReadBytes(script), written); // undo writes nothing itself

        // Ctrl+Shift+Z, in the menu list, brings the menu back where it was added.
        frmMain->listMenus->setFocus();
        QTest::keyClick(frmMain->listMenus, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(frmMain->Model().numOfMenus(), 1);
        QCOMPARE(frmMain->listMenus->count(), 1);
        QCOMPARE(frmMain->listMenus->item(0)->text(), QStringLiteral("Menu 1"));
        QCOMPARE(frmMain->listMenus->currentRow(), 0);
        QVERIFY(frmMain->txtLeft->isEnabled());
        QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("10"));
        QCOMPARE(frmMain->txtCapHTML->toPlainText(), QStringLiteral("Caption"));
        QCOMPARE(ReadBytes(script), written);

        // The next update writes what the user now sees: the menu at 10, 10.
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        QVERIFY(WaitForPreviewLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(OwnerPosition(0), QPoint(10, 10), kPageWait);
    }
};

DIDAD_GUI_TEST_MAIN(UndoRedoTest)
#include "undo_redo_test.moc"
