#pragma once
// The fixed texts written for the web around the menu runtime.
#include <string>
#include <vector>

#include "model/Messages.h"

namespace didad {

std::vector<std::string> ScriptBannerLines(); // 9 lines
std::vector<std::string> DefaultPageLines();  // 19 lines
// The framed lines of the default page: the head code loading the script
// from `src`, and the body code that builds the menus (three lines each).
std::vector<std::string> HeadCodeLines(const std::string& src);
std::vector<std::string> BodyCodeLines();
std::vector<std::string> TemplateInfoLines(); // 30 lines
const std::string& MenuRuntimeText();         // embedded menu_runtime.js
const std::string& EditingAddonText();        // embedded editing_addon.js
// The maker's download page, named in the banner and the version message.
std::string DownloadAddress();
// "Didad 1.03": the main window's title and the banner's product line.
std::string ProductNameAndVersion();

// The template check of the settings dialog. Passes when no file
// folder/name exists or when the file mentions "Dirovidadaz.js".
struct TemplateCheckResult {
    bool passed = true;
    std::string message; // the message box text when it failed
};
TemplateCheckResult CheckTemplate(const std::string& projectFolder, const std::string& templateName);

} // namespace didad
