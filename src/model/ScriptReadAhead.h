#pragma once
// The panels' HTML is most of a large project's text: the later part of it,
// and the arrays after it, are read on a second thread while the reader
// works its way through the rest.
#include <array>
#include <atomic>
#include <cstddef>
#include <future>
#include <string>
#include <string_view>
#include <vector>

#include "model/ProjectModel.h"

namespace didad {

// The arrays after the panels, in the order a written script has them: each
// either a number or a text of every menu.
struct TrailingArray {
    std::string_view key;
    int MenuEntry::*number = nullptr;
    std::string MenuEntry::*text = nullptr;
    // Came later than the first scripts: a file without it is not corrupted.
    bool optional = false;
};

inline constexpr std::array<TrailingArray, 11> kTrailingArrays{{
    {"var MX = new Array (", &MenuEntry::MX},
    {"var MY = new Array (", &MenuEntry::MY},
    {"var MW = new Array (", &MenuEntry::MW},
    {"var CO = new Array (", nullptr, &MenuEntry::CO},
    {"var CC = new Array (", nullptr, &MenuEntry::CC},
    {"var CM = new Array (", nullptr, &MenuEntry::CM},
    {"var MA = new Array (", &MenuEntry::MA},
    {"var FL = new Array (", &MenuEntry::FL},
    {"var OO = new Array (", &MenuEntry::OO},
    {"var AN = new Array (", &MenuEntry::AN, nullptr, true},
    {"var AE = new Array (", nullptr, &MenuEntry::AE, true},
}};

// The menus' colours, with the names a message gives them.
struct MenuColour {
    std::string MenuEntry::*field;
    const char* name;
};
inline constexpr std::array<MenuColour, 3> kMenuColours{{
    {&MenuEntry::CC, "Caption Color (CC)"},
    {&MenuEntry::CM, "Menu Color (CM)"},
    {&MenuEntry::CO, "Bottom Color (CO)"},
}};

// Panels read ahead: `ends[i]` is just after the closing quote of
// panels[i], `unwrapped[i]` whether it had the no-break wrapper.
struct PanelsAhead {
    std::vector<std::string> panels;
    std::vector<char> unwrapped;
    std::vector<std::size_t> ends;
};

// How the arrays of kTrailingArrays were read ahead into the menus lent:
// from `from`, where the panels read ahead end, each found by its key after
// the one before and holding a value for every menu exactly as a written
// script puts them down.
struct ArraysAhead {
    bool complete = false; // else some of the menus' values are written, not all
    std::size_t from = std::string_view::npos;
    bool coloursValid = false; // every value of the fields of kMenuColours is a colour
};

// Reads, on a thread of its own, the panels from the first boundary between
// two values at `from` or after, for as long as each follows the last at
// once as in a written script (a comma, then its quote), and then, into the
// menus the reader lends it, the arrays after them. They are exactly what
// the reader would take from there; whether the reader comes there is known
// only when it does.
class ScriptReadAhead {
public:
    ScriptReadAhead(std::string_view text, std::size_t from);
    ScriptReadAhead(const ScriptReadAhead&) = delete;
    ScriptReadAhead& operator=(const ScriptReadAhead&) = delete;

    // Where the panels start: just after a closing quote; npos for none.
    std::size_t start() const { return start_; }
    // Waits for the panels; once only.
    PanelsAhead TakePanels() { return panelsReady_.get(); }
    // The menus the arrays after the panels are read into, once the panels
    // are read; they must stay where they are until TakeArrays or Stop. The
    // thread writes no other field than those of kTrailingArrays.
    void Lend(std::vector<MenuEntry>& entries);
    // Waits for the thread, which is done with the menus lent after that;
    // once only.
    ArraysAhead TakeArrays();
    // Stops the thread and waits for it.
    void Stop();
    ~ScriptReadAhead() { Stop(); }

private:
    void LendOnce(std::vector<MenuEntry>* entries);
    ArraysAhead Read(std::string_view text);
    PanelsAhead ReadPanels(std::string_view text) const;
    ArraysAhead ReadArrays(std::string_view text, std::size_t pos, std::vector<MenuEntry>& entries) const;

    std::atomic<bool> cancelled_{false};
    std::size_t start_;
    std::promise<PanelsAhead> panels_;
    std::future<PanelsAhead> panelsReady_;
    std::promise<std::vector<MenuEntry>*> lent_;
    bool lentYet_ = false;
    std::future<std::vector<MenuEntry>*> lentReady_;
    std::future<ArraysAhead> arrays_;
};

} // namespace didad
