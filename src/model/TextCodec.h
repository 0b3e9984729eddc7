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
//
// On a page in a character set of two-byte characters (Shift_JIS, GBK, Big5
// and the like) a byte beyond ASCII may take the byte after it into one
// character with it, and a backslash is such a byte: one the writer put
// there to keep a quote inside the string would vanish, and the quote would
// end it. So in a text where a byte beyond ASCII stands right before a
// backslash the writer adds (or ESC, which switches ISO-2022-JP into
// two-byte characters, occurs) the run of bytes beyond ASCII before each such
// backslash is written as escapes: a UTF-8 character as \uXXXX (two for one
// beyond U+FFFF), any other byte as \xNN; ESC as \x1B. Every backslash of
// the writer then follows an ASCII byte. Reading turns \xNN and \uXXXX back
// into the same bytes. The characters a UTF-8 page shows stay the same.
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

// The byte-by-byte rules for `n` bytes at `p` of a text that ends at `end`;
// `crBefore` tells whether the byte before `p` was a CR.
char* EncodeBytes(const char* p, std::size_t n, const char* end, bool crBefore, char* d);
} // namespace detail

// What Encode ORs into its `flags`: a byte beyond ASCII, an ESC.
inline constexpr unsigned char kNonAscii = 0x80;
inline constexpr unsigned char kEscByte = 0x01;

// Appends the escaped form of [p, end) at `d` and returns the new end. Room
// for three bytes a byte plus kSlack must be there. Does not apply the
// two-byte character sets' rule: see EncodeText.
char* EncodeScalar(const char* p, const char* end, char* d);
// The same, and ORs kNonAscii and kEscByte into `flags` as the text holds
// them: the writer learns that way, without another pass, whether all its
// texts are ASCII and which texts need a second look.
char* EncodeVector(const char* p, const char* end, char* d, unsigned char& flags);

// Whether the escaped form at [begin, end) of a text Encode gave `flags`
// must be made safe by MakeSafeForAnyCharset.
bool NeedsSafeForm(const char* begin, const char* end, unsigned char flags);
// Rewrites that escaped form in place with the two-byte character sets'
// rule applied and returns its new end; room for four bytes a byte of the
// text must be there.
char* MakeSafeForAnyCharset(char* begin, char* end, unsigned char flags);

// Short texts (colours, names) seldom hold anything to escape and come by
// the ten thousand: they are copied and checked a word at a time, without a
// call, and escaped byte by byte only when the check finds something.
inline char* Encode(const char* p, const char* end, char* d, unsigned char& flags) {
    const auto n = static_cast<std::size_t>(end - p);
    if (n > kShortText) return EncodeVector(p, end, d, flags);
    std::uint64_t bytes = 0; // every byte of the text somewhere in it
    std::uint64_t escaped = 0;
    std::uint64_t esc = 0;
    if (n >= 8) {
        const std::uint64_t first = bytescan::Load8(p), last = bytescan::Load8(end - 8);
        std::memcpy(d, &first, 8);
        std::memcpy(d + n - 8, &last, 8);
        bytes = first | last;
        escaped = detail::EscapedBytes(first) | detail::EscapedBytes(last);
        esc = bytescan::HasByte(first, 0x1B) | bytescan::HasByte(last, 0x1B);
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
        esc = bytescan::HasByte(bytes, 0x1B);
    }
    if (bytes & bytescan::kHighs) flags |= kNonAscii;
    if (esc) flags |= kEscByte;
    return escaped ? EncodeScalar(p, end, d) : d + n;
}

// The escaped form of [p, end) at `d`, with every rule, the two-byte
// character sets' too; returns the new end. Room for four bytes a byte plus
// kSlack must be there. Texts with nothing beyond ASCII and no ESC take no
// step more than Encode.
inline char* EncodeText(const char* p, const char* end, char* d, unsigned char& flags) {
    unsigned char textFlags = 0;
    char* const start = d;
    d = Encode(p, end, d, textFlags);
    if (textFlags != 0 && NeedsSafeForm(start, d, textFlags)) d = MakeSafeForAnyCharset(start, d, textFlags);
    flags |= textFlags;
    return d;
}

// Decodes a quoted value that starts at `p`, up to its closing quote or
// `end`, into `d` (room for end - p bytes plus kSlack), moving `d` on.
// \xNN and \uXXXX (a pair for a character beyond U+FFFF) give the bytes of
// the byte or of the character in UTF-8; in any other form the backslash
// stays with what follows.
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
