// The byte-by-byte forms of the script's string escaping: the rules the
// vector code in TextCodec.cpp must always agree with, the forms short texts
// take, and the rare texts that need the two-byte character sets' rule.
#include <cstring>
#include <string>
#include <string_view>

#include "model/TextCodec.h"
#include "model/TextEncoding.h"

namespace didad::textcodec {

// A CR is written as backslash CR, then an LF unless one follows in the
// text; an LF after a CR is that LF; any other LF becomes backslash CR LF.
// This is exactly what the vector code writes for paired breaks, so the two
// can take turns chunk by chunk.
char* detail::EncodeBytes(const char* p, std::size_t n, const char* end, bool crBefore, char* d) {
    for (std::size_t i = 0; i < n; ++i) {
        const char c = p[i];
        const bool afterCr = i == 0 ? crBefore : p[i - 1] == '\r';
        if (c == '"' || c == '\\') {
            *d++ = '\\';
            *d++ = c;
        } else if (c == '\r') {
            *d++ = '\\';
            *d++ = '\r';
            if (!(p + i + 1 < end && p[i + 1] == '\n')) *d++ = '\n';
        } else if (c == '\n') {
            if (!afterCr) {
                *d++ = '\\';
                *d++ = '\r';
            }
            *d++ = '\n';
        } else {
            *d++ = c;
        }
    }
    return d;
}

char* EncodeScalar(const char* p, const char* end, char* d) {
    return detail::EncodeBytes(p, static_cast<std::size_t>(end - p), end, false, d);
}

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kEsc = 0x1B;

bool IsAsciiByte(char c) { return static_cast<unsigned char>(c) < 0x80; }

char* HexEscape(char* d, char kind, unsigned value, int digits) {
    *d++ = '\\';
    *d++ = kind;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) *d++ = kHexDigits[(value >> shift) & 0xF];
    return d;
}

// A run of bytes beyond ASCII as escapes: UTF-8 characters as code units,
// anything else byte by byte.
char* EscapeRun(std::string_view run, char* d) {
    std::size_t i = 0;
    while (i < run.size()) {
        const std::size_t length = Utf8SequenceAt(run, i);
        if (length < 2) {
            d = HexEscape(d, 'x', static_cast<unsigned char>(run[i]), 2);
            ++i;
            continue;
        }
        unsigned code = static_cast<unsigned char>(run[i]) & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(run[i + k]) & 0x3Fu);
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            d = HexEscape(d, 'u', 0xD800 + (code >> 10), 4);
            d = HexEscape(d, 'u', 0xDC00 + (code & 0x3FF), 4);
        } else {
            d = HexEscape(d, 'u', code, 4);
        }
    }
    return d;
}

// The value of `digits` hexadecimal digits at `p`, or -1.
long HexAt(const char* p, const char* end, int digits) {
    if (end - p < digits) return -1;
    long value = 0;
    for (int i = 0; i < digits; ++i) {
        const char c = p[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                 : -1;
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

char* PutUtf8(char* d, unsigned code) {
    auto put = [&d](unsigned byte) { *d++ = static_cast<char>(byte); };
    if (code < 0x80) {
        put(code);
    } else if (code < 0x800) {
        put(0xC0 | (code >> 6));
        put(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        put(0xE0 | (code >> 12));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    } else {
        put(0xF0 | (code >> 18));
        put(0x80 | ((code >> 12) & 0x3F));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    }
    return d;
}

// A \x or \u escape whose letter is at `p`: its bytes at `d`, and where
// reading goes on; null when the letter starts no such escape.
const char* DecodeNumericEscape(const char* p, const char* end, char*& d) {
    if (*p == 'x') {
        const long byte = HexAt(p + 1, end, 2);
        if (byte < 0) return nullptr;
        *d++ = static_cast<char>(byte);
        return p + 3;
    }
    const long unit = HexAt(p + 1, end, 4);
    if (unit < 0 || (unit >= 0xDC00 && unit <= 0xDFFF)) return nullptr;
    if (unit < 0xD800 || unit > 0xDBFF) {
        d = PutUtf8(d, static_cast<unsigned>(unit));
        return p + 5;
    }
    const long low = end - p >= 11 && p[5] == '\\' && p[6] == 'u' ? HexAt(p + 7, end, 4) : -1;
    if (low < 0xDC00 || low > 0xDFFF) return nullptr;
    d = PutUtf8(d, 0x10000 + ((static_cast<unsigned>(unit) - 0xD800) << 10) + (static_cast<unsigned>(low) - 0xDC00));
    return p + 11;
}

} // namespace

char* MakeSafeForAnyCharset(char* begin, char* end, unsigned char flags) {
    // The escaped text moves to the side and comes back with its runs
    // replaced: escaping leaves bytes beyond ASCII and ESC as they are, so
    // each run before a backslash (or ESC) is the text's own run.
    thread_local std::string escaped;
    escaped.assign(begin, end);
    const char* const from = escaped.data();
    const char* const last = from + escaped.size();
    const bool escs = (flags & kEscByte) != 0;
    auto next = [&](const char* at) {
        if (!escs) return static_cast<const char*>(std::memchr(at, '\\', static_cast<std::size_t>(last - at)));
        while (at < last && *at != '\\' && *at != kEsc) ++at;
        return at < last ? at : nullptr;
    };
    char* d = begin;
    const char* copied = from;
    for (const char* at = next(from); at; at = next(at + 1)) {
        const char* run = at;
        while (run > copied && !IsAsciiByte(run[-1])) --run;
        std::memcpy(d, copied, static_cast<std::size_t>(run - copied));
        d += run - copied;
        d = EscapeRun(std::string_view(run, static_cast<std::size_t>(at - run)), d);
        copied = at;
        if (*at == kEsc) {
            d = HexEscape(d, 'x', 0x1B, 2);
            copied = at + 1;
        }
    }
    std::memcpy(d, copied, static_cast<std::size_t>(last - copied));
    return d + (last - copied);
}

const char* DecodeScalar(const char* p, const char* end, char*& d) {
    while (p < end) {
        const char c = *p++;
        if (c == '"') break;
        if (c != '\\') {
            *d++ = c;
            continue;
        }
        if (p == end) { // a backslash at the very end is kept
            *d++ = '\\';
            break;
        }
        if (*p == 'x' || *p == 'u') {
            if (const char* after = DecodeNumericEscape(p, end, d)) {
                p = after;
                continue;
            }
        }
        const char next = *p++;
        if (next != '\r' && next != '\\' && next != '"') *d++ = '\\';
        *d++ = next;
    }
    return p;
}

bool CrLfPairedScalar(std::string_view text) {
    bool crBefore = false;
    for (const char c : text) {
        if ((c == '\n') != crBefore) return false;
        crBefore = c == '\r';
    }
    return !crBefore;
}

} // namespace didad::textcodec
