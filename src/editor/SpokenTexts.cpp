#include "editor/SpokenTexts.h"

#include <array>
#include <utility>

namespace didad {

namespace {

constexpr std::array<std::pair<std::string_view, char>, 6> kEntities{{
    {"&nbsp;", ' '},
    {"&amp;", '&'},
    {"&lt;", '<'},
    {"&gt;", '>'},
    {"&quot;", '"'},
    {"&#39;", '\''},
}};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

} // namespace

std::string SpokenHtml(std::string_view html, std::size_t limit) {
    std::string words;
    bool pendingSpace = false;
    auto put = [&](char c) {
        if (IsSpace(c)) {
            pendingSpace = !words.empty();
            return;
        }
        if (pendingSpace) words += ' ';
        pendingSpace = false;
        words += c;
    };
    for (std::size_t i = 0; i < html.size(); ++i) {
        const char c = html[i];
        if (c == '<') {
            const std::size_t end = html.find('>', i);
            if (end == std::string_view::npos) break; // an unfinished tag says nothing
            // A line break between words keeps them apart.
            if (StartsWithNoCase(html.substr(i), "<br")) pendingSpace = !words.empty();
            i = end;
            continue;
        }
        if (c == '&') {
            bool matched = false;
            for (const auto& [entity, character] : kEntities) {
                if (StartsWithNoCase(html.substr(i), entity)) {
                    put(character);
                    i += entity.size() - 1;
                    matched = true;
                    break;
                }
            }
            if (matched) continue;
        }
        put(c);
    }
    // Letters stacked one per line (a vertical caption) read as one word.
    bool stacked = words.size() >= 3;
    for (std::size_t i = 0; stacked && i < words.size(); ++i) stacked = (i % 2 == 1) == (words[i] == ' ');
    if (stacked) std::erase(words, ' ');
    if (words.size() > limit) {
        std::size_t cut = limit;
        // Back to the start of a UTF-8 character.
        while (cut > 0 && (static_cast<unsigned char>(words[cut]) & 0xC0) == 0x80) --cut;
        words.resize(cut);
        while (!words.empty() && words.back() == ' ') words.pop_back();
        words += "...";
    }
    return words;
}

std::string SpokenListLine(const ProjectModel& model, int index) {
    std::string line = MenuListLabel(index);
    if (index < 0 || index >= model.numOfMenus()) return line;
    const MenuEntry& entry = model.entries[static_cast<std::size_t>(index)];
    std::string caption = SpokenHtml(entry.MTC);
    if (caption.empty()) caption = "no caption text";
    return line + ": " + caption + ", left " + std::to_string(entry.MX) + ", top " + std::to_string(entry.MY);
}

} // namespace didad
