// The writer escapes and the reader unescapes menu texts a vector of bytes
// at a time, with the widest vectors the processor has. These tests hold the
// vector code, on every instruction set this processor can run, to plain
// byte-by-byte forms of the same rules, with the bytes that matter placed at
// every offset around the edges of a chunk and the padded tail.
#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <random>
#include <string>
#include <vector>

#include "model/ScriptReader.h"
#include "model/ScriptWriter.h"
#include "model/TextCodec.h"
#include "model/TextEncoding.h"

#include "SilentMessages.h"

namespace didad {
namespace {

using didad::testing::SilentMessages;

std::string Hex(unsigned value, int digits) {
    std::string out;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += "0123456789ABCDEF"[(value >> shift) & 0xF];
    return out;
}

bool High(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// A run of bytes beyond ASCII as escapes: \uXXXX for a UTF-8 character (a
// pair beyond U+FFFF), \xNN for any other byte.
std::string EscapedRun(std::string_view run) {
    std::string out;
    for (std::size_t i = 0; i < run.size();) {
        const std::size_t length = Utf8SequenceAt(run, i);
        if (length < 2) {
            out += "\\x" + Hex(static_cast<unsigned char>(run[i++]), 2);
            continue;
        }
        unsigned code = static_cast<unsigned char>(run[i]) & (0xFFu >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) code = code * 64 + (static_cast<unsigned char>(run[i + k]) & 0x3Fu);
        i += length;
        if (code > 0xFFFF)
            out += "\\u" + Hex(0xD800 + ((code - 0x10000) >> 10), 4) + "\\u" + Hex(0xDC00 + (code & 0x3FF), 4);
        else
            out += "\\u" + Hex(code, 4);
    }
    return out;
}

// Quote and backslash get a backslash; CR LF, lone CR and lone LF become
// backslash CR LF. When that leaves a byte beyond ASCII right before a
// backslash of the writer's, or the text holds ESC, the whole text is
// written again with every run of such bytes before a quote, backslash,
// line break or ESC as escapes, and ESC as \x1B.
std::string EncodeByteByByte(const std::string& text) {
    std::string out;
    bool safeForm = text.find('\x1B') != std::string::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (i > 0 && High(text[i - 1]) && (c == '"' || c == '\\' || c == '\r' || c == '\n')) safeForm = true;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (safeForm && c == '\x1B') {
            out += "\\x1B";
        } else if (safeForm && High(c)) {
            std::size_t end = i;
            while (end < text.size() && High(text[end])) ++end;
            const std::string_view run(text.data() + i, end - i);
            const char next = end < text.size() ? text[end] : 'a';
            const bool escaped = next == '"' || next == '\\' || next == '\r' || next == '\n' || next == '\x1B';
            out += escaped ? EscapedRun(run) : std::string(run);
            i = end - 1;
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\\\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

// The value of the hexadecimal digits text[at, at + digits), or -1.
long HexValue(const std::string& text, std::size_t at, int digits) {
    if (at + static_cast<std::size_t>(digits) > text.size()) return -1;
    const std::string digitsText = text.substr(at, static_cast<std::size_t>(digits));
    if (digitsText.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return -1;
    return std::stol(digitsText, nullptr, 16);
}

std::string Utf8Of(unsigned code) {
    if (code < 0x80) return std::string(1, static_cast<char>(code));
    if (code < 0x800) return {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
    if (code < 0x10000)
        return {static_cast<char>(0xE0 | (code >> 12)), static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                static_cast<char>(0x80 | (code & 0x3F))};
    return {static_cast<char>(0xF0 | (code >> 18)), static_cast<char>(0x80 | ((code >> 12) & 0x3F)),
            static_cast<char>(0x80 | ((code >> 6) & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
}

// Up to the closing quote; \xNN and \uXXXX (a surrogate only in a pair)
// give their bytes in UTF-8; a backslash before CR, backslash or quote is
// dropped, before anything else (or at the very end) it stays.
std::string DecodeByteByByte(const std::string& text, std::size_t& pos) {
    std::string out;
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == '"') return out;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos == text.size()) {
            out += '\\';
            break;
        }
        if (text[pos] == 'x' && HexValue(text, pos + 1, 2) >= 0) {
            out += static_cast<char>(HexValue(text, pos + 1, 2));
            pos += 3;
            continue;
        }
        const long unit = text[pos] == 'u' ? HexValue(text, pos + 1, 4) : -1;
        const long low = text.compare(pos + 5, 2, "\\u") == 0 ? HexValue(text, pos + 7, 4) : -1;
        if (unit >= 0xD800 && unit < 0xDC00 && low >= 0xDC00 && low < 0xE000) {
            out += Utf8Of(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            pos += 11;
            continue;
        }
        if (unit >= 0 && (unit < 0xD800 || unit >= 0xE000)) {
            out += Utf8Of(static_cast<unsigned>(unit));
            pos += 5;
            continue;
        }
        const char next = text[pos++];
        if (next != '\r' && next != '\\' && next != '"') out += '\\';
        out += next;
    }
    return out;
}

// Texts of every length up to two of the widest chunks and a bit, each with one of the
// awkward sequences at every offset, then random mixes of longer ones.
std::vector<std::string> AwkwardTexts() {
    const std::vector<std::string> pieces = {"\r\n",
                                             "\r",
                                             "\n",
                                             "\"",
                                             "\\",
                                             "\\\"",
                                             "\\\r\n",
                                             "\n\r",
                                             "\r\r\n",
                                             "\x81\"",
                                             "\x81\x81\\",
                                             "\xC3\xA9\r\n",
                                             "\xF0\x9F\x98\x80\xE9\n",
                                             "\x1B",
                                             "\xE6\x97\xA5"};
    std::vector<std::string> texts;
    for (std::size_t length = 0; length <= 136; ++length)
        for (const std::string& piece : pieces)
            for (std::size_t at = 0; at <= length; ++at) {
                std::string text(length, 'a');
                text.insert(at, piece);
                texts.push_back(text);
            }
    std::mt19937 random(7);
    const std::string alphabet = "ab<>\"\\\r\n \xE9\xC3\xA9\x1B";
    for (int i = 0; i < 2000; ++i) {
        std::string text(random() % 400, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        texts.push_back(text);
    }
    return texts;
}

// Runs each test on every instruction set of this processor that the
// vector code was built for.
class BlockEscape : public ::testing::TestWithParam<std::int64_t> {
protected:
    void SetUp() override {
        if ((hwy::SupportedTargets() & GetParam()) == 0) GTEST_SKIP() << "not on this processor";
        hwy::SetSupportedTargetsForTest(GetParam());
        ASSERT_STREQ(textcodec::VectorTargetName(), hwy::TargetName(GetParam()));
    }
    void TearDown() override { hwy::SetSupportedTargetsForTest(0); }
};

INSTANTIATE_TEST_SUITE_P(Targets, BlockEscape, ::testing::ValuesIn(hwy::SupportedAndGeneratedTargets()),
                         [](const auto& info) { return std::string(hwy::TargetName(info.param)); });

TEST_P(BlockEscape, EncodingMatchesTheByteByByteRuleEverywhere) {
    for (const std::string& text : AwkwardTexts()) ASSERT_EQ(EncodeJsString(text), EncodeByteByByte(text)) << text;
}

TEST_P(BlockEscape, DecodingMatchesTheByteByByteRuleEverywhere) {
    SilentMessages messages;
    // Hand-made escapes too, not only the writer's: a backslash before a
    // plain byte, runs of backslashes of every length across a chunk's
    // edge, and a backslash as the last byte.
    std::vector<std::string> values = AwkwardTexts();
    for (std::size_t at = 0; at < 140; ++at) values.push_back(std::string(at, 'x') + "\\q\\\\");
    for (std::size_t run = 1; run < 12; ++run)
        for (std::size_t at = 50; at < 70; ++at)
            for (const char* after : {"\"", "\r", "q", "", "x41", "x4", "u00e9", "uD83D\\uDE00", "uD800x", "uDC00"})
                values.push_back(std::string(at, 'x') + std::string(run, '\\') + after + "yz");
    for (const std::string& value : values) {
        for (const std::string& body : {"\"" + EncodeJsString(value) + "\"", "\"" + value}) {
            const std::string text = "var K = new Array (" + body + ",\"tail\");";
            std::size_t pos = text.find('"') + 1;
            const std::string expected = DecodeByteByByte(text, pos);
            const std::vector<std::string> got = ReadTextArray(text, "var K = new Array (", 1, messages);
            ASSERT_EQ(got.at(0), expected) << text;
        }
    }
}

// Every LF right after a CR and every CR right before an LF.
bool CrLfPairedByteByByte(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
    }
    return true;
}

TEST_P(BlockEscape, LineBreakCheckMatchesTheByteByByteRule) {
    // Whole files with CR LF lines are read as they are; anything else is
    // normalised first, so a wrong yes would let a lone break through.
    for (const std::string& text : AwkwardTexts()) {
        for (const std::string& framed : {text, "a\r\n" + text + "\r\n", std::string(60, 'x') + text}) {
            ASSERT_EQ(textcodec::CrLfPairedVector(framed), CrLfPairedByteByByte(framed)) << framed;
        }
    }
}

} // namespace
} // namespace didad
