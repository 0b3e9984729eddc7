#include "model/JsLiteral.h"

#include "model/TextEncoding.h"

namespace didad {

std::string EncodeJsLiteral(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() + text.size() / 4 + 2);
    auto unit = [&out](unsigned value) {
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
    };
    out += '"';
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            // A line break of the file continues the literal: it is no part of the text.
            if (c == '\r' || c == '\n') continue;
            if (c == '"' || c == '\\') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c < 0x20 || c == 0x7F || c == '<') {
                // "<" too: no "</script>" or "<!--" can end a script block around the literal.
                out += "\\x";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            } else {
                out += static_cast<char>(c);
            }
            continue;
        }
        const std::size_t length = Utf8SequenceAt(text, i);
        if (length == 0) {
            // A byte that is no UTF-8 shows as the editor's boxes show it.
            unit(0xFFFD);
            ++i;
            continue;
        }
        unsigned code = c & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            unit(0xD800 + (code >> 10));
            unit(0xDC00 + (code & 0x3FF));
        } else {
            unit(code);
        }
    }
    out += '"';
    return out;
}

} // namespace didad
