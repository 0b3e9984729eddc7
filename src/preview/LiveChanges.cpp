#include "preview/LiveChanges.h"

#include <algorithm>

#include "model/ScriptWriter.h"
#include "model/TextEncoding.h"

namespace didad {

bool ScriptReadsAsUtf8(const ProjectModel& model) { return ScriptCarriesUtf8Mark(model); }

namespace {

// The text's bytes as a call of the page's yPageText, which reads them in the
// character set the page read the script in. Line breaks drop out as they do
// from the script's literal.
std::string PageTextCall(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string call = "yPageText(\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\r' || c == '\n') continue;
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '<') {
            call += ch;
        } else {
            call += "\\x";
            call += kHex[c >> 4];
            call += kHex[c & 0xF];
        }
    }
    call += "\")";
    return call;
}

} // namespace

std::string LiveMenuStatement(const ProjectModel& model, int index) {
    const std::vector<EntryItem> items = EntryScriptItems(model.entries[static_cast<std::size_t>(index)]);
    // Asked only when this menu has a text beyond ASCII: ASCII reads alike
    // in every character set.
    const bool anyBeyondAscii = std::any_of(items.begin(), items.end(),
                                            [](const EntryItem& item) { return item.isText && !IsAscii(item.text); });
    const bool utf8 = anyBeyondAscii && ScriptReadsAsUtf8(model);
    std::string statement = "yLive(" + std::to_string(index) + ",{";
    bool first = true;
    for (const EntryItem& item : items) {
        if (!first) statement += ',';
        first = false;
        statement += item.array;
        statement += ':';
        if (!item.isText) {
            statement += std::to_string(item.number);
        } else if (utf8 || IsAscii(item.text)) {
            statement += EncodeJsLiteral(item.text);
        } else {
            statement += PageTextCall(item.text);
        }
    }
    // The menu the editor shows opens in the page as it is edited.
    statement += index == model.iSelectedMenu ? "},1)" : "})";
    return statement;
}

bool LiveThrottle::Change(int index, Time now) {
    if (waiting_.count(index)) return false;
    const auto sent = lastSent_.find(index);
    if (sent == lastSent_.end() || now - sent->second >= kInterval) {
        lastSent_[index] = now;
        return true;
    }
    waiting_[index] = sent->second + kInterval;
    return false;
}

std::vector<int> LiveThrottle::Due(Time now) {
    std::vector<int> due;
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        if (it->second <= now) {
            due.push_back(it->first);
            lastSent_[it->first] = now;
            it = waiting_.erase(it);
        } else {
            ++it;
        }
    }
    std::sort(due.begin(), due.end());
    return due;
}

std::optional<LiveThrottle::Time> LiveThrottle::NextDue() const {
    std::optional<Time> next;
    for (const auto& [index, due] : waiting_)
        if (!next || due < *next) next = due;
    return next;
}

std::vector<int> LiveThrottle::TakeWaiting() {
    std::vector<int> waiting;
    for (const auto& [index, due] : waiting_) waiting.push_back(index);
    waiting_.clear();
    return waiting;
}

void LiveThrottle::Clear() {
    lastSent_.clear();
    waiting_.clear();
}

} // namespace didad
