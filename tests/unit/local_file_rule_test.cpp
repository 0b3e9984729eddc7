#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "TempFolder.h"
#include "model/PathRules.h"
#include "preview/AddressRule.h"
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
    std::string site; // none chosen unless a test chooses it

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
        return StepForPreviewRequest(use, fileUrl, path, {project, site});
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
    // A link to a real script outside is that script: it does not run.
    EXPECT_EQ(Step(Use::Script, project + "/menu-link.js"), Step::RefuseOutside);
    EXPECT_EQ(StepForPreviewServe(project + "/menu-link.js", {project, site}, false).file, root.File("site/menu.js"));
}

TEST_F(LocalFileRuleTest, OutsideAWrongTypeAndAMissingFileLookTheSame) {
    for (const Use use : {Use::Font, Use::Image, Use::Stylesheet, Use::Script}) {
        EXPECT_EQ(Step(use, root.File("private/secret.txt")), Step::Refuse);
        EXPECT_EQ(Step(use, root.File("private/none.woff")), Step::Refuse);
        EXPECT_EQ(Step(use, root.File("private/secret.txt"), true), Step::Refuse);
        EXPECT_EQ(Step(use, root.File("private/none.woff"), true), Step::Refuse);
    }
    // Asked to read an outside file, the page gets what a missing one gives;
    // only the user learns of it.
    EXPECT_EQ(Step(Use::Other, root.File("private/secret.txt")), Step::RefuseOutside);
    EXPECT_EQ(Step(Use::Other, root.File("private/none.txt")), Step::Refuse);
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
        return StepForPreviewServe(path, {project, site}, cors).step;
    };
    EXPECT_EQ(serve(project + "/inside.txt", true), PreviewServeStep::Serve);
    EXPECT_EQ(serve(root.File("site/menu.js"), false), PreviewServeStep::NotFound);
    EXPECT_EQ(serve(root.File("site/site.css"), false), PreviewServeStep::AsFileUrl);
    // Module imports and crossorigin loads ask to read: nothing.
    EXPECT_EQ(serve(root.File("site/menu.js"), true), PreviewServeStep::NotFound);
    EXPECT_EQ(serve(root.File("site/site.css"), true), PreviewServeStep::NotFound);
    EXPECT_EQ(serve(root.File("site/font.woff"), true), PreviewServeStep::Serve);
    EXPECT_EQ(serve(project + "/a.js", false), PreviewServeStep::NotFound);
    EXPECT_EQ(serve(root.File("private/none.js"), false), PreviewServeStep::NotFound);
}

TEST_F(LocalFileRuleTest, TheSiteFolderOnceChosenIsReadLikeTheProject) {
    EXPECT_EQ(Step(Use::Script, root.File("site/menu.js")), Step::RefuseOutside);
    EXPECT_EQ(Step(Use::Other, root.File("site/site.css")), Step::RefuseOutside);
    site = root.File("site") + "/";
    EXPECT_EQ(Step(Use::Script, root.File("site/menu.js")), Step::Load);
    EXPECT_EQ(Step(Use::Other, root.File("site/site.css"), true), Step::ToPreviewScheme);
    EXPECT_EQ(StepForPreviewServe(root.File("site/menu.js"), {project, site}, true).step, PreviewServeStep::Serve);
    // A neighbour whose name starts like the site's is not in it.
    fs::create_directories(root.File("site-old"));
    WriteFileBytes(root.File("site-old/menu.js"), "var y;");
    EXPECT_EQ(Step(Use::Script, root.File("site-old/menu.js")), Step::RefuseOutside);
    // Links inside the project that lead out stay outside.
    EXPECT_EQ(Step(Use::Other, project + "/a.js"), Step::RefuseOutside);
}

// An archive unpacked into the project made a second name for a secret, or
// holds files of another owner: outside, wherever the name lies.
TEST_F(LocalFileRuleTest, AFileWithTwoNamesOrAnotherOwnerIsOutside) {
    fs::create_hard_link(root.File("private/secret.txt"), project + "/notes.txt");
    fs::create_hard_link(root.File("private/.env"), project + "/env.js");
    WriteFileBytes(project + "/theirs.txt", "not made by the user");
    site = root.File("site");
    fs::create_hard_link(root.File("site/menu.js"), root.File("site/menu-copy.js"));
    EXPECT_EQ(Step(Use::Other, project + "/notes.txt"), Step::RefuseOutside);
    EXPECT_EQ(Step(Use::Script, project + "/env.js", true), Step::RefuseOutside);
    EXPECT_EQ(Step(Use::Script, root.File("site/menu.js")), Step::RefuseOutside);
    EXPECT_EQ(StepForPreviewServe(project + "/notes.txt", {project, site}, false).step, PreviewServeStep::NotFound);
    EXPECT_EQ(Step(Use::Other, project + "/inside.txt"), Step::Load);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown((project + "/theirs.txt").c_str(), 65534, 65534), 0);
        EXPECT_EQ(Step(Use::Other, project + "/theirs.txt"), Step::RefuseOutside);
    } else {
        // Only the file's owner, the user, can be tested without privileges.
        EXPECT_EQ(Step(Use::Other, project + "/theirs.txt"), Step::Load);
    }
}

TEST_F(LocalFileRuleTest, AUrlPathNamesNoFolderAndLeadsWhereTheDiskDoes) {
    const std::string canonical = ResolvedPath(project).string();
    const std::size_t depth = std::count(canonical.begin(), canonical.end(), '/');
    const std::string page = PreviewUrlPath(project + "/Temp.html", project, 7);
    EXPECT_EQ(page, "/7" + std::string(depth, '/') + "/Temp.html");
    EXPECT_EQ(fs::path(FileOfPreviewUrlPath(page, project)), fs::path(canonical) / "Temp.html");
    // "../site.css" from the page drops one empty part.
    const std::string up = "/7" + std::string(depth - 1, '/') + "/site.css";
    EXPECT_EQ(fs::path(FileOfPreviewUrlPath(up, project)), ResolvedPath(root.File("site/site.css")));
    EXPECT_EQ(PreviewUrlPath(root.File("site/site.css"), project, 7), up);
    // Far outside, or nothing: only as deep as the project folder, and a load.
    EXPECT_EQ(FileOfPreviewUrlPath("/7/etc/passwd", project), "/etc/passwd");
    EXPECT_EQ(FileOfPreviewUrlPath("/7" + std::string(depth + 1, '/') + "/x", project), "");
    EXPECT_EQ(FileOfPreviewUrlPath("/etc/passwd", project), "");
    EXPECT_EQ(FileOfPreviewUrlPath("/7", project), "");

    const std::string origin = "didad-preview://pab12";
    const std::string line = "!RarurAVI:ERROR(x is not defined@" + origin + page + "@3)";
    std::string encoded;
    for (const char c : canonical) encoded += c == ' ' ? std::string("%20") : std::string(1, c);
    EXPECT_EQ(WithFileUrls(line, origin, project),
              "!RarurAVI:ERROR(x is not defined@file://" + encoded + "/Temp.html@3)");
    const std::string other = "didad-preview://pab123" + page + " didad-preview://pab12:4" + page;
    EXPECT_EQ(WithFileUrls(other, origin, project), other);
}

TEST(OutsideFilesLine, NamesTheFirstFewFiles) {
    EXPECT_EQ(OutsideFilesLine({"menu.js"}),
              "The page uses 1 file outside the project (menu.js); choose its site folder to show it: Publish...");
    EXPECT_EQ(OutsideFilesLine({"a.js", "b.json", "c.txt", "d.js"}),
              "The page uses 4 files outside the project (a.js, b.json, c.txt, ...); choose its site folder to show "
              "them: Publish...");
}

TEST(AddressRule, ThisMachineAndLocalNetworksAreOutOfReach) {
    for (const char* host : {"127.0.0.1",
                             "127.255.0.9",
                             "0.0.0.0",
                             "10.1.2.3",
                             "172.16.0.1",
                             "172.31.255.255",
                             "192.168.1.1",
                             "169.254.169.254",
                             "100.64.0.1",
                             "224.0.0.251",
                             "255.255.255.255",
                             "::1",
                             "[::1]",
                             "::",
                             "fc00::1",
                             "fd12:3456::1",
                             "fe80::1",
                             "fe80::1%25eth0",
                             "::ffff:127.0.0.1",
                             "::ffff:7f00:1",
                             "::ffff:c0a8:101",
                             "64:ff9b::a00:1",
                             "localhost",
                             "LOCALHOST.",
                             "app.localhost",
                             "printer.local",
                             "nas.lan",
                             "db.internal",
                             "router.home.arpa",
                             "intranet",
                             "1.2.3.0x7f",
                             "",
                             "1:2:3",
                             "gggg::1"})
        EXPECT_TRUE(IsLocalNetworkHost(host)) << host;
    for (const char* host : {"8.8.8.8", "172.32.0.1", "172.15.255.255", "192.169.0.1", "100.128.0.1", "169.255.0.1",
                             "2001:4860:4860::8888", "::ffff:8.8.8.8", "fbff::1", "example.com", "cdn.example.org",
                             "localhost.example.com", "local.example.net"})
        EXPECT_FALSE(IsLocalNetworkHost(host)) << host;
}
