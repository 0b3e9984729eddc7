#pragma once
// The menus' code in a page of the user's: found as a browser reads the page,
// put in right after the <head> and <body> tags, and taken out again leaving
// every other byte as it was.
#include <string>
#include <string_view>

namespace didad {

// What a page holds of the menus' code.
struct PageCodeState {
    // Empty when the page can take or give up the code; otherwise why not.
    std::string problem;
    bool headCode = false; // the framed head lines are there
    bool bodyCode = false; // the framed body lines are there
    bool HasCode() const { return headCode || bodyCode; }
};

PageCodeState InspectPage(std::string_view page);

// The page as it should be: `changed` false when it already is.
struct PageCodeEdit {
    std::string problem; // non-empty: the page is left alone
    bool changed = false;
    std::string text;
};

// The page carrying the code, the head code loading the script from `src`
// (a URL path relative to the page). Code with another path is mended.
PageCodeEdit WithMenuCode(std::string_view page, const std::string& src);
// The page without the code: the exact bytes it had before it was added.
PageCodeEdit WithoutMenuCode(std::string_view page);

} // namespace didad
