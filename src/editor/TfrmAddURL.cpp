#include "editor/TfrmAddURL.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/PropertyEdits.h"
#include "editor/Snippets.h"
#include "ui/QtAccessibility.h"
#include "ui/QtDialogPlacement.h"
#include "ui/QtFileChooser.h"
#include "ui/QtHelpKey.h"
#include "ui/QtMessageBoxes.h"
#include "ui/QtSmallControls.h"

namespace didad {

TfrmAddURL* frmAddURL = nullptr;

TfrmAddURL::TfrmAddURL(ISnippetTarget& target, QWidget* parent) : QDialog(parent), target_(target) {
    setObjectName(QStringLiteral("frmAddURL"));
    setWindowTitle(QStringLiteral("Add URL"));

    txtURL = Named(new QLineEdit(this), "txtURL");
    btnChooseFile = Named(new QPushButton(QStringLiteral("Choose File..."), this), "btnChooseFile");
    btnChooseFile->setAutoDefault(false);
    cboxTarget = Named(new QComboBox(this), "cboxTarget");
    MakeEditable(cboxTarget, Completion::Inline);
    cboxTarget->addItems({QString(), QStringLiteral("_self"), QStringLiteral("_parent"), QStringLiteral("_top"),
                          QStringLiteral("_blank")});
    cboxTarget->setCurrentIndex(0);
    lblChooseFile = Named(new QLabel(QStringLiteral("Use [Choose File...] instead of typing the address. The file is "
                                                    "not moved: a name that does not start with http:// must be a "
                                                    "page in the same folder as the page that shows the menu."),
                                     this),
                          "lblChooseFile");
    lblChooseFile->setWordWrap(true);
    txtHTML = Named(new QPlainTextEdit(this), "txtHTML");
    btnAdd = Named(new QPushButton(QStringLiteral("Add"), this), "btnAdd");
    btnAdd->setAutoDefault(false);
    btnAdd->setDefault(true);
    btnCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "btnCancel");
    btnCancel->setAutoDefault(false);

    auto* lblURL = new QLabel(QStringLiteral("URL:"), this);
    auto* lblTarget = new QLabel(QStringLiteral("Target:"), this);
    auto* lblHTML = new QLabel(QStringLiteral("Inner HTML:"), this);
    NameControl(txtURL, QStringLiteral("URL"), lblURL);
    NameControl(cboxTarget, QStringLiteral("Target"), lblTarget);
    NameControl(txtHTML, QStringLiteral("Inner HTML"), lblHTML);

    auto* grid = new QGridLayout;
    grid->addWidget(lblURL, 0, 0);
    grid->addWidget(txtURL, 0, 1);
    grid->addWidget(btnChooseFile, 0, 2);
    grid->addWidget(lblTarget, 1, 0);
    grid->addWidget(cboxTarget, 1, 1);
    grid->addWidget(lblChooseFile, 2, 0, 1, 3);
    grid->addWidget(lblHTML, 3, 0, Qt::AlignTop);
    grid->addWidget(txtHTML, 3, 1, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnAdd);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(420, 300);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnChooseFile, &QPushButton::clicked, this, &TfrmAddURL::btnChooseFileClick);
    connect(btnAdd, &QPushButton::clicked, this, &TfrmAddURL::btnAddClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmAddURL::btnCancelClick);

    StartEachOpeningIn(this, txtURL);
    new HelpKeyFilter(this, [this] { target_.OpenHelp(); });
    CentreOnFirstShow(this);
}

void TfrmAddURL::btnAddClick() {
    const std::string inner = BoxTextToStored(ToBytes(txtHTML->toPlainText()));
    target_.InsertSnippet(BuildAddUrlSnippet(ToBytes(txtURL->text()), ToBytes(cboxTarget->currentText()), inner));
    accept();
}

void TfrmAddURL::btnCancelClick() { reject(); }

void TfrmAddURL::btnChooseFileClick() {
    // Made on first use and kept: building a file chooser decodes its icons,
    // a cost that program start should not pay for a dialog few users open.
    if (!dlgOpen1)
        dlgOpen1 = MakeOpenChooser(this, QFileDialog::AnyFile,
                                   {QStringLiteral("HTML Files (*.html *.htm)"), QStringLiteral("All Files (*)")},
                                   QStringLiteral("htm"));
    const QString chosen = RunOpenChooser(*dlgOpen1, rememberedFolder_);
    const bool accepted = !chosen.isEmpty();
    rememberedFolder_ =
        QString::fromLocal8Bit(LinkChooserNextFolder(ToBytes(rememberedFolder_), accepted, ToBytes(chosen)));
    if (!accepted) return;
    txtURL->setText(QString::fromLocal8Bit(FileNamePart(ToBytes(chosen))));
    txtURL->setFocus();
}

} // namespace didad
