#pragma once
// Fast searches for a few byte values in long texts, eight bytes at a time.
// Scripts of thousands of menus are megabytes of HTML in which the bytes the
// writer and reader care about (quotes, backslashes, line breaks) are rare.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace didad::bytescan {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

inline std::uint64_t Load8(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Non-zero when some byte of `word` equals `byte` (may flag extra bytes
// after a true match, never miss one).
inline std::uint64_t HasByte(std::uint64_t word, unsigned char byte) {
    const std::uint64_t x = word ^ (kOnes * byte);
    return (x - kOnes) & ~x & kHighs;
}

// For a non-zero result of HasByte (or several of them or-ed together): the
// offset in the word of the first matching byte, in memory order, or 8 when
// that cannot be told on this machine and the caller must look byte by byte.
// On little-endian machines the lowest flag is always a true match.
inline std::size_t FirstFlagged(std::uint64_t flags) {
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<std::size_t>(std::countr_zero(flags)) / 8;
    else
        return 8;
}

// Index of the first byte in [p, p + n) equal to a or b, or n.
inline std::size_t FindAny2(const char* p, std::size_t n, char a, char b) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const std::uint64_t w = Load8(p + i);
        const std::uint64_t flags =
            HasByte(w, static_cast<unsigned char>(a)) | HasByte(w, static_cast<unsigned char>(b));
        if (flags) {
            const std::size_t at = FirstFlagged(flags);
            if (at < 8) return i + at;
            break;
        }
    }
    for (; i < n; ++i)
        if (p[i] == a || p[i] == b) return i;
    return n;
}

} // namespace didad::bytescan
