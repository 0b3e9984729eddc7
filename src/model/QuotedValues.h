#pragma once
// The quoted values of a script's arrays, as the reader takes them: each
// decoded into a scratch room and from there into the caller's string.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace didad {

// Room for a value decoded from a text of which `rest` bytes are left: a
// value is never longer than that (plus the chunk a copy may run ahead).
// One room a thread, kept for the next arrays and reads: fresh megabytes
// cost a page fault every 4 KB.
char* DecodeRoom(std::size_t rest);

// Decodes one quoted value whose opening quote is just before `pos` into
// `room` (from DecodeRoom) and moves `pos` on after the closing quote, or to
// the text's end when it has none.
std::string_view DecodeQuotedValue(std::string_view text, std::size_t& pos, char* room);

// Reads up to `n` quoted values from `pos`, handing each to store(i, text)
// while it lies decoded in the room, and returns how many there were before
// the text ended, or before the next value would start at `stopAt`. Storing
// straight into the caller's strings spares a vector and a move per value.
template <typename Store>
std::size_t TextValuesFrom(std::string_view text, std::size_t& pos, std::size_t n, Store store,
                           std::size_t stopAt = std::string_view::npos) {
    char* const room = DecodeRoom(text.size() - std::min(pos, text.size()));
    for (std::size_t i = 0; i < n; ++i) {
        if (pos == stopAt) return i;
        // In a written script the next value's quote is the very next byte
        // or the one after the comma: only other files need the search.
        if (pos + 1 < text.size() && text[pos] == ',' && text[pos + 1] == '"') {
            pos += 2;
        } else if (pos < text.size() && text[pos] == '"') {
            pos += 1;
        } else {
            const void* quote = pos < text.size() ? std::memchr(text.data() + pos, '"', text.size() - pos) : nullptr;
            if (!quote) return i; // the text ends before all values
            pos = static_cast<std::size_t>(static_cast<const char*>(quote) - text.data()) + 1;
        }
        store(i, DecodeQuotedValue(text, pos, room));
    }
    return n;
}

// A panel as the editor holds it, without the no-break wrapper that the
// writer puts around vertical ones. Whether a panel is vertical is read only
// later: returns whether the wrapper came off.
bool AssignUnwrapped(std::string& panel, std::string_view decoded);

} // namespace didad
