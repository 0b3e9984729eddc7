#include "model/TextEncoding.h"

#include <cstddef>

#include "model/ByteScan.h"

namespace didad {

bool IsAscii(std::string_view text) {
    std::size_t i = 0;
    std::uint64_t highs = 0;
    for (; i + 8 <= text.size(); i += 8) highs |= bytescan::Load8(text.data() + i);
    if (highs & bytescan::kHighs) return false;
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
    return true;
}

namespace {
bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
} // namespace

std::size_t Utf8SequenceAt(std::string_view text, std::size_t at) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    const unsigned char lead = bytes[at];
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    // The lowest second byte each lead allows, and the highest.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;  // overlong
        if (lead == 0xED) high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;  // overlong
        if (lead == 0xF4) high = 0x8F; // above U+10FFFF
    } else {
        return 0;
    }
    if (n - at < length || bytes[at + 1] < low || bytes[at + 1] > high) return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (!IsContinuation(bytes[at + k])) return 0;
    return length;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = Utf8SequenceAt(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

bool NeedsUtf8Mark(std::string_view texts) { return !IsAscii(texts) && IsValidUtf8(texts); }

std::string_view SkipUtf8Mark(std::string_view text) {
    if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
    return text;
}

} // namespace didad
