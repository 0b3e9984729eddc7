// The windows made in the program's own start order: the preview and the
// start dialog first, the dialogs once the start dialog has been painted,
// in time for its first click, or at that click when it comes sooner.
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
        if (!pressAtOnce_) return;
        // A key taken in the same pass as the show, before any paint: the
        // chooser it opens is made then and there.
        WatchForChooser();
        QTest::keyClick(frmStart->btnOpen, Qt::Key_Space);
        QTest::keyClick(frmStart->btnNew, Qt::Key_Space);
    }

    void WatchForChooser() {
        chooserOpened_ = 0;
        auto* watch = new QTimer(this);
        connect(watch, &QTimer::timeout, [this] {
            if (!frmSelFolder || QApplication::activeModalWidget() != frmSelFolder) return;
            ++chooserOpened_;
            frmSelFolder->reject();
        });
        watch->start(10);
    }

private slots:
    void initTestCase() { CreateWindows(); }
    void cleanupTestCase() { DestroyWindows(); }

    void dialogsComeWithTheStartDialogsFirstPaint();
    void keysBeforeThePaintFindTheChooser();

private:
    bool madeBeforePaint_ = true;
    bool pressAtOnce_ = false;
    int chooserOpened_ = 0;
};

void StartOrderTest::dialogsComeWithTheStartDialogsFirstPaint() {
    QVERIFY(!madeBeforePaint_);
    QVERIFY(QTest::qWaitForWindowExposed(frmStart));
    QTRY_VERIFY(frmSelFolder != nullptr);
    // The start dialog's first click opens a dialog made that way.
    WatchForChooser();
    QTest::mouseClick(frmStart->btnNew, Qt::LeftButton);
    QCOMPARE(chooserOpened_, 1);
    QVERIFY(frmStart->isVisible());
}

void StartOrderTest::keysBeforeThePaintFindTheChooser() {
    DestroyWindows();
    pressAtOnce_ = true;
    CreateWindows();
    // Open Project and New Menu Project each opened the chooser once, made
    // once; the paint that follows makes nothing twice.
    QCOMPARE(chooserOpened_, 2);
    QVERIFY(QTest::qWaitForWindowExposed(frmStart));
    QTest::qWait(50);
    int choosers = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QStringLiteral("frmSelFolder")) ++choosers;
    QCOMPARE(choosers, 1);
    QCOMPARE(frmMain->findChildren<QDialog*>(QStringLiteral("frmAddText")).size(), 1);
    QVERIFY(frmStart->isVisible());
}

DIDAD_GUI_TEST_MAIN(StartOrderTest)
#include "start_order_test.moc"
