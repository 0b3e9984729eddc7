// Publish to your site, offscreen, through the real result dialog, the real
// publish dialog and the main window's button.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include "GuiTestBase.h"
#include "editor/TfrmMain.h"
#include "model/ScriptWriter.h"
#include "workflow/TfrmFinilizedOK.h"
#include "workflow/TfrmPublish.h"

using namespace didad;
using namespace didad::testing;

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QTreeWidgetItem* PageItem(const QString& path) {
    const auto found = frmPublish->lstPages->findItems(path, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.constFirst();
}

// Ticks or unticks a page the way the keyboard does.
void Toggle(const QString& path) {
    frmPublish->lstPages->setCurrentItem(PageItem(path));
    QTest::keyClick(frmPublish->lstPages, Qt::Key_Space);
}

} // namespace

class PublishTest : public GuiTestBase {
    Q_OBJECT

private slots:
    void initTestCase() { CreateWindows(); }
    void cleanupTestCase() { DestroyWindows(); }

    void publishesAfterFinalizeAndTakesTheMenusOutAgainFromTheMainWindow() {
        ResetRecords();
        StartNewProject(QStringLiteral("Publish_1"));
        QVERIFY(WaitForPreviewLoaded());
        frmMain->btnAddMenuClick();
        QVERIFY(WaitForPreviewLoaded());

        QTemporaryDir siteDir;
        const QString site = siteDir.path();
        QVERIFY(QDir(site).mkpath(QStringLiteral("shop")));
        const QByteArray page =
            "<!DOCTYPE html>\r\n<HTML><HEAD>\r\n<TITLE>Chairs</TITLE>\r\n</HEAD>\r\n"
            "<BODY>\r\n<P>Oak</P>\r\n</BODY></HTML>\r\n";
        WriteBytes(site + QStringLiteral("/index.html"), page);
        WriteBytes(site + QStringLiteral("/shop/chairs.html"), page);
        WriteBytes(site + QStringLiteral("/frames.html"), "<html><head></head><frameset></frameset></html>");

        bool published = false;
        WhenModal(frmFinilizedOK, [&] {
            WhenModal(frmPublish, [&] {
                QCOMPARE(frmPublish->txtSiteFolder->text(), QString());
                QTest::keyClicks(frmPublish->txtSiteFolder, site);
                QTest::keyClick(frmPublish->txtSiteFolder, Qt::Key_Return);
                QCOMPARE(frmPublish->lstPages->topLevelItemCount(), 3);
                QTreeWidgetItem* frames = PageItem(QStringLiteral("frames.html"));
                QVERIFY(frames && !(frames->flags() & Qt::ItemIsEnabled));
                QCOMPARE(frames->text(1), QStringLiteral("a frameset page"));
                QCOMPARE(PageItem(QStringLiteral("shop/chairs.html"))->checkState(0), Qt::Unchecked);
                QTest::keyClicks(frmPublish->txtScriptFolder, QStringLiteral("js"));
                Toggle(QStringLiteral("index.html"));
                Toggle(QStringLiteral("shop/chairs.html"));
                QCOMPARE(PageItem(QStringLiteral("shop/chairs.html"))->checkState(0), Qt::Checked);
                QueueAnswer(true);
                QTest::mouseClick(frmPublish->btnOK, Qt::LeftButton);
                published = !frmPublish->isVisible();
            });
            QTest::mouseClick(frmFinilizedOK->btnPublish, Qt::LeftButton);
        });
        QTest::mouseClick(frmMain->btnFinalize, Qt::LeftButton);
        QVERIFY(published);
        QVERIFY2(boxes.size() == 2, qPrintable(BoxTexts().join(QStringLiteral(" | "))));
        QVERIFY2(boxes[0].text.contains(QStringLiteral("Pages that get the menus (2):\r\n    index.html\r\n    "
                                                       "shop/chairs.html")),
                 qPrintable(boxes[0].text));
        QCOMPARE(boxes[1].caption, QStringLiteral("Published"));
        QVERIFY(boxes[1].text.contains(QStringLiteral("Menus added to (2):")));
        QVERIFY(boxes[1].text.contains(QStringLiteral("frames.html: a frameset page")));
        QVERIFY(ReadBytes(site + QStringLiteral("/js/Dirovidadaz.js")).contains(",IDE=0,"));
        const QByteArray chairs = ReadBytes(site + QStringLiteral("/shop/chairs.html"));
        QVERIFY(
            chairs.contains("<HEAD>\r\n<!-- Head Code by Didad -->\r\n"
                            "<script defer src=\"../js/Dirovidadaz.js\"></script>\r\n"));
        QVERIFY(!chairs.contains("Body Code"));

        // Next time the site is proposed, the published pages ticked; a "No"
        // writes nothing, then the unticked page loses the menus.
        ResetRecords();
        bool removed = false;
        WhenModal(frmPublish, [&] {
            QCOMPARE(frmPublish->txtSiteFolder->text(), site);
            QCOMPARE(frmPublish->txtScriptFolder->text(), QStringLiteral("js"));
            QTreeWidgetItem* item = PageItem(QStringLiteral("shop/chairs.html"));
            QVERIFY(item);
            QCOMPARE(item->checkState(0), Qt::Checked);
            QCOMPARE(item->text(1), QStringLiteral("has the menus (one line)"));
            Toggle(QStringLiteral("shop/chairs.html"));
            QueueAnswer(false);
            QTest::mouseClick(frmPublish->btnOK, Qt::LeftButton);
            QVERIFY(frmPublish->isVisible());
            QCOMPARE(ReadBytes(site + QStringLiteral("/shop/chairs.html")), chairs);
            QueueAnswer(true);
            QTest::mouseClick(frmPublish->btnOK, Qt::LeftButton);
            removed = !frmPublish->isVisible();
        });
        QTest::mouseClick(frmMain->btnPublish, Qt::LeftButton);
        QVERIFY(removed);
        QVERIFY2(
            boxes[1].text.contains(QStringLiteral("Pages the menus are taken out of (1):\r\n    shop/chairs.html")) &&
                boxes[1].text.contains(QStringLiteral("Pages that keep the menus as they are (1):\r\n    index.html")),
            qPrintable(boxes[1].text));
        QCOMPARE(ReadBytes(site + QStringLiteral("/shop/chairs.html")), page);
        QVERIFY(ReadBytes(site + QStringLiteral("/index.html")).contains("src=\"js/Dirovidadaz.js\""));

        // Another project's script in the way: the dialog asks, No keeps it
        // and writes nothing; Yes replaces it, here with the classic pair.
        ProjectModel otherProject;
        otherProject.entries.resize(2);
        const QByteArray other = QByteArray::fromStdString(BuildProjectScript(otherProject, ScriptMode::Final));
        WriteBytes(site + QStringLiteral("/js/Dirovidadaz.js"), other);
        const QByteArray index = ReadBytes(site + QStringLiteral("/index.html"));
        ResetRecords();
        bool replaced = false;
        WhenModal(frmPublish, [&] {
            QVERIFY(!frmPublish->chkClassic->isChecked());
            QTest::mouseClick(frmPublish->chkClassic, Qt::LeftButton, {}, QPoint(8, 8));
            QVERIFY(frmPublish->chkClassic->isChecked());
            QueueAnswer(true);
            QueueAnswer(false);
            QTest::mouseClick(frmPublish->btnOK, Qt::LeftButton);
            QVERIFY(frmPublish->isVisible());
            QCOMPARE(ReadBytes(site + QStringLiteral("/js/Dirovidadaz.js")), other);
            QCOMPARE(ReadBytes(site + QStringLiteral("/index.html")), index);
            QueueAnswer(true);
            QueueAnswer(true);
            QTest::mouseClick(frmPublish->btnOK, Qt::LeftButton);
            replaced = !frmPublish->isVisible();
        });
        QTest::mouseClick(frmMain->btnPublish, Qt::LeftButton);
        QVERIFY(replaced);
        QVERIFY2(boxes.size() == 5, qPrintable(BoxTexts().join(QStringLiteral(" | "))));
        QVERIFY2(boxes[1].text.contains(QStringLiteral("that this project did not publish there:")) &&
                     boxes[1].text.contains(QStringLiteral("(a Didad script with 2 menus, last changed ")),
                 qPrintable(boxes[1].text));
        QVERIFY2(boxes[4].text.contains(QStringLiteral("Menu code updated in (1):\r\n    index.html")),
                 qPrintable(boxes[4].text));
        QVERIFY(ReadBytes(site + QStringLiteral("/js/Dirovidadaz.js")) != other);
        QVERIFY(ReadBytes(site + QStringLiteral("/index.html")).contains("makeDidad()"));
    }
};

DIDAD_GUI_TEST_MAIN(PublishTest)
#include "publish_test.moc"
