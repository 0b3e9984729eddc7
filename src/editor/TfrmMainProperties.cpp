// Property tabs and snippet panel of the main window: every control writes
// into the selected entry at once; the rules live in PropertyEdits and
// Snippets, this file only ties the widgets to them.
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextCursor>
#include <QValidator>

#include <memory>

#include "editor/EditorLogic.h"
#include "editor/PropertyEdits.h"
#include "editor/Snippets.h"
#include "editor/TfrmAddImage.h"
#include "editor/TfrmAddText.h"
#include "editor/TfrmAddURL.h"
#include "editor/TfrmMain.h"
#include "ui/QtColourChooser.h"
#include "ui/QtMessageBoxes.h"

namespace didad {
namespace {

// Limits what the user types into a number box. A maximum length would also
// cut what the program writes there (a dragged -12000), and the box's change
// would store the cut value; setText() asks no validator.
class TypedLengthLimit : public QValidator {
public:
    TypedLengthLimit(const NumberBoxRule& rule, QObject* parent) : QValidator(parent), rule_(rule) {}
    State validate(QString& input, int&) const override {
        return FitsNumberBox(input.toStdString(), rule_) ? Acceptable : Invalid;
    }

private:
    const NumberBoxRule& rule_;
};

} // namespace

void TfrmMain::ConnectPropertyHandlers() {
    connect(txtLeft, &QLineEdit::textChanged, this, &TfrmMain::txtLeftChange);
    connect(txtTop, &QLineEdit::textChanged, this, &TfrmMain::txtTopChange);
    connect(txtWidth, &QLineEdit::textChanged, this, &TfrmMain::txtWidthChange);
    connect(txtCapHeight, &QLineEdit::textChanged, this, &TfrmMain::txtCapHeightChange);
    for (NumberBox box : {NumberBox::Left, NumberBox::Top, NumberBox::Width, NumberBox::CapHeight})
        NumberBoxWidget(box)->setValidator(new TypedLengthLimit(RuleOf(box), NumberBoxWidget(box)));

    connect(radActivateOnItems, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) radActivateOnClick(id);
    });
    connect(chkFloat, &QCheckBox::toggled, this, &TfrmMain::chkFloatClick);
    connect(radHorizontal, &QRadioButton::toggled, this, &TfrmMain::radHorizontalClick);
    connect(radVertical, &QRadioButton::toggled, this, &TfrmMain::radVerticalClick);
    connect(cBoxAnchor, &QComboBox::activated, this, &TfrmMain::cBoxAnchorChange);
    connect(txtAnchorElement, &QLineEdit::editingFinished, this, &TfrmMain::cBoxAnchorChange);
    // The box tells at once whether the page finds the element.
    connect(txtAnchorElement, &QLineEdit::textEdited, this,
            [this](const QString& text) { logic_->CheckSelector(ToBytes(text.trimmed())); });

    connect(txtCapHTML, &QPlainTextEdit::textChanged, this, &TfrmMain::txtCapHTMLChange);
    connect(txtMenuHTML, &QPlainTextEdit::textChanged, this, &TfrmMain::txtMenuHTMLChange);

    // One history for the project: the boxes keep none of their own.
    txtCapHTML->setUndoRedoEnabled(false);
    txtMenuHTML->setUndoRedoEnabled(false);
    const QList<QWidget*> boxes = {txtLeft, txtTop, txtWidth, txtCapHeight, txtCapHTML, txtMenuHTML};
    for (QWidget* box : boxes) {
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QWidget::customContextMenuRequested, this,
                [this, box](const QPoint& at) { ShowBoxContextMenu(box, at); });
    }

    for (ColorSlot slot : {ColorSlot::Caption, ColorSlot::Menu, ColorSlot::Owner}) {
        connect(Swatch(slot), &ColorSwatch::clicked, this, [this, slot] { getColor(slot); });
        // Toggled rather than clicked: loading an entry checks the boxes too,
        // and the swatches must follow.
        connect(TransparentBox(slot), &QCheckBox::toggled, this, [this, slot] { setTransparentColor(slot); });
    }

    connect(tabProp, &QTabWidget::currentChanged, this, &TfrmMain::tabPropChange);

    connect(btnAddNEWLINE, &QPushButton::clicked, this, &TfrmMain::btnAddNEWLINEClick);
    connect(btnAddText, &QPushButton::clicked, this, &TfrmMain::btnAddTextClick);
    connect(btnAddURL, &QPushButton::clicked, this, &TfrmMain::btnAddURLClick);
    connect(btnAddimage, &QPushButton::clicked, this, &TfrmMain::btnAddimageClick);
}

// ---------------------------------------------------------------- Position & Style

void TfrmMain::NumberBoxChange(NumberBox box) {
    // The box keeps showing what was typed, even where the entry holds a
    // limited or fallback value.
    if (logic_->EditNumber(box, ToBytes(NumberBoxWidget(box)->text()))) MarkPreviewPending();
}

void TfrmMain::txtLeftChange() { NumberBoxChange(NumberBox::Left); }
void TfrmMain::txtTopChange() { NumberBoxChange(NumberBox::Top); }
void TfrmMain::txtWidthChange() { NumberBoxChange(NumberBox::Width); }
void TfrmMain::txtCapHeightChange() { NumberBoxChange(NumberBox::CapHeight); }

void TfrmMain::radActivateOnClick(int item) {
    if (logic_->EditActivateOn(item)) MarkPreviewPending();
}

void TfrmMain::chkFloatClick() {
    if (logic_->EditFloat(chkFloat->isChecked())) MarkPreviewPending();
}

void TfrmMain::radHorizontalClick() {
    if (logic_->EditOrientation(radHorizontal->isChecked())) MarkPreviewPending();
}

void TfrmMain::radVerticalClick() { radHorizontalClick(); }

void TfrmMain::cBoxAnchorChange() {
    const int kind = cBoxAnchor->currentIndex();
    txtAnchorElement->setEnabled(cBoxAnchor->isEnabled() && kind == kAnchorElement);
    if (kind != kAnchorElement) ShowSelectorProblem({});
    logic_->ChangeAnchor({kind, ToBytes(txtAnchorElement->text().trimmed())});
    // An element wants its selector next.
    if (sender() == cBoxAnchor && kind == kAnchorElement && txtAnchorElement->text().isEmpty())
        txtAnchorElement->setFocus();
}

// ---------------------------------------------------------------- HTML boxes

void TfrmMain::txtCapHTMLChange() {
    if (logic_->EditHtml(HtmlBox::Caption, ToBytes(txtCapHTML->toPlainText()))) MarkPreviewPending();
}

void TfrmMain::txtMenuHTMLChange() {
    if (logic_->EditHtml(HtmlBox::Menu, ToBytes(txtMenuHTML->toPlainText()))) MarkPreviewPending();
}

// ---------------------------------------------------------------- Color

void TfrmMain::getColor(ColorSlot slot) {
    ColorSwatch* swatch = Swatch(slot);
    ColourChooser(cdlg1, this, "cdlg1");
    cdlg1->setOption(QColorDialog::DontUseNativeDialog);
    cdlg1->setCurrentColor(swatch->Colour());
    if (cdlg1->exec() != QDialog::Accepted) return;
    const QColor chosen = cdlg1->selectedColor().isValid() ? cdlg1->selectedColor() : cdlg1->currentColor();
    swatch->SetColour(chosen);
    if (logic_->EditColor(slot, ToColor(chosen))) MarkPreviewPending();
}

void TfrmMain::setTransparentColor(ColorSlot slot) {
    const bool transparent = TransparentBox(slot)->isChecked();
    ColorSwatch* swatch = Swatch(slot);
    swatch->setVisible(!transparent);
    if (logic_->EditTransparent(slot, transparent, ToColor(swatch->Colour()))) MarkPreviewPending();
}

void TfrmMain::ShowBoxContextMenu(QWidget* box, const QPoint& at) {
    std::unique_ptr<QMenu> menu;
    if (auto* line = qobject_cast<QLineEdit*>(box))
        menu.reset(line->createStandardContextMenu());
    else if (auto* text = qobject_cast<QPlainTextEdit*>(box))
        menu.reset(text->createStandardContextMenu(at));
    if (!menu) return;
    const EditHistory& history = logic_->History();
    for (QAction* action : menu->actions()) {
        // The text boxes name these actions; the line edits only caption them.
        const bool undo =
            action->objectName() == QLatin1String("edit-undo") || action->text().startsWith(QLineEdit::tr("&Undo"));
        const bool redo =
            action->objectName() == QLatin1String("edit-redo") || action->text().startsWith(QLineEdit::tr("&Redo"));
        if (!undo && !redo) continue;
        action->disconnect();
        action->setEnabled(model_.hasProject() && (undo ? history.CanUndo() : history.CanRedo()));
        connect(action, &QAction::triggered, this, undo ? &TfrmMain::UndoClick : &TfrmMain::RedoClick);
    }
    const QPoint global = box->mapToGlobal(at);
    menu->exec(global);
}

void TfrmMain::tabPropChange() {
    const int tab = tabProp->currentIndex();
    panHTMLTools->setVisible(tab == 1 || tab == 2);
}

// ---------------------------------------------------------------- snippets

void TfrmMain::InsertSnippet(const std::string& snippet) {
    QPlainTextEdit* box = ActiveHtmlBox();
    if (!box) return;
    const QString text = box->toPlainText();
    QTextCursor cursor = box->textCursor();
    // The core counts bytes of the text in the system code page.
    const std::size_t at = ToBytes(text.left(cursor.selectionStart())).size();
    const SnippetInsertion result = didad::InsertSnippet(ToBytes(text), at, at, StoredTextToBox(snippet), "\n");

    // One step in the project's history, apart from any typing around it;
    // the box's change stores the whole text.
    logic_->EndTypingRun();
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(QString::fromLocal8Bit(result.text));
    cursor.endEditBlock();
    logic_->EndTypingRun();
    cursor.setPosition(static_cast<int>(QString::fromLocal8Bit(result.text.substr(0, result.caret)).size()));
    box->setTextCursor(cursor);
    box->setFocus();
}

void TfrmMain::btnAddNEWLINEClick() { InsertSnippet(kNewLineSnippet); }

void TfrmMain::btnAddTextClick() {
    if (!frmAddText) return;
    frmAddText->txtTEXT->clear();
    RunModal(*frmAddText);
}

void TfrmMain::btnAddURLClick() {
    if (!frmAddURL) return;
    frmAddURL->txtURL->clear();
    frmAddURL->txtHTML->clear();
    RunModal(*frmAddURL);
}

void TfrmMain::btnAddimageClick() {
    if (!frmAddImage) return;
    frmAddImage->txtImage->clear();
    RunModal(*frmAddImage);
}

} // namespace didad
