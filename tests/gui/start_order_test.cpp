// The windows made in the program's own start order: the preview and the
// start dialog first, the dialogs once the start dialog has been painted,
// in time for its first click.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "GuiTestBase.h"
#include "app/QtProgramWindows.h"
#include "editor/TfrmMain.h"
#include "preview/TfrmBrowser.h"
#include "workflow/TfrmSelFolder.h"
#include "workflow/TfrmStart.h"

using namespace didad;

class StartOrderTest : public testing::GuiTestBase {
    Q_OBJECT
protected:
    void MakeProgramWindows() override {
        CreateStartWindows();
        frmBrowser->show();
        frmMain->show();
        frmStart->show();
        MakeDialogsOncePainted();
        madeBeforePaint_ = frmSelFolder != nullptr;
    }

private slots:
    void initTestCase() { CreateWindows(); }
    void cleanupTestCase() { DestroyWindows(); }

    void dialogsComeWithTheStartDialogsFirstPaint();

private:
    bool madeBeforePaint_ = true;
};

void StartOrderTest::dialogsComeWithTheStartDialogsFirstPaint() {
    QVERIFY(!madeBeforePaint_);
    QVERIFY(QTest::qWaitForWindowExposed(frmStart));
    QTRY_VERIFY(frmSelFolder != nullptr);
    // The start dialog's first click opens a dialog made that way.
    bool chooserOpened = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() != frmSelFolder) return;
        chooserOpened = true;
        watch.stop();
        frmSelFolder->reject();
    });
    watch.start(10);
    QTest::mouseClick(frmStart->btnNew, Qt::LeftButton);
    QVERIFY(chooserOpened);
    QVERIFY(frmStart->isVisible());
}

DIDAD_GUI_TEST_MAIN(StartOrderTest)
#include "start_order_test.moc"
