#pragma once
// What the project settings dialog shows and what its OK button stores. The
// dialog only moves texts and colours between its controls and these
// structures; every rule about the values lives here.
#include <string>

#include "model/ProjectModel.h"
#include "model/SettingTexts.h"

namespace didad {

// The speed and size limits the dialog keeps.
inline constexpr int kMinSpeed = 1;
inline constexpr int kMaxSpeed = 999;
inline constexpr int kMinFontSize = 2;
inline constexpr int kMaxFontSize = 999;

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
    friend bool operator==(const SettingsDialogValues&, const SettingsDialogValues&) = default;
};

// What the dialog shows when it opens on these settings.
SettingsDialogValues DialogValuesFromSettings(const ProjectSettings& settings);
// What "Set Defaults" puts into the controls: the new-project values.
SettingsDialogValues DefaultDialogValues();

// The settings the dialog's values give, every value cleaned and clamped.
ProjectSettings SettingsFromDialogValues(const SettingsDialogValues& values);

// The OK button without the window: checks the template, and only when it
// passes stores the settings in the model. `rejection` holds the message for
// the user when the template was refused (the model is then unchanged).
struct SettingsConfirmation {
    bool stored = false;
    std::string rejection;
};
SettingsConfirmation ConfirmProjectSettings(ProjectModel& model, const SettingsDialogValues& values);

} // namespace didad
