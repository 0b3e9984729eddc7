// The live preview's statement and its pace.
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "model/ProjectModel.h"
#include "model/ScriptWriter.h"
#include "preview/LiveChanges.h"

using namespace didad;

TEST(EncodeJsLiteral, NoTextLeavesTheLiteralAndItsValueIsTheScriptItems) {
    // Quotes and backslashes escaped; "<" never bare, so no "</script>".
    EXPECT_EQ(EncodeJsLiteral("a\"b\\c'</script>"), R"("a\"b\\c'\x3C/script>")");
    // Line breaks continue the literal in the file: they are no part of the value.
    EXPECT_EQ(EncodeJsLiteral("one\r\ntwo\nthree\rfour\tfive"), R"("onetwothreefour\x09five")");
    // Beyond ASCII: UTF-16 units, line separators and pairs included.
    EXPECT_EQ(EncodeJsLiteral("\xC3\xA9\xE2\x80\xA8\xE2\x80\xA9\xF0\x9F\x98\x80"),
              R"("\u00E9\u2028\u2029\uD83D\uDE00")");
    // Bytes that are no UTF-8, an encoded lone surrogate among them.
    EXPECT_EQ(EncodeJsLiteral("\xFF"
                              "x\xC3"
                              "\xED\xA0\x80"),
              R"("\uFFFDx\uFFFD\uFFFD\uFFFD\uFFFD")");
    // Whatever the bytes, printable ASCII only, and never a bare "<".
    for (int byte = 0; byte < 256; ++byte) {
        const std::string literal = EncodeJsLiteral(std::string(3, static_cast<char>(byte)));
        for (char c : literal) ASSERT_TRUE(c >= 0x20 && c < 0x7F && c != '<') << byte;
    }
}

TEST(LiveMenuStatement, CarriesEveryPerMenuArrayAsTheNextWriteWouldAndLeavesTheModel) {
    ProjectModel model;
    model.AddMenuEntry();
    model.AddMenuEntry();
    MenuEntry& entry = model.entries[1];
    entry.OO = 1; // the next write turns "Caption" upright and wraps the panel
    entry.MTM = "A \"quoted\" <B>menu</B>";
    entry.MX = -5;
    const MenuEntry before = entry;

    const std::string statement = LiveMenuStatement(model, 1);
    EXPECT_EQ(statement.rfind("yLive(1,{", 0), 0u) << statement;
    EXPECT_NE(statement.find(R"(MTC:"\x3CCENTER>C\x3CBR>a)"), std::string::npos) << statement;
    EXPECT_NE(statement.find(R"(MTM:"\x3CnObR>A \"quoted\" \x3CB>menu\x3C/B>\x3C/nObR>")"), std::string::npos)
        << statement;
    EXPECT_NE(statement.find("MX:-5,"), std::string::npos) << statement;
    EXPECT_EQ(model.entries[1], before);

    // Every array that the data part declares per menu reaches the page.
    const std::string script = BuildProjectScript(model, ScriptMode::Preview);
    const std::regex declaration(R"(var (\w+) = new Array \()");
    int arrays = 0;
    for (std::sregex_iterator it(script.begin(), script.end(), declaration), end; it != end; ++it) {
        const std::string name = (*it)[1];
        if (name == "PR") continue; // the page's own timers
        ++arrays;
        const bool carried = statement.find("," + name + ":") != std::string::npos ||
                             statement.find("{" + name + ":") != std::string::npos;
        EXPECT_TRUE(carried) << name;
    }
    EXPECT_GE(arrays, 12);
}

TEST(LiveThrottle, OneStatementPerMenuPerIntervalAndTheLastChangeAlwaysGoesOut) {
    using std::chrono::milliseconds;
    LiveThrottle throttle;
    const LiveThrottle::Time t0{};
    EXPECT_TRUE(throttle.Change(3, t0));
    EXPECT_FALSE(throttle.Change(3, t0 + milliseconds(10)));
    EXPECT_FALSE(throttle.Change(3, t0 + milliseconds(30))); // still the one waiting statement
    EXPECT_TRUE(throttle.Change(4, t0 + milliseconds(30)));  // another menu keeps its own pace
    ASSERT_TRUE(throttle.NextDue().has_value());
    EXPECT_EQ(*throttle.NextDue(), t0 + milliseconds(50));
    EXPECT_TRUE(throttle.Due(t0 + milliseconds(49)).empty());
    EXPECT_EQ(throttle.Due(t0 + milliseconds(50)), std::vector<int>{3});
    EXPECT_FALSE(throttle.NextDue().has_value());
    // Counted from the statement that went out at 50.
    EXPECT_FALSE(throttle.Change(3, t0 + milliseconds(60)));
    EXPECT_EQ(*throttle.NextDue(), t0 + milliseconds(100));
    EXPECT_TRUE(throttle.Due(t0 + milliseconds(99)).empty());
    EXPECT_EQ(throttle.TakeWaiting(), std::vector<int>{3});
    throttle.Clear(); // a reload: the next change goes out at once
    EXPECT_TRUE(throttle.Change(4, t0 + milliseconds(61)));
}

// The page reads a script without the UTF-8 mark in its own character set;
// the live statement must hand such texts over so that the page reads them
// the same way, and must know when the script carries the mark exactly as
// the writer decides it.
TEST(LiveMenuStatement, TextsBeyondAsciiGoAsThePageReadsThemFromTheScript) {
    struct Case {
        const char* what;
        std::function<void(ProjectModel&)> make;
    };
    const std::vector<Case> cases = {
        {"ASCII only", [](ProjectModel&) {}},
        {"valid UTF-8 in a caption", [](ProjectModel& m) { m.entries[1].MTC = "Caf\xC3\xA9"; }},
        {"a Latin-1 byte in another menu's colour",
         [](ProjectModel& m) {
             m.entries[1].MTC = "Caf\xC3\xA9";
             m.entries[2].CM = "#00\xE9";
         }},
        {"a Latin-1 byte only in the compact label",
         [](ProjectModel& m) {
             m.entries[1].MTM = "\xE2\x82\xAC";
             m.settings.cmpL = "Men\xFC";
         }},
        {"valid UTF-8 in a font name only", [](ProjectModel& m) { m.settings.fDefMenu = "Schrift \xC3\xBC"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProjectModel model;
        for (int i = 0; i < 3; ++i) model.AddMenuEntry();
        c.make(model);
        const bool marked = BuildProjectScript(model, ScriptMode::Preview).starts_with("\xEF\xBB\xBF");
        EXPECT_EQ(ScriptReadsAsUtf8(model), marked);
    }

    // Without the mark, menu 1's texts beyond ASCII go as bytes (its valid
    // UTF-8 caption too: the page reads that in its own set as well), its
    // ASCII texts and colours as literals.
    ProjectModel model;
    for (int i = 0; i < 3; ++i) model.AddMenuEntry();
    model.entries[1].MTC = "Caf\xC3\xA9 \"<b>\"";
    model.entries[1].MTM = "line\r\nbreak \\ \xE9";
    model.entries[2].MTM = "\x80";
    const std::string statement = LiveMenuStatement(model, 1);
    EXPECT_NE(statement.find(R"(MTC:yPageText("Caf\xC3\xA9 \x22\x3Cb>\x22"))"), std::string::npos) << statement;
    EXPECT_NE(statement.find(R"(MTM:yPageText("linebreak \x5C \xE9"))"), std::string::npos) << statement;
    EXPECT_NE(statement.find(R"(CC:"#000000")"), std::string::npos) << statement;
    // A menu of ASCII texts needs no bytes, and the mark decides nothing there.
    EXPECT_EQ(LiveMenuStatement(model, 0).find("yPageText"), std::string::npos);

    // With the mark (every text valid UTF-8) the same caption is a literal.
    model.entries[1].MTM = "fine";
    model.entries[2].MTM = "\xC3\xA9";
    const std::string marked = LiveMenuStatement(model, 1);
    EXPECT_EQ(marked.find("yPageText"), std::string::npos) << marked;
    EXPECT_NE(marked.find(R"(MTC:"Caf\u00E9 \"\x3Cb>\"")"), std::string::npos) << marked;
}
