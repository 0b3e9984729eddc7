#include "workflow/ProjectSettingsRules.h"

#include <charconv>

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
    values.compactWidth = std::to_string(settings.cmpW);
    values.compactLabel = settings.cmpL;
    values.compactLeft = std::to_string(settings.cmpX);
    values.compactTop = std::to_string(settings.cmpY);
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
    settings.cmpW = CompactWidthFromText(values.compactWidth).value_or(kNewProject.cmpW);
    std::string label = TrimBlanks(values.compactLabel);
    // Cut at a character's start: the text is UTF-8.
    if (label.size() > kMaxCompactLabel) {
        std::size_t cut = 0;
        for (std::size_t i = 0, chars = 0; i < label.size(); ++i) {
            if ((static_cast<unsigned char>(label[i]) & 0xC0) == 0x80) continue;
            if (chars++ == kMaxCompactLabel) {
                cut = i;
                break;
            }
        }
        if (cut > 0) label.resize(cut);
    }
    settings.cmpL = label.empty() ? kNewProject.cmpL : label;
    settings.cmpX =
        ClampInt(ParseIntOr(TrimBlanks(values.compactLeft), kNewProject.cmpX), kMinCompactPlace, kMaxCompactPlace);
    settings.cmpY =
        ClampInt(ParseIntOr(TrimBlanks(values.compactTop), kNewProject.cmpY), kMinCompactPlace, kMaxCompactPlace);
    return settings;
}

std::optional<int> CompactWidthFromText(const std::string& text) {
    const std::string trimmed = TrimBlanks(text);
    int value = 0;
    const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size() || value < 0 ||
        value > kMaxCompactWidth)
        return std::nullopt;
    return value;
}

SettingsConfirmation ConfirmProjectSettings(ProjectModel& model, const SettingsDialogValues& values) {
    // Unlike a speed, a compact width has no fallback that could stand for
    // what was meant: a wrong one would switch the layout at a width nobody chose.
    if (!CompactWidthFromText(values.compactWidth)) return {false, kBadCompactWidth, SettingsField::CompactWidth};
    // An empty text would leave a phone's visitors a button that says nothing.
    if (TrimBlanks(values.compactLabel).empty()) return {false, kEmptyCompactLabel, SettingsField::CompactLabel};
    const ProjectSettings settings = SettingsFromDialogValues(values);
    // The template is checked before anything is stored, so a refused page
    // leaves every setting as it was.
    const TemplateCheckResult check = CheckTemplate(model.projectFolder, settings.PRJ_sTemplate);
    if (!check.passed) return {false, check.message, SettingsField::Template};
    model.settings = settings;
    return {true, {}};
}

} // namespace didad
