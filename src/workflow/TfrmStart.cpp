#include "workflow/TfrmStart.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSettings>
#include <QStyle>
#include <QVBoxLayout>

#include "model/ScriptWriter.h"
#include "ui/QtDialogPlacement.h"
#include "ui/QtGlyphs.h"
#include "ui/QtHelpKey.h"
#include "ui/SettingsStore.h"
#include "workflow/ProjectLocks.h"
#include "workflow/QtUserFolders.h"
#include "workflow/TfrmSelFolder.h"

namespace didad {

TfrmStart* frmStart = nullptr;

namespace {

QPushButton* MakeButton(const QString& caption, const char* name, QStyle::StandardPixmap glyph, QWidget* parent) {
    auto* button = new QPushButton(StandardGlyph(glyph), caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

std::string ReadLastEdited() { return ToBytes(SettingsStore().value(QString::fromLatin1(kLastEditedKey)).toString()); }

} // namespace

TfrmStart::TfrmStart(IEditorWindow& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setObjectName(QStringLiteral("frmStart"));
    setWindowTitle(QStringLiteral("Didad"));
    // No close box; the dialog stays above the editor while it is up.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);

    ImageLOGO = new QLabel(this);
    ImageLOGO->setObjectName(QStringLiteral("ImageLOGO"));
    ImageLOGO->setFixedSize(32, 32);
    ImageLOGO->setAlignment(Qt::AlignCenter);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Sunken);

    btnNew = MakeButton(QStringLiteral("New Menu Project"), "btnNew", QStyle::SP_FileDialogNewFolder, Panel1);
    btnOpen = MakeButton(QStringLiteral("Open Project"), "btnOpen", QStyle::SP_DialogOpenButton, Panel1);
    btnOpenLastEdited =
        MakeButton(QStringLiteral("Open Last Edited Project"), "btnOpenLastEdited", QStyle::SP_BrowserReload, Panel1);
    btnOpenLastEdited->setEnabled(false);
    btnQuit_Cancel =
        MakeButton(QString::fromLatin1(kQuitCaption), "btnQuit_Cancel", QStyle::SP_DialogCloseButton, Panel1);

    auto* buttons = new QVBoxLayout(Panel1);
    for (QPushButton* button : {btnNew, btnOpen, btnOpenLastEdited, btnQuit_Cancel}) buttons->addWidget(button);
    lblAbnormalEnd = new QLabel(this);
    lblAbnormalEnd->setObjectName(QStringLiteral("lblAbnormalEnd"));
    lblAbnormalEnd->setWordWrap(true);
    lblAbnormalEnd->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ImageLOGO, 0, Qt::AlignHCenter);
    layout->addWidget(lblAbnormalEnd);
    layout->addWidget(Panel1, 1);

    setTabOrder(btnNew, btnOpen);
    setTabOrder(btnOpen, btnOpenLastEdited);
    setTabOrder(btnOpenLastEdited, btnQuit_Cancel);

    connect(btnNew, &QPushButton::clicked, this, &TfrmStart::btnNewClick);
    connect(btnOpen, &QPushButton::clicked, this, &TfrmStart::btnOpenClick);
    connect(btnOpenLastEdited, &QPushButton::clicked, this, &TfrmStart::btnOpenLastEditedClick);
    connect(btnQuit_Cancel, &QPushButton::clicked, this, &TfrmStart::btnQuit_CancelClick);

    new HelpKeyFilter(this, [this] { editor_.OpenHelp(); });
    resize(237, 208);
    CentreOnDesktop(this);
}

TfrmStart::~TfrmStart() {
    while (busy_ > 0) SetBusy(false);
    if (frmStart == this) frmStart = nullptr;
}

void TfrmStart::showEvent(QShowEvent* event) {
    LockMainWindow();
    if (ImageLOGO->pixmap().isNull()) ImageLOGO->setPixmap(windowIcon().pixmap(32, 32));
    const std::optional<LastEditedButton> lastEdited = flow_.Shown(ReadLastEdited);
    if (lastEdited) {
        btnOpenLastEdited->setEnabled(lastEdited->enabled);
        if (lastEdited->enabled) btnOpenLastEdited->setToolTip(FromBytes(lastEdited->hint));
    }
    if (!shownOnce_ && lastEdited && lastEdited->enabled) ShowAbnormalEnd(FromBytes(lastEdited->hint));
    shownOnce_ = true;
    if (OpenedFromEditor()) lblAbnormalEnd->hide();
    btnQuit_Cancel->setText(FromBytes(flow_.QuitCancelCaption()));
    QDialog::showEvent(event);
}

void TfrmStart::closeEvent(QCloseEvent* event) {
    // Only the dialog's buttons leave it.
    event->ignore();
}

void TfrmStart::btnNewClick() { flow_.NewProject(); }

void TfrmStart::btnOpenClick() { flow_.OpenProject(); }

void TfrmStart::btnOpenLastEditedClick() { OpenProjectFolder(btnOpenLastEdited->toolTip()); }

void TfrmStart::btnQuit_CancelClick() { flow_.QuitOrCancel(); }

bool TfrmStart::OpenProjectFolder() { return flow_.OpenProjectFolder(ToBytes(FolderChooser().txtPath->text())); }

bool TfrmStart::OpenProjectFolder(const QString& folder) {
    FolderChooser().txtPath->setText(folder);
    return OpenProjectFolder();
}

TfrmSelFolder& TfrmStart::FolderChooser() { return *frmSelFolder; }

void TfrmStart::ReopenFromEditor() {
    if (!flow_.ReturnFromEditor([this] { return editor_.WriteFinalScript(); })) return;
    btnQuit_Cancel->setText(FromBytes(flow_.QuitCancelCaption()));
    LockMainWindow();
    show();
    raise();
    activateWindow();
}

ProjectModel& TfrmStart::Model() { return editor_.Model(); }

IMessages& TfrmStart::Messages() { return boxes_; }

UserFolders TfrmStart::UserFolderPaths() { return DesktopUserFolders(); }

std::optional<std::string> TfrmStart::ChooseFolder(const FolderRequest& request) {
    TfrmSelFolder& chooser = FolderChooser();
    chooser.StartFolder = FromBytes(request.startFolder);
    chooser.DefaultName = FromBytes(request.defaultName);
    chooser.lblMessage->setText(FromBytes(request.prompt));
    chooser.setWindowTitle(FromBytes(request.caption));
    chooser.exec();
    if (!chooser.Accepted) return std::nullopt;
    return ToBytes(chooser.txtPath->text());
}

bool TfrmStart::AskWarningYesNo(const std::string& text) {
    return QtMessageBoxes::Question(this, QString::fromLatin1(kWarningCaption), FromBytes(text), true,
                                    QMessageBox::Warning);
}

void TfrmStart::ShowPlatformError(const std::string& text) { QtMessageBoxes::Error(this, FromBytes(text)); }

void TfrmStart::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        ++busy_;
    } else if (busy_ > 0) {
        QApplication::restoreOverrideCursor();
        --busy_;
    }
}

ProjectClaim TfrmStart::ClaimProject(const std::string& folder) { return projectLock_.Claim(FromBytes(folder)); }

std::string TfrmStart::LockPlaces() {
    return ToBytes(QStringLiteral("  ") + QtProjectLock::LockFolders().join(QStringLiteral("\r\n  ")));
}

void TfrmStart::ReleaseProjectClaim() { projectLock_.ReleaseClaim(); }

void TfrmStart::ShowAbnormalEnd(const QString& folder) {
    if (!QtProjectLock::LeftOpenByEndedRun(folder)) return;
    const QFileInfo script(QDir(folder).filePath(QString::fromLatin1(kScriptFileName)));
    const QString savedAt = QLocale().toString(script.lastModified(), QLocale::ShortFormat);
    lblAbnormalEnd->setText(FromBytes(AbnormalEndNote(ToBytes(savedAt))));
    lblAbnormalEnd->show();
    adjustSize();
}

void TfrmStart::ProjectActivated(bool opened) {
    projectLock_.Activated();
    // The editor may need to show an error box of its own while it takes
    // over; boxes of a disabled window take no input.
    UnlockMainWindow();
    editor_.ProjectActivated(opened);
}

void TfrmStart::ProjectMoved() {
    projectLock_.Activated();
    editor_.ProjectMoved();
}

void TfrmStart::ReturnToEditor() {
    UnlockMainWindow();
    editor_.ShowEditor();
    hide();
}

// Not quit(): that first asks every window to close, and this dialog, still
// up, refuses, which would cancel the quit.
void TfrmStart::QuitProgram() { QCoreApplication::exit(0); }

void TfrmStart::LockMainWindow() {
    if (mainLocked_) return;
    editor_.LockEditor(true);
    mainLocked_ = true;
}

void TfrmStart::UnlockMainWindow() {
    if (!mainLocked_) return;
    editor_.LockEditor(false);
    mainLocked_ = false;
}

} // namespace didad
