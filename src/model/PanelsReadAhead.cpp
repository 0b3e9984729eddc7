#include "model/PanelsReadAhead.h"

#include <system_error>

#include "model/ProjectModel.h"
#include "model/QuotedValues.h"

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

} // namespace

PanelsReadAhead::PanelsReadAhead(std::string_view text, std::size_t from) : start_(ValueBoundaryFrom(text, from)) {
    if (start_ == std::string_view::npos) return;
    try {
        future_ = std::async(std::launch::async, [this, text] { return Read(text); });
    } catch (const std::system_error&) { // no thread to be had: the reader reads it all
        start_ = std::string_view::npos;
    }
}

PanelsAhead PanelsReadAhead::Read(std::string_view text) const {
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

} // namespace didad
