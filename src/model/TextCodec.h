#pragma once
// The string escaping of scripts: the writer's escaping of menu texts and the
// reader's unescaping of quoted values, in one vector code that runs on the
// widest vectors the processor offers (chosen when the program runs), and in
// a byte-by-byte form that short texts take and that the vector code must
// always agree with.
//
// The rules: a quote or a backslash gets a backslash before it; a line break
// (CR LF, lone CR, lone LF) becomes backslash CR LF. Reading drops a
// backslash before CR, backslash and quote and keeps it before anything else
// or at the very end of the text; an unescaped quote ends the value.
#include <cstddef>
#include <string_view>

namespace didad::textcodec {

// Room an output buffer needs beyond the bytes produced: a vector is always
// stored whole.
inline constexpr std::size_t kSlack = 64;

// Texts up to this length are escaped byte by byte, without any set-up.
inline constexpr std::size_t kShortText = 16;

// Appends the escaped form of [p, end) at `d` and returns the new end. Room
// for three bytes a byte plus kSlack must be there.
char* Encode(const char* p, const char* end, char* d);
char* EncodeScalar(const char* p, const char* end, char* d);
char* EncodeVector(const char* p, const char* end, char* d);

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
