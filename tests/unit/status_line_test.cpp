#include "workflow/StatusLine.h"

#include <gtest/gtest.h>

#include <string>

namespace didad {
namespace {

// Counts UTF-8 code points, so a width of 10 pixels per character.
int CodePoints(const std::string& text) {
    int count = 0;
    for (unsigned char c : text) count += (c & 0xC0) != 0x80;
    return count;
}

TextWidthFn TenPixelsPerCharacter() {
    return [](const std::string& text) { return 10 * CodePoints(text); };
}

TEST(StatusLine, ShortFolderIsShownWhole) {
    EXPECT_EQ(ActiveProjectCaption("/srv/menus/site", TenPixelsPerCharacter()), "Active Project: /srv/menus/site");
    // An empty folder (a resize before any project) gives the prefix alone.
    EXPECT_EQ(ActiveProjectCaption("", TenPixelsPerCharacter()), "Active Project: ");
}

TEST(StatusLine, LongFolderLosesItsMiddleUntilItFits) {
    // 16 + 40 = 56 characters, 38 fit: nine passes each cut two more, the
    // last one keeps 18 head characters and the text from position 40 on.
    const std::string folder = "/home/someone/web/projects/2026/menus/ab";
    ASSERT_EQ(folder.size(), 40u);
    const std::string full = "Active Project: " + folder;
    const std::string caption = ActiveProjectCaption(folder, TenPixelsPerCharacter());
    EXPECT_EQ(caption, full.substr(0, 18) + "..." + full.substr(39));
    EXPECT_LE(CodePoints(caption) * 10, kStatusLineMaxWidth);

    // A text one character too wide is cut as well (the test is "wider than").
    const std::string fits = std::string(22, 'x'); // 16 + 22 = 38 characters
    EXPECT_EQ(ActiveProjectCaption(fits, TenPixelsPerCharacter()), "Active Project: " + fits);
    EXPECT_NE(ActiveProjectCaption(fits + "y", TenPixelsPerCharacter()), "Active Project: " + fits + "y");
}

TEST(StatusLine, HeadNeverShrinksBelowPrefixAndOneCharacter) {
    // 334 characters: long before the text fits, the head is at its floor
    // and only the tail goes on shrinking.
    const std::string folder = "/" + std::string(300, 'a') + "/tail-of-the-path";
    EXPECT_EQ(ActiveProjectCaption(folder, TenPixelsPerCharacter(), 250), "Active Project: /...-path");
    EXPECT_EQ(ActiveProjectCaption(folder, TenPixelsPerCharacter(), 230), "Active Project: /...ath");
}

// Regression: a font too wide for even the shortest caption must not hang the window.
TEST(StatusLine, StopsWhenNothingIsLeftToCut) {
    const auto alwaysTooWide = [](const std::string&) { return 1000; };
    EXPECT_EQ(ActiveProjectCaption("/var/www/site", alwaysTooWide), "Active Project: /...");
}

TEST(StatusLine, CutsNeverSplitACharacter) {
    // Two-byte letters throughout: every cut must fall between letters.
    std::string folder = "/";
    for (int i = 0; i < 60; ++i) folder += "\xC3\xA9"; // e with acute accent
    const std::string caption = ActiveProjectCaption(folder, TenPixelsPerCharacter());
    // 77 characters lose an odd number at each pass: 37 is the first that fits.
    EXPECT_EQ(CodePoints(caption), 37);
    const std::size_t dots = caption.find("...");
    ASSERT_NE(dots, std::string::npos);
    // The byte after "..." starts a character, and the text before it ends one.
    EXPECT_NE(static_cast<unsigned char>(caption[dots + 3]) & 0xC0, 0x80);
    EXPECT_EQ((caption.size() - std::string("Active Project: /...").size()) % 2, 0u);
}

} // namespace
} // namespace didad
