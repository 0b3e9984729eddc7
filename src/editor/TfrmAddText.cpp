#include "editor/TfrmAddText.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/PropertyEdits.h"
#include "ui/QtAccessibility.h"
#include "ui/QtColourChooser.h"
#include "ui/QtDialogPlacement.h"
#include "ui/QtHelpKey.h"
#include "ui/QtSmallControls.h"

namespace didad {

TfrmAddText* frmAddText = nullptr;

TfrmAddText::TfrmAddText(ISnippetTarget& target, QWidget* parent) : QDialog(parent), target_(target) {
    setObjectName(QStringLiteral("frmAddText"));
    setWindowTitle(QStringLiteral("Add Text"));

    txtTEXT = Named(new QPlainTextEdit(this), "txtTEXT");
    txtTEXT->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtTEXT->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtTEXT->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    cBoxFontName = Named(new QComboBox(this), "cBoxFontName");
    MakeEditable(cBoxFontName, Completion::Inline);
    cBoxFontName->addItems({QStringLiteral("Arial"), QStringLiteral("Helvetica"), QStringLiteral("Courier"),
                            QStringLiteral("Courier New"), QStringLiteral("Comic Sans MS"), QStringLiteral("Tahoma"),
                            QStringLiteral("Times"), QStringLiteral("Times New Roman"), QStringLiteral("Verdana")});
    cBoxFontName->setCurrentText(QStringLiteral("Arial"));
    chkDefaultFace = Named(new QCheckBox(QStringLiteral("default"), this), "chkDefaultFace");

    cBoxFontSize = Named(new QComboBox(this), "cBoxFontSize");
    MakeEditable(cBoxFontSize, Completion::Inline);
    for (int size = 1; size <= 7; ++size) cBoxFontSize->addItem(QString::number(size));
    cBoxFontSize->setCurrentText(QStringLiteral("2"));
    chkDefaultSize = Named(new QCheckBox(QStringLiteral("default"), this), "chkDefaultSize");

    panColor = Named(new ColorSwatch(this), "panColor");
    panColor->SetColour(Qt::white);
    chkDefaultColor = Named(new QCheckBox(QStringLiteral("default"), this), "chkDefaultColor");
    chkCenter = Named(new QCheckBox(QStringLiteral("Center Text"), this), "chkCenter");

    Label1 = Named(new QLabel(QStringLiteral("<BR> (new line) is automatically added to the end of all lines, two (or "
                                             "more) spaces are replaced with '&nbsp'."),
                              this),
                   "Label1");
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);

    btnAdd = Named(new QPushButton(QStringLiteral("Add"), this), "btnAdd");
    btnAdd->setAutoDefault(false);
    btnAdd->setDefault(true);
    BitBtn2 = Named(new QPushButton(QStringLiteral("Cancel"), this), "BitBtn2");
    BitBtn2->setAutoDefault(false);

    auto* lblFace = new QLabel(QStringLiteral("Font Face:"), this);
    auto* lblSize = new QLabel(QStringLiteral("Size:"), this);
    auto* lblColor = new QLabel(QStringLiteral("Color:"), this);
    NameControl(txtTEXT, QStringLiteral("Text"));
    NameControl(cBoxFontName, QStringLiteral("Font face"), lblFace);
    NameControl(cBoxFontSize, QStringLiteral("Font size"), lblSize);
    NameControl(panColor, QStringLiteral("Text colour"), lblColor);
    NameControl(chkDefaultFace, QStringLiteral("Default font face"));
    NameControl(chkDefaultSize, QStringLiteral("Default font size"));
    NameControl(chkDefaultColor, QStringLiteral("Default text colour"));

    auto* options = new QGridLayout;
    options->addWidget(lblFace, 0, 0);
    options->addWidget(cBoxFontName, 0, 1);
    options->addWidget(chkDefaultFace, 0, 2);
    options->addWidget(lblSize, 1, 0);
    options->addWidget(cBoxFontSize, 1, 1);
    options->addWidget(chkDefaultSize, 1, 2);
    options->addWidget(lblColor, 2, 0);
    options->addWidget(panColor, 2, 1, Qt::AlignLeft);
    options->addWidget(chkDefaultColor, 2, 2);
    options->addWidget(chkCenter, 3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnAdd);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtTEXT, 1);
    layout->addLayout(options);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    resize(420, 360);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(chkDefaultFace, &QCheckBox::toggled, cBoxFontName, &QWidget::setDisabled);
    connect(chkDefaultSize, &QCheckBox::toggled, cBoxFontSize, &QWidget::setDisabled);
    connect(chkDefaultColor, &QCheckBox::toggled, panColor, &QWidget::setHidden);
    connect(panColor, &ColorSwatch::clicked, this, &TfrmAddText::panColorClick);
    connect(btnAdd, &QPushButton::clicked, this, &TfrmAddText::btnAddClick);
    connect(BitBtn2, &QPushButton::clicked, this, &TfrmAddText::BitBtn2Click);

    StartEachOpeningIn(this, txtTEXT);
    new HelpKeyFilter(this, [this] { target_.OpenHelp(); });
    CentreOnFirstShow(this);
}

AddTextOptions TfrmAddText::Options() const {
    AddTextOptions options;
    options.fontFace = cBoxFontName->currentText().toLocal8Bit().toStdString();
    options.defaultFace = chkDefaultFace->isChecked();
    options.fontSize = cBoxFontSize->currentText().toLocal8Bit().toStdString();
    options.defaultSize = chkDefaultSize->isChecked();
    options.colour = ToColor(panColor->Colour());
    options.defaultColor = chkDefaultColor->isChecked();
    options.center = chkCenter->isChecked();
    return options;
}

void TfrmAddText::btnAddClick() {
    const std::string converted = ConvertAddText(BoxTextToStored(txtTEXT->toPlainText().toLocal8Bit().toStdString()));
    txtTEXT->setPlainText(QString::fromLocal8Bit(StoredTextToBox(converted)));
    target_.InsertSnippet(BuildAddTextSnippet(converted, Options()));
    accept();
}

void TfrmAddText::BitBtn2Click() { reject(); }

void TfrmAddText::panColorClick() {
    if (!cdlgText) ColourChooser(cdlgText, this, "cdlgText")->setOption(QColorDialog::DontUseNativeDialog);
    cdlgText->setCurrentColor(panColor->Colour());
    if (cdlgText->exec() == QDialog::Accepted) panColor->SetColour(cdlgText->selectedColor());
}

} // namespace didad
