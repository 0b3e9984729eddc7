#include "editor/TfrmAddImage.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/Snippets.h"
#include "ui/QtAccessibility.h"
#include "ui/QtDialogPlacement.h"
#include "ui/QtFileChooser.h"
#include "ui/QtHelpKey.h"
#include "ui/QtMessageBoxes.h"
#include "ui/QtSmallControls.h"

namespace didad {

TfrmAddImage* frmAddImage = nullptr;

namespace {

constexpr int kPreviewSize = 160;

} // namespace

TfrmAddImage::TfrmAddImage(ISnippetTarget& target, QWidget* parent) : QDialog(parent), target_(target) {
    setObjectName(QStringLiteral("frmAddImage"));
    setWindowTitle(QStringLiteral("Add Image"));

    txtImage = Named(new QLineEdit(this), "txtImage");
    btnChooseFileName = Named(new QPushButton(QStringLiteral("Choose File..."), this), "btnChooseFileName");
    btnChooseFileName->setAutoDefault(false);
    txtBorderSize = Named(new QLineEdit(QStringLiteral("0"), this), "txtBorderSize");
    txtBorderSize->setMaxLength(3);
    txtBorderSize->setMaximumWidth(48);
    UpDown_Border = Named(new UpDownButtons(txtBorderSize, 0, 999, this), "UpDown_Border");
    UpDown_Border->SetPosition(0);
    lbl1 =
        Named(new QLabel(QStringLiteral("Full path to the image on your hard-drive should be entered."), this), "lbl1");
    lbl2 = Named(new QLabel(QStringLiteral("[Choose File...] button can be used instead of typing."), this), "lbl2");
    lbl3 = Named(new QLabel(QStringLiteral("The image file will be copied into the active project folder."), this),
                 "lbl3");
    btnAdd = Named(new QPushButton(QStringLiteral("Add"), this), "btnAdd");
    btnAdd->setAutoDefault(false);
    btnAdd->setDefault(true);
    btnCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "btnCancel");
    btnCancel->setAutoDefault(false);

    auto* lblImage = new QLabel(QStringLiteral("Path to image:"), this);
    auto* lblBorder = new QLabel(QStringLiteral("Border:"), this);
    NameControl(txtImage, QStringLiteral("Path to image"), lblImage);
    NameControl(txtBorderSize, QStringLiteral("Border"), lblBorder);
    UpDown_Border->NameArrows(QStringLiteral("Border"));

    auto* grid = new QGridLayout;
    grid->addWidget(lblImage, 0, 0);
    grid->addWidget(txtImage, 0, 1);
    grid->addWidget(btnChooseFileName, 0, 2);
    auto* border = new QHBoxLayout;
    border->addWidget(txtBorderSize);
    border->addWidget(UpDown_Border);
    border->addStretch();
    grid->addWidget(lblBorder, 1, 0);
    grid->addLayout(border, 1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnAdd);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(lbl1);
    layout->addWidget(lbl2);
    layout->addWidget(lbl3);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnChooseFileName, &QPushButton::clicked, this, &TfrmAddImage::btnChooseFileNameClick);
    connect(btnAdd, &QPushButton::clicked, this, &TfrmAddImage::btnAddClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmAddImage::btnCancelClick);

    StartEachOpeningIn(this, txtImage);
    new HelpKeyFilter(this, [this] { target_.OpenHelp(); });
    CentreOnFirstShow(this);
}

void TfrmAddImage::ShowPreview(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        imgPreview->clear();
        return;
    }
    QPixmap picture = QPixmap::fromImage(image);
    if (picture.width() > kPreviewSize || picture.height() > kPreviewSize)
        picture = picture.scaled(kPreviewSize, kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    imgPreview->setPixmap(picture);
}

void TfrmAddImage::btnAddClick() {
    const std::string snippet = AddImageToProject(ToBytes(txtImage->text()), ToBytes(txtBorderSize->text()),
                                                  target_.Model().projectFolder, target_.Messages());
    target_.InsertSnippet(snippet);
    accept();
}

void TfrmAddImage::btnCancelClick() { reject(); }

void TfrmAddImage::btnChooseFileNameClick() {
    // Made on first use and kept: building a file chooser decodes its icons,
    // a cost that program start should not pay for a dialog few users open.
    if (!dlgOpen1) {
        // The text before the last parentheses is what the list shows; the
        // last parentheses hold the patterns.
        dlgOpen1 = MakeOpenChooser(this, QFileDialog::ExistingFile,
                                   {
                                       QStringLiteral("All Image Files (*.gif;*.jpg;*.jpeg) (*.gif *.jpg *.jpeg)"),
                                       QStringLiteral("GIF Image (*.gif) (*.gif)"),
                                       QStringLiteral("JPG Files (*.jpg;*.jpeg) (*.jpg *.jpeg)"),
                                       QStringLiteral("All Files (*.*) (*)"),
                                   },
                                   QStringLiteral("gif"));
        imgPreview = Named(new QLabel(dlgOpen1), "imgPreview");
        imgPreview->setFixedSize(kPreviewSize, kPreviewSize);
        imgPreview->setAlignment(Qt::AlignCenter);
        imgPreview->setFrameShape(QFrame::StyledPanel);
        if (auto* chooserGrid = qobject_cast<QGridLayout*>(dlgOpen1->layout()))
            chooserGrid->addWidget(imgPreview, 1, chooserGrid->columnCount(), Qt::AlignTop);
        connect(dlgOpen1, &QFileDialog::currentChanged, this, &TfrmAddImage::ShowPreview);
    }
    imgPreview->clear();
    const QString chosen = RunOpenChooser(*dlgOpen1, rememberedFolder_);
    const bool accepted = !chosen.isEmpty();
    rememberedFolder_ = QString::fromLocal8Bit(PictureChooserNextFolder(accepted, ToBytes(chosen)));
    if (accepted) txtImage->setText(chosen);
}

} // namespace didad
