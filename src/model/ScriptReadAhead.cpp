#include "model/ScriptReadAhead.h"

#include <exception>
#include <system_error>

#include "model/ArrayValues.h"
#include "model/ValueHelpers.h"

namespace didad {
namespace {

// A place at least at `from` where, in a written script, one value most
// likely ends and the next begins: a quote, a comma and a quote. Inside a
// value every quote follows a backslash, so the first quote, after an even
// run of backslashes, ends a value, unless it opens one that is a lone
// comma; the reader's own reading settles which. Returns the place after
// that quote, or npos.
std::size_t ValueBoundaryFrom(std::string_view text, std::size_t from) {
    for (std::size_t at = text.find("\",\"", from); at != std::string_view::npos; at = text.find("\",\"", at + 1)) {
        std::size_t backslashes = 0;
        while (backslashes < at && text[at - 1 - backslashes] == '\\') ++backslashes;
        if (backslashes % 2 == 0) return at + 1;
    }
    return std::string_view::npos;
}

bool AllColours(const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& entry : entries)
        for (const MenuColour& colour : kMenuColours)
            if (!IsMenuColor(entry.*colour.field)) return false;
    return true;
}

} // namespace

ScriptReadAhead::ScriptReadAhead(std::string_view text, std::size_t from)
    : start_(ValueBoundaryFrom(text, from)), panelsReady_(panels_.get_future()), lentReady_(lent_.get_future()) {
    if (start_ == std::string_view::npos) return;
    try {
        arrays_ = std::async(std::launch::async, [this, text] { return Read(text); });
    } catch (const std::system_error&) { // no thread to be had: the reader reads it all
        start_ = std::string_view::npos;
    }
}

ArraysAhead ScriptReadAhead::Read(std::string_view text) {
    std::size_t end = start_;
    try {
        PanelsAhead panels = ReadPanels(text);
        if (!panels.ends.empty()) end = panels.ends.back();
        panels_.set_value(std::move(panels));
    } catch (...) { // out of memory: the reader hears of it when it takes the panels
        panels_.set_exception(std::current_exception());
        return {};
    }
    std::vector<MenuEntry>* entries = lentReady_.get();
    if (!entries) return {};
    return ReadArrays(text, end, *entries);
}

void ScriptReadAhead::Lend(std::vector<MenuEntry>& entries) { LendOnce(&entries); }

// The thread waits for menus after the panels: it is lent some, or none.
void ScriptReadAhead::LendOnce(std::vector<MenuEntry>* entries) {
    if (lentYet_) return;
    lentYet_ = true;
    lent_.set_value(entries);
}

ArraysAhead ScriptReadAhead::TakeArrays() {
    LendOnce(nullptr);
    return arrays_.valid() ? arrays_.get() : ArraysAhead{};
}

void ScriptReadAhead::Stop() {
    cancelled_ = true;
    LendOnce(nullptr);
    if (arrays_.valid()) arrays_.wait();
}

PanelsAhead ScriptReadAhead::ReadPanels(std::string_view text) const {
    // There is a panel before the first one read here.
    constexpr std::size_t kMaxCount = kMaxMenus - 1;
    PanelsAhead ahead;
    std::size_t pos = start_;
    while (ahead.panels.size() < kMaxCount && pos + 1 < text.size() && text[pos] == ',' && text[pos + 1] == '"' &&
           !cancelled_.load(std::memory_order_relaxed)) {
        TextValuesFrom(text, pos, 1, [&](std::size_t, std::string_view decoded) {
            ahead.unwrapped.push_back(AssignUnwrapped(ahead.panels.emplace_back(), decoded));
        });
        ahead.ends.push_back(pos);
    }
    return ahead;
}

ArraysAhead ScriptReadAhead::ReadArrays(std::string_view text, std::size_t pos, std::vector<MenuEntry>& entries) const {
    const std::size_t from = pos;
    for (const TrailingArray& array : kTrailingArrays) {
        if (cancelled_.load(std::memory_order_relaxed)) return {};
        const std::size_t at = text.find(array.key, pos);
        if (at == std::string_view::npos) return {};
        pos = at + array.key.size();
        if (array.number) {
            for (MenuEntry& entry : entries) {
                const std::size_t stop = ReadBareNumber(text, pos, entry.*array.number);
                if (stop == std::string_view::npos) return {};
                pos = stop + 1;
            }
        } else if (TextValuesFrom(text, pos, entries.size(), [&](std::size_t i, std::string_view decoded) {
                       (entries[i].*array.text).assign(decoded);
                   }) < entries.size()) {
            return {};
        }
    }
    return {true, from, AllColours(entries)};
}

} // namespace didad
