#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "RecordingMessages.h"
#include "TempFolder.h"
#include "model/Errors.h"
#include "model/ProjectModel.h"
#include "model/ScriptReader.h"
#include "model/ScriptTexts.h"
#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"

using namespace didad;
using didad::testing::CannotFindMessage;
using didad::testing::RecordingMessages;
using didad::testing::TempFolder;
using didad::testing::WriteFileBytes;

namespace {

ProjectModel WithEntries(int count) {
    ProjectModel model;
    for (int i = 0; i < count; ++i) model.AddMenuEntry();
    return model;
}

std::string ScriptOf(ProjectModel model, ScriptMode mode = ScriptMode::Preview) {
    return BuildProjectScript(model, mode);
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << "missing in script: " << from;
    text.replace(at, from.size(), to);
}

// A model that differs from anything a script here describes, to see that
// refused reads leave it alone.
ProjectModel OpenProject() {
    ProjectModel model = WithEntries(3);
    model.settings.scrIN = 77;
    model.settings.fDefCap = "Open";
    model.iSelectedMenu = 2;
    model.projectFolder = "/somewhere";
    return model;
}

class ReadScript : public ::testing::Test {
protected:
    TempFolder temp;
    RecordingMessages messages;
    ProjectModel model;

    bool Read(const std::string& script) {
        const std::string path = temp.File("Dirovidadaz.js");
        WriteFileBytes(path, script);
        return ReadProjectScript(path, model, messages);
    }
};

} // namespace

TEST(ReaderPrimitives, FindIntValueSkipsBlanksAndStopsAtTerminators) {
    RecordingMessages messages;
    EXPECT_EQ(FindIntValue("a scrIN= 20,x", "scrIN=", messages), 20);
    EXPECT_EQ(FindIntValue("fDefCapS=12pt", "fDefCapS=", messages), 12);
    EXPECT_EQ(FindIntValue("x=-5;", "x=", messages), -5);
    EXPECT_EQ(FindIntValue("x=+05 y", "x=", messages), 5);
    EXPECT_EQ(FindIntValue("x=42", "x=", messages), 42); // the end of the text ends it too
    EXPECT_TRUE(messages.all().empty());

    EXPECT_EQ(FindIntValue("x=,", "x=", messages), 0); // no digits: as if missing
    EXPECT_EQ(FindIntValue("x=", "x=", messages), 0);
    EXPECT_EQ(FindIntValue("nothing", "scrOUT=", messages), 0);
    EXPECT_EQ(messages.shown(), (std::vector<std::string>{CannotFindMessage("x="), CannotFindMessage("x="),
                                                          CannotFindMessage("scrOUT=")}));

    try {
        FindIntValue("x=1a2,", "x=", messages);
        FAIL() << "expected a conversion error";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'1a2' is not a valid integer value");
    }
}

TEST(ReaderPrimitives, FindTextValueTakesUpToTheNextQuoteWithoutEscapes) {
    RecordingMessages messages;
    EXPECT_EQ(FindTextValue("f=\"Arial\", g", "f=\"", messages), "Arial");
    EXPECT_EQ(FindTextValue("f=\"Ar\\ial\"", "f=\"", messages), "Ar\\ial");
    EXPECT_EQ(FindTextValue("f=\"\"", "f=\"", messages), "");
    EXPECT_EQ(FindTextValue("f=\"open to the end", "f=\"", messages), "open to the end");
    EXPECT_TRUE(messages.all().empty());
    EXPECT_EQ(FindTextValue("", "f=\"", messages), "");
    EXPECT_EQ(messages.shown(), std::vector<std::string>{CannotFindMessage("f=\"")});
}

TEST(ReaderPrimitives, TextArrayUnescapesAndScansOnForMissingValues) {
    RecordingMessages messages;
    const std::string key = "var MTC = new Array (";
    auto read = [&](const std::string& body, int n) { return ReadTextArray(key + body, key, n, messages); };

    EXPECT_EQ(read("\"<A HREF=\\\"a.html\\\">Home</A>\");", 1),
              std::vector<std::string>{"<A HREF=\"a.html\">Home</A>"});
    EXPECT_EQ(read("\"\\\\\\\\\");", 1), std::vector<std::string>{"\\\\"});
    // A caption ending in a backslash does not swallow the next value.
    EXPECT_EQ(read("\"end\\\\\",\"next\");", 2), (std::vector<std::string>{"end\\", "next"}));
    // A continued line: the backslash goes, the line break stays.
    EXPECT_EQ(read("\"one\\\r\ntwo\");", 1), std::vector<std::string>{"one\r\ntwo"});
    // Other escapes stay as written.
    EXPECT_EQ(read("\"a\\nb\\'c\");", 1), std::vector<std::string>{"a\\nb\\'c"});
    // Too few values: the scan goes on into the next lines.
    EXPECT_EQ(read("\"a\");\r\nvar X = new Array (\"b\");", 2), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(messages.all().empty());

    // The text ends first: the scan stops there.
    EXPECT_EQ(read("\"a\",\"unterminated", 3), (std::vector<std::string>{"a", "unterminated", ""}));
    EXPECT_EQ(read("\"ends in a backslash\\", 1), std::vector<std::string>{"ends in a backslash\\"});
    EXPECT_EQ(read("", 2), (std::vector<std::string>{"", ""}));

    EXPECT_EQ(ReadTextArray("", key, 2, messages), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(messages.shown(), std::vector<std::string>{CannotFindMessage(key)});
}

TEST(ReaderPrimitives, IntArrayTrimsAndConvertsEveryValue) {
    RecordingMessages messages;
    const std::string key = "var MX = new Array (";
    auto read = [&](const std::string& body, int n) { return ReadIntArray(key + body, key, n, messages); };
    EXPECT_EQ(read("10,0);", 1), std::vector<int>{10});
    EXPECT_EQ(read(" 1 ,\t-2\r\n, +3 );", 3), (std::vector<int>{1, -2, 3}));
    EXPECT_EQ(read("7", 1), std::vector<int>{7}); // the text's end closes the last value
    EXPECT_EQ(read("-2147483648,123456789,2147483647,-0);", 4), (std::vector<int>{INT_MIN, 123456789, INT_MAX, 0}));
    EXPECT_TRUE(messages.all().empty());

    try {
        read("22);\r\nvar MTM = new Array (\"Blank menu\",\"x\");", 2);
        FAIL() << "expected a conversion error";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.text(), ";\r\nvar MTM = new Array (\"Blank menu\"");
    }
    EXPECT_THROW(read("1,", 2), ConversionError);
    EXPECT_THROW(read("2147483648);", 1), ConversionError);
    EXPECT_THROW(read("-,1);", 2), ConversionError);
    EXPECT_THROW(read("", 1), ConversionError);

    EXPECT_EQ(ReadIntArray("", key, 3, messages), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(messages.shown(), std::vector<std::string>{CannotFindMessage(key)});
}

TEST(ReaderPrimitives, NoBreakWrapperIsStrippedOnlyInItsExactForm) {
    EXPECT_EQ(StripNoBreakWrapper("<nObR>Blank menu</nObR>"), "Blank menu");
    EXPECT_EQ(StripNoBreakWrapper("<nObR></nObR>"), "");
    EXPECT_EQ(StripNoBreakWrapper("<NOBR>x</NOBR>"), "<NOBR>x</NOBR>");
    EXPECT_EQ(StripNoBreakWrapper("<nObR>x"), "<nObR>x");
    EXPECT_EQ(StripNoBreakWrapper("<nObR>/nObR>"), "<nObR>/nObR>"); // markers must not overlap
    EXPECT_EQ(StripNoBreakWrapper(""), "");
}

TEST_F(ReadScript, EmptyProjectOpensWithoutLookingAtArrays) {
    std::string script = ScriptOf(ProjectModel{});
    Replace(script, "var MTC = new Array ();", "");
    Replace(script, "var OO = new Array ();", "");
    model = OpenProject();
    EXPECT_TRUE(Read(script));
    EXPECT_TRUE(messages.all().empty());
    EXPECT_EQ(model.numOfMenus(), 0);
    EXPECT_EQ(model.settings, ProjectSettings{});
    EXPECT_EQ(model.projectFolder, "/somewhere"); // the caller sets the folder
}

TEST_F(ReadScript, WrittenEntriesComeBack) {
    ProjectModel written = WithEntries(3);
    written.entries[0].MTC = "<A HREF=\"a.html\">Home</A>";
    written.entries[0].MX = -30;
    written.entries[1].MTC = "two\r\nlines\\";
    written.entries[1].MTM = "<nObR>kept</nObR>"; // horizontal: never stripped
    written.entries[2].OO = 1;
    written.entries[2].MTM = "side";
    written.entries[2].CO = "#ABCDEF";
    written.settings.fDefMenu = "Verdana";
    written.settings.cDefCap = {1, 2, 3};
    written.entries[0].AN = 3;
    written.entries[0].AE = "main > a[href=\"x\\\"\"]\r\n";
    written.entries[1].AN = 2;
    written.settings.cmpW = 0;
    written.settings.cmpL = "\"Men\u00FC\"\\";
    written.settings.cmpX = -5;
    written.settings.cmpY = 1234;
    written.iSelectedMenu = 2;
    const std::string script = ScriptOf(written, ScriptMode::Final);
    EXPECT_TRUE(Read(script));
    EXPECT_TRUE(messages.all().empty());
    ASSERT_EQ(model.numOfMenus(), 3);
    EXPECT_EQ(model.settings, written.settings);
    EXPECT_EQ(model.iSelectedMenu, 0);
    written.entries[2].MTC = kVerticalDefaultCaption; // swapped on writing
    EXPECT_EQ(model.entries, written.entries);
}

TEST_F(ReadScript, SingleEntryWithDummyTail) {
    EXPECT_TRUE(Read(ScriptOf(WithEntries(1))));
    ASSERT_EQ(model.numOfMenus(), 1);
    EXPECT_EQ(model.entries[0], MenuEntry{});
}

TEST_F(ReadScript, VerticalWrapperIsStrippedExactlyOnce) {
    std::string script = ScriptOf(WithEntries(4));
    Replace(script, "var OO = new Array (0,0,0,0);", "var OO = new Array (1,0,1,1);");
    Replace(script, "var MTM = new Array (\"Blank menu\",\"Blank menu\",\"Blank menu\",\"Blank menu\");",
            "var MTM = new Array (\"<nObR>Blank menu</nObR>\",\"<nObR>Blank menu</nObR>\",\"<NOBR>x</NOBR>\","
            "\"<nObR></nObR>\");");
    EXPECT_TRUE(Read(script));
    EXPECT_EQ(model.entries[0].MTM, "Blank menu");
    EXPECT_EQ(model.entries[1].MTM, "<nObR>Blank menu</nObR>");
    EXPECT_EQ(model.entries[2].MTM, "<NOBR>x</NOBR>");
    EXPECT_EQ(model.entries[3].MTM, "");
}

// Numbers and colours are taken as they stand; the settings texts as the
// settings dialog would have left them.
TEST_F(ReadScript, HandEditedValuesAreTakenAsTheyStand) {
    std::string script = ScriptOf(WithEntries(2));
    Replace(script, "scrIN=20", "scrIN= 0");
    Replace(script, "fDefCapS=12", "fDefCapS=12pt");
    Replace(script, "fDefMenu=\"Arial\"", "fDefMenu=\"O'Brien\"");
    Replace(script, "cDefMenu=\"#FFFFFF\"", "cDefMenu=\"#a0b0c0\"");
    Replace(script, "var MTCH = new Array (22,22);", "var MTCH = new Array ( 0 , +05 );");
    EXPECT_TRUE(Read(script));
    EXPECT_TRUE(messages.all().empty());
    EXPECT_EQ(model.settings.scrIN, 0);
    EXPECT_EQ(model.settings.fDefCapS, 12);
    EXPECT_EQ(model.settings.fDefMenu, "OBrien");
    EXPECT_EQ(model.settings.cDefMenu, (Color{0xA0, 0xB0, 0xC0}));
    EXPECT_EQ(model.entries[0].MTCH, 0);
    EXPECT_EQ(model.entries[1].MTCH, 5);
}

TEST_F(ReadScript, LfOnlyAndCrOnlyLineEndsReadLikeCrLf) {
    ProjectModel written = WithEntries(2);
    written.entries[1].MTC = "a\r\nb";
    written.entries[0].MTM = "x\\";
    const std::string script = ScriptOf(written);
    ASSERT_TRUE(Read(script));
    const std::vector<MenuEntry> expected = model.entries;
    for (const char* lineEnd : {"\n", "\r"}) {
        std::string other;
        for (std::size_t i = 0; i < script.size(); ++i) {
            if (script.compare(i, 2, "\r\n") == 0) {
                other += lineEnd;
                ++i;
            } else {
                other += script[i];
            }
        }
        model = ProjectModel{};
        EXPECT_TRUE(Read(other));
        EXPECT_EQ(model.entries, expected);
        EXPECT_EQ(model.entries[1].MTC, "a\r\nb");
    }
}

// Files written before menus had anchors and a compact layout read silently
// with the page's left corner and the compact layout off.
TEST_F(ReadScript, FilesWithoutAnchorsOrCompactLayoutReadAsBefore) {
    ProjectModel written = WithEntries(2);
    written.entries[1].AN = 3;
    written.entries[1].AE = "#nav";
    std::string script = ScriptOf(written);
    Replace(script, "var cmpW=640, cmpL=\"Menu\", cmpX=10, cmpY=10;\r\n", "");
    Replace(script, "var AN = new Array (0,3);\r\n", "");
    Replace(script, "var AE = new Array (\"\",\"#nav\");\r\n", "");
    EXPECT_TRUE(Read(script));
    EXPECT_TRUE(messages.all().empty());
    EXPECT_EQ(model.entries, WithEntries(2).entries);
    ProjectSettings off;
    off.cmpW = 0;
    EXPECT_EQ(model.settings, off);

    // An anchor the runtime does not know is the page's left; the button's
    // text may be missing on its own.
    script = ScriptOf(written);
    Replace(script, "var AN = new Array (0,3);", "var AN = new Array (-1,9);");
    Replace(script, "cmpW=640, cmpL=\"Menu\",", "cmpW=480,");
    EXPECT_TRUE(Read(script));
    EXPECT_TRUE(messages.all().empty());
    EXPECT_EQ(model.entries[0].AN, 0);
    EXPECT_EQ(model.entries[1].AN, 0);
    EXPECT_EQ(model.entries[1].AE, "#nav");
    EXPECT_EQ(model.settings.cmpW, 480);
    EXPECT_EQ(model.settings.cmpL, "Menu");
}

TEST_F(ReadScript, MissingKeysAreReportedInOrderAndReadingGoesOn) {
    std::string script = ScriptOf(WithEntries(2));
    Replace(script, ",scrOUT=10", "");
    Replace(script, "PRJ_sTemplate=\"Temp.html\"", "");
    Replace(script, "var MW = new Array (150,150);", "");
    Replace(script, "var CO = new Array (\"transparent\",\"transparent\");", "");
    EXPECT_TRUE(Read(script));
    EXPECT_EQ(messages.shown(),
              (std::vector<std::string>{CannotFindMessage("scrOUT="), CannotFindMessage("PRJ_sTemplate=\""),
                                        CannotFindMessage("var MW = new Array ("),
                                        CannotFindMessage("var CO = new Array (")}));
    EXPECT_EQ(model.settings.scrOUT, 0);
    // Empty, then as the settings dialog leaves an emptied name.
    EXPECT_EQ(model.settings.PRJ_sTemplate, "Temp.html");
    ASSERT_EQ(model.numOfMenus(), 2);
    EXPECT_EQ(model.entries[1].MW, 0);
    EXPECT_EQ(model.entries[1].CO, "");
    EXPECT_EQ(model.entries[1].MX, 162);
}

TEST_F(ReadScript, RefusedFilesLeaveTheOpenProjectAlone) {
    struct Case {
        const char* what;
        std::string from, to;
        std::vector<std::string> expected;
    };
    const std::string marker = "RarurAVI_Ver = \"1.00\";";
    const std::vector<Case> cases = {
        {"another version",
         marker,
         "RarurAVI_Ver = \"2.10\";",
         {"This project was created by another version of Didad: 2.10\r\n\r\nYou can download the latest "
          "version of Didad from here:\r\n       " +
          DownloadAddress()}},
        {"no marker at all",
         marker,
         "",
         {CannotFindMessage("RarurAVI_Ver = \""), "This is not Didad project file, or this project is corrupted."}},
        {"empty version",
         marker,
         "RarurAVI_Ver = \"\";",
         {"This is not Didad project file, or this project is corrupted."}},
        {"too many menus",
         "var numOfMenus=2",
         "var numOfMenus=10001",
         {"This project has too many menus (10001); a project can hold at most 10000."}},
        {"negative count",
         "var numOfMenus=2",
         "var numOfMenus=-3",
         {"This project has too many menus (-3); a project can hold at most 10000."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string script = ScriptOf(WithEntries(2));
        Replace(script, c.from, c.to);
        model = OpenProject();
        messages.Clear();
        EXPECT_FALSE(Read(script));
        EXPECT_EQ(messages.shown(), c.expected);
        EXPECT_EQ(model.entries, OpenProject().entries);
        EXPECT_EQ(model.settings, OpenProject().settings);
        EXPECT_EQ(model.iSelectedMenu, 2);
    }
}

// Regression: a read that ends in a conversion error used to leave the
// settings and entries read so far in the open project.
TEST_F(ReadScript, ConversionErrorsEndTheReadAndLeaveTheOpenProjectAlone) {
    struct Case {
        const char* what;
        std::string from, to, errorText;
    };
    const std::vector<Case> cases = {
        {"array one value short", "var MTCH = new Array (22,22);", "var MTCH = new Array (22);",
         ";\r\nvar MTM = new Array (\"Blank menu\""},
        {"bad settings integer", "fDefMenuS=12", "fDefMenuS=1x2", "1x2"},
        {"bad last array value", "var OO = new Array (0,0);", "var OO = new Array (0,one);", "one"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string script = ScriptOf(WithEntries(2));
        Replace(script, c.from, c.to);
        model = OpenProject();
        try {
            Read(script);
            ADD_FAILURE() << "expected a conversion error";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.text(), c.errorText);
        }
        EXPECT_EQ(model.entries, OpenProject().entries);
        EXPECT_EQ(model.settings, OpenProject().settings);
    }
}

// A colour goes into the style rules of every page that shows the menus: a
// value that is not one is replaced, and the rest of the file still opens.
TEST_F(ReadScript, ValuesThatAreNotColoursAreReplacedAndNamed) {
    ProjectModel written = WithEntries(3);
    written.entries[0].CM = "#abcdef"; // lower case and empty are colours too
    written.entries[0].CO = "";
    written.entries[2].MTC = "Third";
    std::string script = ScriptOf(written);
    Replace(script, "cDefCap=\"#FFFFFF\"", "cDefCap=\"white\"");
    Replace(script, "cDefMenu=\"#FFFFFF\"", "cDefMenu=\"#102030\"");
    Replace(script, "\"#000000\",\"#000000\");", "\"#000000\",\"red;}</style><img src=x onerror=alert(1)>\");");
    Replace(script, "var CO = new Array (\"\",\"transparent\"", "var CO = new Array (\"\",\"#12345\"");
    Replace(script, "var CM = new Array (\"#abcdef\",\"#008080\",\"#008080\"",
            "var CM = new Array (\"#abcdef\",\"#008080\",\"url(javascript:x)\"");
    ASSERT_TRUE(Read(script));
    EXPECT_EQ(model.settings.cDefCap, kWhite);
    EXPECT_EQ(model.settings.cDefMenu, (Color{0x10, 0x20, 0x30}));
    EXPECT_EQ(model.entries[0].CM, "#abcdef");
    EXPECT_EQ(model.entries[0].CO, "");
    EXPECT_EQ(model.entries[1].CO, "transparent");
    EXPECT_EQ(model.entries[2].CC, "#000000");
    EXPECT_EQ(model.entries[2].CM, "#008080");
    EXPECT_EQ(model.entries[2].MTC, "Third");
    EXPECT_EQ(model.entries[2].OO, 0);
    EXPECT_EQ(messages.all(),
              std::vector<std::string>{"Some colours in this project file are not colours; each was replaced by the "
                                       "colour of a new project:\r\n"
                                       "Default Text Color, Caption (cDefCap): #FFFFFF\r\n"
                                       "Menu 2, Bottom Color (CO): transparent\r\n"
                                       "Menu 3, Caption Color (CC): #000000\r\n"
                                       "Menu 3, Menu Color (CM): #008080"});
    // What is written next holds only colours.
    EXPECT_EQ(ScriptOf(model).find("src=x"), std::string::npos);

    // A key that is missing is told as before, and its colour replaced as well.
    messages.Clear();
    script = ScriptOf(WithEntries(0));
    Replace(script, "cDefMenu=\"#FFFFFF\"", "");
    ASSERT_TRUE(Read(script));
    EXPECT_EQ(model.settings.cDefMenu, kWhite);
    ASSERT_EQ(messages.all().size(), 2U);
    EXPECT_EQ(messages.all()[0], CannotFindMessage("cDefMenu=\""));
    EXPECT_NE(messages.all()[1].find("Default Text Color, Menu (cDefMenu): #FFFFFF"), std::string::npos);
}

TEST(WrittenColours, AModelFilledSomeOtherWayWritesOnlyColours) {
    ProjectModel model = WithEntries(2);
    model.entries[1].CO = "red;}</style><script>alert(1)</script>";
    model.entries[1].CC = "\"+alert(1)+\"";
    const std::string script = ScriptOf(model);
    EXPECT_NE(script.find("var CO = new Array (\"transparent\",\"transparent\");"), std::string::npos);
    EXPECT_NE(script.find("var CC = new Array (\"#000000\",\"#000000\");"), std::string::npos);
    for (const EntryItem& item : EntryScriptItems(model.entries[1])) {
        if (std::string_view(item.array).starts_with("C")) {
            EXPECT_TRUE(IsMenuColor(item.text)) << item.array;
        }
    }
}

// Texts of any bytes come back as they were, whatever escapes the writer
// needed to keep them strings on pages of two-byte character sets.
TEST_F(ReadScript, HostileBytesComeBackByteForByte) {
    ProjectModel written = WithEntries(3);
    written.settings.cmpL = "\x81\"\x81\\\x81";
    written.entries[0].MTC = "A\x81\";alert(1);//";
    written.entries[0].MTM = "x\x81\\y\x1B$B\"\x1B(B";
    written.entries[1].MTC = "\x81\x81\r\nline two\x81";
    written.entries[1].MTM = "\xE3\x81\x82\"\xF0\x9F\x98\x80\r\n\xED\xA0\x80\\";
    written.entries[1].OO = 1;
    written.entries[2].AE = "#a\x95\\";
    written.entries[2].MTM = "\\x41\\u00e9 \\\x81"; // escapes typed as text stay text
    written.iSelectedMenu = 0;                      // as reading gives it
    const std::string script = ScriptOf(written);
    const std::size_t dataEnd = script.find("var AE = new Array (");
    for (std::size_t at = script.find('\\'); at < dataEnd; at = script.find('\\', at + 1))
        ASSERT_LT(static_cast<unsigned char>(script[at - 1]), 0x80) << at;
    EXPECT_EQ(script.find('\x1B'), std::string::npos);
    ASSERT_TRUE(Read(script));
    EXPECT_TRUE(messages.all().empty());
    EXPECT_EQ(model.settings.cmpL, written.settings.cmpL);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(model.entries[i].MTC, written.entries[i].MTC) << i;
        EXPECT_EQ(model.entries[i].MTM, written.entries[i].MTM) << i;
        EXPECT_EQ(model.entries[i].AE, written.entries[i].AE) << i;
    }
    EXPECT_EQ(ScriptOf(model), script);
}

TEST_F(ReadScript, CapacityIsTheLimitNotBeyond) {
    std::string script = ScriptOf(WithEntries(kMaxMenus));
    EXPECT_TRUE(Read(script));
    EXPECT_EQ(model.numOfMenus(), kMaxMenus);
    EXPECT_TRUE(messages.all().empty());
}

TEST_F(ReadScript, UnreadableFileIsCannotOpenFile) {
    try {
        ReadProjectScript(temp.File("nothing.js"), model, messages);
        FAIL() << "expected CannotOpenFile";
    } catch (const CannotOpenFile& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + temp.File("nothing.js"));
    }
    EXPECT_THROW(ReadProjectScript(temp.str(), model, messages), CannotOpenFile); // a folder
}

#ifndef _WIN32
// A source whose size is not known beforehand, as a pipe, is read on to its
// end however many times the room must grow.
TEST_F(ReadScript, SourceOfUnknownSizeIsReadToItsEnd) {
    ProjectModel written = WithEntries(300);
    for (MenuEntry& entry : written.entries) entry.MTM = std::string(500, 'm') + "\r\n\"end\"";
    const std::string script = ScriptOf(written, ScriptMode::Final);
    const std::string path = temp.File("pipe.js");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    std::thread feeder([&] { WriteFileBytes(path, script); });
    bool read = false;
    std::string error;
    try {
        read = ReadProjectScript(path, model, messages);
    } catch (const std::exception& e) {
        error = e.what();
    }
    feeder.join(); // the reader takes the whole pipe before it looks at the text
    EXPECT_EQ(error, "");
    EXPECT_TRUE(read);
    EXPECT_TRUE(messages.all().empty());
    EXPECT_EQ(model.entries, written.entries);
}
#endif

// Regression: damaged files whose values run to the end of the text must
// stop there instead of reading past it.
TEST_F(ReadScript, TruncatedFilesStopAtTheEnd) {
    const std::string script = ScriptOf(WithEntries(3));
    const std::size_t menus = script.find("var MTM = new Array (\"Blank");
    ASSERT_NE(menus, std::string::npos);
    // Cut inside the first menu text: it keeps what is there, the rest of
    // the arrays are missing keys.
    EXPECT_TRUE(Read(script.substr(0, menus + 25)));
    ASSERT_EQ(model.numOfMenus(), 3);
    EXPECT_EQ(model.entries[0].MTM, "Bla\r\n"); // the search text ends every line
    EXPECT_EQ(model.entries[2].MTM, "");
    EXPECT_EQ(model.entries[2].MTCH, 22);
    ASSERT_EQ(messages.shown().size(), 9u);
    EXPECT_EQ(messages.shown().front(), CannotFindMessage("var MX = new Array ("));
    EXPECT_EQ(messages.shown().back(), CannotFindMessage("var OO = new Array ("));

    // Cut inside a number array: the missing value does not convert.
    const std::size_t heights = script.find("var MTCH = new Array (22,22,");
    ASSERT_NE(heights, std::string::npos);
    try {
        Read(script.substr(0, heights + 26));
        ADD_FAILURE() << "expected a conversion error";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.text(), "");
    }
    // Cut right after a key.
    messages.Clear();
    EXPECT_TRUE(Read(script.substr(0, menus + 21)));
    EXPECT_EQ(model.entries[0].MTM, "");
}

// Regression: menu HTML holding an array's key text (say, a script snippet
// in a panel) was read in place of the real array further down.
TEST_F(ReadScript, KeyTextsInsideMenuHtmlDoNotStandInForTheArrays) {
    ProjectModel written = WithEntries(2);
    written.entries[0].MTC = "var MTM = new Array (\"x\");";
    written.entries[1].MTM = "<SCRIPT>var MX = new Array (5,6); var OO = new Array (1,1);</SCRIPT>";
    EXPECT_TRUE(Read(ScriptOf(written)));
    EXPECT_EQ(model.entries, written.entries);

    // Arrays moved around by hand are still found.
    std::string script = ScriptOf(WithEntries(2));
    const std::string mx = "var MX = new Array (10,162);\r\n";
    Replace(script, mx, "");
    Replace(script, "var MTC = new Array (", mx + "var MTC = new Array (");
    EXPECT_TRUE(Read(script));
    EXPECT_TRUE(messages.all().empty());
    EXPECT_EQ(model.entries[1].MX, 162);
}

// A large project's later panels are read on a second thread while the
// reader works its way there; what comes back must not depend on where that
// thread starts or whether the reader ever comes there.
TEST_F(ReadScript, LargeProjectsReadTheSameWhereverTheReadingAheadStarts) {
    auto project = [](bool longAnchors) {
        ProjectModel model = WithEntries(1001);
        const std::string html = "<P title=\"x\">\\\",\"\\\\\",\"\r\n\u00E9" + std::string(600, 'm');
        for (std::size_t i = 0; i < model.entries.size(); ++i) {
            MenuEntry& e = model.entries[i];
            e.MTC = "c" + std::to_string(i);
            e.OO = i % 3 == 0;
            // Every other panel is a lone comma, written "," between two
            // separators: an opening quote that looks like a closing one.
            e.MTM = i % 2 ? "," : std::to_string(i) + (longAnchors ? "" : html);
            // Long anchors put the place the thread starts from past the panels.
            e.AN = 3;
            e.AE = longAnchors ? "#a" + std::to_string(i) + std::string(900, 'a') : "#a";
        }
        return model;
    };
    for (bool longAnchors : {false, true}) {
        SCOPED_TRACE(longAnchors);
        const ProjectModel written = project(longAnchors);
        const std::string script = ScriptOf(written, ScriptMode::Final);
        ASSERT_GT(script.size(), 400'000u);
        ASSERT_TRUE(Read(script));
        EXPECT_EQ(model.entries, written.entries);

        // Separators a hand has spaced out stop the thread where they are;
        // lines ending in LF alone are read from a text of their own.
        std::string spaced = script;
        for (std::size_t at = spaced.size() / 3; (at = spaced.find("\",\",\"", at)) != std::string::npos; at += 40)
            spaced.insert(at + 2, " ");
        ASSERT_TRUE(Read(spaced));
        EXPECT_EQ(model.entries, written.entries);
        std::string lfOnly;
        for (char c : script)
            if (c != '\r') lfOnly += c;
        ASSERT_TRUE(Read(lfOnly));
        EXPECT_EQ(model.entries, written.entries);
    }
}

// The arrays after a large project's panels are read on the second thread
// straight into the menus; whatever a hand made of them, the reader's own
// reading must have the last word.
TEST_F(ReadScript, LargeProjectsReadTheArraysAfterThePanelsAsTheReaderWould) {
    ProjectModel written = WithEntries(1001);
    for (std::size_t i = 0; i < written.entries.size(); ++i) {
        MenuEntry& e = written.entries[i];
        const int n = static_cast<int>(i);
        e.MTC = "c" + std::to_string(i);
        e.MTM = std::to_string(i) + std::string(400, 'm');
        e.MX = n;
        e.MY = -n;
        e.MW = n * 7;
        e.CO = i % 2 ? "transparent" : "#0000" + std::string(i % 10 ? "0a" : "0b");
        e.CC = "#" + std::to_string(100000 + n);
        e.CM = "#c0c0c0";
        e.MA = n % 2;
        e.FL = (n + 1) % 2;
        e.OO = n % 3 == 0;
        e.AN = n % 4;
        e.AE = "#e" + std::to_string(i) + "\"q\"";
    }
    const std::string script = ScriptOf(written, ScriptMode::Final);
    ASSERT_GT(script.size(), 400'000u);
    ASSERT_TRUE(Read(script));
    EXPECT_EQ(model.entries, written.entries);
    EXPECT_TRUE(messages.all().empty());

    // The last menu's top spaced out: read the general way, after the thread
    // wrote every left and most tops.
    std::string spaced = script;
    Replace(spaced, ",-1000);", ", -1000);");
    ASSERT_TRUE(Read(spaced));
    EXPECT_EQ(model.entries, written.entries);

    // An older file without the anchor elements.
    std::string older = script;
    const std::size_t anchors = older.find("var AE = new Array (");
    older.erase(anchors, older.find(");", anchors) + 4 - anchors);
    ASSERT_TRUE(Read(older));
    ProjectModel expected = written;
    for (MenuEntry& e : expected.entries) e.AE.clear();
    EXPECT_EQ(model.entries, expected.entries);

    // A colour that is none, in the last menu.
    std::string badColour = script;
    Replace(badColour, "\"#c0c0c0\");", "\"nocolour\");");
    messages.Clear();
    ASSERT_TRUE(Read(badColour));
    expected = written;
    expected.entries.back().CM = MenuEntry{}.CM;
    EXPECT_EQ(model.entries, expected.entries);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_NE(messages.shown()[0].find("Menu 1001, Menu Color (CM): #008080"), std::string::npos);

    // A value the reader cannot take ends the read while the thread may
    // still be writing into the menus.
    std::string broken = script;
    Replace(broken, "var MTCH = new Array (22,", "var MTCH = new Array (x,");
    EXPECT_THROW(Read(broken), ConversionError);
}
