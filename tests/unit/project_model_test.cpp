#include <gtest/gtest.h>

#include "model/ProjectModel.h"
#include "model/ValueHelpers.h"

using namespace didad;

namespace {

ProjectModel WithEntries(int count) {
    ProjectModel model;
    for (int i = 0; i < count; ++i) model.AddMenuEntry();
    return model;
}

} // namespace

TEST(AddMenuEntry, FirstEntryGetsTheDefaults) {
    ProjectModel model;
    EXPECT_EQ(model.AddMenuEntry(), 0);
    ASSERT_EQ(model.numOfMenus(), 1);
    const MenuEntry& e = model.entries[0];
    EXPECT_EQ(e.MTC, "Caption");
    EXPECT_EQ(e.MTM, "Blank menu");
    EXPECT_EQ(e.MX, 10);
    EXPECT_EQ(e.MY, 10);
    EXPECT_EQ(e.MW, 150);
    EXPECT_EQ(e.MTCH, 22);
    EXPECT_EQ(e.CO, "transparent");
    EXPECT_EQ(e.CC, "#000000");
    EXPECT_EQ(e.CM, "#008080");
    EXPECT_EQ(e.MA, 0);
    EXPECT_EQ(e.FL, 1);
    EXPECT_EQ(e.OO, 0);
    EXPECT_EQ(model.iSelectedMenu, 0);
    EXPECT_EQ(MenuListLabel(0), "Menu 1");
}

TEST(AddMenuEntry, PlacesEntriesInRowsUpToX800) {
    ProjectModel model = WithEntries(6);
    const int expectedX[] = {10, 162, 314, 466, 618, 10};
    const int expectedY[] = {10, 10, 10, 10, 10, 110};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(model.entries[i].MX, expectedX[i]) << "entry " << i;
        EXPECT_EQ(model.entries[i].MY, expectedY[i]) << "entry " << i;
    }
    EXPECT_EQ(model.iSelectedMenu, 5);
    EXPECT_EQ(MenuListLabel(5), "Menu 6");

    // Exactly 800 still fits on the row.
    ProjectModel edge = WithEntries(1);
    edge.entries[0].MX = 498; // 2*150 + 498 + 2 = 800
    edge.AddMenuEntry();
    EXPECT_EQ(edge.entries[1].MX, 650);
    EXPECT_EQ(edge.entries[1].MY, 10);
}

TEST(AddMenuEntry, NewRowStartsBelowOrWrapsToTheTop) {
    for (auto [lastY, newY] : {std::pair{449, 549}, std::pair{450, 0}, std::pair{-50, 50}}) {
        ProjectModel model = WithEntries(1);
        model.entries[0].MX = 700;
        model.entries[0].MY = lastY;
        model.AddMenuEntry();
        EXPECT_EQ(model.entries[1].MX, 10) << lastY;
        EXPECT_EQ(model.entries[1].MY, newY) << lastY;
    }
}

TEST(AddMenuEntry, CopiesLookFromTheLastEntryButNotTheTexts) {
    ProjectModel model = WithEntries(1);
    MenuEntry& p = model.entries[0];
    p.MTC = "Home";
    p.MTM = "<A HREF=\"a.html\">a</A>";
    p.MW = 80;
    p.MTCH = 30;
    p.CO = "#111111";
    p.CC = "#222222";
    p.CM = "#333333";
    p.MA = 1;
    p.FL = 0;
    p.OO = 1;
    model.AddMenuEntry();
    const MenuEntry& e = model.entries[1];
    EXPECT_EQ(e.MTC, "Caption"); // even after a vertical entry; the writer swaps it
    EXPECT_EQ(e.MTM, "Blank menu");
    EXPECT_EQ(e.MX, 10 + 80 + 2);
    EXPECT_EQ(e.MW, 80);
    EXPECT_EQ(e.MTCH, 30);
    EXPECT_EQ(e.CO, "#111111");
    EXPECT_EQ(e.CC, "#222222");
    EXPECT_EQ(e.CM, "#333333");
    EXPECT_EQ(e.MA, 1);
    EXPECT_EQ(e.FL, 0);
    EXPECT_EQ(e.OO, 1);
}

TEST(AddMenuEntry, RefusesBeyondTheCapacity) {
    ProjectModel model = WithEntries(kMaxMenus);
    ASSERT_EQ(model.numOfMenus(), kMaxMenus);
    EXPECT_EQ(model.AddMenuEntry(), -1);
    EXPECT_EQ(model.numOfMenus(), kMaxMenus);
    EXPECT_EQ(model.iSelectedMenu, kMaxMenus - 1);
}

// Regression: positions dragged far out must not overflow the placement sum.
TEST(AddMenuEntry, HugePositionsDoNotOverflowThePlacementTest) {
    ProjectModel model = WithEntries(1);
    model.entries[0].MX = 2'000'000'000;
    model.entries[0].MW = 1'000'000'000;
    model.AddMenuEntry();
    EXPECT_EQ(model.entries[1].MX, 10);
}

TEST(RemoveMenuEntry, ShiftsFollowingEntriesAndKeepsTheSelectionInRange) {
    ProjectModel model = WithEntries(3);
    model.iSelectedMenu = 2;
    model.RemoveMenuEntry();
    ASSERT_EQ(model.numOfMenus(), 2);
    EXPECT_EQ(model.iSelectedMenu, 1);

    model = WithEntries(3);
    model.iSelectedMenu = 0;
    model.RemoveMenuEntry();
    ASSERT_EQ(model.numOfMenus(), 2);
    EXPECT_EQ(model.iSelectedMenu, 0);
    EXPECT_EQ(model.entries[0].MX, 162); // the former entry 1
    EXPECT_EQ(model.entries[1].MX, 314);

    model = WithEntries(3);
    model.iSelectedMenu = 1;
    model.RemoveMenuEntry();
    EXPECT_EQ(model.iSelectedMenu, 1);
    EXPECT_EQ(model.entries[1].MX, 314);

    model = WithEntries(1);
    model.RemoveMenuEntry();
    EXPECT_EQ(model.numOfMenus(), 0);
    EXPECT_EQ(model.iSelectedMenu, 0);
    model.RemoveMenuEntry(); // nothing to remove: no effect, no crash
    EXPECT_EQ(model.numOfMenus(), 0);
}

TEST(ProjectModel, NewProjectResetRestoresSettingsAndDropsEntries) {
    ProjectModel model = WithEntries(4);
    model.settings.scrIN = 3;
    model.settings.fDefCap = "Verdana";
    model.settings.cDefMenu = {1, 2, 3};
    model.settings.PRJ_sTemplate = "index.html";
    model.projectFolder = "/tmp/p";
    model.ResetForNewProject();
    EXPECT_EQ(model.settings, ProjectSettings{});
    EXPECT_EQ(model.settings.scrIN, 20);
    EXPECT_EQ(model.settings.scrOUT, 10);
    EXPECT_EQ(model.settings.fDefCapS, 12);
    EXPECT_EQ(model.settings.PRJ_sTemplate, "Temp.html");
    EXPECT_EQ(model.numOfMenus(), 0);
    EXPECT_EQ(model.projectFolder, "/tmp/p"); // the folder is the caller's business

    EXPECT_EQ(model.ScriptPath(), JoinPath("/tmp/p", "Dirovidadaz.js"));
    EXPECT_EQ(model.TemplatePath(), JoinPath("/tmp/p", "Temp.html"));
}

// Regression: a template name from a foreign script ("../../x.html") made
// the save write the default page outside the project folder.
TEST(ProjectModel, TemplatePathStaysInsideTheProjectFolder) {
    ProjectModel model;
    model.projectFolder = "/work/p";
    model.settings.PRJ_sTemplate = "../../x.html";
    EXPECT_EQ(model.TemplatePath(), JoinPath("/work/p", "....x.html"));
    model.settings.PRJ_sTemplate = "C:\\web\\page.html";
    EXPECT_EQ(model.TemplatePath(), JoinPath("/work/p", "Cwebpage.html"));
    model.settings.PRJ_sTemplate = "";
    EXPECT_EQ(model.TemplatePath(), JoinPath("/work/p", "Temp.html"));
    model.settings.PRJ_sTemplate = "menus page.html";
    EXPECT_EQ(model.TemplatePath(), JoinPath("/work/p", "menus page.html"));
}
