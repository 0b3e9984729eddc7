#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "model/Errors.h"
#include "model/ProjectModel.h"
#include "model/ScriptTexts.h"
#include "model/ScriptWriter.h"
#include "workflow/Finalize.h"
#include "workflow/IntegrationNotes.h"

namespace fs = std::filesystem;
using namespace didad;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

class FinalizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        root_ = fs::temp_directory_path() / ("didad-finalize-" + std::to_string(rd()));
        dir_ = root_ / "project";
        fs::create_directories(dir_);
        model_.projectFolder = dir_.string();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root_, ignored);
    }
    fs::path root_;
    fs::path dir_;
    ProjectModel model_;
};

} // namespace

TEST(IntegrationNotes, CrLfLinesNamingTheTwoRequiredLinesAndTheOneLineForm) {
    const std::vector<std::string> lines = IntegrationNotesLines();
    ASSERT_EQ(lines.size(), 16u);
    const std::string text = IntegrationNotesText();
    std::string expected;
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
        // Text lines start with exactly one space.
        if (!line.empty()) {
            EXPECT_TRUE(line[0] == ' ' && line[1] != ' ') << line;
        }
        expected += line + "\r\n";
    }
    EXPECT_EQ(text, expected);

    // The lines to paste are the very lines of the page the program writes.
    const std::vector<std::string> page = DefaultPageLines();
    ASSERT_EQ(page.size(), 19u);
    EXPECT_EQ(lines[5], " " + page[5]);
    EXPECT_EQ(lines[9], " " + page[13]);
    EXPECT_EQ(lines[11], R"( "Dirovidadaz.js" should be copied (uploaded) with your page.)");
    EXPECT_EQ(lines[15], " " + OneLineHeadCodeLines("Dirovidadaz.js")[1]);
}

TEST_F(FinalizeTest, EmptyProjectGetsFinalScriptPageAndNotes) {
    model_.ResetForNewProject();
    FinalizeProject(model_);

    const std::string script = ReadAll(dir_ / kScriptFileName);
    EXPECT_NE(script.find(",IDE=0,"), std::string::npos);
    EXPECT_EQ(script, BuildProjectScript(model_, ScriptMode::Final));
    EXPECT_EQ(ReadAll(dir_ / "Temp.html"), JoinLinesCrLf(DefaultPageLines()));
    EXPECT_EQ(ReadAll(dir_ / "ReadMe.txt"), IntegrationNotesText());
}

TEST_F(FinalizeTest, FinalizeAfterPreviewDropsTheAddonAndKeepsTheUsersPage) {
    model_.AddMenuEntry();
    model_.settings.PRJ_sTemplate = "mine.html";
    const std::string page = "<html><script src=\"Dirovidadaz.js\"></script>hand made</html>";
    WriteAll(dir_ / "mine.html", page);
    WriteAll(dir_ / "ReadMe.txt", "my own notes");

    WriteProjectScript(model_, ScriptMode::Preview);
    const std::string addonMark = "function ySetSel(";
    ASSERT_NE(EditingAddonText().find(addonMark), std::string::npos);
    ASSERT_NE(ReadAll(dir_ / kScriptFileName).find(addonMark), std::string::npos);

    FinalizeProject(model_);
    const std::string script = ReadAll(dir_ / kScriptFileName);
    EXPECT_EQ(script.find(addonMark), std::string::npos);
    EXPECT_NE(script.find(",IDE=0,"), std::string::npos);
    EXPECT_EQ(ReadAll(dir_ / "mine.html"), page);
    EXPECT_EQ(ReadAll(dir_ / "ReadMe.txt"), IntegrationNotesText());
    EXPECT_FALSE(fs::exists(dir_ / "Temp.html"));

    // Finalizing twice writes the same files again.
    FinalizeProject(model_);
    EXPECT_EQ(ReadAll(dir_ / kScriptFileName), script);
}

TEST_F(FinalizeTest, FailedNotesWriteIsReportedWithThePath) {
    // A folder in the way of ReadMe.txt: the script is written, the notes are not.
    fs::create_directory(dir_ / "ReadMe.txt");
    try {
        FinalizeProject(model_);
        FAIL() << "finalize reported success";
    } catch (const CannotCreateFile& error) {
        EXPECT_EQ(error.path(), ReadMePath(model_));
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + ReadMePath(model_) + "\r\n\r\nIs a directory");
    }
    EXPECT_TRUE(fs::exists(dir_ / kScriptFileName));
    EXPECT_TRUE(fs::is_directory(dir_ / "ReadMe.txt"));
}

TEST_F(FinalizeTest, FailedScriptWriteStopsBeforeTheNotes) {
    // The project folder's parent has gone away.
    model_.projectFolder = (root_ / "gone" / "project").string();
    EXPECT_THROW(FinalizeProject(model_), CannotCreateFile);
    EXPECT_FALSE(fs::exists(root_ / "gone"));
}
