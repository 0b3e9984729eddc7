// The windows as a screen reader reads them: through Qt's accessibility
// interfaces, and with real keys.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QWebEngineView>

#include "GuiTestBase.h"
#include "editor/TfrmAddImage.h"
#include "editor/TfrmAddText.h"
#include "editor/TfrmAddURL.h"
#include "editor/TfrmMain.h"
#include "model/ValueHelpers.h"
#include "preview/TfrmBrowser.h"
#include "ui/QtAccessibility.h"
#include "workflow/TfrmFinilizedOK.h"
#include "workflow/TfrmProjectSettings.h"
#include "workflow/TfrmPublish.h"
#include "workflow/TfrmSelFolder.h"
#include "workflow/TfrmStart.h"
#include "workflow/TfrmTemplateInfo.h"

using namespace didad;
using namespace didad::testing;

namespace {

// The name a screen reader speaks for a control: on this platform a box is
// announced by the label that names it (the label relation to a buddy
// label), else by its name. A surrounding group box, which is related too,
// names the group, not the control.
QString SpokenName(QAccessibleInterface* iface) {
    for (const auto& [label, relation] : iface->relations(QAccessible::Label)) {
        Q_UNUSED(relation);
        if (label && qobject_cast<QLabel*>(label->object()) && !label->text(QAccessible::Name).trimmed().isEmpty())
            return label->text(QAccessible::Name);
    }
    return iface->text(QAccessible::Name);
}

bool ShowsAValue(QAccessible::Role role) {
    return role == QAccessible::ComboBox || role == QAccessible::EditableText || role == QAccessible::SpinBox;
}

// The control a part belongs to: a drop-down list's text part and pop-up
// list are the list.
QWidget* Owner(QWidget* widget) {
    for (QWidget* up = widget; up; up = up->parentWidget())
        if (qobject_cast<QComboBox*>(up)) return up;
    return widget;
}

// Every focusable control under `iface` that says nothing of what it is:
// no name, (a box) only its value standing where its name should be, or
// the same name as another control of the window.
void Walk(QAccessibleInterface* iface, QStringList& offenders, QHash<QString, QWidget*>& named, int depth = 0) {
    if (!iface || !iface->isValid() || depth > 40) return;
    auto* widget = qobject_cast<QWidget*>(iface->object());
    if (widget && iface->state().focusable) {
        const QString name = SpokenName(iface).trimmed();
        const QString value = iface->text(QAccessible::Value).trimmed();
        const QString who = widget->objectName().isEmpty()
                                ? QString::fromLatin1(widget->metaObject()->className()) + QStringLiteral(" in ") +
                                      widget->parentWidget()->objectName()
                                : widget->objectName();
        if (name.isEmpty())
            offenders << who + QStringLiteral(": no name");
        else if (ShowsAValue(iface->role()) && name == value)
            offenders << who + QStringLiteral(": named by its value \"") + value + QLatin1Char('"');
        else if (QWidget* other = named.value(name); other && other != Owner(widget))
            offenders << who + QStringLiteral(": the same name as ") + other->objectName() + QStringLiteral(", \"") +
                             name + QLatin1Char('"');
        else
            named.insert(name, Owner(widget));
    }
    // Below the web view lies the page: the author's content, not a control
    // of ours, whose nodes the engine makes and frees as it pleases (an
    // interface met there may be gone already).
    if (widget && widget->inherits("QWebEngineView")) return;
    for (int i = 0; i < iface->childCount(); ++i) Walk(iface->child(i), offenders, named, depth + 1);
}

QStringList UnnamedControls(QWidget* window) {
    QStringList offenders;
    QHash<QString, QWidget*> named;
    Walk(QAccessible::queryAccessibleInterface(window), offenders, named);
    return offenders;
}

} // namespace

class AccessibilityTest : public GuiTestBase {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Qt's offscreen platform has no reader's bridge, so no change is sent
        // anywhere: the tests read what a reader would read at each moment.
        CreateWindows();
    }
    void cleanupTestCase() { DestroyWindows(); }
    void init() { ResetRecords(); }

    // Every window and dialog, walked as a screen reader walks it, with a
    // project of two menus open so that the list and every tab are filled.
    void everyFocusableControlHasAName_data() {
        QTest::addColumn<QString>("window");
        for (const char* name :
             {"frmMain", "frmBrowser", "frmStart", "frmSelFolder", "frmAddText", "frmAddURL", "frmAddImage",
              "frmFinilizedOK", "frmProjectSettings", "frmPublish", "frmTemplateInfo"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void everyFocusableControlHasAName() {
        QFETCH(QString, window);
        if (!frmMain->Model().hasProject()) {
            StartNewProject(QStringLiteral("named"));
            frmMain->btnAddMenuClick();
            frmMain->btnAddMenuClick();
            QVERIFY(WaitForPreviewLoaded());
        }
        QWidget* windows[] = {frmMain,     frmBrowser,     frmStart,           frmSelFolder, frmAddText,     frmAddURL,
                              frmAddImage, frmFinilizedOK, frmProjectSettings, frmPublish,   frmTemplateInfo};
        QWidget* found = nullptr;
        for (QWidget* candidate : windows)
            if (candidate && candidate->objectName() == window) found = candidate;
        QVERIFY(found);
        const QStringList offenders = UnnamedControls(found);
        QVERIFY2(offenders.isEmpty(), qPrintable(offenders.join(QStringLiteral("\n"))));
    }

    // No trap in the preview: from the page, F6 and Ctrl+Tab (Shift too) go
    // back to the editor, which keeps its control; F6 there comes back to
    // the page. Ctrl+Tab in the editor still goes to the next tab.
    void theKeyboardLeavesThePreviewAndComesBack() {
        QWidget* page = frmBrowser->WebBrowser1->focusProxy();
        QVERIFY(page);
        frmMain->activateWindow();
        frmMain->txtLeft->setFocus();
        QTRY_VERIFY(frmMain->isActiveWindow());
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
        } ways[] = {{Qt::Key_F6, Qt::NoModifier},
                    {Qt::Key_Tab, Qt::ControlModifier},
                    {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier},
                    {Qt::Key_F6, Qt::ShiftModifier}};
        for (const auto& way : ways) {
            QTest::keyClick(frmMain->windowHandle(), Qt::Key_F6);
            QTRY_VERIFY(frmBrowser->isActiveWindow());
            QTRY_COMPARE(QApplication::focusWidget(), page);
            // As the window system delivers it: to the page, which has the focus.
            QTest::keyClick(frmBrowser->windowHandle(), way.key, way.modifiers);
            QTRY_VERIFY(frmMain->isActiveWindow());
            QCOMPARE(QApplication::focusWidget(), frmMain->txtLeft);
        }
        frmMain->tabProp->setCurrentIndex(0);
        frmMain->tabProp->setFocus();
        QTest::keyClick(frmMain->windowHandle(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(frmMain->tabProp->currentIndex(), 1);
        QVERIFY(frmMain->isActiveWindow());
        frmMain->tabProp->setCurrentIndex(0);
    }

    // Moving through the list with the keys, the reader hears which menu
    // each line is and where it stands, also just after it was changed:
    // the line that has the focus is what a focus event makes it read.
    void aMenuChosenInTheListIsAnnouncedWithCaptionAndPlace() {
        StartNewProject(QStringLiteral("announced"));
        for (int i = 0; i < 3; ++i) frmMain->btnAddMenuClick();
        QVERIFY(WaitForPreviewLoaded());
        frmMain->listMenus->setCurrentRow(1);
        frmMain->SelectFromList();
        frmMain->tabProp->setCurrentIndex(1);
        frmMain->txtCapHTML->selectAll();
        QTest::keyClicks(frmMain->txtCapHTML, QStringLiteral("<B>Chairs &amp;"));
        QTest::keyClick(frmMain->txtCapHTML, Qt::Key_Return);
        QTest::keyClicks(frmMain->txtCapHTML, QStringLiteral(" tables</B>"));
        frmMain->tabProp->setCurrentIndex(0);
        QTest::keyClick(frmMain->txtLeft, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(frmMain->txtLeft, QStringLiteral("321"));

        frmMain->activateWindow();
        frmMain->listMenus->setFocus();
        frmMain->listMenus->setCurrentRow(0);
        // Without a reader's bridge Qt does not tell the list's interface that
        // the lines were replaced (a new project); a fresh one reads them anew.
        QAccessible::deleteAccessibleInterface(
            QAccessible::uniqueId(QAccessible::queryAccessibleInterface(frmMain->listMenus)));
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(frmMain->listMenus);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Menus"));
        QTest::keyClick(frmMain->windowHandle(), Qt::Key_Down);
        QCOMPARE(frmMain->Model().iSelectedMenu, 1);
        QVERIFY(list->focusChild());
        QCOMPARE(list->focusChild()->text(QAccessible::Name),
                 QStringLiteral("Menu 2: Chairs & tables, left 321, top 10"));
        // The third menu, vertical, with its caption stacked one letter a line.
        QTest::keyClick(frmMain->windowHandle(), Qt::Key_Down);
        QCOMPARE(frmMain->Model().iSelectedMenu, 2);
        frmMain->radVertical->click();
        QVERIFY(frmMain->UpdatePreview());
        QVERIFY(frmMain->Model().entries[2].MTC.starts_with("<CENTER>"));
        QTest::keyClick(frmMain->windowHandle(), Qt::Key_Up);
        QTest::keyClick(frmMain->windowHandle(), Qt::Key_Down);
        const QString third = list->focusChild()->text(QAccessible::Name);
        QVERIFY2(third.startsWith(QStringLiteral("Menu 3: Caption, left ")), qPrintable(third));
        // The lines themselves still read as they always did.
        QCOMPARE(frmMain->listMenus->item(2)->text(), QStringLiteral("Menu 3"));
    }

    // A colour is chosen without the mouse: Tab reaches the swatch, which a
    // reader hears as a button with its colour, and Space opens the chooser.
    void aColourIsChosenWithTheKeyboard() {
        frmMain->activateWindow();
        frmMain->tabProp->setCurrentIndex(3);
        QVERIFY(!frmMain->chkTranspCC->isChecked());
        frmMain->tabProp->tabBar()->setFocus();
        QTest::keyClick(frmMain->windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), frmMain->panCaptionColor);
        WhenModalOf<QColorDialog>([](QColorDialog* dialog) {
            dialog->setCurrentColor(QColor(0x12, 0xAB, 0xEF));
            dialog->accept();
        });
        QTest::keyClick(frmMain->windowHandle(), Qt::Key_Space);
        const int selected = frmMain->Model().iSelectedMenu;
        QCOMPARE(frmMain->Model().entries[selected].CC, std::string("#12ABEF"));
        QAccessibleInterface* swatch = QAccessible::queryAccessibleInterface(frmMain->panCaptionColor);
        QCOMPARE(swatch->role(), QAccessible::Button);
        QCOMPARE(swatch->text(QAccessible::Description), QStringLiteral("red 18, green 171, blue 239"));
        frmMain->tabProp->setCurrentIndex(0);
    }

    // A save that fails is told in words on the status line, not only in
    // red, and so is the save that works again.
    // Named before or after Qt makes its pop-up, a drop-down list's pop-up
    // list carries its name, and so does a list set into it later.
    void aDropDownListsPopUpListIsNamedWhenEverItIsMade() {
        QComboBox early, late;
        early.view(); // the pop-up exists before the name is given
        NameControl(&early, QStringLiteral("Early"));
        NameControl(&late, QStringLiteral("Late"));
        QCOMPARE(early.view()->accessibleName(), QStringLiteral("Early"));
        QCOMPARE(late.view()->accessibleName(), QStringLiteral("Late"));
        for (QComboBox* box : {&early, &late}) {
            box->setView(new QListView());
            QCOMPARE(box->view()->accessibleName(), box->accessibleName());
        }
    }

    void theAutomaticSavesStatusReachesTheReader() {
        // A folder where the project's script should be written: every save
        // fails (a missing project folder would be asked about instead).
        const QString folder = QDir(ProgramFolder()).filePath(QStringLiteral("blocked"));
        const QString blocker = folder + QStringLiteral("/Dirovidadaz.js");
        QVERIFY(QDir().mkpath(blocker));
        ProjectModel& model = frmMain->Model();
        const std::string kept = model.projectFolder;
        model.projectFolder = ToBytes(QDir::toNativeSeparators(folder));
        auto* state = Find<QLabel>(frmMain, "lblSaveState");
        QAccessibleInterface* said = QAccessible::queryAccessibleInterface(state);
        auto toldAs = [&](const QString& prefix) {
            return said->text(QAccessible::Name).startsWith(prefix) && !said->state().invisible;
        };
        frmMain->tabProp->setCurrentIndex(2);
        QTest::keyClicks(frmMain->txtMenuHTML, QStringLiteral("x"));
        QTRY_VERIFY_WITH_TIMEOUT(toldAs(QStringLiteral("Not saved: ")), 10000);

        QVERIFY(QDir(blocker).removeRecursively());
        QTest::keyClicks(frmMain->txtMenuHTML, QStringLiteral("y"));
        QTRY_VERIFY_WITH_TIMEOUT(toldAs(QStringLiteral("Saved again")), 10000);
        model.projectFolder = kept;
        frmMain->tabProp->setCurrentIndex(0);
    }
};

DIDAD_GUI_TEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
