#pragma once
// Which encoding a script's texts are in. The texts are kept as bytes; a page
// without a declared character set makes browsers read its scripts in a
// single-byte code page, unless the script starts with the UTF-8 mark.
#include <cstddef>
#include <string_view>

namespace didad {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsAscii(std::string_view text);
// The length of the well-formed UTF-8 sequence that starts at `at` (1 for
// ASCII), or 0 when the bytes there are not one. `at` must lie in `text`.
std::size_t Utf8SequenceAt(std::string_view text, std::size_t at);
// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);
// Texts that hold characters beyond ASCII in valid UTF-8 need the mark; ASCII
// reads the same in every encoding, and other bytes are kept as they are.
bool NeedsUtf8Mark(std::string_view texts);
std::string_view SkipUtf8Mark(std::string_view text);

} // namespace didad
