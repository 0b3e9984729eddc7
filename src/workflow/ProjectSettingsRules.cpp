#include "workflow/ProjectSettingsRules.h"

#include "model/ValueHelpers.h"
#include "runtime/PageTexts.h"

namespace didad {

namespace {

const ProjectSettings kNewProject{};

int SpeedFromText(const std::string& text, int fallback) {
    return ClampInt(ParseIntOr(TrimBlanks(text), fallback), kMinSpeed, kMaxSpeed);
}

int FontSizeFromText(const std::string& text, int fallback) {
    return ClampInt(ParseIntOr(TrimBlanks(text), fallback), kMinFontSize, kMaxFontSize);
}

} // namespace

SettingsDialogValues DialogValuesFromSettings(const ProjectSettings& settings) {
    SettingsDialogValues values;
    values.scrollOut = std::to_string(settings.scrOUT);
    values.scrollIn = std::to_string(settings.scrIN);
    values.captionColor = settings.cDefCap;
    values.menuColor = settings.cDefMenu;
    values.fontNameCaption = settings.fDefCap;
    values.fontNameMenu = settings.fDefMenu;
    values.fontSizeCaption = std::to_string(settings.fDefCapS);
    values.fontSizeMenu = std::to_string(settings.fDefMenuS);
    values.templateName = settings.PRJ_sTemplate;
    return values;
}

SettingsDialogValues DefaultDialogValues() { return DialogValuesFromSettings(kNewProject); }

ProjectSettings SettingsFromDialogValues(const SettingsDialogValues& values) {
    ProjectSettings settings;
    settings.scrOUT = SpeedFromText(values.scrollOut, kNewProject.scrOUT);
    settings.scrIN = SpeedFromText(values.scrollIn, kNewProject.scrIN);
    settings.cDefCap = values.captionColor;
    settings.cDefMenu = values.menuColor;
    settings.fDefCap = FontNameFromTyped(values.fontNameCaption);
    settings.fDefMenu = FontNameFromTyped(values.fontNameMenu);
    settings.fDefCapS = FontSizeFromText(values.fontSizeCaption, kNewProject.fDefCapS);
    settings.fDefMenuS = FontSizeFromText(values.fontSizeMenu, kNewProject.fDefMenuS);
    settings.PRJ_sTemplate = TemplateNameFromTyped(values.templateName);
    return settings;
}

SettingsConfirmation ConfirmProjectSettings(ProjectModel& model, const SettingsDialogValues& values) {
    const ProjectSettings settings = SettingsFromDialogValues(values);
    // The template is checked before anything is stored, so a refused page
    // leaves every setting as it was.
    const TemplateCheckResult check = CheckTemplate(model.projectFolder, settings.PRJ_sTemplate);
    if (!check.passed) return {false, check.message};
    model.settings = settings;
    return {true, {}};
}

} // namespace didad
