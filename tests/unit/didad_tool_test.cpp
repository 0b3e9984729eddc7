// The command-line driver, run as a separate program the way the browser
// tests and benchmarks run it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/wait.h>

#include "TempFolder.h"
#include "model/ProjectModel.h"
#include "model/ScriptWriter.h"

using namespace didad;
using didad::testing::ReadFileBytes;
using didad::testing::TempFolder;
using didad::testing::WriteFileBytes;
namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int status = -1;
    std::string out, err;
};

class DidadTool : public ::testing::Test {
protected:
    TempFolder temp;

    void SetUp() override {
        const char* tool = std::getenv("DIDAD_TOOL");
        if (!tool || !*tool) GTEST_SKIP() << "DIDAD_TOOL is not set (ctest sets it)";
        tool_ = tool;
    }

    std::string Quote(const std::string& text) const {
        std::string out = "'";
        for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return out + "'";
    }

    ToolRun Tool(const std::string& arguments, const std::string& input = "") {
        WriteFileBytes(temp.File("stdin"), input);
        // The tool's record of published scripts stays in the test's folder.
        const std::string command = "XDG_DATA_HOME=" + Quote(temp.File("data")) + " " + Quote(tool_) + " " + arguments +
                                    " <" + Quote(temp.File("stdin")) + " >" + Quote(temp.File("stdout")) + " 2>" +
                                    Quote(temp.File("stderr"));
        const int raw = std::system(command.c_str());
        ToolRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadFileBytes(temp.File("stdout"));
        run.err = ReadFileBytes(temp.File("stderr"));
        return run;
    }

    std::string Dir() const { return Quote(temp.File("p")); }

private:
    std::string tool_;
};

} // namespace

TEST_F(DidadTool, NewAddAndDump) {
    ToolRun run = Tool("new " + Dir());
    ASSERT_EQ(run.status, 0) << run.err;
    ProjectModel fresh;
    fresh.projectFolder = temp.File("p");
    EXPECT_EQ(ReadFileBytes(temp.File("p/Dirovidadaz.js")), BuildProjectScript(fresh, ScriptMode::Preview));
    EXPECT_TRUE(fs::exists(temp.File("p/Temp.html")));

    run = Tool("add " + Dir() + " 6");
    ASSERT_EQ(run.status, 0) << run.err;
    run = Tool("dump " + Dir());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string start =
        "{\"settings\":{\"scrIN\":20,\"scrOUT\":10,\"cDefCap\":\"#FFFFFF\",\"fDefCap\":\"Arial\",\"fDefCapS\":12,"
        "\"cDefMenu\":\"#FFFFFF\",\"fDefMenu\":\"Arial\",\"fDefMenuS\":12,\"PRJ_sTemplate\":\"Temp.html\","
        "\"compactWidth\":640,\"compactLabel\":\"Menu\",\"compactLeft\":10,\"compactTop\":10},"
        "\"iSelectedMenu\":0,\"entries\":[{\"MTC\":\"Caption\",\"MTCH\":22,\"MTM\":\"Bla";
    EXPECT_EQ(run.out.substr(0, start.size()), start);
    // The sixth menu starts a new row.
    EXPECT_NE(run.out.find("\"MX\":10,\"MY\":110,"), std::string::npos);
    EXPECT_EQ(run.out.back(), '\n');
}

TEST_F(DidadTool, WriteThenDumpGivesTheModelBack) {
    const std::string model =
        R"({"settings":{"scrIN":5,"scrOUT":7,"cDefCap":"#102030","fDefCap":"Verdana","fDefCapS":9,)"
        R"("cDefMenu":"#A0B0C0","fDefMenu":"Arial","fDefMenuS":11,"PRJ_sTemplate":"index.html",)"
        R"("compactWidth":0,"compactLabel":"Men\"u\\","compactLeft":-3,"compactTop":40},)"
        R"("iSelectedMenu":0,"entries":[{"MTC":"<A HREF=\"a.html\">Home</A>","MTCH":30,)"
        R"("MTM":"line\r\nback\\slash","MX":-20,"MY":5,"MW":100,"CO":"transparent","CC":"#000000",)"
        R"("CM":"#008080","MA":1,"FL":0,"OO":0,"anchor":"element","anchorElement":"header h1[title=\"a\"]"},)"
        R"({"MTC":"x","MTCH":22,"MTM":"side","MX":1,"MY":2,"MW":3,)"
        R"("CO":"#111111","CC":"#222222","CM":"#333333","MA":0,"FL":1,"OO":1,"anchor":"center","anchorElement":""}]})";
    ToolRun run = Tool("write " + Dir() + " --final", model);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string script = ReadFileBytes(temp.File("p/Dirovidadaz.js"));
    EXPECT_NE(script.find(",IDE=0,"), std::string::npos);
    EXPECT_NE(script.find("\"<nObR>side</nObR>\""), std::string::npos);
    EXPECT_TRUE(fs::exists(temp.File("p/index.html")));
    run = Tool("dump " + Dir());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, model + "\n");

    run = Tool("write " + Dir(), model); // preview mode
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(ReadFileBytes(temp.File("p/Dirovidadaz.js")).find(",IDE=1,"), std::string::npos);

    // Fields left out take their new-project values.
    ASSERT_EQ(Tool("write " + Dir(), R"({"entries":[{}]})").status, 0);
    run = Tool("dump " + Dir());
    EXPECT_NE(run.out.find(R"("compactWidth":640,"compactLabel":"Menu","compactLeft":10,"compactTop":10})"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(R"("anchor":"left","anchorElement":""})"), std::string::npos) << run.out;
}

TEST_F(DidadTool, ReaderMessagesGoToStandardErrorInOrder) {
    ASSERT_EQ(Tool("add " + Dir() + " 2").status, 1); // nothing there yet
    ASSERT_EQ(Tool("new " + Dir()).status, 0);
    ASSERT_EQ(Tool("add " + Dir() + " 2").status, 0);
    std::string script = ReadFileBytes(temp.File("p/Dirovidadaz.js"));
    script.replace(script.find(",scrOUT=10"), 10, "");
    script.replace(script.find("var MW = new Array (150,150);"), 29, "");
    WriteFileBytes(temp.File("p/Dirovidadaz.js"), script);
    ToolRun run = Tool("dump " + Dir());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err,
              "Cannot find: scrOUT=\nThe script file maybe corrupted.\n"
              "Cannot find: var MW = new Array (\nThe script file maybe corrupted.\n");
    EXPECT_NE(run.out.find("\"scrOUT\":0"), std::string::npos);

    script.replace(script.find("RarurAVI_Ver = \"1.00\";"), 22, "RarurAVI_Ver = \"3.0\";");
    WriteFileBytes(temp.File("p/Dirovidadaz.js"), script);
    run = Tool("dump " + Dir());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("This project was created by another version of Didad: 3.0\n\n", 0), 0u) << run.err;
}

TEST_F(DidadTool, BadInputIsAClearErrorNeverACrash) {
    struct Case {
        std::string arguments, input, error;
    };
    const Case cases[] = {
        {"", "", "no command given"},
        {"frobnicate x", "", "unknown command"},
        {"new", "", "new takes one folder"},
        {"add " + Dir() + " many", "", "the count must be"},
        {"dump " + Dir(), "", "Cannot open file"},
        {"write " + Dir(), "{not json", "not valid JSON"},
        {"write " + Dir(), "[]", "must be a JSON object"},
        {"write " + Dir(), R"({"entries":[{"MX":"10"}]})", "entries[0].MX must be an integer"},
        {"write " + Dir(), R"({"entries":[{"MX":3000000000}]})", "entries[0].MX is out of range"},
        {"write " + Dir(), R"({"settings":{"cDefCap":"white"}})", "'$tehi' is not a valid integer value"},
        {"write " + Dir(), R"({"entries":[{"anchor":"middle"}]})", "entries[0].anchor must be \"left\""},
        {"write " + Dir() + " --draft", "{}", "optionally --final"},
        {"write " + Quote(temp.File("a/b/c")), "{}", "Cannot create file"},
    };
    for (const Case& c : cases) {
        const ToolRun run = Tool(c.arguments, c.input);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << c.arguments << "\n" << run.err;
    }
    ASSERT_EQ(Tool("new " + Dir()).status, 0);
    ASSERT_EQ(Tool("add " + Dir() + " 9999").status, 0);
    const ToolRun full = Tool("add " + Dir() + " 2");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("A project can hold at most 10000 menus."), std::string::npos);
}

TEST_F(DidadTool, PublishAndUnpublishPrintOneLinePerPageAndFailOnFaults) {
    ASSERT_EQ(Tool("new " + Dir()).status, 0);
    const std::string page = "<html><head></head><body></body></html>";
    fs::create_directories(temp.path() / "site" / "shop");
    WriteFileBytes(temp.File("site/shop/a.html"), page);
    WriteFileBytes(temp.File("site/b.html"), "<html><body>no head</body></html>");
    const std::string site = Quote(temp.File("site"));

    ToolRun run = Tool("publish " + Dir() + " " + site + " --script-dir js shop/a.html b.html");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "shop/a.html: added\nb.html: skipped: no <head> tag\n");
    EXPECT_NE(ReadFileBytes(temp.File("site/js/Dirovidadaz.js")).find(",IDE=0,"), std::string::npos);
    EXPECT_NE(ReadFileBytes(temp.File("site/shop/a.html")).find("<script defer src=\"../js/Dirovidadaz.js\">"),
              std::string::npos);

    run = Tool("publish " + Dir() + " " + site + " shop/a.html");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "shop/a.html: mended\n");

    run = Tool("unpublish " + site + " shop/a.html b.html");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "shop/a.html: removed\nb.html: unchanged\n");
    EXPECT_EQ(ReadFileBytes(temp.File("site/shop/a.html")), page);

    EXPECT_EQ(Tool("publish " + Dir() + " " + site + " --script-dir").status, 1);
    run = Tool("publish " + Dir() + " " + site + " --script-dir ../x shop/a.html");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("The script folder must lie inside the site folder"), std::string::npos) << run.err;
}

TEST_F(DidadTool, PublishReplacesAnotherScriptOnlyWithReplaceAndKeepsThePairWithClassic) {
    const std::string other = Quote(temp.File("other"));
    ASSERT_EQ(Tool("new " + Dir()).status, 0);
    ASSERT_EQ(Tool("new " + other).status, 0);
    ASSERT_EQ(Tool("add " + other + " 2").status, 0);
    const std::string page = "<html><head></head><body></body></html>";
    fs::create_directories(temp.path() / "site");
    WriteFileBytes(temp.File("site/a.html"), page);
    const std::string damaged =
        "<html><head><!-- Head Code by Didad --><!-- Body Code by Didad -->"
        "<!-- End Body Code by Didad --><!-- End Head Code Didad --></head><body></body>";
    WriteFileBytes(temp.File("site/d.html"), damaged);
    const std::string site = Quote(temp.File("site"));

    ASSERT_EQ(Tool("publish " + other + " " + site + " a.html").status, 0);
    const std::string othersScript = ReadFileBytes(temp.File("site/Dirovidadaz.js"));
    ToolRun run = Tool("publish " + Dir() + " " + site + " --classic a.html");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("holds another Dirovidadaz.js (a Didad script with 2 menus, last changed "),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("(--replace replaces it)"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(temp.File("site/Dirovidadaz.js")), othersScript);

    run = Tool("publish " + Dir() + " " + site + " --replace --classic a.html");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "a.html: mended\n");
    EXPECT_NE(ReadFileBytes(temp.File("site/a.html")).find("makeDidad()"), std::string::npos);
    const std::string ownScript = ReadFileBytes(temp.File("site/Dirovidadaz.js"));
    // Its own script, published again after an edit, needs no --replace, and
    // the page keeps the pair; the damaged page fails the run and is named
    // on standard error.
    ASSERT_EQ(Tool("add " + Dir() + " 1").status, 0);
    run = Tool("publish " + Dir() + " " + site + " d.html a.html");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "d.html: skipped: one frame of the menus' code lies inside the other\na.html: unchanged\n");
    EXPECT_EQ(run.err, "didad-tool: d.html left as it was: one frame of the menus' code lies inside the other\n");
    EXPECT_EQ(ReadFileBytes(temp.File("site/d.html")), damaged);
    EXPECT_NE(ReadFileBytes(temp.File("site/Dirovidadaz.js")), ownScript);
    EXPECT_NE(ReadFileBytes(temp.File("site/a.html")).find("makeDidad()"), std::string::npos);

    run = Tool("publish " + Dir() + " " + Quote(temp.path().string()) + " --script-dir p site/a.html");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot be the project folder"), std::string::npos) << run.err;
    EXPECT_EQ(Tool("unpublish " + site + " a.html d.html").status, 1);
    EXPECT_EQ(ReadFileBytes(temp.File("site/a.html")), page);
    EXPECT_EQ(ReadFileBytes(temp.File("site/d.html")), damaged);
}
