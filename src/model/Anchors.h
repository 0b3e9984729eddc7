#pragma once
// The places a menu's Left and Top can count from. The editor moves menus
// between them; the project settings can set one for every menu at once.
#include <string>

namespace didad {

inline constexpr int kAnchorPageLeft = 0;
inline constexpr int kAnchorPageCentre = 1;
inline constexpr int kAnchorPageRight = 2;
inline constexpr int kAnchorElement = 3;
// The choices, in the order of the anchor's numbers.
inline constexpr const char* kAnchorChoices[] = {"Page left", "Page centre", "Page right", "Element"};

// Why the anchor choices are greyed while the preview shows another width
// than the editing page's: the places they keep are the editing page's.
inline constexpr const char* kAnchorsOnEditingPage =
    "Anchors are chosen with the preview on the editing page (820 px): other widths lay the page out anew.";

struct Anchor {
    int kind = kAnchorPageLeft;
    std::string selector; // the element's CSS selector; kept, but unused, for the other kinds
    friend bool operator==(const Anchor&, const Anchor&) = default;
};

} // namespace didad
