#pragma once
// The panels' HTML is most of a large project's text: the later part of it
// is read on a second thread while the reader works its way there.
#include <atomic>
#include <cstddef>
#include <future>
#include <string>
#include <string_view>
#include <vector>

namespace didad {

// Panels read ahead: `ends[i]` is just after the closing quote of
// panels[i], `unwrapped[i]` whether it had the no-break wrapper.
struct PanelsAhead {
    std::vector<std::string> panels;
    std::vector<char> unwrapped;
    std::vector<std::size_t> ends;
};

// Reads, on a thread of its own, the panels from the first boundary between
// two values at `from` or after, for as long as each follows the last at
// once as in a written script (a comma, then its quote). They are exactly
// what the reader would take from there; whether the reader comes there is
// known only when it does.
class PanelsReadAhead {
public:
    PanelsReadAhead(std::string_view text, std::size_t from);
    PanelsReadAhead(const PanelsReadAhead&) = delete;
    PanelsReadAhead& operator=(const PanelsReadAhead&) = delete;
    ~PanelsReadAhead() { cancelled_ = true; } // the future then waits for the thread

    // Where the panels start: just after a closing quote; npos for none.
    std::size_t start() const { return start_; }
    // Waits for the thread; once only.
    PanelsAhead Take() { return future_.get(); }

private:
    PanelsAhead Read(std::string_view text) const;

    std::atomic<bool> cancelled_{false};
    std::size_t start_;
    std::future<PanelsAhead> future_; // last: waited for before the rest goes
};

} // namespace didad
