#pragma once
// The string escaping of scripts: the writer's escaping of menu texts and the
// reader's unescaping of quoted values, in one vector code that runs on the
// widest vectors the processor offers (chosen when the program runs), and in
// a byte-by-byte form that the vector code must always agree with. Short
// texts take neither: they are copied a word at a time, and only those
// holding something to escape go byte by byte.
//
// The rules: a quote or a backslash gets a backslash before it; a line break
// (CR LF, lone CR, lone LF) becomes backslash CR LF. Reading drops a
// backslash before CR, backslash and quote and keeps it before anything else
// or at the very end of the text; an unescaped quote ends the value.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "model/ByteScan.h"

namespace didad::textcodec {

// Room an output buffer needs beyond the bytes produced: a vector is always
// stored whole.
inline constexpr std::size_t kSlack = 64;

// Texts up to this length take the short path of Encode, without any set-up.
inline constexpr std::size_t kShortText = 16;

namespace detail {
// Non-zero when a byte of `word` is one the escaping changes: quote,
// backslash, CR or LF.
inline std::uint64_t EscapedBytes(std::uint64_t word) {
    using bytescan::HasByte;
    return HasByte(word, '"') | HasByte(word, '\\') | HasByte(word, '\r') | HasByte(word, '\n');
}
} // namespace detail

// Appends the escaped form of [p, end) at `d` and returns the new end. Room
// for three bytes a byte plus kSlack must be there.
char* EncodeScalar(const char* p, const char* end, char* d);
// The same, and ORs every byte of the text into `highBits`: the writer
// learns that way, without another pass, whether all its texts are ASCII.
char* EncodeVector(const char* p, const char* end, char* d, unsigned char& highBits);

// Short texts (colours, names) seldom hold anything to escape and come by
// the ten thousand: they are copied and checked a word at a time, without a
// call, and escaped byte by byte only when the check finds something.
inline char* Encode(const char* p, const char* end, char* d, unsigned char& highBits) {
    const auto n = static_cast<std::size_t>(end - p);
    if (n > kShortText) return EncodeVector(p, end, d, highBits);
    std::uint64_t bytes = 0; // every byte of the text somewhere in it
    std::uint64_t escaped = 0;
    if (n >= 8) {
        const std::uint64_t first = bytescan::Load8(p), last = bytescan::Load8(end - 8);
        std::memcpy(d, &first, 8);
        std::memcpy(d + n - 8, &last, 8);
        bytes = first | last;
        escaped = detail::EscapedBytes(first) | detail::EscapedBytes(last);
    } else {
        if (n >= 4) {
            std::uint32_t first, last;
            std::memcpy(&first, p, 4);
            std::memcpy(&last, end - 4, 4);
            std::memcpy(d, &first, 4);
            std::memcpy(d + n - 4, &last, 4);
            bytes = first | (std::uint64_t{last} << 32);
        } else {
            for (std::size_t i = 0; i < n; ++i) {
                d[i] = p[i];
                bytes |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
            }
        }
        escaped = detail::EscapedBytes(bytes); // the zero bytes are none of the four
    }
    if (bytes & bytescan::kHighs) highBits |= 0x80;
    return escaped ? EncodeScalar(p, end, d) : d + n;
}

// Decodes a quoted value that starts at `p`, up to its closing quote or
// `end`, into `d` (room for end - p bytes plus kSlack), moving `d` on.
// Returns where reading goes on: just after the closing quote, or `end`.
const char* Decode(const char* p, const char* end, char*& d);
const char* DecodeScalar(const char* p, const char* end, char*& d);
const char* DecodeVector(const char* p, const char* end, char*& d);

// Whether every LF of `text` follows a CR and every CR is followed by an
// LF (a text that ends in CR fails).
bool CrLfPaired(std::string_view text);
bool CrLfPairedScalar(std::string_view text);
bool CrLfPairedVector(std::string_view text);

// The instruction set the vector code runs on here, e.g. "AVX2".
const char* VectorTargetName();

} // namespace didad::textcodec
