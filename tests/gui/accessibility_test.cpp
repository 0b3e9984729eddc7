// The windows as a screen reader reads them: through Qt's accessibility
// interfaces, with accessibility switched on, and with real keys.
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QWebEngineView>

#include <vector>

#include "GuiTestBase.h"
#include "editor/TfrmAddImage.h"
#include "editor/TfrmAddText.h"
#include "editor/TfrmAddURL.h"
#include "editor/TfrmMain.h"
#include "model/ValueHelpers.h"
#include "preview/TfrmBrowser.h"
#include "workflow/TfrmFinilizedOK.h"
#include "workflow/TfrmProjectSettings.h"
#include "workflow/TfrmPublish.h"
#include "workflow/TfrmSelFolder.h"
#include "workflow/TfrmStart.h"
#include "workflow/TfrmTemplateInfo.h"

using namespace didad;
using namespace didad::testing;

namespace {

// What the screen reader was told, as it would have read it at that moment.
struct Heard {
    QAccessible::Event type;
    QObject* object;
    int child;
    QString name;
};
std::vector<Heard> heard;

void Listen(QAccessibleEvent* event) {
    QAccessibleInterface* iface = event->accessibleInterface();
    if (iface && event->child() >= 0) iface = iface->child(event->child());
    heard.push_back({event->type(), event->object(), event->child(),
                     iface && iface->isValid() ? iface->text(QAccessible::Name) : QString()});
}

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
    // The page in the preview is the author's content, not a control of ours.
    if (iface->role() == QAccessible::WebDocument) return;
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
        QAccessible::installUpdateHandler(&Listen);
        QAccessible::setActive(true);
        CreateWindows();
    }
    void cleanupTestCase() {
        DestroyWindows();
        QAccessible::installUpdateHandler(nullptr);
    }
    void init() {
        ResetRecords();
        heard.clear();
    }

    // Every window and dialog, walked as a screen reader walks it, with a
    // project of two menus open so that the list and every tab are filled.
    void everyFocusableControlHasAName_data() {
        QTest::addColumn<QString>("window");
        for (const char* name : {"frmMain", "frmBrowser", "frmStart", "frmSelFolder", "frmAddText", "frmAddURL",
                                 "frmAddImage", "frmFinilizedOK", "frmProjectSettings", "frmPublish",
                                 "frmTemplateInfo"})
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
        QWidget* windows[] = {frmMain,      frmBrowser,     frmStart,           frmSelFolder,
                              frmAddText,   frmAddURL,      frmAddImage,        frmFinilizedOK,
                              frmProjectSettings, frmPublish, frmTemplateInfo};
        QWidget* found = nullptr;
        for (QWidget* candidate : windows)
            if (candidate && candidate->objectName() == window) found = candidate;
        QVERIFY(found);
        const QStringList offenders = UnnamedControls(found);
        QVERIFY2(offenders.isEmpty(), qPrintable(offenders.join(QStringLiteral("\n"))));
    }
};

DIDAD_GUI_TEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
