// Projects..., the status line, the remembered project of the main window,
// and a project whose folder was removed under it.
#include "editor/TfrmMain.h"

#include <QFontMetrics>
#include <QLabel>
#include <QSettings>

#include "editor/AutoSave.h"
#include "ui/QtAccessibility.h"
#include "ui/QtMessageBoxes.h"
#include "ui/SettingsStore.h"
#include "workflow/ProjectWorkflow.h"
#include "workflow/StatusLine.h"
#include "workflow/TfrmStart.h"

namespace didad {

void TfrmMain::ShowActiveProject(const QString& folder) {
    const QFontMetrics metrics(lblActiveProject->font());
    const std::string caption = ActiveProjectCaption(folder.toUtf8().toStdString(), [&](const std::string& text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text));
    });
    lblActiveProject->setText(QString::fromUtf8(caption));
    lblActiveProject->setToolTip(folder);
    AnnounceChange(lblActiveProject);
}

void TfrmMain::RecordLastEditedProject() {
    didad::RecordLastEditedProject(model_, [](const std::string& folder) {
        SettingsStore().setValue(QString::fromLatin1(kLastEditedKey), FromBytes(folder));
    });
}

void TfrmMain::ProjectFolderRemoved() {
    // One question at a time: another save may end while it is up.
    if (askingAboutFolder_ || !model_.hasProject()) return;
    askingAboutFolder_ = true;
    const int choice = QtMessageBoxes::Choose(
        this, QString::fromLatin1(kFolderRemovedCaption), FromBytes(FolderRemovedQuestion(model_.projectFolder)),
        QString::fromLatin1(kSaveHereAgain), QString::fromLatin1(kChooseAnotherPlace), QMessageBox::Warning);
    // Closed without a choice: the status line keeps telling, and the next
    // change asks again.
    if (choice == 0) {
        UpdatePreview();
    } else if (choice == 1 && windows_.start) {
        windows_.start->MoveProject();
    }
    askingAboutFolder_ = false;
}

void TfrmMain::ProjectMoved() {
    RecordLastEditedProject();
    ShowActiveProject(FromBytes(model_.projectFolder));
    UpdatePreview();
}

void TfrmMain::btnProjectsClick() {
    if (windows_.start) windows_.start->ReopenFromEditor();
}

} // namespace didad
