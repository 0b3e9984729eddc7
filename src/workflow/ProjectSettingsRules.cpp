#include "workflow/ProjectSettingsRules.h"

#include "model/ValueHelpers.h"
#include "runtime/PageTexts.h"

namespace didad {

namespace {

const ProjectSettings kNewProject{};

int SpeedFromText(const std::string& text, int fallback)
{
    return ClampInt(ParseIntOr(TrimBlanks(text), fallback), kMinSpeed, kMaxSpeed);
}

int FontSizeFromText(const std::string& text, int fallback)
{
    return ClampInt(ParseIntOr(TrimBlanks(text), fallback), kMinFontSize, kMaxFontSize);
}

} // namespace

SettingsDialogValues DialogValuesFromSettings(const ProjectSettings& settings)
{
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

SettingsDialogValues DefaultDialogValues()
{
    return DialogValuesFromSettings(kNewProject);
}

std::string TrimBlanks(const std::string& text)
{
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::string TemplateNameFromTyped(const std::string& typed)
{
    std::string name = CleanSettingText(TrimBlanks(typed), kNewProject.PRJ_sTemplate);
    // "." and ".." survive the cleaning but are folders, not pages.
    if (name.find_first_not_of('.') == std::string::npos)
        return kNewProject.PRJ_sTemplate;
    return name;
}

ProjectSettings SettingsFromDialogValues(const SettingsDialogValues& values)
{
    ProjectSettings settings;
    settings.scrOUT = SpeedFromText(values.scrollOut, kNewProject.scrOUT);
    settings.scrIN = SpeedFromText(values.scrollIn, kNewProject.scrIN);
    settings.cDefCap = values.captionColor;
    settings.cDefMenu = values.menuColor;
    settings.fDefCap = CleanSettingText(TrimBlanks(values.fontNameCaption), kNewProject.fDefCap);
    settings.fDefMenu = CleanSettingText(TrimBlanks(values.fontNameMenu), kNewProject.fDefMenu);
    settings.fDefCapS = FontSizeFromText(values.fontSizeCaption, kNewProject.fDefCapS);
    settings.fDefMenuS = FontSizeFromText(values.fontSizeMenu, kNewProject.fDefMenuS);
    settings.PRJ_sTemplate = TemplateNameFromTyped(values.templateName);
    return settings;
}

SettingsConfirmation ConfirmProjectSettings(ProjectModel& model, const SettingsDialogValues& values)
{
    const ProjectSettings settings = SettingsFromDialogValues(values);
    // The template is checked before anything is stored, so a refused page
    // leaves every setting as it was.
    const TemplateCheckResult check = CheckTemplate(model.projectFolder, settings.PRJ_sTemplate);
    if (!check.passed)
        return {false, check.message};
    model.settings = settings;
    return {true, {}};
}

} // namespace didad
