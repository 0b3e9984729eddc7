#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/EditorLogic.h"
#include "model/Errors.h"
#include "preview/PreviewLogic.h"

#include "SilentEditorView.h"

using namespace didad;

namespace {

// Written on the log's own thread; read on the test's only after a Flush.
struct FakeFiles {
    std::map<std::string, std::string> files;
    int writes = 0;
    int replaces = 0;
    bool fail = false;
    bool failAppendHalfway = false;
    JsErrorLog::FileOps Ops() {
        return {[this](const std::string& path, const std::string& text) {
                    if (fail) throw CannotCreateFile(path);
                    files[path] = text;
                    ++writes;
                    ++replaces;
                },
                [this](const std::string& path, const std::string& text) {
                    if (fail) throw CannotCreateFile(path);
                    if (failAppendHalfway) {
                        files[path] += text.substr(0, text.size() / 2);
                        throw CannotCreateFile(path);
                    }
                    files[path] += text;
                    ++writes;
                }};
    }
};

int LineCount(const std::string& text) {
    int lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
    return lines;
}

using NullView = didad::testing::SilentEditorView;

} // namespace

TEST(FirstPreviewPlace, BesideTheMainWindowWhereThereIsRoomElseCentred) {
    const ScreenRect screen{0, 0, 1920, 1040};
    // Right of a centred main window, at its top.
    EXPECT_EQ(FirstPreviewPlace(screen, {764, 355, 392, 329}, 454, 237), (ScreenRect{1164, 355, 454, 237}));
    // No room on the right: on the left.
    EXPECT_EQ(FirstPreviewPlace(screen, {1500, 100, 392, 329}, 454, 237), (ScreenRect{1038, 100, 454, 237}));
    // A small screen: centred; a main window low on the screen keeps the preview on it.
    EXPECT_EQ(FirstPreviewPlace({0, 0, 800, 600}, {204, 135, 392, 329}, 454, 237), (ScreenRect{173, 181, 454, 237}));
    EXPECT_EQ(FirstPreviewPlace(screen, {100, 1000, 392, 329}, 454, 237).top, 1040 - 237);
}

TEST(RevealPosition, ScrollsOnlyWhenTheMenuIsOutOfView) {
    // Across: 454 wide at 0; a menu at 300 is in view (454 is not below 340).
    EXPECT_EQ(RevealPosition({0, 0}, 454, 237, 300, 0, 150).horizontal, 0);
    // At 500, 150 wide: 500 + 75 - 227.
    EXPECT_EQ(RevealPosition({0, 0}, 454, 237, 500, 0, 150).horizontal, 348);
    // Left of the visible part.
    EXPECT_EQ(RevealPosition({200, 0}, 454, 237, 10, 0, 150).horizontal, 10 + 75 - 227);
    // Exactly at the margin: 454 + 0 < 414 + 40 is false.
    EXPECT_EQ(RevealPosition({0, 0}, 454, 237, 414, 0, 150).horizontal, 0);
    EXPECT_EQ(RevealPosition({0, 0}, 454, 237, 415, 0, 150).horizontal, 415 + 75 - 227);

    // Down: 237 high at 0; top 150 stays, top 160 goes to 160 - 118.
    EXPECT_EQ(RevealPosition({0, 0}, 454, 237, 0, 150, 150).vertical, 0);
    EXPECT_EQ(RevealPosition({0, 0}, 454, 237, 0, 160, 150).vertical, 42);
    EXPECT_EQ(RevealPosition({0, 300}, 454, 237, 0, 100, 150).vertical, 100 - 118);
    // Halves round toward zero: an odd breadth and odd sizes.
    EXPECT_EQ(RevealPosition({0, 0}, 455, 239, 600, 400, 151).horizontal, 600 + 75 - 227);
    EXPECT_EQ(RevealPosition({0, 0}, 455, 239, 600, 400, 151).vertical, 400 - 119);
}

TEST(PreviewNavigation, BackToPreviewShowsOnlyForAnotherPage) {
    PreviewNavigation nav;
    // Nothing loaded by the editor yet: an empty preview URL never matches.
    nav.DocumentComplete("file:///p/Temp.html");
    EXPECT_TRUE(nav.BackToPreviewShown());

    nav.StartPreviewLoad();
    nav.DocumentComplete("file:///p/Temp.html");
    EXPECT_FALSE(nav.BackToPreviewShown());
    EXPECT_EQ(nav.PreviewUrl(), "file:///p/Temp.html");
    EXPECT_FALSE(nav.Navigating());

    // An anchor or query only adds to the address.
    nav.DocumentComplete("file:///p/Temp.html#top");
    EXPECT_FALSE(nav.BackToPreviewShown());
    // A link that leads away.
    nav.DocumentComplete("https://example.org/");
    EXPECT_TRUE(nav.BackToPreviewShown());
    // The button keeps its state on a page that contains the preview URL.
    nav.DocumentComplete("file:///p/Temp.html?x");
    EXPECT_TRUE(nav.BackToPreviewShown());
    // Reloading the preview hides it.
    nav.StartPreviewLoad();
    nav.DocumentComplete("file:///p/Temp.html");
    EXPECT_FALSE(nav.BackToPreviewShown());
}

TEST(JsErrorLog, WritesEveryChangeAndStartsOverAfter200Lines) {
    FakeFiles disk;
    JsErrorLog log("/prog/js.log", disk.Ops());
    disk.files["/prog/js.log"] = "from the last run\r\n";
    log.Append("first");
    log.Flush();
    EXPECT_EQ(disk.files["/prog/js.log"], "first\r\n");
    for (int i = 2; i <= 200; ++i) {
        log.Append("line " + std::to_string(i));
        log.Flush();
    }
    EXPECT_EQ(log.Lines().size(), 200u);
    EXPECT_EQ(LineCount(disk.files["/prog/js.log"]), 200);
    // Only the run's first write replaced the file; the others appended.
    EXPECT_EQ(disk.replaces, 1);

    // The 201st line is written with the rest, then the log is emptied
    // without another write.
    log.Append("line 201");
    log.Flush();
    EXPECT_EQ(LineCount(disk.files["/prog/js.log"]), 201);
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(disk.writes, 201);

    // The 202nd starts a new file of one line.
    log.Append("line 202");
    log.Flush();
    EXPECT_EQ(disk.files["/prog/js.log"], "line 202\r\n");
    EXPECT_EQ(disk.replaces, 2);
}

TEST(JsErrorLog, LinesThatComeWhileItWritesGoOutTogetherAndAPartialAppendIsMended) {
    FakeFiles disk;
    {
        JsErrorLog log("/prog/js.log", disk.Ops());
        for (int i = 1; i <= 50; ++i) log.Append("burst " + std::to_string(i));
        log.Flush();
        EXPECT_EQ(LineCount(disk.files["/prog/js.log"]), 50);
        EXPECT_LE(disk.writes, 50);
        EXPECT_EQ(disk.files["/prog/js.log"].rfind("burst 50\r\n"), disk.files["/prog/js.log"].size() - 10);

        // An append that leaves half its line: the next write puts the file
        // right whole.
        disk.failAppendHalfway = true;
        log.Append("torn");
        log.Flush();
        disk.failAppendHalfway = false;
        log.Append("after");
        // The destructor waits for the last line.
    }
    const std::string& text = disk.files["/prog/js.log"];
    EXPECT_EQ(LineCount(text), 52);
    EXPECT_NE(text.find("burst 50\r\ntorn\r\nafter\r\n"), std::string::npos);
}

TEST(JsErrorLog, AnUnwritableFileIsSkippedAndTheLogGoesOn) {
    FakeFiles disk;
    disk.fail = true;
    JsErrorLog log("/read-only/js.log", disk.Ops());
    EXPECT_NO_THROW(log.Append("one"));
    EXPECT_NO_THROW(log.Append("two"));
    log.Flush();
    EXPECT_EQ(log.Lines().size(), 2u);
    disk.fail = false;
    log.Append("three");
    log.Flush();
    EXPECT_EQ(disk.files["/read-only/js.log"], "one\r\ntwo\r\nthree\r\n");
}

TEST(PreviewTitle, ForeignPagesCannotSelectOrMoveButErrorsAreLogged) {
    ProjectModel model;
    model.projectFolder = "/p";
    model.entries.resize(2);
    NullView view;
    EditorLogic editor(model, view);
    JsErrorLog log("");

    HandlePreviewTitle("!RarurAVI:docMouseMove(1,300,200)", true, editor, log);
    EXPECT_EQ(model.entries[1].MX, 300);
    EXPECT_EQ(model.iSelectedMenu, 1);

    // Mend: a page reached through a link must not change the project.
    HandlePreviewTitle("!RarurAVI:docMouseMove(0,5,5)", false, editor, log);
    HandlePreviewTitle("!RarurAVI:ySetSel(0)", false, editor, log);
    EXPECT_EQ(model.entries[0].MX, 10);
    EXPECT_EQ(model.iSelectedMenu, 1);
    // ...nor raise boxes with bad numbers.
    EXPECT_NO_THROW(HandlePreviewTitle("!RarurAVI:ySetSel(x)", false, editor, log));

    HandlePreviewTitle("!RarurAVI:ERROR(a@b@1)", true, editor, log);
    HandlePreviewTitle("!RarurAVI:ERROR(c@d@2)", false, editor, log);
    HandlePreviewTitle("Ordinary title", true, editor, log);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"!RarurAVI:ERROR(a@b@1)", "!RarurAVI:ERROR(c@d@2)"}));

    // On the preview page a bad number is the user's error box.
    EXPECT_THROW(HandlePreviewTitle("!RarurAVI:ySetSel()", true, editor, log), ConversionError);
}

TEST(EngineCheck, ReadsTheChromiumMajorVersion) {
    EXPECT_EQ(ChromiumMajorFromUserAgent("Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
                                         "QtWebEngine/6.4.2 Chrome/102.0.5005.177 Safari/537.36"),
              102);
    EXPECT_EQ(ChromiumMajorFromUserAgent("Mozilla/5.0 Chrome/"), -1);
    EXPECT_EQ(ChromiumMajorFromUserAgent("Mozilla/5.0 Gecko/20100101 Firefox/115.0"), -1);
    EXPECT_EQ(ChromiumMajorFromVersion("118.0.5993.220"), 118);
    EXPECT_EQ(ChromiumMajorFromVersion(""), -1);

    EXPECT_FALSE(EngineIsSupported(-1));
    EXPECT_FALSE(EngineIsSupported(kMinimumChromiumMajor - 1));
    EXPECT_TRUE(EngineIsSupported(kMinimumChromiumMajor));
    EXPECT_TRUE(EngineIsSupported(102));
}
