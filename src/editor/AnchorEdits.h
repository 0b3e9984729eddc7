#pragma once
// The anchor that a menu's Left and Top count from, and how a change of it
// keeps the menu where the page shows it: the page tells where the old and
// the new anchor lie, and Left and Top take the difference.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditHistory.h"
#include "model/Anchors.h"
#include "model/ProjectModel.h"

namespace didad {

Anchor AnchorOf(const MenuEntry& entry);

struct PagePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PagePoint&, const PagePoint&) = default;
};

inline constexpr const char* kSelectorHint = "The CSS selector of the element that Left and Top count from";
// What the anchor box says of a selector the page cannot use.
inline constexpr const char* kSelectorInvalid = "Invalid selector: this is not CSS";
inline constexpr const char* kSelectorMatchesNothing = "No element on this page matches";

// A statement whose result, in the preview page, is "" when `selector` finds
// an element shown on the page, else "invalid" or "none".
std::string SelectorCheckStatement(std::string_view selector);
// The page's answer to either statement as the text the box shows; null for
// an answer that names no problem.
const char* SelectorProblem(std::string_view answer);

// A statement whose result, in the preview page, is the origins of `anchors`
// in order as "x,y;x,y;...", or "" when the page cannot tell. When the last
// anchor is an element that the page cannot find, the result is
// "?invalid" or "?none" instead (SelectorProblem reads it).
std::string AnchorOriginsStatement(const std::vector<Anchor>& anchors);
// The origins of such an answer; nothing unless it holds exactly `count`.
std::optional<std::vector<PagePoint>> ParseAnchorOrigins(std::string_view answer, std::size_t count);

// A statement whose result is menu `index`'s top-left corner on the page as
// "x,y" (ParseAnchorOrigins reads it), or "" when the page has no such menu.
std::string MenuPlaceStatement(int index);

// Asks the preview page `expression`; the reply gets the answer, or null.
using PageQuestion = std::function<void(const std::string& expression, std::function<void(const std::string*)> reply)>;
// Where the preview is to scroll: a menu's left, top and breadth on the page.
using MenuPlaceReply = std::function<void(int left, int top, int breadth)>;
// Finds menu `index` on the page for the preview to show it: a menu placed
// from the page's left edge is where its Left and Top say, at once; where an
// anchored one stands only the page knows, so it is asked. `found` is not
// called for a menu the project or the page does not have.
void LocateMenu(const ProjectModel& model, int index, const PageQuestion& ask, MenuPlaceReply found);

// Entry `index` takes `anchor`. With both origins known, Left and Top move by
// their difference so that the menu keeps its place on the page, within the
// range the number boxes can show; without, they stay. Every field changed
// is recorded in `actions` with its old value.
void Reanchor(ProjectModel& model, int index, const Anchor& anchor, const PagePoint* from, const PagePoint* to,
              std::vector<StepAction>& actions);

} // namespace didad
