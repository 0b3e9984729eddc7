#include "workflow/TfrmProjectSettings.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "model/Anchors.h"
#include "model/ValueHelpers.h"
#include "ui/QtAccessibility.h"
#include "ui/QtColourChooser.h"
#include "ui/QtDialogPlacement.h"
#include "ui/QtGlyphs.h"
#include "ui/QtHelpKey.h"
#include "ui/QtMessageBoxes.h"
#include "ui/QtSmallControls.h"
#include "workflow/TfrmTemplateInfo.h"

namespace didad {

TfrmProjectSettings* frmProjectSettings = nullptr;

namespace {

QColor ToQColor(Color colour) { return QColor(colour.red, colour.green, colour.blue); }

Color FromQColor(const QColor& colour) {
    return Color{static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
                 static_cast<std::uint8_t>(colour.blue())};
}

QComboBox* EditableList(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    // Typed text is taken as it stands; it must not be added to the list
    // or completed into an item.
    MakeEditable(box, Completion::None);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    return box;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

TfrmProjectSettings::TfrmProjectSettings(IEditorWindow& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setObjectName(QStringLiteral("frmProjectSettings"));
    setWindowTitle(QStringLiteral("Active Project Settings"));
    // A caption without buttons: the dialog ends with OK, Cancel or Esc.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
    BuildWidgets();
    new HelpKeyFilter(this, [this] { editor_.OpenHelp(); });
}

void TfrmProjectSettings::BuildWidgets() {
    // Speeds.
    GroupBox_MenuSpeed = new QGroupBox(QStringLiteral(" Menu Speed "), this);
    GroupBox_MenuSpeed->setObjectName(QStringLiteral("GroupBox_MenuSpeed"));
    lblScrollOutSpeed = Label(GroupBox_MenuSpeed, "lblScrollOutSpeed", QStringLiteral("Scroll Out:"));
    txtScrollOut = new QLineEdit(QStringLiteral("10"), GroupBox_MenuSpeed);
    txtScrollOut->setObjectName(QStringLiteral("txtScrollOut"));
    txtScrollOut->setMaxLength(3);
    UpDown_ScrollOut = new UpDownButtons(txtScrollOut, kMinSpeed, kMaxSpeed, GroupBox_MenuSpeed);
    UpDown_ScrollOut->setObjectName(QStringLiteral("UpDown_ScrollOut"));
    UpDown_ScrollOut->SetPosition(10);
    lblScrollInSpeed = Label(GroupBox_MenuSpeed, "lblScrollInSpeed", QStringLiteral("Scroll In:"));
    txtScrollIn = new QLineEdit(QStringLiteral("20"), GroupBox_MenuSpeed);
    txtScrollIn->setObjectName(QStringLiteral("txtScrollIn"));
    txtScrollIn->setMaxLength(3);
    UpDown_ScrollIn = new UpDownButtons(txtScrollIn, kMinSpeed, kMaxSpeed, GroupBox_MenuSpeed);
    UpDown_ScrollIn->setObjectName(QStringLiteral("UpDown_ScrollIn"));
    UpDown_ScrollIn->SetPosition(20);
    for (QLineEdit* box : {txtScrollOut, txtScrollIn})
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    auto* speeds = new QHBoxLayout(GroupBox_MenuSpeed);
    speeds->addWidget(lblScrollOutSpeed);
    speeds->addWidget(txtScrollOut);
    speeds->addWidget(UpDown_ScrollOut);
    speeds->addStretch();
    speeds->addWidget(lblScrollInSpeed);
    speeds->addWidget(txtScrollIn);
    speeds->addWidget(UpDown_ScrollIn);

    // Text colours.
    GroupBox_TextColor = new QGroupBox(QStringLiteral(" Default Text Color "), this);
    GroupBox_TextColor->setObjectName(QStringLiteral("GroupBox_TextColor"));
    lblCaption = Label(GroupBox_TextColor, "lblCaption", QStringLiteral("Caption:"));
    panCaptionColor = new ColorSwatch(GroupBox_TextColor);
    panCaptionColor->setObjectName(QStringLiteral("panCaptionColor"));
    lblMenu = Label(GroupBox_TextColor, "lblMenu", QStringLiteral("Menu:"));
    panMenuColor = new ColorSwatch(GroupBox_TextColor);
    panMenuColor->setObjectName(QStringLiteral("panMenuColor"));
    connect(panCaptionColor, &ColorSwatch::clicked, this, [this] { getColor(panCaptionColor); });
    connect(panMenuColor, &ColorSwatch::clicked, this, [this] { getColor(panMenuColor); });
    auto* colours = new QHBoxLayout(GroupBox_TextColor);
    colours->addWidget(lblCaption);
    colours->addWidget(panCaptionColor);
    colours->addStretch();
    colours->addWidget(lblMenu);
    colours->addWidget(panMenuColor);
    colours->addStretch();

    // Fonts.
    GroupBox_Fonts = new QGroupBox(QStringLiteral(" Default Fonts (font sizes are in Points!) "), this);
    GroupBox_Fonts->setObjectName(QStringLiteral("GroupBox_Fonts"));
    const QStringList names{
        QStringLiteral("Arial"),       QStringLiteral("Helvetica"),       QStringLiteral("Courier"),
        QStringLiteral("Courier New"), QStringLiteral("Comic Sans MS"),   QStringLiteral("Tahoma"),
        QStringLiteral("Times"),       QStringLiteral("Times New Roman"), QStringLiteral("Verdana")};
    const QStringList sizes{QStringLiteral("10"), QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"),
                            QStringLiteral("20"), QStringLiteral("24"), QStringLiteral("32"), QStringLiteral("40")};
    lblCaption2 = Label(GroupBox_Fonts, "lblCaption2", QStringLiteral("Caption:"));
    lblMenu2 = Label(GroupBox_Fonts, "lblMenu2", QStringLiteral("Menu:"));
    cBoxFontName_Caption = EditableList(GroupBox_Fonts, "cBoxFontName_Caption", names);
    cBoxFontName_Menu = EditableList(GroupBox_Fonts, "cBoxFontName_Menu", names);
    lblFontSize_Caption = Label(GroupBox_Fonts, "lblFontSize_Caption", QStringLiteral("Size:"));
    lblFontSize_Menu = Label(GroupBox_Fonts, "lblFontSize_Menu", QStringLiteral("Size:"));
    cBoxFontSize_Caption = EditableList(GroupBox_Fonts, "cBoxFontSize_Caption", sizes);
    cBoxFontSize_Menu = EditableList(GroupBox_Fonts, "cBoxFontSize_Menu", sizes);
    for (QComboBox* box : {cBoxFontSize_Caption, cBoxFontSize_Menu})
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 34);
    auto* fonts = new QGridLayout(GroupBox_Fonts);
    fonts->addWidget(lblCaption2, 0, 0);
    fonts->addWidget(cBoxFontName_Caption, 0, 1);
    fonts->addWidget(lblFontSize_Caption, 0, 2);
    fonts->addWidget(cBoxFontSize_Caption, 0, 3);
    fonts->addWidget(lblMenu2, 1, 0);
    fonts->addWidget(cBoxFontName_Menu, 1, 1);
    fonts->addWidget(lblFontSize_Menu, 1, 2);
    fonts->addWidget(cBoxFontSize_Menu, 1, 3);
    fonts->setColumnStretch(1, 1);

    // Template.
    GroupBox_Template = new QGroupBox(QStringLiteral(" Template HTML file "), this);
    GroupBox_Template->setObjectName(QStringLiteral("GroupBox_Template"));
    lblTemplateFileName = Label(GroupBox_Template, "lblTemplateFileName", QStringLiteral("Name of the File:"));
    txtTemplate = new QLineEdit(QStringLiteral("Temp.html"), GroupBox_Template);
    txtTemplate->setObjectName(QStringLiteral("txtTemplate"));
    lbl1 = Label(GroupBox_Template, "lbl1", QStringLiteral("This file will be loaded in preview window."));
    lbl2 = Label(GroupBox_Template, "lbl2",
                 QStringLiteral("The code inside that file should read the information in Dirovidadaz.js "
                                "and \"play\" it in preview."));
    lbl2->setWordWrap(true);
    btnMoreInfo = new QPushButton(QStringLiteral("Click here for more information about template"), GroupBox_Template);
    btnMoreInfo->setObjectName(QStringLiteral("btnMoreInfo"));
    btnMoreInfo->setAutoDefault(false);
    connect(btnMoreInfo, &QPushButton::clicked, this, &TfrmProjectSettings::btnMoreInfoClick);
    auto* templ = new QGridLayout(GroupBox_Template);
    templ->addWidget(lblTemplateFileName, 0, 0);
    templ->addWidget(txtTemplate, 0, 1);
    templ->addWidget(lbl1, 1, 0, 1, 2);
    templ->addWidget(lbl2, 2, 0, 1, 2);
    templ->addWidget(btnMoreInfo, 3, 0, 1, 2);

    QLayout* compactAndAnchors = BuildCompactAndAnchorGroups();

    // Names that say which of the two captions' and menus' boxes is which.
    NameControl(txtScrollOut, QStringLiteral("Scroll out speed"), lblScrollOutSpeed);
    NameControl(txtScrollIn, QStringLiteral("Scroll in speed"), lblScrollInSpeed);
    UpDown_ScrollOut->NameArrows(QStringLiteral("Scroll out speed"));
    UpDown_ScrollIn->NameArrows(QStringLiteral("Scroll in speed"));
    NameControl(panCaptionColor, QStringLiteral("Caption colour"), lblCaption);
    NameControl(panMenuColor, QStringLiteral("Menu colour"), lblMenu);
    NameControl(cBoxFontName_Caption, QStringLiteral("Font of captions"), lblCaption2);
    NameControl(cBoxFontSize_Caption, QStringLiteral("Font size of captions"), lblFontSize_Caption);
    NameControl(cBoxFontName_Menu, QStringLiteral("Font of menus"), lblMenu2);
    NameControl(cBoxFontSize_Menu, QStringLiteral("Font size of menus"), lblFontSize_Menu);
    NameControl(txtTemplate, QStringLiteral("Template file name"), lblTemplateFileName);

    // Dialog buttons.
    btnOK = new QPushButton(StandardGlyph(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TfrmProjectSettings::btnOKClick);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    btnDefaults = new QPushButton(QStringLiteral("Set Defaults"), this);
    btnDefaults->setObjectName(QStringLiteral("btnDefaults"));
    btnDefaults->setAutoDefault(false);
    connect(btnDefaults, &QPushButton::clicked, this, &TfrmProjectSettings::btnDefaultsClick);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnDefaults);
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    // Tight groups keep the dialog near its intended 298 x 353.
    for (QLayout* group : {static_cast<QLayout*>(speeds), static_cast<QLayout*>(colours), static_cast<QLayout*>(fonts),
                           static_cast<QLayout*>(templ), compactAndAnchors, GroupBox_Anchors->layout()}) {
        group->setContentsMargins(6, 2, 6, 4);
        group->setSpacing(4);
    }
    layout->addWidget(GroupBox_MenuSpeed);
    layout->addWidget(GroupBox_TextColor);
    layout->addWidget(GroupBox_Fonts);
    layout->addWidget(GroupBox_Template);
    layout->addWidget(GroupBox_Compact);
    layout->addWidget(GroupBox_Anchors);
    layout->addStretch();
    layout->addLayout(buttons);

    // OK, Cancel and Set Defaults come first, then the groups top to bottom.
    QWidget* order[] = {btnOK,
                        btnCancel,
                        btnDefaults,
                        txtScrollOut,
                        txtScrollIn,
                        panCaptionColor,
                        panMenuColor,
                        cBoxFontName_Caption,
                        cBoxFontSize_Caption,
                        cBoxFontName_Menu,
                        cBoxFontSize_Menu,
                        txtTemplate,
                        btnMoreInfo,
                        txtCompactWidth,
                        txtCompactLabel,
                        txtCompactLeft,
                        txtCompactTop,
                        cBoxAllAnchors,
                        txtAllAnchorElement};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    // The fixed client size, unless the desktop's fonts need more room.
    setFixedSize(QSize(298, 353).expandedTo(sizeHint()));
}

QLayout* TfrmProjectSettings::BuildCompactAndAnchorGroups() {
    GroupBox_Compact = new QGroupBox(QStringLiteral(" Compact layout (phones, narrow windows) "), this);
    GroupBox_Compact->setObjectName(QStringLiteral("GroupBox_Compact"));
    auto box = [this](const char* name, int chars) {
        auto* edit = new QLineEdit(GroupBox_Compact);
        edit->setObjectName(QLatin1String(name));
        if (chars > 0)
            edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + 12);
        return edit;
    };
    txtCompactWidth = box("txtCompactWidth", 5);
    txtCompactWidth->setToolTip(
        QStringLiteral("Below this window width in CSS pixels the menus fold into one menu "
                       "button; 0 turns the compact layout off"));
    txtCompactLabel = box("txtCompactLabel", 0);
    txtCompactLabel->setMaxLength(kMaxCompactLabel);
    txtCompactLabel->setPlaceholderText(QString::fromLatin1(kEmptyCompactLabel));
    txtCompactLeft = box("txtCompactLeft", 4);
    txtCompactTop = box("txtCompactTop", 4);
    // The boxes take only what they allow: no sign, no letters, no width past the limit.
    txtCompactWidth->setValidator(new QIntValidator(0, kMaxCompactWidth, txtCompactWidth));
    txtCompactLeft->setValidator(new QIntValidator(kMinCompactPlace, kMaxCompactPlace, txtCompactLeft));
    txtCompactTop->setValidator(new QIntValidator(kMinCompactPlace, kMaxCompactPlace, txtCompactTop));
    auto* compact = new QGridLayout(GroupBox_Compact);
    auto named = [this](QLineEdit* edit, const char* labelName, const QString& text, const QString& name) {
        QLabel* label = Label(GroupBox_Compact, labelName, text);
        NameControl(edit, name, label);
        return label;
    };
    compact->addWidget(named(txtCompactWidth, "lblCompactWidth", QStringLiteral("Below:"),
                             QStringLiteral("Compact layout below window width (0: off)")),
                       0, 0);
    compact->addWidget(txtCompactWidth, 0, 1);
    compact->addWidget(Label(GroupBox_Compact, "lblCompactOff", QStringLiteral("px (0: off)")), 0, 2, 1, 3);
    compact->addWidget(named(txtCompactLabel, "lblCompactLabel", QStringLiteral("Button text:"),
                             QStringLiteral("Compact menu button text")),
                       1, 0);
    compact->addWidget(txtCompactLabel, 1, 1, 1, 4);
    compact->addWidget(named(txtCompactLeft, "lblCompactLeft", QStringLiteral("Button left:"),
                             QStringLiteral("Compact menu button left")),
                       2, 0);
    compact->addWidget(txtCompactLeft, 2, 1);
    compact->addWidget(
        named(txtCompactTop, "lblCompactTop", QStringLiteral("top:"), QStringLiteral("Compact menu button top")), 2, 2);
    compact->addWidget(txtCompactTop, 2, 3);
    compact->setColumnStretch(4, 1);

    GroupBox_Anchors = new QGroupBox(QStringLiteral(" Anchor of all menus "), this);
    GroupBox_Anchors->setObjectName(QStringLiteral("GroupBox_Anchors"));
    cBoxAllAnchors = new QComboBox(GroupBox_Anchors);
    cBoxAllAnchors->setObjectName(QStringLiteral("cBoxAllAnchors"));
    cBoxAllAnchors->addItem(QStringLiteral("Each menu keeps its own"));
    for (const char* choice : kAnchorChoices) cBoxAllAnchors->addItem(QLatin1String(choice));
    txtAllAnchorElement = new QLineEdit(GroupBox_Anchors);
    txtAllAnchorElement->setObjectName(QStringLiteral("txtAllAnchorElement"));
    txtAllAnchorElement->setPlaceholderText(QStringLiteral("#nav, .container, header h1"));
    auto* lblAllAnchors = Label(GroupBox_Anchors, "lblAllAnchors", QStringLiteral("Anchor:"));
    NameControl(cBoxAllAnchors, QStringLiteral("Anchor of all menus"), lblAllAnchors);
    NameControl(txtAllAnchorElement, QStringLiteral("Anchor element of all menus (CSS selector)"));
    auto* anchors = new QHBoxLayout(GroupBox_Anchors);
    anchors->addWidget(lblAllAnchors);
    anchors->addWidget(cBoxAllAnchors);
    anchors->addWidget(txtAllAnchorElement, 1);
    connect(cBoxAllAnchors, &QComboBox::currentIndexChanged, this,
            [this](int item) { txtAllAnchorElement->setEnabled(item - 1 == kAnchorElement); });
    txtAllAnchorElement->setEnabled(false);
    return compact;
}

void TfrmProjectSettings::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    FormShow();
    CentreOnDesktop(this);
    btnOK->setFocus();
}

void TfrmProjectSettings::FormShow() {
    ShowValues(DialogValuesFromSettings(editor_.Model().settings));
    // At a phone's width the page is laid out anew: where the menus stand
    // for editing cannot be measured there.
    const bool here = editor_.AnchorsChosenHere();
    GroupBox_Anchors->setEnabled(here);
    GroupBox_Anchors->setToolTip(here ? QString() : QString::fromLatin1(kAnchorsOnEditingPage));
}

SettingsDialogValues TfrmProjectSettings::ControlValues() const {
    SettingsDialogValues values;
    values.scrollOut = ToBytes(txtScrollOut->text());
    values.scrollIn = ToBytes(txtScrollIn->text());
    values.captionColor = FromQColor(panCaptionColor->Colour());
    values.menuColor = FromQColor(panMenuColor->Colour());
    values.fontNameCaption = ToBytes(cBoxFontName_Caption->currentText());
    values.fontNameMenu = ToBytes(cBoxFontName_Menu->currentText());
    values.fontSizeCaption = ToBytes(cBoxFontSize_Caption->currentText());
    values.fontSizeMenu = ToBytes(cBoxFontSize_Menu->currentText());
    values.templateName = ToBytes(txtTemplate->text());
    values.compactWidth = ToBytes(txtCompactWidth->text());
    values.compactLabel = ToBytes(txtCompactLabel->text());
    values.compactLeft = ToBytes(txtCompactLeft->text());
    values.compactTop = ToBytes(txtCompactTop->text());
    values.allAnchors = cBoxAllAnchors->currentIndex() - 1;
    values.allAnchorSelector = ToBytes(txtAllAnchorElement->text().trimmed());
    return values;
}

void TfrmProjectSettings::ShowValues(const SettingsDialogValues& values) {
    txtScrollIn->setText(FromBytes(values.scrollIn));
    UpDown_ScrollIn->SetPosition(ParseIntOr(values.scrollIn, UpDown_ScrollIn->Position()));
    txtScrollOut->setText(FromBytes(values.scrollOut));
    UpDown_ScrollOut->SetPosition(ParseIntOr(values.scrollOut, UpDown_ScrollOut->Position()));
    panCaptionColor->SetColour(ToQColor(values.captionColor));
    panMenuColor->SetColour(ToQColor(values.menuColor));
    cBoxFontName_Caption->setEditText(FromBytes(values.fontNameCaption));
    cBoxFontName_Menu->setEditText(FromBytes(values.fontNameMenu));
    cBoxFontSize_Caption->setEditText(FromBytes(values.fontSizeCaption));
    cBoxFontSize_Menu->setEditText(FromBytes(values.fontSizeMenu));
    txtTemplate->setText(FromBytes(values.templateName));
    txtCompactWidth->setText(FromBytes(values.compactWidth));
    txtCompactLabel->setText(FromBytes(values.compactLabel));
    txtCompactLeft->setText(FromBytes(values.compactLeft));
    txtCompactTop->setText(FromBytes(values.compactTop));
    cBoxAllAnchors->setCurrentIndex(values.allAnchors + 1);
    txtAllAnchorElement->setText(FromBytes(values.allAnchorSelector));
}

void TfrmProjectSettings::getColor(ColorSwatch* swatch) {
    ColourChooser(cdlg1, this, "cdlg1");
    cdlg1->setCurrentColor(swatch->Colour());
    if (cdlg1->exec() == QDialog::Accepted) swatch->SetColour(cdlg1->selectedColor());
}

void TfrmProjectSettings::btnDefaultsClick() { ShowValues(DefaultDialogValues()); }

void TfrmProjectSettings::btnMoreInfoClick() {
    if (frmTemplateInfo) frmTemplateInfo->exec();
}

void TfrmProjectSettings::btnOKClick() {
    const SettingsDialogValues values = ControlValues();
    ProjectModel& model = editor_.Model();
    const ProjectSettings previous = model.settings;
    SettingsConfirmation result;
    // An existing template that cannot be read ends the action with the
    // file error; the dialog stays open with nothing stored.
    if (!RunUserAction(this, [&] { result = ConfirmProjectSettings(model, values); })) return;
    if (!result.stored) {
        ShowRefusal(result);
        return;
    }
    if (values.allAnchors == kKeepEachAnchor) {
        FinishOK(previous);
        return;
    }
    // The page tells where the anchors lie before it is reloaded with the
    // new script; until then nothing here may be pressed.
    setEnabled(false);
    editor_.ChangeAllAnchors({values.allAnchors, values.allAnchorSelector},
                             [this, previous](const std::string& problem) {
                                 setEnabled(true);
                                 if (problem.empty()) {
                                     FinishOK(previous);
                                     return;
                                 }
                                 // Nothing is kept: the menus stay put until a selector works.
                                 editor_.Model().settings = previous;
                                 ShowRefusal({false, problem, SettingsField::AnchorSelector});
                             });
}

void TfrmProjectSettings::FinishOK(const ProjectSettings& previous) {
    ProjectModel& model = editor_.Model();
    if (!editor_.UpdatePreview()) {
        // The write has shown its error box (say, a folder stands under the
        // template's name). The dialog stays open to put that right, and the
        // project keeps its old settings and anchors, so that Cancel still
        // means "nothing changed" and later saves do not keep failing on them.
        model.settings = previous;
        editor_.DropSettingsChange();
        return;
    }
    editor_.KeepSettingsChange(previous);
    accept();
}

void TfrmProjectSettings::ShowRefusal(const SettingsConfirmation& result) {
    QLineEdit* field = result.refused == SettingsField::CompactWidth     ? txtCompactWidth
                       : result.refused == SettingsField::CompactLabel   ? txtCompactLabel
                       : result.refused == SettingsField::AnchorSelector ? txtAllAnchorElement
                                                                         : txtTemplate;
    field->setFocus();
    field->selectAll();
    QtMessageBoxes::Message(this, FromBytes(result.rejection));
    if (result.refused == SettingsField::Template) btnMoreInfoClick();
    // Back from the message, the value is still there to be retyped.
    field->setFocus();
    field->selectAll();
}

} // namespace didad
