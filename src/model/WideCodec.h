#pragma once
// The string escaping of scripts, 64 bytes at a time, for processors
// that can spread and gather bytes under a bit mask (x86-64 with AVX-512
// VBMI2). Menu HTML has a byte to escape every dozen bytes or so; the
// portable block code has to branch on each of them, these functions handle
// a whole chunk in the same few steps whatever it holds.
//
// The writer and reader choose these when WideCodecActive() says so and
// their portable code otherwise; both give the same bytes.
#include <cstddef>
#include <string_view>

namespace didad::widecodec {

// Room an output buffer needs beyond the bytes produced: a chunk is always
// stored whole.
inline constexpr std::size_t kSlack = 64;

// Whether this processor has the instructions and they are not turned off.
bool WideCodecActive();

// Turns the wide code off (or back on when the processor has it), so that
// tests and benchmarks can run the portable code on the same machine.
void AllowWideCodec(bool allowed);

// Appends the escaped form of [p, end) at `d` and returns the new end. Room
// for three bytes a byte plus kSlack must be there.
char* EncodeWide(const char* p, const char* end, char* d);

// Decodes a quoted value that starts at `p`, up to its closing quote or
// `end`, into `d` (room for end - p bytes plus kSlack), moving `d` on.
// Returns where reading goes on: just after the closing quote, or `end`.
const char* DecodeWide(const char* p, const char* end, char*& d);

// Whether every LF of `text` follows a CR and every CR is followed by an
// LF (a text that ends in CR fails).
bool CrLfPairedWide(std::string_view text);

} // namespace didad::widecodec
