#include "model/ScriptTexts.h"

#include <cstddef>

#include "model/ScriptWriter.h"

namespace didad {

// Embedded at build time from the runtime's .js files (in order) and editing_addon.js.
extern const char kMenuRuntimeText[];
extern const std::size_t kMenuRuntimeTextSize;
extern const char kEditingAddonText[];
extern const std::size_t kEditingAddonTextSize;

const char* const kDownloadAddress = "https://www.divero.example/didad/download.html";
const char* const kProductNameAndVersion = "Didad " DIDAD_VERSION;

std::vector<std::string> ScriptBannerLines() {
    // None of these lines may hold a key that the script reader searches for.
    return {
        "/*",
        std::string(56, '*') + " ",
        " You may use this script on commercial and personal web sites, free of charge, ",
        " provided that this notice stays in the script unchanged. ",
        std::string(" ") + kProductNameAndVersion + " ",
        std::string("  ") + kDownloadAddress + " ",
        " All other rights reserved by Divero. ",
        std::string(57, '*'),
        "*/",
    };
}

std::vector<std::string> HeadCodeLines(const std::string& src) {
    return {
        "<!-- Head Code by Didad -->",
        "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"" + src + "\"></SCRIPT>",
        "<!-- End Head Code Didad -->",
    };
}

std::vector<std::string> OneLineHeadCodeLines(const std::string& src) {
    std::vector<std::string> lines = HeadCodeLines(src);
    lines[1] = "<script defer src=\"" + src + "\"></script>";
    return lines;
}

std::vector<std::string> BodyCodeLines() {
    return {
        "<!-- Body Code by Didad -->",
        "<SCRIPT LANGUAGE=\"JavaScript\">makeDidad()</SCRIPT>",
        "<!-- End Body Code by Didad -->",
    };
}

std::vector<std::string> DefaultPageLines() {
    std::vector<std::string> lines = {"<HTML>", "", "<HEAD>", ""};
    for (std::string& line : HeadCodeLines(kScriptFileName)) lines.push_back(std::move(line));
    for (const char* line : {"", "</HEAD>", "", "<BODY leftmargin=0 topmargin=0>", ""}) lines.emplace_back(line);
    for (std::string& line : BodyCodeLines()) lines.push_back(std::move(line));
    for (const char* line : {"", "</BODY>", "", "</HTML>"}) lines.emplace_back(line);
    return lines;
}

const std::string& MenuRuntimeText() {
    static const std::string text(kMenuRuntimeText, kMenuRuntimeTextSize);
    return text;
}

const std::string& EditingAddonText() {
    static const std::string text(kEditingAddonText, kEditingAddonTextSize);
    return text;
}

std::string DownloadAddress() { return kDownloadAddress; }

std::string ProductNameAndVersion() { return kProductNameAndVersion; }

} // namespace didad
