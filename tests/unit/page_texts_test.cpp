#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "model/ValueHelpers.h"
#include "runtime/PageTexts.h"

using namespace didad;
using didad::testing::TempFolder;
using didad::testing::WriteFileBytes;

TEST(ScriptBanner, NineLinesFramedByAsterisksAndFreeOfReaderKeys) {
    const auto lines = ScriptBannerLines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "/*");
    EXPECT_EQ(lines[1], std::string(56, '*') + " ");
    // The version the main window's title gives.
    EXPECT_EQ(lines[4], " Didad 1.03 ");
    EXPECT_EQ(lines[5], "  " + DownloadAddress() + " ");
    EXPECT_EQ(lines[7], std::string(57, '*'));
    EXPECT_EQ(lines[8], "*/");
    for (int i : {2, 3, 6}) {
        const std::string& line = lines[i];
        ASSERT_GE(line.size(), 3u);
        EXPECT_EQ(line.front(), ' ') << line;
        EXPECT_EQ(line.back(), ' ') << line;
        EXPECT_NE(line[1], ' ') << line;
        EXPECT_NE(line[line.size() - 2], ' ') << line;
    }
    // The reader takes the first occurrence of every key in the whole file,
    // and the banner comes first.
    const char* keys[] = {
        "RarurAVI_Ver", "numOfMenus", "scrIN=",     "scrOUT=",        "cDefCap=",    "cDefMenu=", "fDefCap=",
        "fDefMenu=",    "fDefCapS=",  "fDefMenuS=", "PRJ_sTemplate=", "new Array (", "*/"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (const char* key : keys) {
            if (i == 8 && std::string(key) == "*/") continue;
            EXPECT_EQ(lines[i].find(key), std::string::npos) << "line " << i + 1 << " holds " << key;
        }
    }
}

TEST(TemplateInfo, ThirtyLinesWithTheShortSamplePage) {
    const auto lines = TemplateInfoLines();
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(lines[0], " Template can be any HTML file which has the following two lines inside:");
    EXPECT_EQ(lines[4], " <SCRIPT LANGUAGE=\"JavaScript\" SRC=\"Dirovidadaz.js\"></SCRIPT>");
    EXPECT_EQ(lines[8], " <SCRIPT LANGUAGE=\"JavaScript\">makeDidad()</SCRIPT>");
    EXPECT_EQ(lines[9], "  ");
    EXPECT_EQ(lines[13], "<HTML>");
    EXPECT_EQ(lines[21], "<BODY leftmargin=0 topmargin=0 scroll=no>");
    EXPECT_EQ(lines[27], "</HTML>");
    EXPECT_EQ(lines[29], " ");
    // The required lines are those of the default page that is written.
    const auto page = DefaultPageLines();
    ASSERT_EQ(page.size(), 19u);
    EXPECT_EQ(" " + page[5], lines[4]);
    EXPECT_EQ(" " + page[13], lines[8]);
}

TEST(TemplateCheck, PassesForMissingPagesAndPagesNamingTheScript) {
    TempFolder temp;
    EXPECT_TRUE(CheckTemplate(temp.str(), "new.html").passed);

    WriteFileBytes(temp.File("comment.html"), "<HTML><!-- uses Dirovidadaz.js later --></HTML>");
    EXPECT_TRUE(CheckTemplate(temp.str(), "comment.html").passed);

    // The call of makeDidad() is not looked for.
    WriteFileBytes(temp.File("nocall.html"), "<SCRIPT SRC=\"Dirovidadaz.js\"></SCRIPT><BODY></BODY>");
    EXPECT_TRUE(CheckTemplate(temp.str(), "nocall.html").passed);

    // A folder is no page: it passes here and the save reports it.
    std::filesystem::create_directory(temp.File("folder.html"));
    EXPECT_TRUE(CheckTemplate(temp.str(), "folder.html").passed);
}

TEST(TemplateCheck, FailsWithTheMessageWhenTheScriptIsNotNamed) {
    TempFolder temp;
    WriteFileBytes(temp.File("plain.html"), "<HTML><BODY>hello</BODY></HTML>");
    WriteFileBytes(temp.File("case.html"), "<SCRIPT SRC=\"dirovidadaz.JS\"></SCRIPT>");
    for (const char* name : {"plain.html", "case.html"}) {
        const TemplateCheckResult result = CheckTemplate(temp.str(), name);
        EXPECT_FALSE(result.passed) << name;
        EXPECT_EQ(result.message, "The template file: \r\n" + JoinPath(temp.str(), name) +
                                      "\r\ndoes not contain the right code for your menu to operate correctly.\r\n\r\n"
                                      "Put the required code into this file, or type a file name that does not "
                                      "exist (default HTML code will be written there).");
    }
}
