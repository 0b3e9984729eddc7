// What screen readers hear for a menu's line in the list.
#include <gtest/gtest.h>

#include "editor/SpokenTexts.h"

namespace didad {
namespace {

TEST(SpokenHtml, TagsGoEntitiesReadAsCharactersSpaceRunsTogether) {
    EXPECT_EQ(SpokenHtml("<B>Chairs &amp;\r\n  tables</B>"), "Chairs & tables");
    EXPECT_EQ(SpokenHtml("Home<BR>Page"), "Home Page");
    EXPECT_EQ(SpokenHtml("a&nbsp;&nbsp;b &LT;c&gt; &quot;d&quot; &#39;e&#39; &copy;"), "a b <c> \"d\" 'e' &copy;");
    // The vertical caption, one letter a line, is one word.
    EXPECT_EQ(SpokenHtml("<CENTER>\r\nC<BR>a<BR>p<BR>t<BR>i<BR>o<BR>n</CENTER>"), "Caption");
    EXPECT_EQ(SpokenHtml("<IMG SRC=\"logo.gif\" BORDER=\"0\">"), "");
    // A tag left open hides what follows, as in a browser.
    EXPECT_EQ(SpokenHtml("Menu <A HREF=\"x"), "Menu");
}

TEST(SpokenHtml, LongTextsAreCutBetweenCharacters) {
    EXPECT_EQ(SpokenHtml("abcdef ghij", 8), "abcdef g...");
    EXPECT_EQ(SpokenHtml("abcdef ghij", 7), "abcdef...");
    // "é" is two bytes; a cut inside it moves before it.
    EXPECT_EQ(SpokenHtml("abcd\xC3\xA9"
                         "fg",
                         5),
              "abcd...");
    EXPECT_EQ(SpokenHtml("abcd\xC3\xA9"
                         "fg",
                         6),
              "abcd\xC3\xA9...");
}

TEST(SpokenListLine, NamesTheMenuItsCaptionAndPlace) {
    ProjectModel model;
    model.entries.resize(3);
    model.entries[1].MTC = "<B>Products</B>";
    model.entries[1].MX = -5;
    model.entries[1].MY = 120;
    model.entries[2].MTC = "<IMG SRC=\"a.gif\">";
    EXPECT_EQ(SpokenListLine(model, 1), "Menu 2: Products, left -5, top 120");
    EXPECT_EQ(SpokenListLine(model, 2), "Menu 3: no caption text, left 10, top 10");
    // A line beyond the entries (while the list is being rebuilt) is its label.
    EXPECT_EQ(SpokenListLine(model, 3), "Menu 4");
    EXPECT_EQ(SpokenListLine(model, -1), "Menu 0");
}

} // namespace
} // namespace didad
