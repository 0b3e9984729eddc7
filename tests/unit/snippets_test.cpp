#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "editor/Snippets.h"
#include "model/ValueHelpers.h"

namespace didad {
namespace {

namespace fs = std::filesystem;

class RecordedMessages : public IMessages {
public:
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    bool AskYesNo(const std::string&) override { return false; }
    std::vector<std::string> shown;
};

class TempFolder {
public:
    TempFolder() {
        path_ = fs::temp_directory_path() /
                ("didad-snippets-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string Path(const std::string& name = {}) const {
        return name.empty() ? path_.string() : (path_ / name).string();
    }

private:
    fs::path path_;
};

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(InsertSnippet, AtCaretAndInFrontOfASelection) {
    // Caret in the middle of a caption.
    SnippetInsertion r = InsertSnippet("Capt|ion", 4, 4, kNewLineSnippet);
    EXPECT_EQ(r.text, "Capt<BR>\r\n|ion");
    EXPECT_EQ(r.caret, 10u);

    // A selection is dropped, not replaced; the snippet goes in front of it,
    // whichever end the selection was made from.
    r = InsertSnippet("abcSELdef", 3, 6, "<X>");
    EXPECT_EQ(r.text, "abc<X>\r\nSELdef");
    EXPECT_EQ(r.caret, 8u);
    EXPECT_EQ(InsertSnippet("abcSELdef", 6, 3, "<X>").text, "abc<X>\r\nSELdef");

    // Ends of the text, an empty box, and a caret reported past the end.
    EXPECT_EQ(InsertSnippet("", 0, 0, "<BR>").text, "<BR>\r\n");
    EXPECT_EQ(InsertSnippet("ab", 0, 0, "<BR>").text, "<BR>\r\nab");
    r = InsertSnippet("ab", 9, 9, "<BR>");
    EXPECT_EQ(r.text, "ab<BR>\r\n");
    EXPECT_EQ(r.caret, r.text.size());

    // A box that keeps LF line breaks passes its own.
    EXPECT_EQ(InsertSnippet("a", 1, 1, "<BR>", "\n").text, "a<BR>\n");
}

TEST(AddText, Conversion) {
    EXPECT_EQ(ConvertAddText(" a  b"), "&nbsp;a&nbsp;&nbsp;b");
    EXPECT_EQ(ConvertAddText("a\r\nb"), "a<BR>\r\nb");
    EXPECT_EQ(ConvertAddText("a\r\n b"), "a<BR>\r\n&nbsp;b");
    // Three spaces: one pair and a single space, left to right.
    EXPECT_EQ(ConvertAddText("a   b"), "a&nbsp;&nbsp; b");
    // Only the first character's space is the "leading" one.
    EXPECT_EQ(ConvertAddText(" a b"), "&nbsp;a b");
    // A line starting with two spaces: the first is taken by the line rule.
    EXPECT_EQ(ConvertAddText("a\r\n  b"), "a<BR>\r\n&nbsp; b");
    // HTML typed by the author stays HTML.
    EXPECT_EQ(ConvertAddText("<B>&amp;</B>"), "<B>&amp;</B>");
    EXPECT_EQ(ConvertAddText(""), "");
}

TEST(AddText, SnippetAssembly) {
    AddTextOptions options; // Arial, 2, white, nothing default
    options.center = true;
    EXPECT_EQ(BuildAddTextSnippet(ConvertAddText("Hello"), options),
              "<CENTER><FONT FACE=\"Arial\" SIZE=\"2\" COLOR=\"#FFFFFF\">Hello\r\n</FONT></CENTER>");

    options = {};
    options.defaultFace = options.defaultSize = options.defaultColor = true;
    EXPECT_EQ(BuildAddTextSnippet("Hello", options), "Hello\r\n");
    EXPECT_EQ(BuildAddTextSnippet("", options), "");

    options = {};
    options.defaultFace = true;
    EXPECT_EQ(BuildAddTextSnippet("x", options), "<FONT SIZE=\"2\" COLOR=\"#FFFFFF\">x\r\n</FONT>");

    options = {};
    options.fontFace = "Comic Sans MS";
    options.fontSize = "big"; // taken as typed
    options.defaultColor = true;
    options.colour = Color{0x12, 0xAB, 0x0F};
    EXPECT_EQ(BuildAddTextSnippet("x", options), "<FONT FACE=\"Comic Sans MS\" SIZE=\"big\">x\r\n</FONT>");
    options.defaultColor = false;
    options.defaultFace = options.defaultSize = true;
    EXPECT_EQ(BuildAddTextSnippet("x", options), "<FONT COLOR=\"#12AB0F\">x\r\n</FONT>");

    // Body: every line ends with CR LF, a final break is not doubled, the
    // last line gets no <BR> of its own.
    options = {};
    options.defaultFace = options.defaultSize = options.defaultColor = true;
    EXPECT_EQ(BuildAddTextSnippet(ConvertAddText("a\r\nb"), options), "a<BR>\r\nb\r\n");
    EXPECT_EQ(BuildAddTextSnippet(ConvertAddText("a\r\n"), options), "a<BR>\r\n");
    EXPECT_EQ(BuildAddTextSnippet(ConvertAddText(" a  b"), options), "&nbsp;a&nbsp;&nbsp;b\r\n");
}

TEST(AddUrl, Snippet) {
    EXPECT_EQ(BuildAddUrlSnippet("page2.htm", "_blank", "Next"), "<A HREF=\"page2.htm\" TARGET=\"_blank\">Next</A>");
    EXPECT_EQ(BuildAddUrlSnippet("page2.htm", "", "Next"), "<A HREF=\"page2.htm\">Next</A>");
    EXPECT_EQ(BuildAddUrlSnippet("x", "_top", ""), "<A HREF=\"x\" TARGET=\"_top\"></A>");
    EXPECT_EQ(BuildAddUrlSnippet("", "", "a\r\nb"), "<A HREF=\"\">a\r\nb</A>");
}

TEST(AddImage, SnippetAndPathParts) {
    EXPECT_EQ(BuildAddImageSnippet("C:\\pics\\logo.gif", "0"), "<IMG SRC=\"logo.gif\" BORDER=\"0\">");
    EXPECT_EQ(BuildAddImageSnippet("/home/me/pics/logo.gif", "007"), "<IMG SRC=\"logo.gif\" BORDER=\"7\">");
    EXPECT_EQ(BuildAddImageSnippet("C:logo.gif", "abc"), "<IMG SRC=\"logo.gif\" BORDER=\"0\">");
    EXPECT_EQ(BuildAddImageSnippet("", ""), "<IMG SRC=\"\" BORDER=\"0\">");
    EXPECT_EQ(BorderValue("-5"), -5);

    EXPECT_EQ(FolderPart("/home/me/logo.gif"), "/home/me");
    EXPECT_EQ(FolderPart("C:\\pics\\logo.gif"), "C:\\pics");
    EXPECT_EQ(FolderPart("/logo.gif"), "/");
    EXPECT_EQ(FolderPart("logo.gif"), "");

    EXPECT_EQ(LinkChooserNextFolder("/old", false, ""), "/old");
    EXPECT_EQ(LinkChooserNextFolder("/old", true, "/web/a.htm"), "/web");
    EXPECT_EQ(PictureChooserNextFolder(false, ""), "");
    EXPECT_EQ(PictureChooserNextFolder(true, "/pics/a.gif"), "/pics");
}

TEST(AddImage, CopyDecision) {
    const std::string target = JoinPath("/proj", "logo.gif");
    EXPECT_FALSE(PictureNeedsCopy(target, target));
    EXPECT_TRUE(PictureNeedsCopy("/pics/logo.gif", target));
    EXPECT_TRUE(PictureNeedsCopy("", JoinPath("/proj", "")));
}

TEST(AddImage, CopiesIntoTheProjectFolder) {
    TempFolder temp;
    fs::create_directories(temp.Path("pics"));
    fs::create_directories(temp.Path("proj"));
    const std::string source = JoinPath(temp.Path("pics"), "logo.gif");
    WriteFile(source, "GIF89a-new");
    const std::string target = JoinPath(temp.Path("proj"), "logo.gif");
    WriteFile(target, "GIF89a-old");

    RecordedMessages messages;
    EXPECT_EQ(AddImageToProject(source, "2", temp.Path("proj"), messages), "<IMG SRC=\"logo.gif\" BORDER=\"2\">");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ReadFile(target), "GIF89a-new"); // replaced
    EXPECT_EQ(ReadFile(source), "GIF89a-new");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path("proj")), fs::directory_iterator()), 1);
}

TEST(AddImage, PictureAlreadyInTheProjectIsLeftAlone) {
    TempFolder temp;
    fs::create_directories(temp.Path("proj"));
    const std::string picture = JoinPath(temp.Path("proj"), "logo.gif");
    WriteFile(picture, "GIF89a");
    RecordedMessages messages;

    AddImageToProject(picture, "0", temp.Path("proj"), messages);
    // The same file under another spelling of its path must not be copied
    // onto itself, which would truncate it.
    const std::string dotted = JoinPath(JoinPath(temp.Path("proj"), "."), "logo.gif");
    AddImageToProject(dotted, "0", temp.Path("proj"), messages);
    fs::create_directory_symlink(temp.Path("proj"), temp.Path("link"));
    AddImageToProject(JoinPath(temp.Path("link"), "logo.gif"), "0", temp.Path("proj"), messages);
    // The same file in other letter case (here through a link, as a disk
    // that ignores case would give it).
    fs::create_directory_symlink(temp.Path("proj"), temp.Path("PROJ"));
    EXPECT_FALSE(PictureNeedsCopy(JoinPath(temp.Path("PROJ"), "logo.gif"), JoinPath(temp.Path("proj"), "logo.gif")));
    AddImageToProject(JoinPath(temp.Path("PROJ"), "logo.gif"), "0", temp.Path("proj"), messages);

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ReadFile(picture), "GIF89a");
}

TEST(AddImage, FoldersThatDifferOnlyInCaseAreTwoFoldersWhereTheDiskSaysSo) {
    // A picture in "Proj" must reach the project folder "proj" on a disk
    // that tells the cases apart, or the page would miss it without a word.
    TempFolder temp;
    fs::create_directories(temp.Path("proj"));
    fs::create_directories(temp.Path("Proj"));
    if (fs::equivalent(temp.Path("proj"), temp.Path("Proj"))) GTEST_SKIP() << "this disk ignores letter case";
    const std::string source = JoinPath(temp.Path("Proj"), "logo.gif");
    WriteFile(source, "GIF89a");
    RecordedMessages messages;
    AddImageToProject(source, "0", temp.Path("proj"), messages);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ReadFile(JoinPath(temp.Path("proj"), "logo.gif")), "GIF89a");
}

TEST(AddImage, FailedCopyTellsTheUserAndStillGivesTheSnippet) {
    TempFolder temp;
    RecordedMessages messages;
    const std::string missing = JoinPath(temp.Path(), "missing.gif");
    EXPECT_EQ(AddImageToProject(missing, "0", temp.Path(), messages), "<IMG SRC=\"missing.gif\" BORDER=\"0\">");
    ASSERT_EQ(messages.shown.size(), 0u) << "a missing picture right in the project is its own file";

    fs::create_directories(temp.Path("proj"));
    AddImageToProject("/nonexistent/x.gif", "0", temp.Path("proj"), messages);
    AddImageToProject("", "0", temp.Path("proj"), messages);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0],
              "Cannot copy this file: \r\n  /nonexistent/x.gif\r\nto project's folder.\r\n"
              "You may not see a picture unless you copy this file to project's folder.");
    EXPECT_EQ(messages.shown[1],
              "Cannot copy this file: \r\n  \r\nto project's folder.\r\n"
              "You may not see a picture unless you copy this file to project's folder.");
    EXPECT_TRUE(fs::is_empty(temp.Path("proj")));

    // A project folder that cannot take the file keeps its old picture.
    const std::string source = JoinPath(temp.Path(), "a.gif");
    WriteFile(source, "new");
    EXPECT_FALSE(CopyPicture(source, JoinPath(temp.Path("nofolder"), "a.gif")));
}

} // namespace
} // namespace didad
