// The property tabs, the snippet panel and the three snippet dialogs, driven
// through the real main window and a real preview.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>

#include "GuiTestBase.h"
#include "editor/ControlFilling.h"
#include "editor/EditorLogic.h"
#include "editor/TfrmAddImage.h"
#include "editor/TfrmAddText.h"
#include "editor/TfrmAddURL.h"
#include "editor/TfrmMain.h"
#include "preview/TfrmBrowser.h"
#include "ui/QtMessageBoxes.h"

using namespace didad;
using namespace didad::testing;

namespace {

enum Tab { kPositionTab = 0, kCaptionTab = 1, kMenuTab = 2, kColorTab = 3 };

// Types the path into the chooser's file name box, as a user would, and
// presses its Open button.
void ChooseInFileDialog(QFileDialog* chooser, const QString& path) {
    auto* name = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    name->setText(path);
    static_cast<QDialog*>(chooser)->accept();
}

// Makes `name` the current file of the chooser's list, as a click would,
// once the list has read its folder.
void PickInFileList(QFileDialog* chooser, const QString& name) {
    auto* list = chooser->findChild<QListView*>(QStringLiteral("listView"));
    QVERIFY(list);
    QModelIndex found;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            const QAbstractItemModel* model = list->model();
            for (int row = 0; row < model->rowCount(list->rootIndex()); ++row) {
                const QModelIndex index = model->index(row, 0, list->rootIndex());
                if (index.data().toString() == name) found = index;
            }
            return found.isValid();
        }(),
        5000);
    list->setCurrentIndex(found);
}

// A click on the box itself, not on the empty room beside its text.
void ClickCheckBox(QAbstractButton* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

void Retype(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    if (!text.isEmpty()) QTest::keyClicks(box, text);
}

} // namespace

class PropertiesTest : public didad::testing::GuiTestBase {
    Q_OBJECT

private:
    MenuEntry& Entry(int i = 0) { return frmMain->Model().entries.at(static_cast<std::size_t>(i)); }
    ProjectModel& Model() { return frmMain->Model(); }

    // A project with `count` fresh entries, entry 0 selected and loaded, no
    // pending look, the given tab active.
    void FreshProject(int count, int tab = kPositionTab) {
        ProjectModel& model = Model();
        model.ResetForNewProject();
        for (int i = 0; i < count; ++i) model.AddMenuEntry();
        model.iSelectedMenu = 0;
        frmMain->Logic().ShowProject();
        frmMain->tabProp->setCurrentIndex(tab);
        frmMain->ClearPreviewPending();
    }

    bool UpdatePreviewAndWait() {
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        return WaitForPreviewLoaded();
    }

    QString projectFolder_;
    QTemporaryDir picturesDir_;

private slots:
    void initTestCase() {
        CreateWindows();
        projectFolder_ = StartNewProject(QStringLiteral("props"));
    }

    void cleanupTestCase() { DestroyWindows(); }

    void init() { ResetRecords(); }

    void numberBoxesFollowTheFieldRule() {
        FreshProject(1);
        struct Case {
            QLineEdit* box;
            QString typed;
            int MenuEntry::*field;
            int stored;
        } cases[] = {
            {frmMain->txtWidth, QString(), &MenuEntry::MW, 100},
            {frmMain->txtWidth, QStringLiteral("999"), &MenuEntry::MW, 900},
            {frmMain->txtCapHeight, QString(), &MenuEntry::MTCH, 22},
            {frmMain->txtCapHeight, QStringLiteral("0"), &MenuEntry::MTCH, 1},
            {frmMain->txtLeft, QString(), &MenuEntry::MX, 0},
            {frmMain->txtLeft, QStringLiteral("-"), &MenuEntry::MX, 0},
            {frmMain->txtLeft, QStringLiteral("-5"), &MenuEntry::MX, -5},
            {frmMain->txtTop, QStringLiteral("120"), &MenuEntry::MY, 120},
            {frmMain->txtTop, QStringLiteral("abc"), &MenuEntry::MY, 0}, // emptied first, then kept
        };
        for (const Case& c : cases) {
            frmMain->ClearPreviewPending();
            Retype(c.box, c.typed);
            QCOMPARE(Entry().*c.field, c.stored);
            // The box keeps what was typed.
            QCOMPARE(c.box->text(), c.typed);
            QVERIFY(frmMain->IsPreviewPending());
        }
        // A sign and at most four digits.
        Retype(frmMain->txtLeft, QStringLiteral("-123456"));
        QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("-1234"));
        QCOMPARE(Entry().MX, -1234);

        // The arrows step the typed value and run the same rule.
        Retype(frmMain->txtWidth, QStringLiteral("899"));
        QTest::mouseClick(frmMain->UpDown_Width->UpButton(), Qt::LeftButton);
        QCOMPARE(Entry().MW, 900);
        QTest::mouseClick(frmMain->UpDown_Width->UpButton(), Qt::LeftButton);
        QCOMPARE(Entry().MW, 900);
        QCOMPARE(frmMain->txtWidth->text(), QStringLiteral("900"));
    }

    // Guards against the three-character typing limit cutting the values
    // that the program writes: a loaded or stepped value shows whole.
    void numberBoxesShowWholeValues() {
        FreshProject(1);
        Entry().MX = -125;
        Entry().MY = 1000;
        frmMain->LoadEntryIntoControls(0);
        QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("-125"));
        QCOMPARE(frmMain->txtTop->text(), QStringLiteral("1000"));
        QCOMPARE(Entry().MY, 1000);

        Retype(frmMain->txtLeft, QStringLiteral("-99"));
        QTest::mouseClick(frmMain->UpDown_Left->DownButton(), Qt::LeftButton);
        QCOMPARE(frmMain->txtLeft->text(), QStringLiteral("-100"));
        QCOMPARE(Entry().MX, -100);
    }

    void switchesAndPendingLook() {
        FreshProject(2);
        // Float changes the entry but not the look of Update Preview.
        QCOMPARE(Entry().FL, 1);
        ClickCheckBox(frmMain->chkFloat);
        QCOMPARE(Entry().FL, 0);
        QVERIFY(!frmMain->IsPreviewPending());

        QTest::mouseClick(frmMain->radActivateOnMouseClick, Qt::LeftButton);
        QCOMPARE(Entry().MA, 1);
        QVERIFY(frmMain->IsPreviewPending());
        frmMain->ClearPreviewPending();
        QTest::mouseClick(frmMain->radActivateOnMouseOver, Qt::LeftButton);
        QCOMPARE(Entry().MA, 0);
        QVERIFY(frmMain->IsPreviewPending());

        frmMain->ClearPreviewPending();
        QTest::mouseClick(frmMain->radVertical, Qt::LeftButton);
        QCOMPARE(Entry().OO, 1);
        QVERIFY(frmMain->IsPreviewPending());
        QCOMPARE(Entry(1).OO, 0); // only the selected entry

        // Loading another entry fills the controls without writing back.
        const MenuEntry before = Entry(1);
        frmMain->ClearPreviewPending();
        frmMain->LoadEntryIntoControls(1);
        Model().iSelectedMenu = 1;
        QCOMPARE(Entry(1), before);
        QVERIFY(!frmMain->IsPreviewPending());
        QVERIFY(frmMain->radHorizontal->isChecked());
    }

    void htmlBoxesStoreCrLf() {
        FreshProject(1, kCaptionTab);
        QPlainTextEdit* box = frmMain->txtCapHTML;
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("a"));
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, QStringLiteral("\"b\\"));
        QCOMPARE(Entry().MTC, std::string("a\r\n\"b\\"));
        QVERIFY(frmMain->IsPreviewPending());

        frmMain->tabProp->setCurrentIndex(kMenuTab);
        frmMain->txtMenuHTML->setFocus();
        frmMain->txtMenuHTML->selectAll();
        QTest::keyClicks(frmMain->txtMenuHTML, QStringLiteral("x"));
        QTest::keyClick(frmMain->txtMenuHTML, Qt::Key_Return);
        QCOMPARE(Entry().MTM, std::string("x\r\n"));
    }

    void colours() {
        FreshProject(1, kColorTab);
        // Loading a transparent caption colour hides the swatch, and leaves
        // the entry as it was.
        Entry().CC = "transparent";
        frmMain->LoadEntryIntoControls(0);
        QVERIFY(frmMain->chkTranspCC->isChecked());
        QVERIFY(frmMain->panCaptionColor->isHidden());
        QCOMPARE(Entry().CC, std::string("transparent"));
        QVERIFY(!frmMain->IsPreviewPending());

        // Transparent on and off for the menu colour.
        QVERIFY(!frmMain->panMenuColor->isHidden());
        ClickCheckBox(frmMain->chkTranspCM);
        QCOMPARE(Entry().CM, std::string("transparent"));
        QVERIFY(frmMain->panMenuColor->isHidden());
        QVERIFY(frmMain->IsPreviewPending());
        ClickCheckBox(frmMain->chkTranspCM);
        QCOMPARE(Entry().CM, std::string("#008080"));
        QVERIFY(!frmMain->panMenuColor->isHidden());

        // Choosing a colour for the bottom swatch.
        frmMain->ClearPreviewPending();
        WhenModalOf<QColorDialog>([](QColorDialog* dialog) {
            dialog->setCurrentColor(QColor(0x12, 0xAB, 0xEF));
            dialog->accept();
        });
        ClickCheckBox(frmMain->chkTranspCO); // shows the swatch
        QCOMPARE(Entry().CO, std::string("#FFFFFF"));
        QTest::mouseClick(frmMain->panOwnerColor, Qt::LeftButton);
        QCOMPARE(Entry().CO, std::string("#12ABEF"));
        QCOMPARE(frmMain->panOwnerColor->Colour(), QColor(0x12, 0xAB, 0xEF));

        // A cancelled colour dialog changes nothing.
        frmMain->ClearPreviewPending();
        WhenModalOf<QColorDialog>([](QColorDialog* dialog) {
            dialog->setCurrentColor(Qt::red);
            dialog->reject();
        });
        QTest::mouseClick(frmMain->panOwnerColor, Qt::LeftButton);
        QCOMPARE(Entry().CO, std::string("#12ABEF"));
        QVERIFY(!frmMain->IsPreviewPending());
    }

    void snippetPanelOnlyOnHtmlTabs() {
        FreshProject(1);
        const bool expected[] = {false, true, true, false};
        for (int tab : {kCaptionTab, kColorTab, kMenuTab, kPositionTab}) {
            frmMain->tabProp->setCurrentIndex(tab);
            QCOMPARE(!frmMain->panHTMLTools->isHidden(), expected[tab]);
        }
    }

    void verticalCaptionExchangeReachesBoxAndPage() {
        FreshProject(1);
        QTest::mouseClick(frmMain->radVertical, Qt::LeftButton);
        QCOMPARE(Entry().MTC, std::string(kDefaultCaption));
        QVERIFY(UpdatePreviewAndWait());
        QCOMPARE(Entry().MTC, std::string(kVerticalDefaultCaption));
        QCOMPARE(frmMain->txtCapHTML->toPlainText(),
                 QStringLiteral("<CENTER>\nC<BR>a<BR>p<BR>t<BR>i<BR>o<BR>n</CENTER>"));
        QVERIFY(!frmMain->IsPreviewPending());
        QTRY_VERIFY_WITH_TIMEOUT(EvalInPreview(QStringLiteral("document.getElementById('cap0') ? "
                                                              "document.getElementById('cap0').innerText : ''"))
                                     .toString()
                                     .contains(QStringLiteral("C\na\np")),
                                 10000);

        // And back at the following write.
        QTest::mouseClick(frmMain->radHorizontal, Qt::LeftButton);
        QVERIFY(UpdatePreviewAndWait());
        QCOMPARE(Entry().MTC, std::string(kDefaultCaption));
        QCOMPARE(frmMain->txtCapHTML->toPlainText(), QStringLiteral("Caption"));
    }

    void newLineAtCaretAndBeforeSelection() {
        FreshProject(1, kCaptionTab);
        QPlainTextEdit* box = frmMain->txtCapHTML;
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(4);
        box->setTextCursor(cursor);
        QTest::mouseClick(frmMain->btnAddNEWLINE, Qt::LeftButton);
        QCOMPARE(Entry().MTC, std::string("Capt<BR>\r\nion"));
        QCOMPARE(box->textCursor().position(), 9);
        QVERIFY(frmMain->IsPreviewPending());

        // A selection stays in the text, behind the snippet.
        cursor = box->textCursor();
        cursor.setPosition(3);
        cursor.setPosition(1, QTextCursor::KeepAnchor); // "apt", selected backwards
        box->setTextCursor(cursor);
        QTest::mouseClick(frmMain->btnAddNEWLINE, Qt::LeftButton);
        QCOMPARE(Entry().MTC, std::string("C<BR>\r\napt<BR>\r\nion"));
        QVERIFY(!box->textCursor().hasSelection());

        // Each box receives only on its own tab.
        frmMain->tabProp->setCurrentIndex(kMenuTab);
        QTest::mouseClick(frmMain->btnAddNEWLINE, Qt::LeftButton);
        QCOMPARE(Entry().MTM, std::string("Blank menu<BR>\r\n"));
        QCOMPARE(Entry().MTC, std::string("C<BR>\r\napt<BR>\r\nion"));
    }

    void addTextThroughItsButtons() {
        FreshProject(1, kMenuTab);
        QTextCursor cursor = frmMain->txtMenuHTML->textCursor();
        cursor.setPosition(0);
        frmMain->txtMenuHTML->setTextCursor(cursor);

        bool helpLocked = false;
        WhenModal(frmAddText, [&] {
            helpLocked = !frmMain->btnHelp->isEnabled();
            QVERIFY(frmAddText->txtTEXT->toPlainText().isEmpty());
            QTest::keyClicks(frmAddText->txtTEXT, QStringLiteral("Hello"));
            ClickCheckBox(frmAddText->chkCenter);
            QTest::mouseClick(frmAddText->btnAdd, Qt::LeftButton);
        });
        QTest::mouseClick(frmMain->btnAddText, Qt::LeftButton);
        QVERIFY(helpLocked);
        QVERIFY(frmMain->btnHelp->isEnabled());
        QCOMPARE(Entry().MTM, std::string("<CENTER><FONT FACE=\"Arial\" SIZE=\"2\" COLOR=\"#FFFFFF\">Hello\r\n"
                                          "</FONT></CENTER>\r\nBlank menu"));
        QVERIFY(frmMain->IsPreviewPending());

        // The next opening keeps the settings and empties the text; the text
        // conversion shows in the box.
        QString shownText;
        WhenModal(frmAddText, [&] {
            QVERIFY(frmAddText->txtTEXT->toPlainText().isEmpty());
            QVERIFY(frmAddText->chkCenter->isChecked());
            ClickCheckBox(frmAddText->chkCenter);
            ClickCheckBox(frmAddText->chkDefaultFace);
            QVERIFY(!frmAddText->cBoxFontName->isEnabled());
            ClickCheckBox(frmAddText->chkDefaultSize);
            ClickCheckBox(frmAddText->chkDefaultColor);
            QVERIFY(frmAddText->panColor->isHidden());
            QTest::keyClicks(frmAddText->txtTEXT, QStringLiteral("a"));
            QTest::keyClick(frmAddText->txtTEXT, Qt::Key_Return);
            QTest::keyClicks(frmAddText->txtTEXT, QStringLiteral(" b"));
            QTest::mouseClick(frmAddText->btnAdd, Qt::LeftButton);
            shownText = frmAddText->txtTEXT->toPlainText();
        });
        QTest::mouseClick(frmMain->btnAddText, Qt::LeftButton);
        QCOMPARE(shownText, QStringLiteral("a<BR>\n&nbsp;b"));
        QVERIFY(Entry().MTM.ends_with("</CENTER>\r\na<BR>\r\n&nbsp;b\r\n\r\nBlank menu"));

        // Cancel inserts nothing.
        const std::string before = Entry().MTM;
        WhenModal(frmAddText, [] {
            QTest::keyClicks(frmAddText->txtTEXT, QStringLiteral("lost"));
            QTest::mouseClick(frmAddText->BitBtn2, Qt::LeftButton);
        });
        QTest::mouseClick(frmMain->btnAddText, Qt::LeftButton);
        QCOMPARE(Entry().MTM, before);
    }

    void addUrlThroughItsButtons() {
        FreshProject(1, kCaptionTab);
        frmMain->txtCapHTML->moveCursor(QTextCursor::End);
        QTemporaryDir site;
        QFile page(site.filePath(QStringLiteral("page2.htm")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();

        WhenModal(frmAddURL, [&] {
            QVERIFY(frmAddURL->txtURL->text().isEmpty());
            // The chooser fills in the bare file name.
            WhenModalOf<QFileDialog>(
                [&](QFileDialog* chooser) { ChooseInFileDialog(chooser, site.filePath(QStringLiteral("page2.htm"))); });
            QTest::mouseClick(frmAddURL->btnChooseFile, Qt::LeftButton);
            QCOMPARE(frmAddURL->txtURL->text(), QStringLiteral("page2.htm"));
            frmAddURL->cboxTarget->setCurrentText(QStringLiteral("_blank"));
            QTest::keyClicks(frmAddURL->txtHTML, QStringLiteral("Next"));
            QTest::mouseClick(frmAddURL->btnAdd, Qt::LeftButton);
        });
        QTest::mouseClick(frmMain->btnAddURL, Qt::LeftButton);
        QCOMPARE(Entry().MTC, std::string("Caption<A HREF=\"page2.htm\" TARGET=\"_blank\">Next</A>\r\n"));
        QCOMPARE(QDir(frmAddURL->RememberedFolder()).canonicalPath(), QDir(site.path()).canonicalPath());

        // A cancelled chooser keeps the folder; the target stays for the next
        // opening, URL and inner HTML are emptied.
        WhenModal(frmAddURL, [&] {
            QVERIFY(frmAddURL->txtHTML->toPlainText().isEmpty());
            QCOMPARE(frmAddURL->cboxTarget->currentText(), QStringLiteral("_blank"));
            WhenModalOf<QFileDialog>([](QFileDialog* chooser) { chooser->reject(); });
            QTest::mouseClick(frmAddURL->btnChooseFile, Qt::LeftButton);
            frmAddURL->cboxTarget->setCurrentIndex(0);
            QTest::keyClicks(frmAddURL->txtURL, QStringLiteral("x.htm"));
            QTest::keyClick(frmAddURL->txtURL, Qt::Key_Return); // Add is the default button
            QVERIFY(!frmAddURL->isVisible());
        });
        QTest::mouseClick(frmMain->btnAddURL, Qt::LeftButton);
        QVERIFY(Entry().MTC.ends_with("<A HREF=\"x.htm\"></A>\r\n"));

        // The last opening left the focus on the chooser button; the next
        // one starts in the URL box all the same. Escape cancels like the
        // Cancel button: nothing inserted.
        const std::string before = Entry().MTC;
        WhenModal(frmAddURL, [] {
            QCOMPARE(QApplication::focusWidget(), frmAddURL->txtURL);
            QTest::keyClicks(frmAddURL->txtHTML, QStringLiteral("lost"));
            QTest::keyClick(frmAddURL->txtHTML, Qt::Key_Escape);
            QVERIFY(!frmAddURL->isVisible());
        });
        QTest::mouseClick(frmMain->btnAddURL, Qt::LeftButton);
        QCOMPARE(Entry().MTC, before);
        QCOMPARE(QDir(frmAddURL->RememberedFolder()).canonicalPath(), QDir(site.path()).canonicalPath());
    }

    void addImageCopiesThePictureIntoTheProjectAndThePreviewShowsIt() {
        FreshProject(1, kMenuTab);
        frmMain->txtMenuHTML->moveCursor(QTextCursor::End);
        QVERIFY(picturesDir_.isValid());
        const QString picture = picturesDir_.filePath(QStringLiteral("logo.png"));
        QImage image(37, 23, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(picture));

        WhenModal(frmAddImage, [&] {
            QVERIFY(frmAddImage->txtImage->text().isEmpty());
            WhenModalOf<QFileDialog>([&](QFileDialog* chooser) {
                chooser->selectNameFilter(chooser->nameFilters().constLast());
                // Picking the file in the list shows the picture beside it.
                chooser->setDirectory(picturesDir_.path());
                PickInFileList(chooser, QStringLiteral("logo.png"));
                QCOMPARE(frmAddImage->imgPreview->pixmap().width(), 37);
                ChooseInFileDialog(chooser, picture);
            });
            QTest::mouseClick(frmAddImage->btnChooseFileName, Qt::LeftButton);
            QCOMPARE(frmAddImage->txtImage->text(), QDir::toNativeSeparators(picture));
            Retype(frmAddImage->txtBorderSize, QStringLiteral("007"));
            QTest::mouseClick(frmAddImage->btnAdd, Qt::LeftButton);
        });
        QTest::mouseClick(frmMain->btnAddimage, Qt::LeftButton);

        QVERIFY(boxes.isEmpty());
        QVERIFY(QFile::exists(QDir(projectFolder_).filePath(QStringLiteral("logo.png"))));
        QCOMPARE(Entry().MTM, std::string("Blank menu<IMG SRC=\"logo.png\" BORDER=\"7\">\r\n"));
        QCOMPARE(frmAddImage->RememberedFolder(), QDir::toNativeSeparators(picturesDir_.path()));

        QVERIFY(UpdatePreviewAndWait());
        const QString natural = QStringLiteral(
            "(function(){var m=document.getElementById('menu0');"
            "var i=m?m.getElementsByTagName('img')[0]:null;"
            "return i&&i.complete?i.naturalWidth:-1;})()");
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(natural).toInt(), 37, 10000);
    }

    void addImageFailureAndCancelledChooser() {
        FreshProject(1, kCaptionTab);
        frmMain->txtCapHTML->moveCursor(QTextCursor::End);
        WhenModal(frmAddImage, [] {
            // Border kept from the last use; a cancelled chooser forgets its folder.
            QCOMPARE(frmAddImage->txtBorderSize->text(), QStringLiteral("007"));
            WhenModalOf<QFileDialog>([](QFileDialog* chooser) { chooser->reject(); });
            QTest::mouseClick(frmAddImage->btnChooseFileName, Qt::LeftButton);
            QVERIFY(frmAddImage->RememberedFolder().isEmpty());
            QTest::keyClicks(frmAddImage->txtImage, QStringLiteral("/no/such/folder/pic.gif"));
            QTest::mouseClick(frmAddImage->btnAdd, Qt::LeftButton);
        });
        QTest::mouseClick(frmMain->btnAddimage, Qt::LeftButton);
        QCOMPARE(BoxTexts().size(), 1);
        QVERIFY(BoxTexts().constFirst().startsWith(
            QStringLiteral("Cannot copy this file: \r\n  /no/such/folder/pic.gif\r\n")));
        QCOMPARE(Entry().MTC, std::string("Caption<IMG SRC=\"pic.gif\" BORDER=\"7\">\r\n"));
    }

    void fontBoxCompletesOnceFocused() {
        FreshProject(1, kMenuTab);
        QString completed;
        WhenModal(frmAddText, [&] {
            QComboBox* face = frmAddText->cBoxFontName;
            if (frmAddText->chkDefaultFace->isChecked()) ClickCheckBox(frmAddText->chkDefaultFace); // as left before
            frmAddText->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(frmAddText));
            face->setFocus(Qt::MouseFocusReason); // as a click into it gives
            QTRY_VERIFY(face->hasFocus());
            face->lineEdit()->selectAll();
            QTest::keyClicks(face->lineEdit(), QStringLiteral("tim"));
            completed = face->currentText();
            QTest::mouseClick(frmAddText->BitBtn2, Qt::LeftButton);
        });
        QTest::mouseClick(frmMain->btnAddText, Qt::LeftButton);
        // The letters as typed and the rest of the first item that starts so,
        // of any case, as a list box completes.
        QCOMPARE(completed, QStringLiteral("times"));
    }

    void helpKeyInDialogs() {
        // F1 released on any control of a dialog opens the help page once.
        for (QDialog* dialog : {static_cast<QDialog*>(frmAddText), static_cast<QDialog*>(frmAddURL),
                                static_cast<QDialog*>(frmAddImage)}) {
            urls.opened.clear();
            QWidget* focus = dialog->findChildren<QLineEdit*>().value(0);
            if (!focus) focus = dialog->findChildren<QPlainTextEdit*>().value(0);
            QVERIFY(focus);
            QTest::keyRelease(focus, Qt::Key_F1);
            QTest::keyRelease(focus, Qt::Key_F2);
            QCOMPARE(urls.opened.size(), 1);
            QVERIFY(urls.opened.constFirst().toLocalFile().endsWith(QStringLiteral("Help/index.htm")));
        }
    }
};

DIDAD_GUI_TEST_MAIN(PropertiesTest)
#include "properties_test.moc"
