#pragma once
// What the project settings dialog shows and what its OK button stores. The
// dialog only moves texts and colours between its controls and these
// structures; every rule about the values lives here.
#include <optional>
#include <string>

#include "model/ProjectModel.h"
#include "model/SettingTexts.h"

namespace didad {

// The speed and size limits the dialog keeps.
inline constexpr int kMinSpeed = 1;
inline constexpr int kMaxSpeed = 999;
inline constexpr int kMinFontSize = 2;
inline constexpr int kMaxFontSize = 999;
// The compact menu button's place, in CSS px from the window's corner.
inline constexpr int kMinCompactPlace = 0;
inline constexpr int kMaxCompactPlace = 9999;
// The compact layout's width, and the length of its button's text: more
// would not fit a phone's screen.
inline constexpr int kMaxCompactWidth = 9999;
inline constexpr int kMaxCompactLabel = 40;
// "Anchor of all menus" left alone: every menu keeps its own.
inline constexpr int kKeepEachAnchor = -1;

inline constexpr const char* kBadCompactWidth =
    "The compact width must be a whole number of CSS pixels, 0 or more (0 turns the compact layout off).";
inline constexpr const char* kEmptyCompactLabel = "The compact menu button needs a text.";

// The controls' contents, as the user typed them (system code page bytes).
struct SettingsDialogValues {
    std::string scrollOut;
    std::string scrollIn;
    Color captionColor = kWhite;
    Color menuColor = kWhite;
    std::string fontNameCaption;
    std::string fontNameMenu;
    std::string fontSizeCaption;
    std::string fontSizeMenu;
    std::string templateName;
    std::string compactWidth;
    std::string compactLabel;
    std::string compactLeft;
    std::string compactTop;
    // The anchor every menu takes on OK, or kKeepEachAnchor.
    int allAnchors = kKeepEachAnchor;
    std::string allAnchorSelector;
    friend bool operator==(const SettingsDialogValues&, const SettingsDialogValues&) = default;
};

// What the dialog shows when it opens on these settings.
SettingsDialogValues DialogValuesFromSettings(const ProjectSettings& settings);
// What "Set Defaults" puts into the controls: the new-project values.
SettingsDialogValues DefaultDialogValues();

// The compact width typed: a whole number, 0 to kMaxCompactWidth; nothing otherwise.
std::optional<int> CompactWidthFromText(const std::string& text);

// The settings the dialog's values give, every value cleaned and clamped (a
// compact width that is refused gives the new-project one).
ProjectSettings SettingsFromDialogValues(const SettingsDialogValues& values);

// The OK button without the window: checks the compact width and the
// template, and only when both pass stores the settings in the model.
// `rejection` holds the message for the user and `refused` the field when a
// value was refused (the model is then unchanged).
enum class SettingsField { None, CompactWidth, CompactLabel, Template, AnchorSelector };
struct SettingsConfirmation {
    bool stored = false;
    std::string rejection;
    SettingsField refused = SettingsField::None;
};
SettingsConfirmation ConfirmProjectSettings(ProjectModel& model, const SettingsDialogValues& values);

} // namespace didad
