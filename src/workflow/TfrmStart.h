#pragma once
// The start dialog: new project, open project, open the last edited project,
// and Quit (Cancel once it has been reopened from the editor).
#include <QDialog>

#include <memory>

#include "ui/QtMessageBoxes.h"
#include "workflow/IEditorWindow.h"
#include "workflow/ProjectWorkflow.h"
#include "workflow/QtProjectLock.h"

class QFrame;
class QLabel;
class QPushButton;

namespace didad {

class TfrmSelFolder;

class TfrmStart : public QDialog, private IStartDialogHost {
    Q_OBJECT
public:
    explicit TfrmStart(IEditorWindow& editor, QWidget* parent = nullptr);
    ~TfrmStart() override;

    bool OpenedFromEditor() const { return flow_.OpenedFromEditor(); }

    void btnNewClick();
    void btnOpenClick();
    void btnOpenLastEditedClick();
    void btnQuit_CancelClick();
    // Opens the project whose folder stands in the folder chooser's path box.
    bool OpenProjectFolder();
    // Opens the project in `folder` as Open Project does once it is chosen
    // (the folder named on the command line).
    bool OpenProjectFolder(const QString& folder);
    // "Projects..." in the main window: final script, then this dialog again.
    void ReopenFromEditor();
    // The active project into another folder the user chooses; false when
    // it stayed where it was.
    bool MoveProject() { return flow_.MoveProject(); }

    QLabel* ImageLOGO = nullptr;
    QFrame* Panel1 = nullptr;
    QPushButton* btnNew = nullptr;
    QPushButton* btnOpen = nullptr;
    QPushButton* btnOpenLastEdited = nullptr;
    QPushButton* btnQuit_Cancel = nullptr;
    // Shown at a start after a run that ended without closing its project.
    QLabel* lblAbnormalEnd = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Esc must not leave the dialog either: only its buttons do.
    void reject() override {}

private:
    // IStartDialogHost
    ProjectModel& Model() override;
    IMessages& Messages() override;
    UserFolders UserFolderPaths() override;
    std::optional<std::string> ChooseFolder(const FolderRequest& request) override;
    bool AskWarningYesNo(const std::string& text) override;
    void ShowPlatformError(const std::string& text) override;
    void SetBusy(bool busy) override;
    ProjectClaim ClaimProject(const std::string& folder) override;
    std::string LockPlaces() override;
    void ReleaseProjectClaim() override;
    void ProjectActivated(bool opened) override;
    void ProjectMoved() override;
    void ReturnToEditor() override;
    void QuitProgram() override;

    void LockMainWindow();
    // The folder chooser, made first if it is not yet.
    TfrmSelFolder& FolderChooser();
    // Tells, at the start, that the last run ended without closing `folder`.
    void ShowAbnormalEnd(const QString& folder);
    void UnlockMainWindow();

    IEditorWindow& editor_;
    StartFlow flow_{*this};
    // Boxes belong to this dialog: children of the disabled main window
    // would be disabled with it.
    QtMessageBoxes boxes_{this};
    QtProjectLock projectLock_;
    bool mainLocked_ = false;
    bool shownOnce_ = false;
    int busy_ = 0;
};

extern TfrmStart* frmStart;

} // namespace didad
