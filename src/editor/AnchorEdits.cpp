#include "editor/AnchorEdits.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

#include "editor/PropertyEdits.h"
#include "model/JsLiteral.h"

namespace didad {
namespace {

std::optional<int> ReadInt(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// The page's own test of a selector, as a function of the page's script.
constexpr const char* kSelectorCheck =
    "function(s){if(!document.querySelector)return '';var e;try{e=document.querySelector(s);}"
    "catch(x){return 'invalid';}return e&&e.getClientRects().length?'':'none';}";

// A position moved by a difference the page reported: the page may report
// anything, so the sum is taken wide and kept within the box's range.
int Moved(int value, int from, int to, NumberBox box) {
    const std::int64_t sum = std::int64_t{value} + from - to;
    const NumberBoxRule& rule = RuleOf(box);
    return static_cast<int>(std::clamp<std::int64_t>(sum, rule.arrowLow, rule.arrowHigh));
}

template <class T>
void Change(std::vector<StepAction>& actions, int index, EntryField field, T& value, T next) {
    if (value == next) return;
    actions.emplace_back(FieldChange{index, field, FieldValue(value)});
    value = std::move(next);
}

} // namespace

Anchor AnchorOf(const MenuEntry& entry) { return {entry.AN, entry.AE}; }

std::string SelectorCheckStatement(std::string_view selector) {
    return std::string("(") + kSelectorCheck + ")(" + EncodeJsLiteral(selector) + ")";
}

const char* SelectorProblem(std::string_view answer) {
    if (!answer.empty() && answer.front() == '?') answer.remove_prefix(1);
    if (answer == "invalid") return kSelectorInvalid;
    if (answer == "none") return kSelectorMatchesNothing;
    return nullptr;
}

std::string AnchorOriginsStatement(const std::vector<Anchor>& anchors) {
    std::string list;
    for (const Anchor& anchor : anchors) {
        if (!list.empty()) list += ',';
        list += '[' + std::to_string(anchor.kind) + ',' + EncodeJsLiteral(anchor.selector) + ']';
    }
    // A page written before anchors existed, or another page, has no
    // MenuAnchorOrigin; the answer is then empty and nothing is moved.
    return "(function(){if(typeof MenuAnchorOrigin!='function')return '';var a=[" + list +
           "],r=[],last=a[a.length-1];if(last&&last[0]==3){var p=(" + kSelectorCheck +
           ")(last[1]);if(p)return '?'+p;}for(var k=0;k<a.length;k++){var o=MenuAnchorOrigin(a[k][0],a[k][1]);"
           "r.push(Math.round(o[0])+','+Math.round(o[1]));}return r.join(';');})()";
}

std::string MenuPlaceStatement(int index) {
    return "(function(){var o=document.getElementById('owner" + std::to_string(index) +
           "');if(!o)return '';var r=o.getBoundingClientRect();"
           "return Math.round(r.left+window.pageXOffset)+','+Math.round(r.top+window.pageYOffset);})()";
}

void LocateMenu(const ProjectModel& model, int index, const PageQuestion& ask, MenuPlaceReply found) {
    if (index < 0 || index >= model.numOfMenus()) return;
    const MenuEntry& entry = model.entries[static_cast<std::size_t>(index)];
    if (entry.AN == kAnchorPageLeft) {
        found(entry.MX, entry.MY, entry.MW);
        return;
    }
    ask(MenuPlaceStatement(index), [breadth = entry.MW, found = std::move(found)](const std::string* answer) {
        const auto place = answer ? ParseAnchorOrigins(*answer, 1) : std::nullopt;
        if (place) found(place->front().x, place->front().y, breadth);
    });
}

std::optional<std::vector<PagePoint>> ParseAnchorOrigins(std::string_view answer, std::size_t count) {
    std::vector<PagePoint> points;
    while (!answer.empty() && points.size() <= count) {
        const std::size_t end = answer.find(';');
        const std::string_view pair = answer.substr(0, end);
        const std::size_t comma = pair.find(',');
        if (comma == std::string_view::npos) return std::nullopt;
        const auto x = ReadInt(pair.substr(0, comma));
        const auto y = ReadInt(pair.substr(comma + 1));
        if (!x || !y) return std::nullopt;
        points.push_back({*x, *y});
        answer = end == std::string_view::npos ? std::string_view() : answer.substr(end + 1);
    }
    if (points.size() != count) return std::nullopt;
    return points;
}

void Reanchor(ProjectModel& model, int index, const Anchor& anchor, const PagePoint* from, const PagePoint* to,
              std::vector<StepAction>& actions) {
    if (index < 0 || index >= model.numOfMenus()) return;
    MenuEntry& entry = model.entries[static_cast<std::size_t>(index)];
    Change(actions, index, EntryField::AN, entry.AN, anchor.kind);
    Change(actions, index, EntryField::AE, entry.AE, anchor.selector);
    if (!from || !to) return;
    Change(actions, index, EntryField::MX, entry.MX, Moved(entry.MX, from->x, to->x, NumberBox::Left));
    Change(actions, index, EntryField::MY, entry.MY, Moved(entry.MY, from->y, to->y, NumberBox::Top));
}

} // namespace didad
