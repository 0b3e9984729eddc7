#include "runtime/PageTexts.h"

#include <cstddef>
#include <fstream>
#include <iterator>

#include "model/Errors.h"
#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"

namespace didad {

// Embedded at build time from menu_runtime.js and editing_addon.js.
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

std::vector<std::string> TemplateInfoLines() {
    return {
        " Template can be any HTML file which has the following two lines inside:",
        "",
        " First line should be inserted somewhere between <HEAD> </HEAD> tags:",
        "",
        " <SCRIPT LANGUAGE=\"JavaScript\" SRC=\"Dirovidadaz.js\"></SCRIPT>",
        "",
        " Second line should be inserted right after the <BODY> tag:",
        "",
        " <SCRIPT LANGUAGE=\"JavaScript\">makeDidad()</SCRIPT>",
        "  ",
        "",
        " If the template file does not exist it will be created with this default HTML code:",
        "",
        "<HTML>",
        "",
        "<HEAD>",
        "",
        "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"Dirovidadaz.js\"></SCRIPT>",
        "",
        "</HEAD>",
        "",
        "<BODY leftmargin=0 topmargin=0 scroll=no>",
        "",
        "<SCRIPT LANGUAGE=\"JavaScript\">makeDidad()</SCRIPT>",
        "",
        "</BODY>",
        "",
        "</HTML>",
        "",
        " ",
    };
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

TemplateCheckResult CheckTemplate(const std::string& projectFolder, const std::string& templateName) {
    const std::string path = JoinPath(projectFolder, templateName);
    // A missing page passes: the next save writes the default page there.
    if (!FileExists(path)) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CannotOpenFile(path);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (content.find(kScriptFileName) != std::string::npos) return {};
    TemplateCheckResult result;
    result.passed = false;
    result.message = "The template file: \r\n" + path +
                     "\r\ndoes not contain the right code for your menu to operate correctly.\r\n"
                     "\r\n"
                     "Put the required code into this file, or type a file name that does not "
                     "exist (default HTML code will be written there).";
    return result;
}

} // namespace didad
