#pragma once
// The values of a script's arrays, as the reader takes them: numbers read in
// place, quoted values each decoded into a scratch room and from there into
// the caller's string.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "model/ByteScan.h"

namespace didad {

// A number as the writer puts it down, an optional minus and up to nine
// digits (no int overflows) right up to its separator, read into `value`.
// Returns where the separator is, or npos for anything else.
inline std::size_t ReadBareNumber(std::string_view text, std::size_t pos, int& value) {
    constexpr std::size_t kMaxDigits = 9;
    const bool negative = pos < text.size() && text[pos] == '-';
    const std::size_t first = pos + (negative ? 1 : 0);
    const std::size_t last = std::min(text.size(), first + kMaxDigits);
    int magnitude = 0;
    std::size_t at = first;
    for (; at < last && text[at] >= '0' && text[at] <= '9'; ++at) magnitude = magnitude * 10 + (text[at] - '0');
    if (at == first || at == text.size() || (text[at] != ',' && text[at] != ')')) return std::string_view::npos;
    value = negative ? -magnitude : magnitude;
    return at;
}

// Room for a value decoded from a text of which `rest` bytes are left: a
// value is never longer than that (plus the chunk a copy may run ahead).
// One room a thread, kept for the next arrays and reads: fresh megabytes
// cost a page fault every 4 KB.
char* DecodeRoom(std::size_t rest);

// Decodes one quoted value whose opening quote is just before `pos` into
// `room` (from DecodeRoom) and moves `pos` on after the closing quote, or to
// the text's end when it has none.
std::string_view DecodeQuotedValue(std::string_view text, std::size_t& pos, char* room);

// How far a value is looked over for its quote before it is decoded.
inline constexpr std::size_t kShortPlainValue = 16;

// Reads up to `n` quoted values from `pos`, handing each to store(i, text)
// decoded (the text lasts until the next value is read), and returns how
// many there were before the text ended, or before the next value would
// start at `stopAt`. Storing straight into the caller's strings spares a
// vector and a move per value.
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
        // A short value without a backslash, as colours mostly are, is the
        // text up to its quote: nothing to decode.
        const std::size_t scan = std::min(kShortPlainValue, text.size() - pos);
        if (const std::size_t stop = bytescan::FindAny2(text.data() + pos, scan, '"', '\\');
            stop < scan && text[pos + stop] == '"') {
            store(i, text.substr(pos, stop));
            pos += stop + 1;
            continue;
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
