#include "workflow/FolderList.h"
#include "workflow/ProjectWorkflow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"

namespace didad {
namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder() {
        std::random_device seed;
        path_ = fs::temp_directory_path() / ("didad-workflow-" + std::to_string(seed()));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string Path() const { return path_.string(); }
    // The program folder ends with a separator.
    std::string AsProgramFolder() const { return path_.string() + "/"; }
    std::string Sub(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The start dialog's surroundings, recorded: what the chooser was asked and
// answers, the boxes shown, and how control went back to the editor.
class FakeHost : public IStartDialogHost, public IMessages {
public:
    ProjectModel model;
    std::optional<std::string> chooserAnswer;
    bool warningAnswer = false;

    std::vector<FolderRequest> chooserRequests;
    std::vector<std::string> messages;
    std::vector<std::string> warnings;
    std::vector<std::string> errors;
    std::vector<bool> activations;
    int returnsToEditor = 0;
    int quits = 0;
    int busyDepth = 0;
    int busyCalls = 0;

    UserFolders folders;

    ProjectModel& Model() override { return model; }
    IMessages& Messages() override { return *this; }
    UserFolders UserFolderPaths() override { return folders; }
    std::optional<std::string> ChooseFolder(const FolderRequest& request) override {
        chooserRequests.push_back(request);
        return chooserAnswer;
    }
    bool AskWarningYesNo(const std::string& text) override {
        warnings.push_back(text);
        return warningAnswer;
    }
    void ShowPlatformError(const std::string& text) override { errors.push_back(text); }
    void SetBusy(bool busy) override {
        busyDepth += busy ? 1 : -1;
        ++busyCalls;
    }
    void ProjectActivated(bool opened) override {
        // The editor relies on the folder being set before it is told.
        EXPECT_TRUE(model.hasProject());
        activations.push_back(opened);
    }
    void ReturnToEditor() override { ++returnsToEditor; }
    void QuitProgram() override { ++quits; }

    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string&) override { return false; }
};

// A project with two menus written to `folder` as the editor would.
void WriteProjectWithTwoMenus(const std::string& folder, ScriptMode mode = ScriptMode::Final) {
    ProjectModel project;
    project.projectFolder = folder;
    project.settings.fDefCap = "Verdana";
    project.AddMenuEntry();
    project.AddMenuEntry();
    project.entries[1].MX = 333;
    project.iSelectedMenu = 1;
    WriteProjectScript(project, mode);
}

TEST(NewProjectName, FirstFreeNumberWithTwoDigits) {
    TempFolder program;
    EXPECT_EQ(ProposeNewProjectName(program.AsProgramFolder()), "NewProject_01");

    // Files count as taken, just like folders.
    fs::create_directory(program.Sub("NewProject_01"));
    WriteText(program.Sub("NewProject_02"), "not a folder");
    EXPECT_EQ(ProposeNewProjectName(program.AsProgramFolder()), "NewProject_03");

    // A gap is filled first.
    fs::remove(program.Sub("NewProject_02"));
    fs::create_directory(program.Sub("NewProject_03"));
    EXPECT_EQ(ProposeNewProjectName(program.AsProgramFolder()), "NewProject_02");

    // After 09 the number has no leading zero.
    for (int n = 1; n <= 9; ++n) fs::create_directories(program.Sub(NewProjectFolderName(n)));
    EXPECT_EQ(ProposeNewProjectName(program.AsProgramFolder()), "NewProject_10");
    EXPECT_EQ(NewProjectFolderName(123), "NewProject_123");
}

TEST(ChooserPath, RootGetsOneSeparatorAfterNormalising) {
    // The path box of a root folder reads the root, a doubled separator and the name.
    EXPECT_EQ(ChooserPathText("/", "NewProject_01"), "//NewProject_01");
    EXPECT_EQ(NormaliseChosenPath(ChooserAcceptedPath("//NewProject_01")), "/NewProject_01");
    EXPECT_EQ(NormaliseChosenPath("C:\\\\NewProject_01"), "C:\\NewProject_01");

    EXPECT_EQ(ChooserPathText("/opt/didad/", "NewProject_02"), "/opt/didad/NewProject_02");
    // Opening a project: no default name, the box reads the folder itself.
    EXPECT_EQ(ChooserAcceptedPath(ChooserPathText("/opt/didad", "")), "/opt/didad");

    // Only the first doubled separator is taken out; one trailing separator goes.
    EXPECT_EQ(NormaliseChosenPath("/a//b//c/"), "/a/b//c");
    EXPECT_EQ(NormaliseChosenPath("/srv/menus/"), "/srv/menus");
    // A root keeps its separator.
    EXPECT_EQ(NormaliseChosenPath("C:\\"), "C:\\");
    EXPECT_EQ(NormaliseChosenPath("/"), "/");
}

class StartFlowTest : public ::testing::Test {
protected:
    StartFlowTest() {
        host.model.programFolder = program.AsProgramFolder();
        host.folders = {program.Sub("Documents"), program.Path()};
    }

    TempFolder program;
    FakeHost host;
    StartFlow flow{host};
};

TEST_F(StartFlowTest, NewProjectInProposedFolder) {
    host.model.AddMenuEntry(); // leftovers that a new project must not keep
    host.model.settings.scrIN = 99;
    const std::string projects = program.Sub("Documents/Didad Projects");
    host.chooserAnswer = ChooserAcceptedPath(ChooserPathText(projects, "NewProject_01"));

    flow.NewProject();

    ASSERT_EQ(host.chooserRequests.size(), 1u);
    const FolderRequest& request = host.chooserRequests[0];
    EXPECT_EQ(request.startFolder, projects);
    EXPECT_EQ(request.defaultName, "NewProject_01");
    EXPECT_EQ(request.prompt, kNewProjectPrompt);
    EXPECT_EQ(request.caption, kNewProjectCaption);

    const std::string folder = projects + "/NewProject_01";
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(host.model.projectFolder, folder);
    EXPECT_EQ(host.model.settings, ProjectSettings{});
    EXPECT_EQ(host.model.numOfMenus(), 0);
    EXPECT_EQ(host.model.programFolder, program.AsProgramFolder());
    EXPECT_NE(ReadText(folder + "/Dirovidadaz.js").find("IDE=1"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder + "/Temp.html"));
    EXPECT_EQ(host.activations, std::vector<bool>{false});
    EXPECT_EQ(host.returnsToEditor, 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(StartFlowTest, NewProjectInFolderWithOtherFilesKeepsThem) {
    const std::string folder = program.Sub("site");
    fs::create_directory(folder);
    WriteText(folder + "/Temp.html", "<html>my own page</html>");
    WriteText(folder + "/logo.gif", "GIF89a");
    host.chooserAnswer = folder + "/"; // typed with a trailing separator

    flow.NewProject();

    EXPECT_EQ(host.model.projectFolder, folder);
    EXPECT_EQ(ReadText(folder + "/Temp.html"), "<html>my own page</html>");
    EXPECT_EQ(ReadText(folder + "/logo.gif"), "GIF89a");
    EXPECT_TRUE(fs::exists(folder + "/Dirovidadaz.js"));
    EXPECT_EQ(host.returnsToEditor, 1);
}

TEST_F(StartFlowTest, NewProjectStopsWhenFolderCannotBeCreatedOrIsCancelled) {
    host.chooserAnswer = std::nullopt;
    flow.NewProject();
    EXPECT_FALSE(host.model.hasProject());

    // The system's reason, for a parent that is a file (the same for root)
    // and for a missing parent (creation is one level only).
    WriteText(program.Sub("a-file"), "plain");
    const std::string underFile = program.Sub("a-file/NewProject_01");
    const std::string missing = program.Sub("missing/NewProject_01");
    // A name holding one of the listed characters is told the rule instead.
    const std::string oddName = program.Sub("missing/Menus: <new>");
    for (const std::string& folder : {underFile, missing, oddName}) {
        host.chooserAnswer = folder;
        flow.NewProject();
        EXPECT_FALSE(fs::exists(folder));
    }

    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[0], "Cannot create folder: " + underFile + "\r\n\r\nNot a directory");
    EXPECT_EQ(host.messages[1], "Cannot create folder: " + missing + "\r\n\r\nNo such file or directory");
    EXPECT_EQ(host.messages[2], "Cannot create folder: " + oddName +
                                    "\r\n\r\nA folder name cannot contain any of the following characters:\r\n"
                                    "                        \\    /    :    *    ?    \"    <    >    |");
    EXPECT_FALSE(host.model.hasProject());
    EXPECT_TRUE(host.activations.empty());
    EXPECT_EQ(host.returnsToEditor, 0);

    // A documents folder that cannot take the projects folder gives way to the home folder.
    host.folders.documents = program.Sub("a-file");
    host.chooserAnswer = std::nullopt;
    flow.NewProject();
    EXPECT_EQ(host.chooserRequests.back().startFolder, program.Sub("Didad Projects"));
    EXPECT_TRUE(fs::is_directory(program.Sub("Didad Projects")));
}

TEST_F(StartFlowTest, ExistingScriptIsOpenedOnYesAndReplacedOnNo) {
    const std::string folder = program.Sub("old");
    fs::create_directory(folder);
    WriteProjectWithTwoMenus(folder);
    host.chooserAnswer = folder;

    host.warningAnswer = true;
    flow.NewProject();
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_EQ(host.warnings[0], ScriptExistsQuestion());
    EXPECT_EQ(host.model.numOfMenus(), 2);
    EXPECT_EQ(host.model.settings.fDefCap, "Verdana");
    EXPECT_EQ(host.activations, std::vector<bool>{true});

    host.warningAnswer = false;
    flow.NewProject();
    EXPECT_EQ(host.warnings.size(), 2u);
    EXPECT_EQ(host.model.numOfMenus(), 0);
    EXPECT_EQ(host.model.settings.fDefCap, "Arial");
    EXPECT_EQ(host.activations, (std::vector<bool>{true, false}));
    // The old script is overwritten at once.
    EXPECT_NE(ReadText(folder + "/Dirovidadaz.js").find("var numOfMenus=0"), std::string::npos);
}

// Regression: a chosen path that names a file must not leave the editor on a
// project whose script can never be written (and record it at program end).
TEST_F(StartFlowTest, UnwritableNewProjectLeavesActiveProjectAlone) {
    const std::string active = program.Sub("active");
    fs::create_directory(active);
    WriteProjectWithTwoMenus(active);
    ASSERT_TRUE(flow.OpenProjectFolder(active));
    const ProjectModel before = host.model;

    const std::string file = program.Sub("a-file");
    WriteText(file, "plain");
    host.chooserAnswer = file;
    flow.NewProject();

    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0], "Cannot create file " + JoinPath(file, kScriptFileName) + "\r\n\r\nNot a directory");
    EXPECT_EQ(host.model.projectFolder, before.projectFolder);
    EXPECT_EQ(host.model.entries, before.entries);
    EXPECT_EQ(host.model.settings, before.settings);
    EXPECT_EQ(host.activations.size(), 1u);
    EXPECT_EQ(host.returnsToEditor, 1);
    EXPECT_EQ(ReadText(file), "plain");
}

TEST_F(StartFlowTest, OpenProjectReadsScriptAndRewritesItForPreview) {
    const std::string folder = program.Sub("site");
    fs::create_directory(folder);
    WriteProjectWithTwoMenus(folder, ScriptMode::Final);
    host.chooserAnswer = folder;

    flow.OpenProject();

    ASSERT_EQ(host.chooserRequests.size(), 1u);
    EXPECT_EQ(host.chooserRequests[0].defaultName, "");
    EXPECT_EQ(host.chooserRequests[0].prompt, kOpenProjectPrompt);
    EXPECT_EQ(host.chooserRequests[0].caption, kOpenProjectCaption);
    EXPECT_EQ(host.model.projectFolder, folder);
    ASSERT_EQ(host.model.numOfMenus(), 2);
    EXPECT_EQ(host.model.entries[1].MX, 333);
    EXPECT_EQ(host.model.iSelectedMenu, 0);
    EXPECT_EQ(host.activations, std::vector<bool>{true});
    EXPECT_EQ(host.returnsToEditor, 1);
    EXPECT_NE(ReadText(folder + "/Dirovidadaz.js").find("IDE=1"), std::string::npos);
    EXPECT_GT(host.busyCalls, 0);
    EXPECT_EQ(host.busyDepth, 0);
}

// Regression: a typed relative path must be remembered as the full folder,
// or the next start would look for it relative to another working folder.
TEST_F(StartFlowTest, RelativePathBecomesFullProjectFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(program.Path());
    host.chooserAnswer = "typed";
    flow.NewProject();
    fs::current_path(before);

    EXPECT_EQ(host.model.projectFolder, program.Sub("typed"));
    EXPECT_TRUE(fs::exists(program.Sub("typed/Dirovidadaz.js")));
    EXPECT_EQ(FullFolderPath("/already/full"), "/already/full");
}

TEST_F(StartFlowTest, OpenProjectRefusalsKeepTheDialogUp) {
    // No script in the folder.
    const std::string empty = program.Sub("empty");
    fs::create_directory(empty);
    EXPECT_FALSE(flow.OpenProjectFolder(empty));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], ScriptNotFoundMessage());

    // A script the reader refuses: its own message, nothing changes.
    const std::string foreign = program.Sub("foreign");
    fs::create_directory(foreign);
    WriteText(foreign + "/Dirovidadaz.js", "var x = 1;\r\n");
    EXPECT_FALSE(flow.OpenProjectFolder(foreign));
    EXPECT_GT(host.messages.size(), 1u);
    EXPECT_EQ(host.messages.back(), "This is not Didad project file, or this project is corrupted.");
    EXPECT_EQ(ReadText(foreign + "/Dirovidadaz.js"), "var x = 1;\r\n");

    // A script with a bad number ends the read with the conversion error.
    const std::string broken = program.Sub("broken");
    fs::create_directory(broken);
    WriteProjectWithTwoMenus(broken);
    std::string text = ReadText(broken + "/Dirovidadaz.js");
    const std::size_t at = text.find("scrIN=");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 6, "scrIN=zz");
    WriteText(broken + "/Dirovidadaz.js", text);
    EXPECT_FALSE(flow.OpenProjectFolder(broken));
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_NE(host.errors[0].find("is not a valid integer value"), std::string::npos);

    EXPECT_FALSE(host.model.hasProject());
    EXPECT_TRUE(host.activations.empty());
    EXPECT_EQ(host.returnsToEditor, 0);
    EXPECT_EQ(host.busyDepth, 0);
}

TEST_F(StartFlowTest, LastEditedButtonAndBottomButtonFollowTheState) {
    int reads = 0;
    std::string remembered;
    const auto read = [&] {
        ++reads;
        return remembered;
    };

    // First state: the store is read; only an existing folder enables the button.
    EXPECT_EQ(flow.QuitCancelCaption(), "Quit");
    EXPECT_FALSE(flow.Shown(read).has_value());
    remembered = program.Sub("gone");
    EXPECT_FALSE(flow.Shown(read).has_value());
    remembered = program.Path();
    const auto shown = flow.Shown(read);
    ASSERT_TRUE(shown.has_value());
    EXPECT_TRUE(shown->enabled);
    EXPECT_EQ(shown->hint, program.Path());
    EXPECT_EQ(reads, 3);

    flow.QuitOrCancel();
    EXPECT_EQ(host.quits, 1);
    EXPECT_EQ(host.returnsToEditor, 0);

    // A final script that cannot be written keeps the editor up.
    EXPECT_FALSE(flow.ReturnFromEditor([] { return false; }));
    EXPECT_FALSE(flow.OpenedFromEditor());

    // Reopened from the editor: button disabled, store left alone, Cancel returns.
    EXPECT_TRUE(flow.ReturnFromEditor([] { return true; }));
    EXPECT_EQ(flow.QuitCancelCaption(), "Cancel");
    const auto again = flow.Shown(read);
    ASSERT_TRUE(again.has_value());
    EXPECT_FALSE(again->enabled);
    EXPECT_EQ(reads, 3);
    flow.QuitOrCancel();
    EXPECT_EQ(host.quits, 1);
    EXPECT_EQ(host.returnsToEditor, 1);
}

TEST(LastEditedProject, RecordedOnlyWithAnActiveProject) {
    std::vector<std::string> written;
    const auto write = [&](const std::string& folder) { written.push_back(folder); };
    ProjectModel model;
    RecordLastEditedProject(model, write);
    EXPECT_TRUE(written.empty());
    model.projectFolder = "/srv/menus/site";
    RecordLastEditedProject(model, write);
    EXPECT_EQ(written, std::vector<std::string>{"/srv/menus/site"});
}

TEST(FolderList, PathThenSortedVisibleSubFolders) {
    TempFolder root;
    fs::create_directories(root.Sub("work/beta"));
    fs::create_directories(root.Sub("work/Alpha"));
    fs::create_directories(root.Sub("work/.hidden"));
    WriteText(root.Sub("work/file.txt"), "x");

    const std::vector<FolderListItem> items = ListFolders(root.Sub("work") + "/");
    std::vector<std::string> labels;
    for (const auto& item : items) labels.push_back(item.label);
    ASSERT_GE(items.size(), 4u);
    EXPECT_EQ(items.front().path, "/");
    EXPECT_EQ(labels[labels.size() - 2], "Alpha");
    EXPECT_EQ(labels.back(), "beta");
    const FolderListItem& current = items[items.size() - 3];
    EXPECT_TRUE(current.current);
    EXPECT_EQ(current.path, root.Sub("work"));
    EXPECT_EQ(current.label, "work");
    EXPECT_EQ(items.back().depth, current.depth + 1);
    EXPECT_EQ(items.back().path, root.Sub("work/beta"));

    // A folder that does not exist falls back to its nearest existing parent.
    EXPECT_EQ(ExistingListFolder(root.Sub("work/nothing/deeper")), root.Sub("work"));
    EXPECT_EQ(ExistingListFolder("/"), "/");
}

TEST(FolderList, VolumeIsLongestRootAtASeparator) {
    const std::vector<std::string> roots{"/", "/mnt/data", "/mnt/data/inner", "/mnt/databank"};
    EXPECT_EQ(VolumeOf("/home/me", roots), "/");
    EXPECT_EQ(VolumeOf("/mnt/data", roots), "/mnt/data");
    EXPECT_EQ(VolumeOf("/mnt/data/x", roots), "/mnt/data");
    EXPECT_EQ(VolumeOf("/mnt/data/inner/y", roots), "/mnt/data/inner");
    EXPECT_EQ(VolumeOf("/mnt/databankx", roots), "/");
    EXPECT_EQ(VolumeOf("relative", roots), "");
}

} // namespace
} // namespace didad
