#pragma once
// Choosing the project the editor works on: the start dialog's four choices,
// the folder chooser's path box, the proposal for a new project's folder name
// and the remembered last project.
#include <functional>
#include <optional>
#include <string>

#include "model/Messages.h"
#include "model/ProjectModel.h"
#include "workflow/ProjectLocks.h"

namespace didad {

inline constexpr const char* kNewProjectPrompt =
    "Select the folder where you would like the program to keep the files for your menu project:";
inline constexpr const char* kNewProjectCaption = "Select Destination Folder";
inline constexpr const char* kOpenProjectPrompt = "Select the folder where your menu project is located:";
inline constexpr const char* kOpenProjectCaption = "Select Project Folder";
inline constexpr const char* kMoveProjectPrompt =
    "Select the folder where the program is to keep the files of this project from now on:";
inline constexpr const char* kMoveProjectCaption = "Choose Another Place";
inline constexpr const char* kQuitCaption = "Quit";
inline constexpr const char* kCancelCaption = "Cancel";
inline constexpr const char* kWarningCaption = "Warning";

// Where the remembered project lives in the per-user settings store.
inline constexpr const char* kLastEditedKey = "LastEdited";

// The user's own folders, as the desktop names them. The program's folder is
// read-only for its users on most systems, so what the user makes goes here.
struct UserFolders {
    std::string documents; // empty when the desktop names none
    std::string home;
};
inline constexpr const char* kProjectsFolderName = "Didad Projects";
// Where new projects are proposed and the folder chooser starts: "Didad
// Projects" in the documents folder, made when missing; in the home folder
// when there is no documents folder or it cannot take one.
std::string ReadyProjectsFolder(const UserFolders& folders);

// "NewProject_" + n, with a leading zero below 10.
std::string NewProjectFolderName(int n);
// The first NewProject_NN that names neither a file nor a folder in `folder`.
std::string ProposeNewProjectName(const std::string& folder);
// What the chooser's path box reads when it opens: the list's folder, one
// separator, the default name. A root folder thus gets a doubled separator,
// which NormaliseChosenPath takes out again.
std::string ChooserPathText(const std::string& listFolder, const std::string& defaultName);
// The chooser's OK: one trailing separator is dropped.
std::string ChooserAcceptedPath(const std::string& pathText);
// The first doubled separator becomes one, then one trailing separator goes.
std::string NormaliseChosenPath(const std::string& path);
// A relative path made absolute against the working folder, where the file
// system would put it anyway; the project folder is recorded and shown in
// full, so that it still names the same place at the next start.
std::string FullFolderPath(const std::string& path);
// Creates one folder level; false when it was not created (also when it was
// there), with the system's reason in `reason` when there is one.
bool CreateFolderOneLevel(const std::string& path, std::string& reason);

// A name that holds one of the characters the message lists is told that
// rule; any other gets the system's reason, when there is one.
std::string CannotCreateFolderMessage(const std::string& path, const std::string& reason = {});
std::string ScriptExistsQuestion();
std::string ScriptNotFoundMessage();
// Before the moved project replaces the script of another in the chosen folder.
std::string ReplaceScriptQuestion();

// The folder chooser as the start dialog sets it up before each use.
struct FolderRequest {
    std::string startFolder;
    std::string defaultName;
    std::string prompt;
    std::string caption;
};

// What the start dialog's choices need from the rest of the program.
class IStartDialogHost {
public:
    virtual ~IStartDialogHost() = default;
    virtual ProjectModel& Model() = 0;
    virtual IMessages& Messages() = 0;
    virtual UserFolders UserFolderPaths() = 0;
    // Shows the folder chooser modally: the path it returns, or nothing when
    // the user did not confirm.
    virtual std::optional<std::string> ChooseFolder(const FolderRequest& request) = 0;
    // The warning box with Yes and No that asks before replacing a script.
    virtual bool AskWarningYesNo(const std::string& text) = 0;
    // The error box of a failed file operation.
    virtual void ShowPlatformError(const std::string& text) = 0;
    // The busy cursor while a script is read.
    virtual void SetBusy(bool busy) = 0;
    // The model now holds the new project and its folder: status line,
    // controls, preview.
    virtual void ProjectActivated(bool opened) = 0;
    // The active project now lives in another folder; nothing else changed.
    virtual void ProjectMoved() { ProjectActivated(false); }
    // Keeps other running copies of the program away from `folder` before it
    // is read or written: InUse when one of them has it open. The claim
    // holds once the project is activated; ReleaseProjectClaim drops it when
    // the project was not opened after all.
    virtual ProjectClaim ClaimProject(const std::string& folder) {
        (void)folder;
        return ProjectClaim::Claimed;
    }
    // The folders tried for the lock files, one per line, for the message
    // that none took one.
    virtual std::string LockPlaces() { return {}; }
    virtual void ReleaseProjectClaim() {}
    // Enables the main window and its Help button, shows it, hides the start dialog.
    virtual void ReturnToEditor() = 0;
    virtual void QuitProgram() = 0;
};

// The state of "Open Last Edited Project" after the start dialog was shown.
struct LastEditedButton {
    bool enabled = false;
    std::string hint;
};

class StartFlow {
public:
    explicit StartFlow(IStartDialogHost& host) : host_(host) {}

    bool OpenedFromEditor() const { return openedFromEditor_; }
    std::string QuitCancelCaption() const { return openedFromEditor_ ? kCancelCaption : kQuitCaption; }

    // The dialog became visible. `readLastEdited` is asked only before the
    // dialog was first reopened from the editor. Nothing means the button
    // keeps its state.
    std::optional<LastEditedButton> Shown(const std::function<std::string()>& readLastEdited) const;

    void NewProject();
    void OpenProject();
    void OpenLastEdited(const std::string& rememberedFolder);
    // Opens the project in `folder`; true when it became the active project.
    bool OpenProjectFolder(const std::string& typedFolder);
    void QuitOrCancel();
    // The active project, as it is, into a folder the user chooses (its own
    // was removed): claimed and written there before it counts as moved.
    // False when the user chose none or it could not go there (told).
    bool MoveProject();

    // "Projects..." in the editor. `writeFinalScript` reports its own errors
    // and returns false when the script could not be written; the editor then
    // stays, so unsaved edits are not left behind by opening another project.
    // True when the start dialog is to be shown.
    bool ReturnFromEditor(const std::function<bool()>& writeFinalScript);

private:
    // Writes the preview script for `candidate` before it replaces the active
    // project, so that a folder that cannot take the files leaves the active
    // project as it was.
    bool CanWriteProject(ProjectModel& candidate);
    // Claims the folder or says that another program has it.
    bool Claim(const std::string& folder);
    void Activate(ProjectModel&& candidate, bool opened);

    IStartDialogHost& host_;
    bool openedFromEditor_ = false;
};

// Records the active project's folder for the next start; nothing without a project.
void RecordLastEditedProject(const ProjectModel& model, const std::function<void(const std::string&)>& writeLastEdited);

} // namespace didad
