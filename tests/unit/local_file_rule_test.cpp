#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "preview/LocalFileRule.h"

using namespace didad;
using didad::testing::TempFolder;
using didad::testing::WriteFileBytes;
namespace fs = std::filesystem;

namespace {

// <root>/site/proj is the project; <root>/private holds the user's secrets,
// and the project holds links to them named as what a page may load.
class LocalFileRuleTest : public ::testing::Test {
protected:
    TempFolder root;
    std::string project = root.File("site/proj");

    void SetUp() override {
        fs::create_directories(project);
        fs::create_directories(root.File("private"));
        WriteFileBytes(root.File("private/secret.txt"), "my-password");
        WriteFileBytes(root.File("private/.env"), "API_KEY=x");
        WriteFileBytes(root.File("private/secret.json"), "{}");
        WriteFileBytes(root.File("site/site.css"), "body {}");
        WriteFileBytes(root.File("site/menu.js"), "var x;");
        WriteFileBytes(root.File("site/font.woff"), "wOFF");
        WriteFileBytes(project + "/inside.txt", "inside");
        fs::create_symlink(root.File("private/secret.txt"), project + "/a.js");
        fs::create_symlink(root.File("private/.env"), project + "/m.js");
        fs::create_symlink(root.File("private/secret.json"), project + "/b.mjs");
        fs::create_symlink(root.File("site/menu.js"), project + "/menu-link.js");
    }
    PreviewRequestStep Step(LocalFileUse use, const std::string& path, bool fileUrl = false) {
        return StepForPreviewRequest(use, fileUrl, path, project);
    }
};

using Step = PreviewRequestStep;
using Use = LocalFileUse;

} // namespace

TEST_F(LocalFileRuleTest, ALinkIsJudgedByTheFileItReachesNotByItsName) {
    EXPECT_EQ(Step(Use::Script, project + "/a.js"), Step::Refuse);
    EXPECT_EQ(Step(Use::Script, project + "/m.js"), Step::Refuse);
    EXPECT_EQ(Step(Use::Script, project + "/b.mjs"), Step::Refuse);
    EXPECT_EQ(Step(Use::Script, project + "/a.js", true), Step::Refuse);
    // A link to a real script outside is that script: it runs, unread.
    EXPECT_EQ(Step(Use::Script, project + "/menu-link.js"), Step::Load);
    EXPECT_EQ(StepForPreviewServe(project + "/menu-link.js", project, false).file, root.File("site/menu.js"));
}

TEST_F(LocalFileRuleTest, OutsideAWrongTypeAndAMissingFileLookTheSame) {
    for (const Use use : {Use::Font, Use::Image, Use::Stylesheet, Use::Script, Use::Other}) {
        EXPECT_EQ(Step(use, root.File("private/secret.txt")), Step::Refuse);
        EXPECT_EQ(Step(use, root.File("private/none.woff")), Step::Refuse);
        EXPECT_EQ(Step(use, root.File("private/secret.txt"), true), Step::Refuse);
        EXPECT_EQ(Step(use, root.File("private/none.woff"), true), Step::Refuse);
    }
    EXPECT_EQ(Step(Use::Font, root.File("site/font.woff")), Step::Load);
}

TEST_F(LocalFileRuleTest, TheProjectIsOneOriginAndOutsidePagesOpenAsLocalFiles) {
    EXPECT_EQ(Step(Use::Other, project + "/inside.txt"), Step::Load);
    EXPECT_EQ(Step(Use::Other, project + "/sub/../inside.txt", true), Step::ToPreviewScheme);
    EXPECT_EQ(Step(Use::MainFrame, project + "/inside.txt", true), Step::ToPreviewScheme);
    EXPECT_EQ(Step(Use::MainFrame, root.File("private/secret.txt")), Step::ToFileUrl);
    EXPECT_EQ(Step(Use::MainFrame, root.File("private/secret.txt"), true), Step::Load);
    // A local file an outside style sheet names goes to the project's origin,
    // which alone sees whether the page asks to read it.
    EXPECT_EQ(Step(Use::Stylesheet, root.File("site/site.css"), true), Step::ToPreviewScheme);
}

TEST_F(LocalFileRuleTest, OutsideFilesAreShownUnreadOrNotAtAll) {
    const auto serve = [&](const std::string& path, bool cors) {
        return StepForPreviewServe(path, project, cors).step;
    };
    EXPECT_EQ(serve(project + "/inside.txt", true), PreviewServeStep::Serve);
    EXPECT_EQ(serve(root.File("site/menu.js"), false), PreviewServeStep::AsFileUrl);
    EXPECT_EQ(serve(root.File("site/site.css"), false), PreviewServeStep::AsFileUrl);
    // Module imports and crossorigin loads ask to read: nothing.
    EXPECT_EQ(serve(root.File("site/menu.js"), true), PreviewServeStep::NotFound);
    EXPECT_EQ(serve(root.File("site/site.css"), true), PreviewServeStep::NotFound);
    EXPECT_EQ(serve(root.File("site/font.woff"), true), PreviewServeStep::Serve);
    EXPECT_EQ(serve(project + "/a.js", false), PreviewServeStep::NotFound);
    EXPECT_EQ(serve(root.File("private/none.js"), false), PreviewServeStep::NotFound);
}

TEST(PreviewLog, PreviewUrlsAreWrittenAsFileUrls) {
    EXPECT_EQ(WithFileUrls("!RarurAVI:ERROR(x is not defined@didad-preview://project:12/p/Temp.html@3)"),
              "!RarurAVI:ERROR(x is not defined@file:///p/Temp.html@3)");
    EXPECT_EQ(WithFileUrls("didad-preview://project/p"), "file:///p");
    EXPECT_EQ(WithFileUrls("didad-preview://project:/p didad-preview://projects/p"),
              "didad-preview://project:/p didad-preview://projects/p");
    EXPECT_EQ(WithFileUrls("Script error.@@0"), "Script error.@@0");
}
