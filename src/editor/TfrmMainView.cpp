// The main window's controls as the editor logic sees them: which box is
// which, and how a value of the project is shown in it.
#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCursor>

#include <algorithm>

#include "editor/AnchorEdits.h"
#include "editor/EditorLogic.h"
#include "editor/TfrmMain.h"
#include "model/Anchors.h"
#include "model/ValueHelpers.h"
#include "preview/TfrmBrowser.h"
#include "ui/QtMessageBoxes.h"

namespace didad {

namespace {

QString ToDisplayText(const std::string& bytes) {
    QString text = FromBytes(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

// ---------------------------------------------------------------- access

ProjectModel& TfrmMain::Model() { return model_; }
IMessages& TfrmMain::Messages() { return *boxes_; }
QtMessageBoxes& TfrmMain::Boxes() { return *boxes_; }
EditorLogic& TfrmMain::Logic() { return *logic_; }

QPlainTextEdit* TfrmMain::ActiveHtmlBox() const {
    switch (tabProp->currentIndex()) {
    case 1: return txtCapHTML;
    case 2: return txtMenuHTML;
    default: return nullptr;
    }
}

QLineEdit* TfrmMain::NumberBoxWidget(NumberBox box) const {
    switch (box) {
    case NumberBox::Left: return txtLeft;
    case NumberBox::Top: return txtTop;
    case NumberBox::Width: return txtWidth;
    case NumberBox::CapHeight: return txtCapHeight;
    }
    return nullptr;
}

UpDownButtons* TfrmMain::NumberArrows(NumberBox box) const {
    switch (box) {
    case NumberBox::Left: return UpDown_Left;
    case NumberBox::Top: return UpDown_Top;
    case NumberBox::Width: return UpDown_Width;
    case NumberBox::CapHeight: return UpDown_CapHeight;
    }
    return nullptr;
}

ColorSwatch* TfrmMain::Swatch(ColorSlot slot) const {
    switch (slot) {
    case ColorSlot::Caption: return panCaptionColor;
    case ColorSlot::Menu: return panMenuColor;
    case ColorSlot::Owner: return panOwnerColor;
    }
    return nullptr;
}

QCheckBox* TfrmMain::TransparentBox(ColorSlot slot) const {
    switch (slot) {
    case ColorSlot::Caption: return chkTranspCC;
    case ColorSlot::Menu: return chkTranspCM;
    case ColorSlot::Owner: return chkTranspCO;
    }
    return nullptr;
}

// ---------------------------------------------------------------- the view

void TfrmMain::AppendListLine(const std::string& text) {
    listMenus->addItem(DescribedListLine(FromBytes(text), listMenus->count()));
}

void TfrmMain::RemoveLastListLine() {
    if (listMenus->count() > 0) delete listMenus->takeItem(listMenus->count() - 1);
}

void TfrmMain::ClearList() { listMenus->clear(); }

void TfrmMain::HighlightListLine(int index) {
    DescribeListLine(index);
    listMenus->setCurrentRow(index);
}

int TfrmMain::HighlightedListLine() const { return listMenus->currentRow(); }

void TfrmMain::EnablePropertyControls(bool on) {
    const QList<QWidget*> controls = {txtLeft,         txtTop,        txtWidth,     txtCapHeight, radActivateOn,
                                      chkFloat,        radHorizontal, radVertical,  txtCapHTML,   btnAddNEWLINE,
                                      btnAddText,      btnAddURL,     btnAddimage,  txtMenuHTML,  lblCaptionColor,
                                      panCaptionColor, chkTranspCC,   lblMenuColor, panMenuColor, chkTranspCM,
                                      lblOwnerColor,   panOwnerColor, chkTranspCO};
    for (QWidget* control : controls) control->setEnabled(on);
    cBoxAnchor->setProperty("editing", on);
    ShowAnchorAvailability();
}

void TfrmMain::FitTabCaptions() {
    QTabBar* bar = tabProp->tabBar();
    // The style sheet's padding and the tab's own frame, with a margin.
    constexpr int kTabExtra = 14;
    constexpr int kSmallestPoints = 6;
    QFont face = font();
    for (int points = face.pointSize(); points >= kSmallestPoints; --points) {
        face.setPointSize(points);
        const QFontMetrics metrics(face);
        int needed = 0;
        for (int i = 0; i < bar->count(); ++i) {
            QString caption = bar->tabText(i);
            caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
            needed += metrics.horizontalAdvance(caption) + kTabExtra;
        }
        if (needed <= tabProp->width()) break;
    }
    if (bar->font() != face) bar->setFont(face);
}

bool TfrmMain::AnchorsChosenHere() const { return !windows_.browser || windows_.browser->ShowsEditingPage(); }

void TfrmMain::ShowAnchorAvailability() {
    const bool here = AnchorsChosenHere();
    const bool on = cBoxAnchor->property("editing").toBool() && here;
    cBoxAnchor->setEnabled(on);
    txtAnchorElement->setEnabled(on && cBoxAnchor->currentIndex() == kAnchorElement);
    const QString why = here ? QString() : QString::fromLatin1(kAnchorsOnEditingPage);
    cBoxAnchor->setToolTip(why);
    lblAnchor->setToolTip(why);
}

void TfrmMain::ShowSelectorProblem(const std::string& problem) {
    const QString text = FromBytes(problem);
    actSelectorProblem->setVisible(!text.isEmpty());
    actSelectorProblem->setToolTip(text);
    actSelectorProblem->setText(text);
    txtAnchorElement->setToolTip(text.isEmpty() ? QString::fromLatin1(kSelectorHint) : text);
    txtAnchorElement->setAccessibleDescription(text);
}

void TfrmMain::ShowNumber(NumberBox box, int value) {
    // The same text again would move the caret of a box being typed in.
    const QString text = QString::number(value);
    if (NumberBoxWidget(box)->text() != text) NumberBoxWidget(box)->setText(text);
    NumberArrows(box)->SetPosition(value);
}

void TfrmMain::ShowHtml(HtmlBox box, const std::string& text) {
    QPlainTextEdit* edit = box == HtmlBox::Caption ? txtCapHTML : txtMenuHTML;
    edit->setPlainText(ToDisplayText(text));
    QTextCursor cursor = edit->textCursor();
    cursor.movePosition(QTextCursor::End);
    edit->setTextCursor(cursor);
}

void TfrmMain::ShowActivateOn(int item) {
    if (QAbstractButton* button = radActivateOnItems->button(item == 0 ? 0 : 1)) button->setChecked(true);
}

void TfrmMain::ShowFloat(bool checked) { chkFloat->setChecked(checked); }

void TfrmMain::ShowHorizontal(bool horizontal) {
    radHorizontal->setChecked(horizontal);
    radVertical->setChecked(!horizontal);
}

void TfrmMain::ShowTransparent(ColorSlot slot, bool checked) {
    TransparentBox(slot)->setChecked(checked);
    Swatch(slot)->setVisible(!checked);
}

void TfrmMain::ShowSwatchColor(ColorSlot slot, Color colour) {
    Swatch(slot)->SetColour(QColor(colour.red, colour.green, colour.blue));
}

void TfrmMain::ShowAnchor(int kind, const std::string& selector) {
    cBoxAnchor->setCurrentIndex(std::clamp(kind, 0, cBoxAnchor->count() - 1));
    txtAnchorElement->setText(FromBytes(selector));
    txtAnchorElement->setEnabled(cBoxAnchor->isEnabled() && kind == kAnchorElement);
    ShowSelectorProblem({});
}

bool TfrmMain::ConfirmDelete(const std::string& text) {
    return QtMessageBoxes::Question(this, QStringLiteral("Delete Confirmation"), FromBytes(text), false,
                                    QMessageBox::NoIcon);
}

void TfrmMain::ShowMessage(const std::string& text) { boxes_->ShowMessage(text); }

} // namespace didad
