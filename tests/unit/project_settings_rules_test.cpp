#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "model/ProjectModel.h"
#include "workflow/ProjectSettingsRules.h"

namespace fs = std::filesystem;
using namespace didad;

namespace {

SettingsDialogValues WithDefaults() { return DefaultDialogValues(); }

class TempProject {
public:
    TempProject() {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("didad-settings-" + std::to_string(rd()));
        fs::create_directories(dir_);
        model.projectFolder = dir_.string();
    }
    ~TempProject() { fs::remove_all(dir_); }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    ProjectModel model;

private:
    fs::path dir_;
};

} // namespace

TEST(ProjectSettingsRules, SpeedsFallBackAndClamp) {
    struct Case {
        const char* typed;
        int out;
        int in;
    };
    const Case cases[] = {
        {"0", 1, 1},  {"", 10, 20},      {"abc", 10, 20},    {"   ", 10, 20}, {" 15 ", 15, 15},
        {"-7", 1, 1}, {"999", 999, 999}, {"5000", 999, 999}, {"1", 1, 1},     {"1.5", 10, 20},
    };
    for (const Case& c : cases) {
        SettingsDialogValues values = WithDefaults();
        values.scrollOut = c.typed;
        values.scrollIn = c.typed;
        const ProjectSettings s = SettingsFromDialogValues(values);
        EXPECT_EQ(s.scrOUT, c.out) << "typed '" << c.typed << "'";
        EXPECT_EQ(s.scrIN, c.in) << "typed '" << c.typed << "'";
    }
}

TEST(ProjectSettingsRules, FontSizesFallBackAndClamp) {
    struct Case {
        const char* typed;
        int size;
    };
    const Case cases[] = {
        {"1", 2}, {"2", 2}, {"5000", 999}, {"x", 12}, {"", 12}, {" 24 ", 24}, {"-40", 2},
    };
    for (const Case& c : cases) {
        SettingsDialogValues values = WithDefaults();
        values.fontSizeCaption = c.typed;
        values.fontSizeMenu = c.typed;
        const ProjectSettings s = SettingsFromDialogValues(values);
        EXPECT_EQ(s.fDefCapS, c.size) << "typed '" << c.typed << "'";
        EXPECT_EQ(s.fDefMenuS, c.size) << "typed '" << c.typed << "'";
    }
}

TEST(ProjectSettingsRules, FontNamesAreCleanedAndNeverEmpty) {
    SettingsDialogValues values = WithDefaults();
    values.fontNameCaption = "\"Times New Roman\"";
    values.fontNameMenu = "  'Comic Sans MS'  ";
    ProjectSettings s = SettingsFromDialogValues(values);
    EXPECT_EQ(s.fDefCap, "Times New Roman");
    EXPECT_EQ(s.fDefMenu, "Comic Sans MS");

    values.fontNameCaption = "   ";
    values.fontNameMenu = "\"/\\:'";
    s = SettingsFromDialogValues(values);
    EXPECT_EQ(s.fDefCap, "Arial");
    EXPECT_EQ(s.fDefMenu, "Arial");
}

TEST(ProjectSettingsRules, TemplateNameBecomesOneFileInTheProjectFolder) {
    EXPECT_EQ(TemplateNameFromTyped("pages/menu.html"), "pagesmenu.html");
    EXPECT_EQ(TemplateNameFromTyped("pages\\menu.html"), "pagesmenu.html");
    EXPECT_EQ(TemplateNameFromTyped("C:\\web\\page.html"), "Cwebpage.html");
    EXPECT_EQ(TemplateNameFromTyped("  index.htm\t"), "index.htm");
    EXPECT_EQ(TemplateNameFromTyped("     "), "Temp.html");
    EXPECT_EQ(TemplateNameFromTyped(""), "Temp.html");
    // Dots alone would point at the project folder or its parent.
    EXPECT_EQ(TemplateNameFromTyped(".."), "Temp.html");
    EXPECT_EQ(TemplateNameFromTyped("../"), "Temp.html");
    EXPECT_EQ(TemplateNameFromTyped("/./"), "Temp.html");
    EXPECT_EQ(TemplateNameFromTyped("..page.html"), "..page.html");
}

TEST(ProjectSettingsRules, DialogShowsWhatOkStores) {
    ProjectSettings s;
    s.scrIN = 7;
    s.scrOUT = 300;
    s.cDefCap = Color{1, 2, 3};
    s.cDefMenu = Color{250, 128, 0};
    s.fDefCap = "Verdana";
    s.fDefMenu = "Courier New";
    s.fDefCapS = 9;
    s.fDefMenuS = 40;
    s.PRJ_sTemplate = "index.html";
    const SettingsDialogValues shown = DialogValuesFromSettings(s);
    EXPECT_EQ(shown.scrollIn, "7");
    EXPECT_EQ(shown.scrollOut, "300");
    EXPECT_EQ(shown.fontSizeCaption, "9");
    EXPECT_EQ(shown.fontSizeMenu, "40");
    EXPECT_EQ(SettingsFromDialogValues(shown), s);
}

TEST(ProjectSettingsRules, SetDefaultsGivesTheNewProjectValues) {
    const SettingsDialogValues d = DefaultDialogValues();
    EXPECT_EQ(d.scrollOut, "10");
    EXPECT_EQ(d.scrollIn, "20");
    EXPECT_EQ(d.captionColor, kWhite);
    EXPECT_EQ(d.menuColor, kWhite);
    EXPECT_EQ(d.fontNameCaption, "Arial");
    EXPECT_EQ(d.fontNameMenu, "Arial");
    EXPECT_EQ(d.fontSizeCaption, "12");
    EXPECT_EQ(d.fontSizeMenu, "12");
    EXPECT_EQ(d.templateName, "Temp.html");

    ProjectModel fresh;
    fresh.ResetForNewProject();
    EXPECT_EQ(SettingsFromDialogValues(d), fresh.settings);
}

TEST(ProjectSettingsRules, ConfirmStoresOnlyWhenTheTemplatePasses) {
    TempProject project;
    project.Write("plain.html", "<HTML><BODY>no menus here</BODY></HTML>\r\n");
    project.Write("lower.html", "<SCRIPT SRC=\"dirovidadaz.js\"></SCRIPT>\r\n");
    project.Write("comment.html", "<HTML><!-- uses Dirovidadaz.js --></HTML>\r\n");
    const ProjectSettings before = project.model.settings;

    SettingsDialogValues values = DialogValuesFromSettings(before);
    values.scrollOut = "0";
    values.templateName = " plain.html ";
    SettingsConfirmation result = ConfirmProjectSettings(project.model, values);
    EXPECT_FALSE(result.stored);
    EXPECT_NE(result.rejection.find("plain.html"), std::string::npos) << result.rejection;
    EXPECT_NE(result.rejection.find("does not contain the right code"), std::string::npos);
    EXPECT_EQ(project.model.settings, before);

    // The script name is compared with case.
    values.templateName = "lower.html";
    EXPECT_FALSE(ConfirmProjectSettings(project.model, values).stored);
    EXPECT_EQ(project.model.settings, before);

    // Only the name is looked for, even inside a comment.
    values.templateName = "comment.html";
    result = ConfirmProjectSettings(project.model, values);
    EXPECT_TRUE(result.stored);
    EXPECT_TRUE(result.rejection.empty());
    EXPECT_EQ(project.model.settings.PRJ_sTemplate, "comment.html");
    EXPECT_EQ(project.model.settings.scrOUT, 1);

    // A name with no file behind it passes: the default page will be written.
    values.templateName = "sub/new page.html";
    EXPECT_TRUE(ConfirmProjectSettings(project.model, values).stored);
    EXPECT_EQ(project.model.settings.PRJ_sTemplate, "subnew page.html");
}

TEST(ProjectSettingsRules, ACompactWidthThatIsNegativeOrNoNumberIsRefusedAndNothingStored) {
    TempProject project;
    const ProjectSettings before = project.model.settings;
    for (const char* typed : {"-5", "abc", "", "12px", "10000", "99999999999"}) {
        SettingsDialogValues values = WithDefaults();
        values.compactWidth = typed;
        values.scrollOut = "50";
        const SettingsConfirmation result = ConfirmProjectSettings(project.model, values);
        EXPECT_FALSE(result.stored) << typed;
        EXPECT_EQ(result.refused, SettingsField::CompactWidth);
        EXPECT_EQ(result.rejection, kBadCompactWidth);
        EXPECT_EQ(project.model.settings, before);
    }
    SettingsDialogValues values = WithDefaults();
    values.compactWidth = " 0 ";
    values.compactLabel = "  ";
    values.compactLeft = "-20";
    const SettingsConfirmation empty = ConfirmProjectSettings(project.model, values);
    EXPECT_FALSE(empty.stored);
    EXPECT_EQ(empty.refused, SettingsField::CompactLabel);
    EXPECT_EQ(empty.rejection, kEmptyCompactLabel);
    EXPECT_EQ(project.model.settings, before);

    // A text longer than a phone's button holds is cut at 40 characters,
    // not in the middle of one.
    values.compactLabel = std::string(39, 'x') + "\xC3\xA9\xC3\xA9tail";
    ASSERT_TRUE(ConfirmProjectSettings(project.model, values).stored);
    EXPECT_EQ(project.model.settings.cmpW, 0);
    EXPECT_EQ(project.model.settings.cmpL, std::string(39, 'x') + "\xC3\xA9");
    EXPECT_EQ(project.model.settings.cmpX, 0);
}
