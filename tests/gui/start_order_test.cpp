// The windows made and shown in the program's own start order: every dialog
// is there before the start dialog shows, so that a key taken before its
// first paint finds what it opens.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "GuiTestBase.h"
#include "app/QtProgramWindows.h"
#include "editor/TfrmMain.h"
#include "workflow/TfrmSelFolder.h"
#include "workflow/TfrmStart.h"

using namespace didad;

class StartOrderTest : public testing::GuiTestBase {
    Q_OBJECT
protected:
    void MakeProgramWindows() override {
        CreateProgramWindows();
        ShowStartWindows();
        // Keys taken in the same pass as the show, before any paint.
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

    void keysBeforeThePaintFindTheChooser();

private:
    int chooserOpened_ = 0;
};

void StartOrderTest::keysBeforeThePaintFindTheChooser() {
    // Open Project and New Menu Project each opened the one chooser.
    QCOMPARE(chooserOpened_, 2);
    QVERIFY(QTest::qWaitForWindowExposed(frmStart));
    int choosers = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QStringLiteral("frmSelFolder")) ++choosers;
    QCOMPARE(choosers, 1);
    QVERIFY(frmStart->isVisible());
}

DIDAD_GUI_TEST_MAIN(StartOrderTest)
#include "start_order_test.moc"
