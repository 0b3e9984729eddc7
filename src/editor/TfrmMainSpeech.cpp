// The main window as a screen reader hears it: names where the visible
// text does not say enough, and list lines that tell which menu is which.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>

#include "editor/SpokenTexts.h"
#include "editor/TfrmMain.h"
#include "model/ValueHelpers.h"
#include "ui/QtAccessibility.h"
#include "ui/QtMessageBoxes.h"

namespace didad {

void TfrmMain::NameControls() {
    NameControl(listMenus, QStringLiteral("Menus"));
    NameControl(tabProp, QStringLiteral("Properties of the selected menu"));
    NameControl(cBoxAnchor, QStringLiteral("Anchor"), lblAnchor);
    NameControl(txtAnchorElement, QStringLiteral("Anchor element (CSS selector)"));
    NameControl(txtCapHTML, QStringLiteral("Caption HTML"));
    NameControl(txtMenuHTML, QStringLiteral("Menu HTML"));
    NameControl(btnHelp, QStringLiteral("Help"));
    const struct {
        ColorSlot slot;
        QLabel* label;
        const char* name;
    } colours[] = {{ColorSlot::Caption, lblCaptionColor, "Caption colour"},
                   {ColorSlot::Menu, lblMenuColor, "Menu colour"},
                   {ColorSlot::Owner, lblOwnerColor, "Bottom colour"}};
    for (const auto& colour : colours) {
        NameControl(Swatch(colour.slot), QLatin1String(colour.name), colour.label);
        NameControl(TransparentBox(colour.slot), QLatin1String(colour.name) + QStringLiteral(" transparent"));
    }
    const struct {
        NumberBox box;
        const char* field;
    } numbers[] = {{NumberBox::Left, "Left"},
                   {NumberBox::Top, "Top"},
                   {NumberBox::Width, "Width"},
                   {NumberBox::CapHeight, "Caption Height"}};
    for (const auto& number : numbers) NumberArrows(number.box)->NameArrows(QLatin1String(number.field));
}

QListWidgetItem* TfrmMain::DescribedListLine(const QString& text, int index) const {
    auto* line = new QListWidgetItem(text);
    line->setData(Qt::AccessibleTextRole, FromBytes(SpokenListLine(model_, index)));
    return line;
}

void TfrmMain::DescribeListLine(int index) {
    // The line shows "Menu 2"; the reader hears which menu that is and where.
    if (QListWidgetItem* line = listMenus->item(index))
        line->setData(Qt::AccessibleTextRole, FromBytes(SpokenListLine(model_, index)));
}

} // namespace didad
