#pragma once
// The fixed texts the writer puts around the project's data: the script's
// banner, the menu runtime and the editing add-on, and the default page with
// the framed lines that load the script.
#include <string>
#include <vector>

namespace didad {

std::vector<std::string> ScriptBannerLines(); // 9 lines
std::vector<std::string> DefaultPageLines();  // 19 lines
// The framed lines of the default page: the head code loading the script
// from `src`, and the body code that builds the menus (three lines each).
std::vector<std::string> HeadCodeLines(const std::string& src);
std::vector<std::string> BodyCodeLines();
// The one-line include in the same frame: the script loaded deferred, which
// builds the menus by itself once the page is parsed; no body code.
std::vector<std::string> OneLineHeadCodeLines(const std::string& src);
const std::string& MenuRuntimeText();  // the embedded menu runtime, its files joined
const std::string& EditingAddonText(); // embedded editing_addon.js
// The maker's download page, named in the banner and the version message.
std::string DownloadAddress();
// "Didad 1.03": the main window's title and the banner's product line.
std::string ProductNameAndVersion();

} // namespace didad
