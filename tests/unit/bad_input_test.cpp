// Hand-edited scripts whose values the editor itself would never produce:
// whatever is opened must be saved so that it opens again the same, and the
// saved script must still be valid JavaScript for the page.
#include <gtest/gtest.h>

#include <string>

#include "RecordingMessages.h"
#include "TempFolder.h"
#include "model/ProjectModel.h"
#include "model/ScriptReader.h"
#include "model/ScriptWriter.h"

using namespace didad;
using didad::testing::RecordingMessages;
using didad::testing::TempFolder;
using didad::testing::WriteFileBytes;

namespace {

// Opens `script`, saves the project, opens the saved script again.
struct SaveAndReopen {
    TempFolder temp;
    RecordingMessages messages;
    ProjectModel opened;
    ProjectModel reopened;
    std::string saved;

    explicit SaveAndReopen(const std::string& script) {
        opened.projectFolder = temp.str();
        WriteFileBytes(opened.ScriptPath(), script);
        EXPECT_TRUE(ReadProjectScript(opened.ScriptPath(), opened, messages));
        WriteProjectScript(opened, ScriptMode::Final);
        saved = didad::testing::ReadFileBytes(opened.ScriptPath());
        reopened.projectFolder = temp.str();
        EXPECT_TRUE(ReadProjectScript(reopened.ScriptPath(), reopened, messages));
    }
};

std::string ScriptWithColours(const std::string& co, const std::string& cc, const std::string& cm) {
    ProjectModel model;
    model.AddMenuEntry();
    model.AddMenuEntry();
    std::string script = BuildProjectScript(model, ScriptMode::Final);
    auto replace = [&](const std::string& from, const std::string& to) {
        const auto at = script.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        script.replace(at, from.size(), to);
    };
    replace("var CO = new Array (\"transparent\",", "var CO = new Array (" + co + ",");
    replace("var CC = new Array (\"#000000\",", "var CC = new Array (" + cc + ",");
    replace("var CM = new Array (\"#008080\",", "var CM = new Array (" + cm + ",");
    return script;
}

} // namespace

// Regression: a colour holding a quote or a backslash was saved bare, which
// ended the string early, broke the page's script and, on the next open,
// shifted every later colour into the wrong menu. Such a value is no colour:
// it is replaced on opening, and every other value stays where it was.
TEST(HandEditedScript, ColourStringsWithQuotesBackslashesAndLineBreaksAreReplacedInPlace) {
    SaveAndReopen project(ScriptWithColours(R"("#12\"34")", R"("C:\\x\\")", "\"#00\\\r\nFF00\""));
    ASSERT_EQ(project.opened.numOfMenus(), 2);
    EXPECT_EQ(project.opened.entries[0].CO, "transparent");
    EXPECT_EQ(project.opened.entries[0].CC, "#000000");
    EXPECT_EQ(project.opened.entries[0].CM, "#008080");
    EXPECT_EQ(project.reopened.entries, project.opened.entries);
    ASSERT_EQ(project.messages.all().size(), 1U); // the first open only
    EXPECT_NE(project.messages.all()[0].find("Menu 1, Caption Color (CC): #000000"), std::string::npos);

    // The saved literals are closed where they should be: every value of the
    // second menu is still where it was.
    EXPECT_NE(project.saved.find(R"(var CO = new Array ("transparent","transparent");)"), std::string::npos);
    EXPECT_NE(project.saved.find(R"(var CC = new Array ("#000000","#000000");)"), std::string::npos);
    EXPECT_EQ(project.reopened.entries[1].CM, "#008080");

    // Proper colours are written exactly as before.
    SaveAndReopen plain(ScriptWithColours("\"transparent\"", "\"#ABCDEF\"", "\"#000000\""));
    EXPECT_NE(plain.saved.find("var CC = new Array (\"#ABCDEF\",\"#000000\");"), std::string::npos);
}
