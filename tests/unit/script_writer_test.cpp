#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "RecordingMessages.h"
#include "TempFolder.h"
#include "model/Errors.h"
#include "model/ProjectModel.h"
#include "model/ScriptReader.h"
#include "model/ScriptTexts.h"
#include "model/ScriptWriter.h"
#include "model/TextEncoding.h"
#include "model/ValueHelpers.h"

#ifdef __unix__
#include <sys/resource.h>
#include <csignal>
#endif

using namespace didad;
using didad::testing::ReadFileBytes;
using didad::testing::RecordingMessages;
using didad::testing::TempFolder;
using didad::testing::WriteFileBytes;
namespace fs = std::filesystem;

namespace {

const std::string kSettingsLine =
    "var cDefCap=\"#FFFFFF\", fDefCap=\"Arial\", fDefCapS=12, cDefMenu=\"#FFFFFF\", fDefMenu=\"Arial\", "
    "fDefMenuS=12, PRJ_sTemplate=\"Temp.html\";";

const std::string kCompactLine = "var cmpW=640, cmpL=\"Menu\", cmpX=10, cmpY=10;";

const std::vector<std::string> kStyleLines = {
    "layerStyle('\\",
    "<style type=\"text/css\">\\",
    ".clCap {cursor:hand; text-decoration:none; color:'+cDefCap+'; font-family:\"'+fDefCap+'\"; "
    "font-size:'+fDefCapS+'pt;}\\",
    ".clMenu {text-decoration:none; color:'+cDefMenu+'; font-family:\"'+fDefMenu+'\"; "
    "font-size:'+fDefMenuS+'pt;}\\",
    "');",
};

std::vector<std::string> DataPartOf(ProjectModel& model, ScriptMode mode = ScriptMode::Preview) {
    return BuildDataPart(model, mode);
}

// The line of the data part that starts with `opening`.
std::string ArrayLine(const std::vector<std::string>& lines, const std::string& opening) {
    for (const std::string& line : lines)
        if (line.rfind(opening, 0) == 0) return line;
    return "(missing " + opening + ")";
}

ProjectModel WithEntries(int count) {
    ProjectModel model;
    for (int i = 0; i < count; ++i) model.AddMenuEntry();
    return model;
}

// A fixed text as the file carries it: every line ending CR LF.
std::string AsCrLfLines(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    return out;
}

} // namespace

TEST(EncodeJsString, EscapesBackslashesQuotesAndLineBreaks) {
    EXPECT_EQ(EncodeJsString("<A HREF=\"a.html\">Home</A>"), "<A HREF=\\\"a.html\\\">Home</A>");
    EXPECT_EQ(EncodeJsString("\\"), "\\\\");
    EXPECT_EQ(EncodeJsString("\\\""), "\\\\\\\""); // backslash first, then the quote
    EXPECT_EQ(EncodeJsString("one\r\ntwo"), "one\\\r\ntwo");
    EXPECT_EQ(EncodeJsString("it's\ta <B>test</B>"), "it's\ta <B>test</B>");
    EXPECT_EQ(EncodeJsString(""), "");
    EXPECT_EQ(EncodeJsString("\xE9t\xE9"), "\xE9t\xE9"); // bytes of the code page pass
}

// Regression: a bare LF or CR in a text would end the string literal and
// break the whole script, so it is written as a continued CR LF line break.
TEST(EncodeJsString, LoneLineBreaksAreContinuedLikeCrLf) {
    EXPECT_EQ(EncodeJsString("a\nb"), "a\\\r\nb");
    EXPECT_EQ(EncodeJsString("a\rb"), "a\\\r\nb");
    EXPECT_EQ(EncodeJsString("a\n\r\nb"), "a\\\r\n\\\r\nb");
}

// On a page in Shift_JIS, GBK or Big5 a byte beyond ASCII takes a backslash
// after it into its character: every backslash the writer adds must follow
// an ASCII byte, and ESC (which switches ISO-2022-JP) must not be written.
TEST(EncodeJsString, BytesBeyondAsciiBeforeAnEscapeAreEscapedThemselves) {
    EXPECT_EQ(EncodeJsString("A\x81\""), "A\\x81\\\"");
    EXPECT_EQ(EncodeJsString("\x81\x81\r\nb\xE9"), "\\x81\\x81\\\r\nb\xE9"); // a run at the end stays
    EXPECT_EQ(EncodeJsString("caf\xC3\xA9\"\xC3\xA9"), "caf\\u00E9\\\"\xC3\xA9");
    EXPECT_EQ(EncodeJsString("\xF0\x9F\x98\x80\xC3\\"), "\\uD83D\\uDE00\\xC3\\\\");
    EXPECT_EQ(EncodeJsString("x\x1By\n"), "x\\x1By\\\r\n");
    EXPECT_EQ(EncodeJsString("a\x81"
                             "b\"\xE9"),
              "a\x81"
              "b\\\"\xE9"); // no run right before the quote
    // The vector path of long texts, and a run just before a chunk's edge.
    const std::string a40(40, 'a');
    EXPECT_EQ(EncodeJsString(a40 + "\xE6\x97\xA5\"" + a40), a40 + "\\u65E5\\\"" + a40);
    EXPECT_EQ(EncodeJsString(std::string(63, 'a') + "\x95\\"), std::string(63, 'a') + "\\x95\\\\");
}

TEST(BuildDataPart, EmptyProject) {
    ProjectModel model;
    const auto lines = DataPartOf(model);
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[0], "RarurAVI_Ver = \"1.00\";");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], kSettingsLine);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.begin() + 8), kStyleLines);
    EXPECT_EQ(lines[8],
              "var numOfMenus=0,scrIN=20,scrOUT=10,IDE=1,iSelectedMenu=0,errs=\"\",old_pageYOffset=0,"
              "widthChk,heightChk;");
    EXPECT_EQ(lines[9], kCompactLine);
    EXPECT_EQ(lines[10], "var PR = new Array (numOfMenus);");
    const char* names[] = {"MTC", "MTCH", "MTM", "MX", "MY", "MW", "CO", "CC", "CM", "MA", "FL", "OO", "AN", "AE"};
    for (int i = 0; i < 14; ++i) EXPECT_EQ(lines[11 + i], std::string("var ") + names[i] + " = new Array ();");
}

TEST(BuildDataPart, TwoNewEntriesSecondSelected) {
    ProjectModel model = WithEntries(2);
    const std::vector<std::string> expected = {
        "RarurAVI_Ver = \"1.00\";",
        "",
        kSettingsLine,
        kStyleLines[0],
        kStyleLines[1],
        kStyleLines[2],
        kStyleLines[3],
        kStyleLines[4],
        "var numOfMenus=2,scrIN=20,scrOUT=10,IDE=1,iSelectedMenu=1,errs=\"\",old_pageYOffset=0,widthChk,heightChk;",
        kCompactLine,
        "var PR = new Array (numOfMenus);",
        "var MTC = new Array (\"Caption\",\"Caption\");",
        "var MTCH = new Array (22,22);",
        "var MTM = new Array (\"Blank menu\",\"Blank menu\");",
        "var MX = new Array (10,162);",
        "var MY = new Array (10,10);",
        "var MW = new Array (150,150);",
        "var CO = new Array (\"transparent\",\"transparent\");",
        "var CC = new Array (\"#000000\",\"#000000\");",
        "var CM = new Array (\"#008080\",\"#008080\");",
        "var MA = new Array (0,0);",
        "var FL = new Array (1,1);",
        "var OO = new Array (0,0);",
        "var AN = new Array (0,0);",
        "var AE = new Array (\"\",\"\");",
    };
    EXPECT_EQ(DataPartOf(model), expected);
}

TEST(BuildDataPart, SingleEntryNumberArraysGetADummyTail) {
    ProjectModel model = WithEntries(1);
    const auto lines = DataPartOf(model);
    EXPECT_EQ(ArrayLine(lines, "var MTC "), "var MTC = new Array (\"Caption\");");
    EXPECT_EQ(ArrayLine(lines, "var MTCH "), "var MTCH = new Array (22,0);");
    EXPECT_EQ(ArrayLine(lines, "var MTM "), "var MTM = new Array (\"Blank menu\");");
    EXPECT_EQ(ArrayLine(lines, "var MX "), "var MX = new Array (10,0);");
    EXPECT_EQ(ArrayLine(lines, "var MY "), "var MY = new Array (10,0);");
    EXPECT_EQ(ArrayLine(lines, "var MW "), "var MW = new Array (150,0);");
    EXPECT_EQ(ArrayLine(lines, "var CO "), "var CO = new Array (\"transparent\");");
    EXPECT_EQ(ArrayLine(lines, "var CC "), "var CC = new Array (\"#000000\");");
    EXPECT_EQ(ArrayLine(lines, "var CM "), "var CM = new Array (\"#008080\");");
    EXPECT_EQ(ArrayLine(lines, "var MA "), "var MA = new Array (0,0);");
    EXPECT_EQ(ArrayLine(lines, "var FL "), "var FL = new Array (1,0);");
    EXPECT_EQ(ArrayLine(lines, "var OO "), "var OO = new Array (0,0);");
    EXPECT_EQ(ArrayLine(lines, "var AN "), "var AN = new Array (0,0);");
    EXPECT_EQ(ArrayLine(lines, "var AE "), "var AE = new Array (\"\");");
}

TEST(BuildDataPart, SettingsValuesNegativeNumbersAndEncodedTexts) {
    ProjectModel model = WithEntries(2);
    model.settings.scrIN = 5;
    model.settings.scrOUT = 999;
    model.settings.cDefCap = {0x12, 0xAB, 0x00};
    model.settings.fDefCap = "Times New Roman";
    model.settings.fDefCapS = 9;
    model.settings.cDefMenu = {0, 0, 0};
    model.settings.fDefMenu = "Verdana";
    model.settings.fDefMenuS = 14;
    model.settings.PRJ_sTemplate = "index.html";
    model.iSelectedMenu = 0;
    model.entries[0].MX = -100;
    model.entries[1].MY = -7;
    model.entries[0].MTC = "<A HREF=\"a.html\">Home</A>";
    model.entries[1].MTC = "\\";
    model.entries[1].MTM = "line one\r\nline two";
    model.entries[0].AN = 3;
    model.entries[0].AE = "a[title=\"x\\\"]";
    model.entries[1].AN = 1;
    model.settings.cmpW = 0;
    model.settings.cmpL = "Men\u00FC \"all\"\r\n\\";
    model.settings.cmpX = -4;
    model.settings.cmpY = 300;
    const auto lines = DataPartOf(model, ScriptMode::Final);
    EXPECT_EQ(lines[2],
              "var cDefCap=\"#12AB00\", fDefCap=\"Times New Roman\", fDefCapS=9, cDefMenu=\"#000000\", "
              "fDefMenu=\"Verdana\", fDefMenuS=14, PRJ_sTemplate=\"index.html\";");
    EXPECT_EQ(lines[8],
              "var numOfMenus=2,scrIN=5,scrOUT=999,IDE=0,iSelectedMenu=0,errs=\"\",old_pageYOffset=0,"
              "widthChk,heightChk;");
    EXPECT_EQ(ArrayLine(lines, "var MX "), "var MX = new Array (-100,162);");
    EXPECT_EQ(ArrayLine(lines, "var MY "), "var MY = new Array (10,-7);");
    EXPECT_EQ(ArrayLine(lines, "var MTC "), "var MTC = new Array (\"<A HREF=\\\"a.html\\\">Home</A>\",\"\\\\\");");
    EXPECT_EQ(ArrayLine(lines, "var MTM "), "var MTM = new Array (\"Blank menu\",\"line one\\\r\nline two\");");
    EXPECT_EQ(ArrayLine(lines, "var AN "), "var AN = new Array (3,1);");
    EXPECT_EQ(ArrayLine(lines, "var AE "), "var AE = new Array (\"a[title=\\\"x\\\\\\\"]\",\"\");");
    // The button's text is quoted as page-author text, not cleaned as a font name.
    EXPECT_EQ(ArrayLine(lines, "var cmpW"), "var cmpW=0, cmpL=\"Men\u00FC \\\"all\\\"\\\r\n\\\\\", cmpX=-4, cmpY=300;");
}

TEST(DefaultCaptionSwap, FollowsTheOrientationAndTellsTheEditorAboutEveryExchange) {
    ProjectModel model = WithEntries(2);
    model.entries[1].OO = 1;
    std::vector<std::pair<int, std::string>> swaps;
    auto record = [&](int index, const std::string& caption) { swaps.emplace_back(index, caption); };

    auto lines = BuildDataPart(model, ScriptMode::Preview, record);
    EXPECT_EQ(ArrayLine(lines, "var OO "), "var OO = new Array (0,1);");
    EXPECT_EQ(ArrayLine(lines, "var MTM "), "var MTM = new Array (\"Blank menu\",\"<nObR>Blank menu</nObR>\");");
    EXPECT_EQ(ArrayLine(lines, "var MTC "),
              "var MTC = new Array (\"Caption\",\"<CENTER>\\\r\nC<BR>a<BR>p<BR>t<BR>i<BR>o<BR>n</CENTER>\");");
    EXPECT_EQ(model.entries[1].MTC, kVerticalDefaultCaption);
    ASSERT_EQ(swaps.size(), 1u);
    EXPECT_EQ(swaps[0], std::make_pair(1, std::string(kVerticalDefaultCaption)));

    // Back to horizontal: swapped back on the next write, and told also
    // when the entry is not the selected one (the editor's history keeps it).
    model.entries[1].OO = 0;
    model.iSelectedMenu = 0;
    swaps.clear();
    lines = BuildDataPart(model, ScriptMode::Preview, record);
    EXPECT_EQ(model.entries[1].MTC, "Caption");
    ASSERT_EQ(swaps.size(), 1u);
    EXPECT_EQ(swaps[0], std::make_pair(1, std::string(kDefaultCaption)));
    swaps.clear();

    // Only the exact texts are swapped.
    for (const char* caption : {"caption", "Caption ", "<CENTER>\r\nC<BR>a<BR>p<BR>t<BR>i<BR>o<BR>n</CENTER> "}) {
        model.entries[0].OO = 1;
        model.entries[0].MTC = caption;
        BuildDataPart(model, ScriptMode::Preview, record);
        EXPECT_EQ(model.entries[0].MTC, caption);
    }
    model.entries[0].OO = 0;
    model.entries[0].MTC = "<CENTER>\r\nC<BR>a<BR>p<BR>t<BR>i<BR>o<BR>n</CENTER>";
    BuildDataPart(model, ScriptMode::Preview);
    EXPECT_EQ(model.entries[0].MTC, "Caption");
    EXPECT_TRUE(swaps.empty());
}

TEST(NoBreakWrapper, WrapsVerticalPanelsOnce) {
    ProjectModel model = WithEntries(4);
    model.entries[0].OO = 1;
    model.entries[0].MTM = "Blank menu";
    model.entries[1].OO = 1;
    model.entries[1].MTM = "<nObR>already</nObR>";
    model.entries[2].OO = 0;
    model.entries[2].MTM = "<nObR>horizontal</nObR>";
    model.entries[3].OO = 1;
    model.entries[3].MTM = "a \"q\"";
    const auto lines = DataPartOf(model);
    EXPECT_EQ(ArrayLine(lines, "var MTM "),
              "var MTM = new Array (\"<nObR>Blank menu</nObR>\",\"<nObR>already</nObR>\","
              "\"<nObR>horizontal</nObR>\",\"<nObR>a \\\"q\\\"</nObR>\");");
    EXPECT_EQ(model.entries[0].MTM, "Blank menu"); // the model never holds the wrapper
}

TEST(BuildProjectScript, PreviewAndFinalDifferOnlyInIdeAndTheAddon) {
    ProjectModel model = WithEntries(3);
    const std::string preview = BuildProjectScript(model, ScriptMode::Preview);
    const std::string final = BuildProjectScript(model, ScriptMode::Final);
    const std::string addon = AsCrLfLines(EditingAddonText());
    ASSERT_FALSE(addon.empty());
    ASSERT_GT(preview.size(), addon.size());
    EXPECT_EQ(preview.substr(preview.size() - addon.size()), addon);
    std::string expectedFinal = preview.substr(0, preview.size() - addon.size());
    const auto ide = expectedFinal.find(",IDE=1,");
    ASSERT_NE(ide, std::string::npos);
    expectedFinal.replace(ide, 7, ",IDE=0,");
    EXPECT_EQ(final, expectedFinal);
}

TEST(JoinLinesCrLf, EveryLineEndsWithCrLfAndInnerBreaksBecomeCrLf) {
    EXPECT_EQ(JoinLinesCrLf({}), "");
    EXPECT_EQ(JoinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinLinesCrLf({"a\nb\rc\r\nd"}), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(NormalizeTextLines("\nx\ny"), "\r\nx\r\ny\r\n");
    EXPECT_EQ(NormalizeTextLines("x\r\n"), "x\r\n");
    EXPECT_EQ(NormalizeTextLines(""), "");
}

class WriteProjectScriptTest : public ::testing::Test {
protected:
    TempFolder temp;
    ProjectModel model;
    std::string folder() const { return temp.File("project"); }
    void SetUp() override {
        model.ResetForNewProject();
        model.projectFolder = folder();
    }
    std::vector<std::string> LeftoverTemporaries() const {
        std::vector<std::string> names;
        if (!fs::exists(folder())) return names;
        for (const auto& item : fs::directory_iterator(folder()))
            if (item.path().extension() == ".tmp") names.push_back(item.path().filename().string());
        return names;
    }
};

TEST_F(WriteProjectScriptTest, NewProjectFilesAreExactToTheByte) {
    WriteProjectScript(model, ScriptMode::Preview);
    const std::string script = ReadFileBytes(temp.File("project/Dirovidadaz.js"));
    const std::string banner =
        "/*\r\n"
        "******************************************************** \r\n"
        " You may use this script on commercial and personal web sites, free of charge, \r\n"
        " provided that this notice stays in the script unchanged. \r\n"
        " Didad 1.03 \r\n"
        "  https://www.divero.example/didad/download.html \r\n"
        " All other rights reserved by Divero. \r\n"
        "*********************************************************\r\n"
        "*/\r\n";
    std::string dataPart = "RarurAVI_Ver = \"1.00\";\r\n\r\n" + kSettingsLine + "\r\n";
    for (const std::string& line : kStyleLines) dataPart += line + "\r\n";
    dataPart +=
        "var "
        "numOfMenus=0,scrIN=20,scrOUT=10,IDE=1,iSelectedMenu=0,errs=\"\",old_pageYOffset=0,widthChk,heightChk;\r\n" +
        kCompactLine +
        "\r\n"
        "var PR = new Array (numOfMenus);\r\n"
        "var MTC = new Array ();\r\n"
        "var MTCH = new Array ();\r\n"
        "var MTM = new Array ();\r\n"
        "var MX = new Array ();\r\n"
        "var MY = new Array ();\r\n"
        "var MW = new Array ();\r\n"
        "var CO = new Array ();\r\n"
        "var CC = new Array ();\r\n"
        "var CM = new Array ();\r\n"
        "var MA = new Array ();\r\n"
        "var FL = new Array ();\r\n"
        "var OO = new Array ();\r\n"
        "var AN = new Array ();\r\n"
        "var AE = new Array ();\r\n";
    const std::string runtime = AsCrLfLines(MenuRuntimeText());
    const std::string addon = AsCrLfLines(EditingAddonText());
    ASSERT_EQ(runtime.substr(0, 2), "\r\n") << "the runtime text begins with an empty line";
    ASSERT_EQ(addon.substr(0, 2), "\r\n") << "the add-on text begins with an empty line";
    EXPECT_EQ(script.substr(0, banner.size()), banner);
    EXPECT_EQ(script.substr(banner.size(), dataPart.size()), dataPart);
    EXPECT_EQ(script.substr(banner.size() + dataPart.size()), runtime + addon);
    EXPECT_EQ(script, banner + dataPart + runtime + addon);

    EXPECT_EQ(ReadFileBytes(temp.File("project/Temp.html")),
              "<HTML>\r\n"
              "\r\n"
              "<HEAD>\r\n"
              "\r\n"
              "<!-- Head Code by Didad -->\r\n"
              "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"Dirovidadaz.js\"></SCRIPT>\r\n"
              "<!-- End Head Code Didad -->\r\n"
              "\r\n"
              "</HEAD>\r\n"
              "\r\n"
              "<BODY leftmargin=0 topmargin=0>\r\n"
              "\r\n"
              "<!-- Body Code by Didad -->\r\n"
              "<SCRIPT LANGUAGE=\"JavaScript\">makeDidad()</SCRIPT>\r\n"
              "<!-- End Body Code by Didad -->\r\n"
              "\r\n"
              "</BODY>\r\n"
              "\r\n"
              "</HTML>\r\n");
    EXPECT_TRUE(LeftoverTemporaries().empty());
}

TEST_F(WriteProjectScriptTest, ExistingPageIsNeverTouchedAndAMissingOneIsWrittenAgain) {
    fs::create_directory(folder());
    WriteFileBytes(temp.File("project/Temp.html"), "my own page");
    WriteProjectScript(model, ScriptMode::Final);
    EXPECT_EQ(ReadFileBytes(temp.File("project/Temp.html")), "my own page");

    // A new template name gets the default page; the old page stays.
    model.settings.PRJ_sTemplate = "menus.html";
    WriteProjectScript(model, ScriptMode::Preview);
    EXPECT_EQ(ReadFileBytes(temp.File("project/menus.html")), JoinLinesCrLf(DefaultPageLines()));
    EXPECT_EQ(ReadFileBytes(temp.File("project/Temp.html")), "my own page");

    fs::remove(temp.File("project/menus.html"));
    WriteProjectScript(model, ScriptMode::Preview);
    EXPECT_TRUE(fs::exists(temp.File("project/menus.html")));
}

TEST_F(WriteProjectScriptTest, DeletedProjectFolderIsRecreatedOneLevel) {
    WriteProjectScript(model, ScriptMode::Preview);
    fs::remove_all(folder());
    model.AddMenuEntry();
    WriteProjectScript(model, ScriptMode::Preview);
    EXPECT_TRUE(fs::exists(temp.File("project/Dirovidadaz.js")));
    EXPECT_TRUE(fs::exists(temp.File("project/Temp.html")));

    // Two missing levels: only one is created, so the write fails.
    model.projectFolder = temp.File("missing/project");
    try {
        WriteProjectScript(model, ScriptMode::Preview);
        FAIL() << "expected CannotCreateFile";
    } catch (const CannotCreateFile& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + JoinPath(model.projectFolder, "Dirovidadaz.js") +
                                                 "\r\n\r\nNo such file or directory");
    }
    EXPECT_FALSE(fs::exists(temp.File("missing")));
}

TEST_F(WriteProjectScriptTest, PageNameTakenByAFolderFailsAfterTheScriptIsWritten) {
    fs::create_directories(temp.File("project/Temp.html"));
    try {
        WriteProjectScript(model, ScriptMode::Preview);
        FAIL() << "expected CannotCreateFile";
    } catch (const CannotCreateFile& error) {
        EXPECT_EQ(error.path(), JoinPath(folder(), "Temp.html"));
    }
    EXPECT_TRUE(fs::exists(temp.File("project/Dirovidadaz.js")));
    EXPECT_TRUE(fs::is_directory(temp.File("project/Temp.html")));
    EXPECT_TRUE(LeftoverTemporaries().empty());
}

TEST_F(WriteProjectScriptTest, ScriptNameTakenByAFolderFails) {
    fs::create_directories(temp.File("project/Dirovidadaz.js"));
    EXPECT_THROW(WriteProjectScript(model, ScriptMode::Preview), CannotCreateFile);
    EXPECT_TRUE(LeftoverTemporaries().empty());
}

TEST_F(WriteProjectScriptTest, NoProjectFolderWritesNothing) {
    model.projectFolder.clear();
    EXPECT_THROW(WriteProjectScript(model, ScriptMode::Preview), CannotCreateFile);
    EXPECT_FALSE(fs::exists("Dirovidadaz.js"));
}

// A large script goes to its file while it is built, begun on the guess that
// it starts as the last one did; a script that starts otherwise (with the
// UTF-8 mark or without it) must come out exact all the same.
TEST_F(WriteProjectScriptTest, LargeScriptsAreExactWhetherOrNotTheyTakeTheUtf8Mark) {
    for (int i = 0; i < 2000; ++i) {
        model.AddMenuEntry();
        model.entries.back().MTM = std::string(400, 'm') + "\"<BR>\r\n";
    }
    const std::string path = temp.File("project/Dirovidadaz.js");
    for (const char* caption : {"plain", "gr\u00FC\u00DFe", "plain again", "\xC3\xA9t\xC3\xA9", "\xFF not UTF-8"}) {
        model.entries[1000].MTC = caption;
        WriteProjectScript(model, ScriptMode::Final, {}, Flush::CacheOnly);
        EXPECT_TRUE(ReadFileBytes(path) == BuildProjectScript(model, ScriptMode::Final)) << caption; // megabytes
    }
    EXPECT_TRUE(LeftoverTemporaries().empty());
}

// A large project's arrays after the panels are made on a second thread:
// each must come out in its place, and a text beyond ASCII among them must
// still give the script its UTF-8 mark.
TEST_F(WriteProjectScriptTest, LargeProjectsKeepEveryArrayInItsPlace) {
    for (int i = 0; i < 3000; ++i) {
        model.AddMenuEntry();
        MenuEntry& e = model.entries.back();
        e.MTC = "c" + std::to_string(i);
        e.MTM = "p" + std::to_string(i);
        e.MTCH = i;
        e.MX = i + 1;
        e.MY = -i;
        e.MW = i * 3;
        e.CO = i % 2 ? "#123456" : "transparent";
        e.MA = i % 2;
        e.FL = i % 2 == 0;
        e.OO = i % 3 == 0;
        e.AN = i % 4;
        e.AE = "#a" + std::to_string(i);
    }
    model.entries[2999].AE = "#\xC3\xA9";
    WriteProjectScript(model, ScriptMode::Final, {}, Flush::CacheOnly);
    const std::string path = temp.File("project/Dirovidadaz.js");
    EXPECT_TRUE(ReadFileBytes(path).starts_with(kUtf8ByteOrderMark));
    ProjectModel read;
    RecordingMessages messages;
    ASSERT_TRUE(ReadProjectScript(path, read, messages));
    EXPECT_TRUE(read.entries == model.entries); // thousands of entries: no dump
}

#ifdef __unix__
// Regression: a write that fails halfway (here: the file size limit, which
// holds even for root) must leave the previous script whole.
TEST_F(WriteProjectScriptTest, FailedReplaceKeepsTheOldFileIntact) {
    WriteProjectScript(model, ScriptMode::Preview);
    const std::string before = ReadFileBytes(temp.File("project/Dirovidadaz.js"));

    for (int i = 0; i < 200; ++i) model.AddMenuEntry();
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = before.size() + 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool failed = false;
    try {
        WriteProjectScript(model, ScriptMode::Preview);
    } catch (const CannotCreateFile& error) {
        failed = true;
        EXPECT_EQ(error.path(), JoinPath(folder(), "Dirovidadaz.js"));
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_TRUE(failed);
    EXPECT_EQ(ReadFileBytes(temp.File("project/Dirovidadaz.js")), before);
    EXPECT_TRUE(LeftoverTemporaries().empty());

    WriteProjectScript(model, ScriptMode::Preview); // works again once the fault is gone
    EXPECT_GT(ReadFileBytes(temp.File("project/Dirovidadaz.js")).size(), before.size());
}
#endif
