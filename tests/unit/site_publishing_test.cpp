// Publishing to the user's site: the menus' code put into pages found as a
// browser reads them, and taken out again leaving the exact bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "TempFolder.h"
#include "model/ProjectModel.h"
#include "model/ScriptTexts.h"
#include "model/ScriptWriter.h"
#include "runtime/PageCode.h"
#include "workflow/SitePublishing.h"

using namespace didad;
using didad::testing::ReadFileBytes;
using didad::testing::TempFolder;
using didad::testing::WriteFileBytes;
namespace fs = std::filesystem;

namespace {

struct RealPage {
    const char* name;
    std::string bytes;
    std::string lineBreak;
    std::string headTag; // the tag the head code must follow (the character set's, when declared)
    std::string bodyTag;
};

// Pages as they come from editors of several decades.
std::vector<RealPage> RealPages() {
    return {
        {"uppercase, attributes over lines, <body> in a comment, a script and a title, CRLF",
         "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML>\r\n<HEAD\r\n  PROFILE=\"x\">\r\n"
         "<TITLE>Our <body> shop</TITLE>\r\n<!-- <BODY bgcolor=red> -->\r\n"
         "<SCRIPT>document.write('<body>');</SCRIPT>\r\n<STYLE>/* <body> */</STYLE>\r\n</HEAD>\r\n"
         "<BODY BGCOLOR=\"#FFFFFF\"\r\n      onLoad=\"if (a > b) "
         "go('<body>')\">\r\n<P>Hello</P>\r\n</BODY>\r\n</HTML>\r\n",
         "\r\n", "<HEAD\r\n  PROFILE=\"x\">", "<BODY BGCOLOR=\"#FFFFFF\"\r\n      onLoad=\"if (a > b) go('<body>')\">"},
        {"UTF-8 with the mark, LF, lower case, <header> before the body's text",
         "\xEF\xBB\xBF<!doctype html>\n<html lang=\"de\">\n<head><meta charset=\"utf-8\"><title>Gr\xC3\xBC\xC3\x9F"
         "e</title></head>\n<body class='x'><header>K\xC3\xB6pfe</header>\n<script><!-- if (a) { '<script>"
         "</script>'; } --></script>\n</body>\n</html>\n",
         "\n", "<meta charset=\"utf-8\">", "<body class='x'>"},
        {"windows-1252, mixed case, no DOCTYPE, a single line",
         std::string("<Html><HeAd><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
                     "<title>Caf\xE9</title></HeAd><bOdY>Fa\xE7"
                     "ade \x93quoted\x94</bOdY></Html>"),
         "\r\n", "charset=windows-1252\">", "<bOdY>"},
    };
}

std::string Framed(const std::vector<std::string>& lines, const std::string& lineBreak) {
    std::string text;
    for (const std::string& line : lines) text += lineBreak + line;
    return text;
}

} // namespace

TEST(PageCode, RealPagesGetTheCodeAfterTheirTagsAndGiveItBackByteForByte) {
    for (const RealPage& page : RealPages()) {
        SCOPED_TRACE(page.name);
        const PageCodeEdit added = WithMenuCode(page.bytes, "../js/Dirovidadaz.js", IncludeForm::Classic);
        ASSERT_EQ(added.problem, "");
        ASSERT_TRUE(added.changed);
        const std::string head = Framed(HeadCodeLines("../js/Dirovidadaz.js"), page.lineBreak);
        const std::string body = Framed(BodyCodeLines(), page.lineBreak);
        EXPECT_NE(added.text.find(page.headTag + head), std::string::npos);
        EXPECT_NE(added.text.find(page.bodyTag + body), std::string::npos);
        EXPECT_EQ(added.text.size(), page.bytes.size() + head.size() + body.size());
        const PageCodeState state = InspectPage(added.text);
        EXPECT_TRUE(state.headCode && state.bodyCode);

        // Published again with the same path, in either form: nothing to
        // write, the pair keeps its form.
        EXPECT_FALSE(WithMenuCode(added.text, "../js/Dirovidadaz.js").changed);
        EXPECT_FALSE(WithMenuCode(added.text, "../js/Dirovidadaz.js", IncludeForm::Classic).changed);
        // Another path: only the path changes.
        const PageCodeEdit mended = WithMenuCode(added.text, "Dirovidadaz.js");
        ASSERT_TRUE(mended.changed);
        EXPECT_EQ(mended.text.size() + 3 + 3, added.text.size());
        EXPECT_NE(mended.text.find(Framed(HeadCodeLines("Dirovidadaz.js"), page.lineBreak)), std::string::npos);

        EXPECT_EQ(WithoutMenuCode(mended.text).text, page.bytes);
        EXPECT_EQ(WithoutMenuCode(added.text).text, page.bytes);
        EXPECT_FALSE(WithoutMenuCode(page.bytes).changed);

        // The one line: only a head frame, which keeps its form when the path
        // moves, becomes the pair when asked, and goes as the pair does.
        const PageCodeEdit oneLine = WithMenuCode(page.bytes, "../js/Dirovidadaz.js");
        const std::string line = Framed(OneLineHeadCodeLines("../js/Dirovidadaz.js"), page.lineBreak);
        EXPECT_NE(oneLine.text.find(page.headTag + line), std::string::npos);
        EXPECT_EQ(oneLine.text.size(), page.bytes.size() + line.size());
        EXPECT_TRUE(InspectPage(oneLine.text).oneLine && InspectPage(oneLine.text).Complete());
        EXPECT_FALSE(InspectPage(added.text).oneLine);
        const PageCodeEdit moved = WithMenuCode(oneLine.text, "js/Dirovidadaz.js");
        EXPECT_NE(moved.text.find(Framed(OneLineHeadCodeLines("js/Dirovidadaz.js"), page.lineBreak)),
                  std::string::npos);
        EXPECT_EQ(moved.text.find("makeDidad"), std::string::npos);
        EXPECT_EQ(WithMenuCode(oneLine.text, "../js/Dirovidadaz.js", IncludeForm::Classic).text, added.text);
        EXPECT_EQ(WithoutMenuCode(oneLine.text).text, page.bytes);
        EXPECT_EQ(WithoutMenuCode(moved.text).text, page.bytes);
    }
}

TEST(PageCode, DamagedFramesAreLeftByteForByteWithTheReason) {
    const std::string head = "<!-- Head Code by Didad -->";
    const std::string headEnd = "<!-- End Head Code Didad -->";
    const std::string body = "<!-- Body Code by Didad -->";
    const std::string bodyEnd = "<!-- End Body Code by Didad -->";
    const std::string script = "\n<script defer src=\"Dirovidadaz.js\"></script>\n";
    const struct {
        std::string page;
        const char* reason;
    } cases[] = {
        {"<html><head>" + head + script + body + headEnd + "</head><body>x" + bodyEnd + "</body></html>",
         "the frames of the menus' code overlap"},
        {"<html><head></head><body>" + body + "x" + head + script + bodyEnd + "y" + headEnd + "</body></html>",
         "the frames of the menus' code overlap"},
        {"<html><head>" + head + script + body + "x" + bodyEnd + headEnd + "</head><body></body></html>",
         "one frame of the menus' code lies inside the other"},
        {"<html><head>" + head + script + headEnd + head + script + headEnd + "</head><body></body></html>",
         "the menus' code is in it twice"},
        {"<html><head>" + head + script + head + script + headEnd + "</head><body></body></html>",
         "the menus' code is in it twice"},
        {"<html><head></head><body>x" + bodyEnd + "</body></html>", "the frame of the menus' code is broken"},
        {"<html><head>" + head + script + "</head><body>" + headEnd + "</body></html>",
         "a frame of the menus' code holds the page's <body> tag"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        EXPECT_EQ(InspectPage(c.page).problem, c.reason);
        for (const PageCodeEdit& edit :
             {WithMenuCode(c.page, "Dirovidadaz.js"), WithMenuCode(c.page, "Dirovidadaz.js", IncludeForm::Classic),
              WithoutMenuCode(c.page)}) {
            EXPECT_EQ(edit.problem, c.reason);
            EXPECT_FALSE(edit.changed);
        }
    }
}

TEST(PageCode, PagesItCannotHandleAreLeftAloneWithTheReason) {
    const struct {
        std::string page;
        const char* reason;
    } cases[] = {
        {"<html><body>x</body></html>", "no <head> tag"},
        {"<html><head></head><!-- <body> --></html>", "no <body> tag"},
        {"<html><head></head><frameset cols=\"50%,50%\"><frame src=a.html></frameset></html>", "a frameset page"},
        {std::string("<html><head></head><body>\0</body>", 33), "not a text file"},
        {"\xFF\xFE<\0h\0t\0m\0l\0>\0", "written in UTF-16, which is not handled"},
        {"<head><script src=\"js/DIROVIDADAZ.JS\"></script></head><body>",
         "it loads the menus outside the framed lines; edit it by hand"},
        {"<head><!-- Head Code by Didad --></head><body>", "the frame of the menus' code is broken"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InspectPage(c.page).problem, c.reason);
        const PageCodeEdit edit = WithMenuCode(c.page, "Dirovidadaz.js");
        EXPECT_EQ(edit.problem, c.reason);
        EXPECT_FALSE(edit.changed);
    }
    // The default page of a project carries the code, and it can be taken out.
    const std::string defaultPage = JoinLinesCrLf(DefaultPageLines());
    EXPECT_FALSE(WithMenuCode(defaultPage, "Dirovidadaz.js").changed);
    EXPECT_EQ(WithoutMenuCode(defaultPage).text.find("Didad"), std::string::npos);
}

class SitePublishing : public ::testing::Test {
protected:
    TempFolder temp;
    std::string site;
    const std::string page = "<html>\n<head><title>t</title></head>\n<body>\n<p>x</p>\n</body>\n</html>\n";

    void SetUp() override {
        site = temp.File("site");
        fs::create_directories(temp.path() / "site" / "shop" / "chairs");
        WriteFileBytes(temp.File("site/index.html"), page);
        WriteFileBytes(temp.File("site/shop/chairs/oak.HTM"), page);
        WriteFileBytes(temp.File("site/notes.txt"), "not a page");
        WriteFileBytes(temp.File("outside.html"), page);
    }
    ino_t Inode(const std::string& name) const {
        struct stat info {};
        return ::stat(temp.File(name).c_str(), &info) == 0 ? info.st_ino : 0;
    }
    PublishRequest Request(std::vector<PageWish> pages, const std::string& scriptFolder = "js") {
        PublishRequest request;
        request.site = site;
        request.scriptFolder = scriptFolder;
        request.pages = std::move(pages);
        return request;
    }
};

TEST_F(SitePublishing, PagesInSubfoldersLoadTheScriptByTheirOwnPathAndUnchangedPagesAreNotWritten) {
    const std::vector<PageOutcome> planned =
        PlanPublish(Request({{"index.html", true}, {"shop/chairs/oak.HTM", true}}));
    ASSERT_EQ(planned.size(), 2u);
    EXPECT_EQ(planned[0].change, PageChange::Added);
    EXPECT_FALSE(fs::exists(temp.path() / "site" / "js")); // a plan writes nothing
    EXPECT_EQ(ReadFileBytes(temp.File("site/index.html")), page);

    const auto outcomes = Publish(Request({{"index.html", true}, {"shop/chairs/oak.HTM", true}}), "script text");
    EXPECT_EQ(OutcomeText(outcomes[0]), "added");
    EXPECT_EQ(OutcomeText(outcomes[1]), "added");
    EXPECT_EQ(ReadFileBytes(temp.File("site/js/Dirovidadaz.js")), "script text");
    EXPECT_NE(
        ReadFileBytes(temp.File("site/shop/chairs/oak.HTM")).find("<script defer src=\"../../js/Dirovidadaz.js\">"),
        std::string::npos);
    EXPECT_NE(ReadFileBytes(temp.File("site/index.html")).find("src=\"js/Dirovidadaz.js\""), std::string::npos);
    EXPECT_EQ(ScriptSrcFor("a b/p.html", "my #js"), "../my%20%23js/Dirovidadaz.js");

    const auto listed = ListSitePages(site);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].path, "index.html");
    EXPECT_EQ(listed[1].path, "shop/chairs/oak.HTM");
    EXPECT_TRUE(listed[1].state.oneLine);

    // A page as it should be keeps its very file; pages whose path moves
    // are mended and keep their permissions.
    const auto indexInode = Inode("site/index.html");
    const auto oakInode = Inode("site/shop/chairs/oak.HTM");
    fs::permissions(temp.path() / "site/shop/chairs/oak.HTM", fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::replace);
    // Only the administrator can give a file away; as anyone else the owner is the user's anyway.
    const bool root = ::geteuid() == 0;
    if (root) ASSERT_EQ(::chown(temp.File("site/shop/chairs/oak.HTM").c_str(), 4321, 4322), 0);
    const auto same = Publish(Request({{"index.html", true}, {"shop/chairs/oak.HTM", true}}), "script text");
    EXPECT_EQ(OutcomeText(same[0]), "unchanged");
    EXPECT_EQ(Inode("site/index.html"), indexInode);
    EXPECT_EQ(Inode("site/shop/chairs/oak.HTM"), oakInode);
    const auto moved = Publish(Request({{"index.html", true}, {"shop/chairs/oak.HTM", true}}, "shop"), "script");
    EXPECT_EQ(OutcomeText(moved[0]), "mended");
    EXPECT_NE(ReadFileBytes(temp.File("site/shop/chairs/oak.HTM")).find("src=\"../Dirovidadaz.js\""),
              std::string::npos);
    EXPECT_EQ(fs::status(temp.path() / "site/shop/chairs/oak.HTM").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    struct stat oak {};
    ASSERT_EQ(::stat(temp.File("site/shop/chairs/oak.HTM").c_str(), &oak), 0);
    if (root) EXPECT_TRUE(oak.st_uid == 4321 && oak.st_gid == 4322);

    const auto removed = Unpublish(site, {"index.html", "shop/chairs/oak.HTM"});
    EXPECT_EQ(OutcomeText(removed[1]), "removed");
    EXPECT_EQ(ReadFileBytes(temp.File("site/shop/chairs/oak.HTM")), page);
    EXPECT_EQ(ReadFileBytes(temp.File("site/index.html")), page);
    EXPECT_EQ(OutcomeText(Unpublish(site, {"shop/chairs/oak.HTM"})[0]), "unchanged");
}

TEST_F(SitePublishing, NothingOutsideTheSiteIsWrittenAndPagesItCannotHandleAreReported) {
    fs::create_symlink("../outside.html", temp.path() / "site/away.html");
    fs::create_symlink("index.html", temp.path() / "site/home.html");
    fs::create_directory_symlink(temp.path(), temp.path() / "site/everything");
    WriteFileBytes(temp.File("site/huge.html"), std::string(kMaxPageBytes + 1, ' '));
    WriteFileBytes(temp.File("site/frames.html"), "<html><head></head><frameset></frameset></html>");

    const auto listed = ListSitePages(site);
    std::vector<std::string> seen;
    for (const SitePage& p : listed) seen.push_back(p.path + " | " + p.state.problem);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "away.html | a link that leaves the site folder",
                        "frames.html | a frameset page",
                        "home.html | a link to index.html, published in its own place",
                        "huge.html | larger than 16 MB",
                        "index.html | ",
                        "shop/chairs/oak.HTM | ",
                    }));

    PublishRequest request = Request({{"away.html", true},
                                      {"../outside.html", true},
                                      {"everything/outside.html", true},
                                      {"home.html", true},
                                      {"huge.html", true},
                                      {"frames.html", true},
                                      {"index.html", true}});
    const auto outcomes = Publish(request, "script");
    std::vector<std::string> lines;
    for (const PageOutcome& o : outcomes) lines.push_back(OutcomeText(o) + (o.error ? " (error)" : ""));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "skipped: a link that leaves the site folder (error)",
                         "skipped: outside the site folder (error)",
                         "skipped: reached through a folder link; name it by its own path (error)",
                         "skipped: a link to index.html, published in its own place",
                         "skipped: larger than 16 MB (error)",
                         "skipped: a frameset page (error)",
                         "added",
                     }));
    EXPECT_EQ(ReadFileBytes(temp.File("outside.html")), page);

    // The project's own page keeps loading the project's script.
    request.pages = {{"index.html", true}};
    request.scriptFolder = "";
    request.projectPage = temp.File("site/index.html");
    EXPECT_EQ(OutcomeText(Publish(request, "script")[0]), "skipped: the project's own page keeps the project's script");

    request.scriptFolder = "../js";
    EXPECT_THROW(Publish(request, "script"), PublishError);
    request.scriptFolder = "everything";
    EXPECT_THROW(Publish(request, "script"), PublishError);
    EXPECT_FALSE(fs::exists(temp.path() / "js"));
    EXPECT_FALSE(fs::exists(temp.path() / "Dirovidadaz.js"));
}

namespace {

// A real project's final script with `menus` menus, as another project would have published it.
std::string FinalScriptWith(int menus) {
    ProjectModel model;
    for (int i = 0; i < menus; ++i) model.entries.emplace_back();
    return BuildProjectScript(model, ScriptMode::Final);
}

} // namespace

TEST_F(SitePublishing, AScriptThisProjectDidNotPublishLastIsReplacedOnlyWhenAsked) {
    fs::create_directories(temp.path() / "a");
    fs::create_directories(temp.path() / "b");
    PublishRequest a = Request({{"index.html", true}});
    a.projectFolder = temp.File("a");
    a.recordFile = temp.File("data/published-scripts");
    PublishRequest b = a;
    b.projectFolder = temp.File("b");
    const std::string scriptFile = temp.File("site/js/Dirovidadaz.js");

    // A publishes, edits and publishes again over its own script: no question.
    const std::string a1 = FinalScriptWith(3);
    Publish(a, a1);
    EXPECT_EQ(FindOtherScript(a, "edited"), std::nullopt);
    Publish(a, "edited");
    Publish(a, a1);

    // B finds A's script: refused, nothing written, not even the page.
    const auto other = FindOtherScript(b, "b's script");
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(other->menus, 3);
    EXPECT_EQ(other->path, scriptFile);
    EXPECT_NE(OtherScriptQuestion(*other).find("(a Didad script with 3 menus, last changed 2"), std::string::npos);
    const std::string indexBefore = ReadFileBytes(temp.File("site/index.html"));
    b.pages = {{"index.html", true}, {"shop/chairs/oak.HTM", true}};
    EXPECT_THROW(Publish(b, "b's script"), OtherScriptError);
    EXPECT_EQ(ReadFileBytes(scriptFile), a1);
    EXPECT_EQ(ReadFileBytes(temp.File("site/shop/chairs/oak.HTM")), page);
    // The very same bytes count as its own; taking the menus out writes no script.
    EXPECT_EQ(FindOtherScript(b, a1), std::nullopt);
    b.pages = {{"index.html", false}};
    const std::string question = PublishConfirmationText(b, PlanPublish(b));
    EXPECT_EQ(question.find("No page is to show the menus, so Dirovidadaz.js is not written"), 0u) << question;
    EXPECT_NE(
        question.find("\r\nPages the menus are taken out of (1):\r\n    index.html\r\n\r\nTake the menus out now?"),
        std::string::npos)
        << question;
    EXPECT_EQ(OutcomeText(Publish(b, "b's script")[0]), "removed");
    EXPECT_EQ(ReadFileBytes(scriptFile), a1);

    // Asked, B replaces it; then A's next publish is the one that asks.
    b.pages = {{"index.html", true}};
    b.replaceOtherScript = true;
    Publish(b, "b's script");
    EXPECT_EQ(ReadFileBytes(scriptFile), "b's script");
    EXPECT_THROW(Publish(a, a1), OtherScriptError);
    const auto notOurs = FindOtherScript(a, a1);
    ASSERT_TRUE(notOurs.has_value());
    EXPECT_EQ(notOurs->menus, -1);
    EXPECT_EQ(ReadFileBytes(temp.File("site/index.html")), indexBefore);
}

TEST_F(SitePublishing, TheProjectFolderIsNeverTheScriptFolderHoweverItIsNamed) {
    fs::create_directories(temp.path() / "site" / "project");
    fs::create_directory_symlink("project", temp.path() / "site" / "alias");
    PublishRequest request = Request({{"index.html", true}}, "project");
    request.projectFolder = temp.File("site/project") + "/";
    for (const char* folder : {"project", "alias", "./shop/../project/"}) {
        request.scriptFolder = folder;
        EXPECT_THROW(PlanPublish(request), PublishError) << folder;
        EXPECT_THROW(Publish(request, "script"), PublishError) << folder;
    }
    EXPECT_FALSE(fs::exists(temp.path() / "site/project/Dirovidadaz.js"));
    EXPECT_EQ(ReadFileBytes(temp.File("site/index.html")), page);
    // Its subfolder is a folder like any other.
    request.scriptFolder = "project/js";
    EXPECT_EQ(OutcomeText(Publish(request, "script")[0]), "added");
}
