// The project settings dialog, the template information window and finalize,
// offscreen, on the real dialogs, the real main window and a real web view.
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>

#include "GuiTestBase.h"
#include "editor/TfrmMain.h"
#include "model/ProjectModel.h"
#include "model/ScriptTexts.h"
#include "model/ScriptWriter.h"
#include "ui/QtAppIcon.h"
#include "workflow/IntegrationNotes.h"
#include "workflow/TfrmFinilizedOK.h"
#include "workflow/TfrmProjectSettings.h"
#include "workflow/TfrmTemplateInfo.h"

using namespace didad;
using namespace didad::testing;

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray CrLfText(const std::vector<std::string>& lines) { return QByteArray::fromStdString(JoinLinesCrLf(lines)); }

// Loads a page in a browser view of its own, as a visitor's browser would,
// and returns what `script` yields there.
QVariant EvalInStandalonePage(const QString& page, const QString& script) {
    QWebEngineView view;
    view.resize(820, 620);
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.load(QUrl::fromLocalFile(page));
    if (!loaded.wait(20000) || !loaded.at(0).at(0).toBool()) return {};
    QVariant result;
    bool done = false;
    view.page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000)) return {};
    return result;
}

} // namespace

class SettingsFinalizeTest : public GuiTestBase {
    Q_OBJECT

    TfrmProjectSettings* dlg() { return frmProjectSettings; }
    QString folder_;

    QString ProjectFile(const QString& name) const { return QDir(folder_).filePath(name); }

    // Opens the settings dialog from the main window and runs `inDialog` in it.
    void WithSettingsDialog(std::function<void()> inDialog) {
        bool ran = false;
        WhenModal(dlg(), [&] {
            ran = true;
            inDialog();
        });
        QTest::mouseClick(frmMain->btnActiveProjectSettings, Qt::LeftButton);
        QVERIFY(ran);
        QVERIFY(!dlg()->isVisible());
    }

private slots:
    void initTestCase() { CreateWindows(); }
    void cleanupTestCase() { DestroyWindows(); }
    void init() {
        ResetRecords();
        static int counter = 0;
        folder_ = StartNewProject(QStringLiteral("Settings_%1").arg(++counter));
        QVERIFY(WaitForPreviewLoaded());
        frmMain->btnAddMenuClick();
        QVERIFY(WaitForPreviewLoaded());
    }

    void programLogoIsLinkedIn() {
        // The logo lives in a static library's resources, which the linker
        // drops unless something pulls them in.
        const QIcon icon = ProgramIcon();
        QVERIFY(!icon.isNull());
        // Each size is its own picture: the smallest and the largest are
        // there, and a size between is drawn from the next larger one.
        for (int side : {16, 20, 256}) QCOMPARE(icon.pixmap(QSize(side, side), 1.0).size(), QSize(side, side));
    }

    void showsTheProjectsSettingsEachTimeItOpens() {
        ProjectSettings& s = frmMain->Model().settings;
        s.scrOUT = 33;
        s.scrIN = 44;
        s.cDefCap = Color{10, 20, 30};
        s.fDefMenu = "Verdana";
        s.fDefCapS = 16;
        s.PRJ_sTemplate = "Temp.html";
        bool helpLocked = false;
        WithSettingsDialog([&] {
            helpLocked = !frmMain->btnHelp->isEnabled();
            QCOMPARE(dlg()->windowTitle(), QStringLiteral("Active Project Settings"));
            QCOMPARE(dlg()->txtScrollOut->text(), QStringLiteral("33"));
            QCOMPARE(dlg()->txtScrollIn->text(), QStringLiteral("44"));
            QCOMPARE(dlg()->UpDown_ScrollIn->Position(), 44);
            QCOMPARE(dlg()->panCaptionColor->Colour(), QColor(10, 20, 30));
            QCOMPARE(dlg()->panMenuColor->Colour(), QColor(Qt::white));
            QCOMPARE(dlg()->cBoxFontName_Menu->currentText(), QStringLiteral("Verdana"));
            QCOMPARE(dlg()->cBoxFontSize_Caption->currentText(), QStringLiteral("16"));
            QCOMPARE(dlg()->txtTemplate->text(), QStringLiteral("Temp.html"));
            QVERIFY(dlg()->btnOK->hasFocus());
            // F1 anywhere in the dialog opens the help page.
            QTest::keyClick(dlg()->txtTemplate, Qt::Key_F1);
            QTest::keyClick(dlg()->btnCancel, Qt::Key_Escape);
        });
        QVERIFY(helpLocked);
        QVERIFY(frmMain->btnHelp->isEnabled());
        QCOMPARE(urls.opened.size(), 1);
        QVERIFY(urls.opened[0].toLocalFile().endsWith(QStringLiteral("Help/index.htm")));
    }

    void okStoresClampedValuesAndRefreshesThePreview() {
        QFile::remove(ProjectFile(QStringLiteral("Dirovidadaz.js")));
        WithSettingsDialog([&] {
            dlg()->txtScrollOut->setText(QStringLiteral("0"));
            dlg()->txtScrollIn->setText(QStringLiteral("abc"));
            dlg()->cBoxFontName_Caption->setEditText(QStringLiteral("\"Times New Roman\""));
            dlg()->cBoxFontName_Menu->setEditText(QStringLiteral("   "));
            dlg()->cBoxFontSize_Caption->setEditText(QStringLiteral("1"));
            dlg()->cBoxFontSize_Menu->setEditText(QStringLiteral("5000"));
            dlg()->txtTemplate->setText(QStringLiteral("pages/menu.html"));
            QTest::mouseClick(dlg()->btnOK, Qt::LeftButton);
        });
        const ProjectSettings& s = frmMain->Model().settings;
        QCOMPARE(s.scrOUT, 1);
        QCOMPARE(s.scrIN, 20);
        QCOMPARE(QString::fromStdString(s.fDefCap), QStringLiteral("Times New Roman"));
        QCOMPARE(QString::fromStdString(s.fDefMenu), QStringLiteral("Arial"));
        QCOMPARE(s.fDefCapS, 2);
        QCOMPARE(s.fDefMenuS, 999);
        QCOMPARE(QString::fromStdString(s.PRJ_sTemplate), QStringLiteral("pagesmenu.html"));
        QVERIFY(BoxTexts().isEmpty());

        // The script was written at once, and the new page under the new
        // name, while the old page stays.
        const QByteArray script = ReadBytes(ProjectFile(QStringLiteral("Dirovidadaz.js")));
        QVERIFY(script.contains(",scrIN=20,scrOUT=1,IDE=1,"));
        QVERIFY(script.contains("Times New Roman"));
        QCOMPARE(ReadBytes(ProjectFile(QStringLiteral("pagesmenu.html"))), CrLfText(DefaultPageLines()));
        QVERIFY(QFileInfo::exists(ProjectFile(QStringLiteral("Temp.html"))));

        // ...and the preview runs the new values from the new page.
        QVERIFY(WaitForPreviewLoaded());
        QTRY_VERIFY(
            EvalInPreview(QStringLiteral("location.pathname")).toString().endsWith(QStringLiteral("/pagesmenu.html")));
        QCOMPARE(EvalInPreview(QStringLiteral("scrOUT")).toInt(), 1);
    }

    void okWithUnchangedValuesStillRewritesTheScript() {
        QFile::remove(ProjectFile(QStringLiteral("Dirovidadaz.js")));
        QFile::remove(ProjectFile(QStringLiteral("Temp.html")));
        const ProjectSettings before = frmMain->Model().settings;
        WithSettingsDialog([&] { QTest::keyClick(dlg()->txtScrollOut, Qt::Key_Return); });
        QCOMPARE(frmMain->Model().settings, before);
        QVERIFY(QFileInfo::exists(ProjectFile(QStringLiteral("Dirovidadaz.js"))));
        QCOMPARE(ReadBytes(ProjectFile(QStringLiteral("Temp.html"))), CrLfText(DefaultPageLines()));
    }

    void cancelAfterDefaultsAndColourStoresNothing() {
        ProjectSettings& s = frmMain->Model().settings;
        s.scrOUT = 77;
        s.fDefCap = "Tahoma";
        s.cDefMenu = Color{0, 0, 255};
        s.PRJ_sTemplate = "Temp.html";
        const ProjectSettings before = s;
        const QByteArray scriptBefore = ReadBytes(ProjectFile(QStringLiteral("Dirovidadaz.js")));

        WithSettingsDialog([&] {
            QTest::mouseClick(dlg()->btnDefaults, Qt::LeftButton);
            QCOMPARE(dlg()->txtScrollOut->text(), QStringLiteral("10"));
            QCOMPARE(dlg()->txtScrollIn->text(), QStringLiteral("20"));
            QCOMPARE(dlg()->cBoxFontName_Caption->currentText(), QStringLiteral("Arial"));
            QCOMPARE(dlg()->cBoxFontSize_Menu->currentText(), QStringLiteral("12"));
            QCOMPARE(dlg()->panMenuColor->Colour(), QColor(Qt::white));
            QCOMPARE(dlg()->txtTemplate->text(), QStringLiteral("Temp.html"));

            // A colour chosen in the colour dialog shows on the swatch only.
            WhenModal([&](QWidget* w) { return w == dlg()->cdlg1; },
                      [&](QWidget*) {
                          dlg()->cdlg1->setCurrentColor(QColor(200, 100, 50));
                          dlg()->cdlg1->accept();
                      });
            QTest::mouseClick(dlg()->panCaptionColor, Qt::LeftButton);
            QCOMPARE(dlg()->panCaptionColor->Colour(), QColor(200, 100, 50));
            QTest::mouseClick(dlg()->btnCancel, Qt::LeftButton);
        });
        QCOMPARE(frmMain->Model().settings, before);
        QCOMPARE(ReadBytes(ProjectFile(QStringLiteral("Dirovidadaz.js"))), scriptBefore);

        // Opening again shows the stored values, not what was left in the controls.
        WithSettingsDialog([&] {
            QCOMPARE(dlg()->txtScrollOut->text(), QStringLiteral("77"));
            QCOMPARE(dlg()->panCaptionColor->Colour(), QColor(Qt::white));
            QCOMPARE(dlg()->panMenuColor->Colour(), QColor(0, 0, 255));
            QTest::keyClick(dlg()->btnCancel, Qt::Key_Escape);
        });
    }

    void templateWithoutTheScriptIsRefused() {
        WriteBytes(ProjectFile(QStringLiteral("mine.html")), "<html><body>no menus</body></html>\r\n");
        const ProjectSettings before = frmMain->Model().settings;
        bool infoShown = false;
        QString infoText;
        WithSettingsDialog([&] {
            dlg()->txtScrollOut->setText(QStringLiteral("55"));
            dlg()->txtTemplate->setText(QStringLiteral(" mine.html "));
            WhenModal(frmTemplateInfo, [&] {
                infoShown = true;
                infoText = frmTemplateInfo->txtINFO->toPlainText();
                QTest::mouseClick(frmTemplateInfo->btnOK, Qt::LeftButton);
            });
            QTest::mouseClick(dlg()->btnOK, Qt::LeftButton);

            // Still open, the name selected for retyping, nothing stored.
            QVERIFY(dlg()->isVisible());
            QCOMPARE(dlg()->focusWidget(), dlg()->txtTemplate);
            QCOMPARE(dlg()->txtTemplate->selectedText(), dlg()->txtTemplate->text());
            QCOMPARE(frmMain->Model().settings, before);

            // An emptied name falls back to the default page, which is written.
            dlg()->txtTemplate->clear();
            QTest::mouseClick(dlg()->btnOK, Qt::LeftButton);
        });
        QVERIFY(infoShown);
        QCOMPARE(infoText.split(QLatin1Char('\n')).size(), 30);
        QVERIFY(infoText.contains(QStringLiteral(" <SCRIPT LANGUAGE=\"JavaScript\">makeDidad()</SCRIPT>")));
        QCOMPARE(boxes.size(), 1);
        const QString expectedPath = QDir::toNativeSeparators(ProjectFile(QStringLiteral("mine.html")));
        QCOMPARE(boxes[0].text,
                 QStringLiteral("The template file: \r\n") + expectedPath +
                     QStringLiteral("\r\ndoes not contain the right code for your menu to operate correctly."
                                    "\r\n\r\nPut the required code into this file, or type a file name that "
                                    "does not exist (default HTML code will be written there)."));
        QCOMPARE(frmMain->Model().settings.scrOUT, 55);
        QCOMPARE(QString::fromStdString(frmMain->Model().settings.PRJ_sTemplate), QStringLiteral("Temp.html"));
    }

    void failedPageWriteKeepsTheDialogAndTheOldSettings() {
        // Regression: a folder under the new template name used to leave the
        // failed settings stored, so every later save failed on them.
        QVERIFY(QDir(folder_).mkdir(QStringLiteral("pages.html")));
        const ProjectSettings before = frmMain->Model().settings;
        bool stillOpen = false;
        WithSettingsDialog([&] {
            dlg()->txtScrollIn->setText(QStringLiteral("99"));
            dlg()->txtTemplate->setText(QStringLiteral("pages.html"));
            QTest::mouseClick(dlg()->btnOK, Qt::LeftButton);
            stillOpen = dlg()->isVisible();
            QTest::mouseClick(dlg()->btnCancel, Qt::LeftButton);
        });
        QVERIFY(stillOpen);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].kind, BoxRequest::Kind::Error);
        QCOMPARE(boxes[0].text, QStringLiteral("Cannot create file ") +
                                    QDir::toNativeSeparators(ProjectFile(QStringLiteral("pages.html"))) +
                                    QStringLiteral("\r\n\r\nIs a directory"));
        QCOMPARE(frmMain->Model().settings, before);
        QVERIFY(frmMain->UpdatePreview());
    }

    void moreInfoShowsTheTemplateInformation() {
        bool shown = false;
        WithSettingsDialog([&] {
            WhenModal(frmTemplateInfo, [&] {
                shown = true;
                QCOMPARE(frmTemplateInfo->windowTitle(), QStringLiteral("Information about Template"));
                QVERIFY(frmTemplateInfo->txtINFO->isReadOnly());
                QCOMPARE(frmTemplateInfo->txtINFO->lineWrapMode(), QPlainTextEdit::NoWrap);
                QTest::keyClick(frmTemplateInfo->btnOK, Qt::Key_Return);
            });
            QTest::mouseClick(dlg()->btnMoreInfo, Qt::LeftButton);
            QVERIFY(dlg()->isVisible());
            QTest::keyClick(dlg()->btnCancel, Qt::Key_Escape);
        });
        QVERIFY(shown);
    }

    void finalizeWritesTheThreeFilesAndShowsTheNotes() {
        WriteBytes(ProjectFile(QStringLiteral("ReadMe.txt")), "my own notes");
        QFile::remove(ProjectFile(QStringLiteral("Temp.html")));
        bool shown = false;
        bool helpLocked = false;
        QString notes;
        QString copied;
        WhenModal(frmFinilizedOK, [&] {
            shown = true;
            helpLocked = !frmMain->btnHelp->isEnabled();
            notes = frmFinilizedOK->txtINFO->toPlainText();
            // The dialog's activation may still be on its way when a slow
            // (flushed) write has kept this check's timer waiting.
            QTRY_VERIFY(frmFinilizedOK->btnOK->hasFocus());
            // The instructions wrap rather than run off the box, and go to
            // the clipboard whole.
            QCOMPARE(frmFinilizedOK->txtINFO->lineWrapMode(), QPlainTextEdit::WidgetWidth);
            QGuiApplication::clipboard()->clear();
            QTest::mouseClick(frmFinilizedOK->btnCopy, Qt::LeftButton);
            copied = QGuiApplication::clipboard()->text();
            // Browse can be used more than once; the dialog stays.
            QTest::mouseClick(frmFinilizedOK->btnBrowse, Qt::LeftButton);
            QTest::mouseClick(frmFinilizedOK->btnBrowse, Qt::LeftButton);
            QVERIFY(frmFinilizedOK->isVisible());
            QTest::mouseClick(frmFinilizedOK->btnOK, Qt::LeftButton);
        });
        QTest::mouseClick(frmMain->btnFinalize, Qt::LeftButton);
        QVERIFY(shown);
        QVERIFY(helpLocked);
        QVERIFY(frmMain->btnHelp->isEnabled());
        QCOMPARE(frmFinilizedOK->windowTitle(), QStringLiteral("Finalized!"));
        QCOMPARE(copied, notes);
        QVERIFY(copied.contains(QStringLiteral("<SCRIPT LANGUAGE=\"JavaScript\">makeDidad()</SCRIPT>\n")));

        const QByteArray script = ReadBytes(ProjectFile(QStringLiteral("Dirovidadaz.js")));
        QVERIFY(script.contains(",IDE=0,"));
        QVERIFY(!script.contains("function ySetSel("));
        QCOMPARE(ReadBytes(ProjectFile(QStringLiteral("Temp.html"))), CrLfText(DefaultPageLines()));
        const QByteArray readMe = ReadBytes(ProjectFile(QStringLiteral("ReadMe.txt")));
        QCOMPARE(readMe, QByteArray::fromStdString(IntegrationNotesText()));
        // The dialog shows the very text of the file.
        QCOMPARE(notes,
                 QString::fromLocal8Bit(readMe).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).chopped(1));

        QCOMPARE(urls.opened.size(), 2);
        QCOMPARE(QDir(urls.opened[0].toLocalFile()), QDir(folder_));
        QVERIFY(BoxTexts().isEmpty());

        // The published page works on its own: the menu is built, the
        // editing add-on is not there.
        QCOMPARE(EvalInStandalonePage(ProjectFile(QStringLiteral("Temp.html")),
                                      QStringLiteral("[!!document.getElementById('owner0'), "
                                                     "!!document.getElementById('menu0'), typeof ySetSel, IDE]"))
                     .toList(),
                 (QVariantList{true, true, QStringLiteral("undefined"), 0}));

        // The next preview update brings the editing add-on back.
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        const QByteArray preview = ReadBytes(ProjectFile(QStringLiteral("Dirovidadaz.js")));
        QVERIFY(preview.contains(",IDE=1,"));
        QVERIFY(preview.contains("function ySetSel("));
    }

    void failedFinalizeStopsBeforeTheDialog() {
        // A folder in the way of ReadMe.txt.
        QVERIFY(QDir(folder_).mkdir(QStringLiteral("ReadMe.txt")));
        bool shown = false;
        QTimer* watch = WhenModal(frmFinilizedOK, [&] { shown = true; });
        QTest::mouseClick(frmMain->btnFinalize, Qt::LeftButton);
        QTest::qWait(50);
        delete watch;
        QVERIFY(!shown);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].kind, BoxRequest::Kind::Error);
        QCOMPARE(boxes[0].text, QStringLiteral("Cannot create file ") +
                                    QDir::toNativeSeparators(ProjectFile(QStringLiteral("ReadMe.txt"))) +
                                    QStringLiteral("\r\n\r\nIs a directory"));
        QVERIFY(frmMain->btnHelp->isEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }
};

DIDAD_GUI_TEST_MAIN(SettingsFinalizeTest)
#include "settings_finalize_test.moc"
