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
    bool oneLine = false;  // the head frame loads the script deferred and no body frame follows
    bool HasCode() const { return headCode || bodyCode; }
    // The page shows the menus: the one line, or both lines of the pair.
    bool Complete() const { return oneLine || (headCode && bodyCode); }
};

PageCodeState InspectPage(std::string_view page);

// The page as it should be: `changed` false when it already is.
struct PageCodeEdit {
    std::string problem; // non-empty: the page is left alone
    bool changed = false;
    std::string text;
};

// How a page includes the script: one deferred line in the head, which
// builds the menus once the page is parsed, or the classic pair (the script
// in the head, makeDidad() right after the body tag).
enum class IncludeForm { OneLine, Classic };

// The page carrying the code, the head code loading the script from `src`
// (a URL path relative to the page). Code with another path is mended.
// `OneLine`: a page without code gets the one line, a page with code keeps
// its form. `Classic`: every page gets the pair, a one-line page too.
PageCodeEdit WithMenuCode(std::string_view page, const std::string& src, IncludeForm form = IncludeForm::OneLine);
// The page without the code: the exact bytes it had before it was added.
PageCodeEdit WithoutMenuCode(std::string_view page);

} // namespace didad
