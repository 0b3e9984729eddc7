#include "workflow/TfrmFinilizedOK.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTextOption>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/QtAccessibility.h"
#include "ui/QtDialogPlacement.h"
#include "ui/QtGlyphs.h"
#include "ui/QtHelpKey.h"
#include "ui/QtMessageBoxes.h"
#include "workflow/IntegrationNotes.h"

namespace didad {

TfrmFinilizedOK* frmFinilizedOK = nullptr;

TfrmFinilizedOK::TfrmFinilizedOK(IEditorWindow& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setObjectName(QStringLiteral("frmFinilizedOK"));
    setWindowTitle(QStringLiteral("Finalized!"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

    lblMessage = new QLabel(
        QStringLiteral("The script was successfully finalized, and is ready for integration and upload."), this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);

    txtINFO = new QPlainTextEdit(this);
    txtINFO->setObjectName(QStringLiteral("txtINFO"));
    NameControl(txtINFO, QStringLiteral("How to put the menus into your pages"));
    txtINFO->setReadOnly(true);
    // The lines wrap at the box's edge, so no tag is cut off from view; a
    // copy still gets them as they are, without the wraps.
    txtINFO->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtINFO->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtINFO->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtINFO->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // The same lines as ReadMe.txt; the box shows them with its own line ends.
    QString text;
    for (const std::string& line : IntegrationNotesLines()) text += FromBytes(line) + QLatin1Char('\n');
    text.chop(1);
    txtINFO->setPlainText(text);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnOK->setIcon(StandardGlyph(QStyle::SP_DialogOkButton));
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    btnBrowse = new QPushButton(QStringLiteral("Browse Project Folder"), this);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    btnBrowse->setIcon(StandardGlyph(QStyle::SP_DirOpenIcon));
    btnBrowse->setAutoDefault(false);
    connect(btnBrowse, &QPushButton::clicked, this, &TfrmFinilizedOK::btnBrowseClick);

    // The step after finalizing: the menus into the pages of the user's site.
    btnPublish = new QPushButton(QStringLiteral("Publish..."), this);
    btnPublish->setObjectName(QStringLiteral("btnPublish"));
    btnPublish->setAutoDefault(false);
    connect(btnPublish, &QPushButton::clicked, this, [this] { editor_.PublishProject(); });

    btnCopy = new QPushButton(QStringLiteral("&Copy"), this);
    btnCopy->setObjectName(QStringLiteral("btnCopy"));
    btnCopy->setToolTip(QStringLiteral("Copy the instructions, whole, to the clipboard"));
    btnCopy->setIcon(StandardGlyph(QStyle::SP_FileDialogDetailedView));
    btnCopy->setAutoDefault(false);
    connect(btnCopy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(txtINFO->toPlainText()); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCopy);
    buttons->addStretch();
    buttons->addWidget(btnPublish);
    buttons->addWidget(btnBrowse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMessage);
    layout->addWidget(txtINFO, 1);
    layout->addLayout(buttons);
    setTabOrder(btnOK, btnCopy);
    setTabOrder(btnCopy, btnPublish);
    setTabOrder(btnPublish, btnBrowse);
    setTabOrder(btnBrowse, txtINFO);

    setFixedSize(419, 270);
    new HelpKeyFilter(this, [this] { editor_.OpenHelp(); });
}

void TfrmFinilizedOK::btnBrowseClick() {
    if (!editor_.Model().hasProject()) return;
    // The file manager's answer is of no interest: a folder that cannot be
    // shown is not worth a message after a finalize that worked.
    QDesktopServices::openUrl(QUrl::fromLocalFile(FromBytes(editor_.Model().projectFolder)));
}

void TfrmFinilizedOK::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        CentreOnDesktop(this);
        btnOK->setFocus();
    }
}

} // namespace didad
