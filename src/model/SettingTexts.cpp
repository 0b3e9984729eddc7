#include "model/SettingTexts.h"

#include <algorithm>

#include "model/ValueHelpers.h"

namespace didad {

namespace {

const ProjectSettings kNewProject{};

// The dialog's rule, trimmed once the characters that CleanSettingText
// removes are gone, so that none of them can keep blanks or a line break at
// either end (the same text cleaned again then stays as it is). A line break
// or another control character inside a name becomes a blank: these texts
// are written bare, and the backslash that would continue a line break
// there could be taken into a character of the byte before it on a page in
// a two-byte character set, as ESC could switch one on.
std::string CleanTyped(const std::string& typed, const std::string& fallback) {
    std::string kept = typed;
    std::erase_if(kept, [](char c) { return c == '\\' || c == '"' || c == '\'' || c == '/' || c == ':'; });
    std::replace_if(
        kept.begin(), kept.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; }, ' ');
    return CleanSettingText(TrimBlanks(kept), fallback);
}

} // namespace

std::string TrimBlanks(const std::string& text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::string FontNameFromTyped(const std::string& typed) {
    // Both font names have the same default.
    return CleanTyped(typed, kNewProject.fDefCap);
}

std::string TemplateNameFromTyped(const std::string& typed) {
    std::string name = CleanTyped(typed, kNewProject.PRJ_sTemplate);
    // "." and ".." survive the cleaning but are folders, not pages.
    if (name.find_first_not_of('.') == std::string::npos) return kNewProject.PRJ_sTemplate;
    return name;
}

ProjectSettings WithCleanSettingTexts(ProjectSettings settings) {
    settings.fDefCap = FontNameFromTyped(settings.fDefCap);
    settings.fDefMenu = FontNameFromTyped(settings.fDefMenu);
    settings.PRJ_sTemplate = TemplateNameFromTyped(settings.PRJ_sTemplate);
    return settings;
}

} // namespace didad
