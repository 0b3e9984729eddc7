#include <gtest/gtest.h>

#include <climits>

#include "TempFolder.h"
#include "model/Errors.h"
#include "model/ValueHelpers.h"

using namespace didad;

namespace {

std::string ConversionText(const std::string& html) {
    try {
        HtmlToColor(html);
    } catch (const ConversionError& error) {
        return error.what();
    }
    return "(no error)";
}

} // namespace

TEST(ColorConversion, HtmlFormIsUpperCaseHashAndSixDigits) {
    EXPECT_EQ(ColorToHtml({255, 0, 0}), "#FF0000");
    EXPECT_EQ(ColorToHtml({0x0A, 0xBC, 0x01}), "#0ABC01");
    EXPECT_EQ(ColorToHtml(kWhite), "#FFFFFF");
    EXPECT_EQ(HtmlToColor("#00FF80"), (Color{0, 255, 128}));
    // Hand-edited files may use lower case.
    EXPECT_EQ(HtmlToColor("#0abc01"), (Color{0x0A, 0xBC, 0x01}));
    for (int v = 0; v < 256; v += 17) {
        const Color c{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(255 - v),
                      static_cast<std::uint8_t>(v / 2)};
        EXPECT_EQ(HtmlToColor(ColorToHtml(c)), c);
    }
}

TEST(ColorConversion, MalformedTextIsAConversionErrorNamingTheRegroupedDigits) {
    EXPECT_EQ(ConversionText(""), "'$' is not a valid integer value");
    EXPECT_EQ(ConversionText("#GG0000"), "'$0000GG' is not a valid integer value");
    EXPECT_EQ(ConversionText("#12345"), "'$53412' is not a valid integer value");
    EXPECT_EQ(ConversionText("transparent"), "'$pansra' is not a valid integer value");
    EXPECT_THROW(HtmlToColor("00FF8000"), ConversionError);
    EXPECT_THROW(HtmlToColor("#00FF800"), ConversionError);
    EXPECT_THROW(HtmlToColor("#-1FF80"), ConversionError);
}

TEST(IntegerHelpers, ParseIntOrTakesOnlyPlainDecimals) {
    EXPECT_EQ(ParseIntOr("120", 7), 120);
    EXPECT_EQ(ParseIntOr("-100", 7), -100);
    EXPECT_EQ(ParseIntOr("+5", 7), 5);
    EXPECT_EQ(ParseIntOr("05", 7), 5);
    EXPECT_EQ(ParseIntOr("2147483647", 7), INT_MAX);
    EXPECT_EQ(ParseIntOr("-2147483648", 7), INT_MIN);
    for (const char* bad : {"", "+", "-", "+-1", "12pt", " 5", "5 ", "1e3", "0x10", "2147483648", "abc"})
        EXPECT_EQ(ParseIntOr(bad, 7), 7) << bad;
}

TEST(IntegerHelpers, ClampRaisesThenLowers) {
    EXPECT_EQ(ClampInt(0, 1, 999), 1);
    EXPECT_EQ(ClampInt(1200, 2, 999), 999);
    EXPECT_EQ(ClampInt(500, 2, 999), 500);
    EXPECT_EQ(ClampInt(-100, -100, 800), -100);
}

TEST(CleanSettingText, RemovesPathAndQuoteCharactersAndFallsBackWhenEmpty) {
    EXPECT_EQ(CleanSettingText("C:\\web\\page.html", "Temp.html"), "Cwebpage.html");
    EXPECT_EQ(CleanSettingText("a/b:c\"d'e", "x"), "abcde");
    EXPECT_EQ(CleanSettingText("\\/:\"'", "Arial"), "Arial");
    EXPECT_EQ(CleanSettingText("", "Temp.html"), "Temp.html");
    EXPECT_EQ(CleanSettingText("Times New Roman", "Arial"), "Times New Roman");
    EXPECT_EQ(CleanSettingText("a\rb", "x"), "a\\\rb");
}

TEST(Paths, StripTrailingBackslashKeepsRootsAndShortPaths) {
    EXPECT_EQ(StripTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(StripTrailingBackslash("\\"), "\\");
    EXPECT_EQ(StripTrailingBackslash("/"), "/");
    EXPECT_EQ(StripTrailingBackslash("C:\\web\\"), "C:\\web");
    EXPECT_EQ(StripTrailingBackslash("/home/user/menus/"), "/home/user/menus");
    EXPECT_EQ(StripTrailingBackslash("/home/user/menus"), "/home/user/menus");
    EXPECT_EQ(StripTrailingBackslash("a//"), "a/"); // only one separator goes
    EXPECT_EQ(StripTrailingBackslash(""), "");
}

TEST(Paths, PathExistsSeesFilesAndFoldersWithOrWithoutTrailingSeparator) {
    didad::testing::TempFolder temp;
    didad::testing::WriteFileBytes(temp.File("page.html"), "x");
    EXPECT_TRUE(PathExists(temp.str()));
    EXPECT_TRUE(PathExists(temp.str() + "/"));
    EXPECT_TRUE(PathExists(temp.File("page.html")));
    EXPECT_FALSE(PathExists(temp.File("missing")));
    EXPECT_FALSE(PathExists(temp.File("missing/deeper")));
    EXPECT_FALSE(PathExists(""));
    EXPECT_TRUE(FileExists(temp.File("page.html")));
    EXPECT_FALSE(FileExists(temp.str())); // a folder is not a file
}

TEST(Paths, JoinPathAddsOneSeparator) {
    EXPECT_EQ(JoinPath("/a/b", "Temp.html"), std::string("/a/b") + PathSeparator() + "Temp.html");
    EXPECT_EQ(JoinPath("/", "x"), "/x");
    EXPECT_EQ(JoinPath("C:\\", "x"), "C:\\x");
}
