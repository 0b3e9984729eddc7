#include "runtime/PageTexts.h"

#include <fstream>
#include <iterator>

#include "model/Errors.h"
#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"

namespace didad {

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
