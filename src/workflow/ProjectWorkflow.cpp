#include "workflow/ProjectWorkflow.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "model/Errors.h"
#include "model/ScriptReader.h"
#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"
#include "workflow/ProjectLocks.h"

namespace didad {

namespace {

// Whether the folder's own name (after the system's last separator) holds one
// of the characters that the folder message lists.
bool NameHoldsForbiddenCharacter(const std::string& path) {
    const std::string name = StripTrailingBackslash(path);
    const std::size_t slash = name.find_last_of(PathSeparator());
    return name.find_first_of(":*?\"<>|\\/", slash == std::string::npos ? 0 : slash + 1) != std::string::npos;
}

// Keeps the busy cursor up for exactly one read, whatever its outcome.
class BusyScope {
public:
    explicit BusyScope(IStartDialogHost& host) : host_(host) { host_.SetBusy(true); }
    ~BusyScope() { host_.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    IStartDialogHost& host_;
};

} // namespace

std::string NewProjectFolderName(int n) { return std::string("NewProject_") + (n < 10 ? "0" : "") + std::to_string(n); }

std::string ReadyProjectsFolder(const UserFolders& folders) {
    for (const std::string& base : {folders.documents, folders.home}) {
        if (base.empty()) continue;
        std::string projects = JoinPath(base, kProjectsFolderName);
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(projects), error);
        if (std::filesystem::is_directory(std::filesystem::path(projects), error)) return projects;
    }
    return folders.home;
}

std::string ProposeNewProjectName(const std::string& folder) {
    int n = 1;
    while (PathExists(JoinPath(folder, NewProjectFolderName(n)))) ++n;
    return NewProjectFolderName(n);
}

std::string ChooserPathText(const std::string& listFolder, const std::string& defaultName) {
    return StripTrailingBackslash(listFolder) + PathSeparator() + StripTrailingBackslash(defaultName);
}

std::string ChooserAcceptedPath(const std::string& pathText) { return StripTrailingBackslash(pathText); }

std::string NormaliseChosenPath(const std::string& path) {
    std::string result = path;
    for (std::size_t i = 0; i + 1 < result.size(); ++i) {
        if (IsPathSeparator(result[i]) && IsPathSeparator(result[i + 1])) {
            result.erase(i + 1, 1);
            break;
        }
    }
    return StripTrailingBackslash(result);
}

std::string FullFolderPath(const std::string& path) {
    const std::filesystem::path folder(path);
    if (path.empty() || folder.is_absolute()) return path;
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(folder, error);
    return error ? path : StripTrailingBackslash(full.string());
}

bool CreateFolderOneLevel(const std::string& path, std::string& reason) {
    reason.clear();
    if (path.empty()) return false;
    std::error_code error;
    const bool created = std::filesystem::create_directory(std::filesystem::path(path), error);
    if (error) reason = error.message();
    return created && !error;
}

std::string CannotCreateFolderMessage(const std::string& path, const std::string& reason) {
    const std::string head = "Cannot create folder: " + path + "\r\n" + "\r\n";
    if (!reason.empty() && !NameHoldsForbiddenCharacter(path)) return head + reason;
    return head + "A folder name cannot contain any of the following characters:\r\n" + std::string(24, ' ') +
           "\\    /    :    *    ?    \"    <    >    |";
}

std::string ScriptExistsQuestion() {
    return "File \"Dirovidadaz.js\" already exists in specified folder.\r\n"
           "\r\n"
           "Would you like to open it? Click \"Yes\" to open, or \"No\" to overwrite this project.";
}

std::string ScriptNotFoundMessage() {
    return "\"Dirovidadaz.js\" not found in this folder.\r\n"
           "\r\n"
           "There is no Didad project in this folder, or the script file was removed from its "
           "location.";
}

std::string ReplaceScriptQuestion() {
    return "File \"Dirovidadaz.js\" already exists in specified folder.\r\n"
           "\r\n"
           "Replace it with this project?";
}

std::optional<LastEditedButton> StartFlow::Shown(const std::function<std::string()>& readLastEdited) const {
    if (openedFromEditor_) return LastEditedButton{false, {}};
    const std::string remembered = readLastEdited ? readLastEdited() : std::string();
    if (!remembered.empty() && PathExists(remembered)) return LastEditedButton{true, remembered};
    return std::nullopt;
}

void StartFlow::NewProject() {
    const std::string projects = ReadyProjectsFolder(host_.UserFolderPaths());
    const FolderRequest request{projects, ProposeNewProjectName(projects), kNewProjectPrompt, kNewProjectCaption};
    const std::optional<std::string> chosen = host_.ChooseFolder(request);
    if (!chosen) return;

    const std::string folder = FullFolderPath(NormaliseChosenPath(*chosen));
    std::string reason;
    if (!CreateFolderOneLevel(folder, reason) && !PathExists(folder)) {
        host_.Messages().ShowMessage(CannotCreateFolderMessage(folder, reason));
        return;
    }
    if (PathExists(JoinPath(folder, kScriptFileName)) && host_.AskWarningYesNo(ScriptExistsQuestion())) {
        OpenProjectFolder(folder);
        return;
    }

    ProjectModel candidate = host_.Model();
    candidate.projectFolder = folder;
    candidate.ResetForNewProject();
    if (!Claim(folder)) return;
    if (!CanWriteProject(candidate)) {
        host_.ReleaseProjectClaim();
        return;
    }
    Activate(std::move(candidate), false);
}

void StartFlow::OpenProject() {
    const FolderRequest request{ReadyProjectsFolder(host_.UserFolderPaths()), "", kOpenProjectPrompt,
                                kOpenProjectCaption};
    if (const std::optional<std::string> chosen = host_.ChooseFolder(request)) {
        OpenProjectFolder(*chosen);
    }
}

void StartFlow::OpenLastEdited(const std::string& rememberedFolder) { OpenProjectFolder(rememberedFolder); }

bool StartFlow::OpenProjectFolder(const std::string& typedFolder) {
    const std::string folder = FullFolderPath(typedFolder);
    const std::string script = JoinPath(folder, kScriptFileName);
    if (!PathExists(script)) {
        host_.Messages().ShowMessage(ScriptNotFoundMessage());
        return false;
    }

    if (!Claim(folder)) return false;

    // The reader fills a copy, so a refused or broken script leaves the
    // active project untouched.
    ProjectModel candidate = host_.Model();
    bool read = false;
    try {
        BusyScope busy(host_);
        read = ReadProjectScript(script, candidate, host_.Messages());
    } catch (const PlatformError& error) {
        host_.ShowPlatformError(error.what());
    }
    candidate.projectFolder = folder;
    if (!read || !CanWriteProject(candidate)) {
        host_.ReleaseProjectClaim();
        return false;
    }
    Activate(std::move(candidate), true);
    return true;
}

bool StartFlow::MoveProject() {
    const std::string projects = ReadyProjectsFolder(host_.UserFolderPaths());
    const FolderRequest request{projects, ProposeNewProjectName(projects), kMoveProjectPrompt, kMoveProjectCaption};
    const std::optional<std::string> chosen = host_.ChooseFolder(request);
    if (!chosen) return false;

    const std::string folder = FullFolderPath(NormaliseChosenPath(*chosen));
    std::string reason;
    if (!CreateFolderOneLevel(folder, reason) && !PathExists(folder)) {
        host_.Messages().ShowMessage(CannotCreateFolderMessage(folder, reason));
        return false;
    }
    if (PathExists(JoinPath(folder, kScriptFileName)) && !host_.AskWarningYesNo(ReplaceScriptQuestion())) return false;
    if (!Claim(folder)) return false;
    ProjectModel candidate = host_.Model();
    candidate.projectFolder = folder;
    if (!CanWriteProject(candidate)) {
        host_.ReleaseProjectClaim();
        return false;
    }
    host_.Model() = std::move(candidate);
    host_.ProjectMoved();
    return true;
}

void StartFlow::QuitOrCancel() {
    if (openedFromEditor_) {
        host_.ReturnToEditor();
    } else {
        host_.QuitProgram();
    }
}

bool StartFlow::ReturnFromEditor(const std::function<bool()>& writeFinalScript) {
    if (writeFinalScript && !writeFinalScript()) return false;
    openedFromEditor_ = true;
    return true;
}

bool StartFlow::CanWriteProject(ProjectModel& candidate) {
    try {
        WriteProjectScript(candidate, ScriptMode::Preview);
    } catch (const PlatformError& error) {
        host_.ShowPlatformError(error.what());
        return false;
    }
    return true;
}

bool StartFlow::Claim(const std::string& folder) {
    switch (host_.ClaimProject(folder)) {
    case ProjectClaim::Claimed: return true;
    case ProjectClaim::InUse: host_.Messages().ShowMessage(ProjectInUseMessage(folder)); break;
    case ProjectClaim::NoLockPlace: host_.Messages().ShowMessage(NoLockPlaceMessage(folder, host_.LockPlaces())); break;
    }
    return false;
}

void StartFlow::Activate(ProjectModel&& candidate, bool opened) {
    host_.Model() = std::move(candidate);
    host_.ProjectActivated(opened);
    host_.ReturnToEditor();
}

void RecordLastEditedProject(const ProjectModel& model,
                             const std::function<void(const std::string&)>& writeLastEdited) {
    if (model.hasProject() && writeLastEdited) writeLastEdited(model.projectFolder);
}

} // namespace didad
