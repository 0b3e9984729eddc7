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

#include "SilentMessages.h"

namespace didad {
namespace {

using didad::testing::SilentMessages;

// Quote and backslash get a backslash; CR LF, lone CR and lone LF become
// backslash CR LF.
std::string EncodeByteByByte(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' || c == '\\') {
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

// Up to the closing quote; a backslash before CR, backslash or quote is
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
        const char next = text[pos++];
        if (next != '\r' && next != '\\' && next != '"') out += '\\';
        out += next;
    }
    return out;
}

// Texts of every length up to two of the widest chunks and a bit, each with one of the
// awkward sequences at every offset, then random mixes of longer ones.
std::vector<std::string> AwkwardTexts() {
    const std::vector<std::string> pieces = {"\r\n", "\r", "\n", "\"", "\\", "\\\"", "\\\r\n", "\n\r", "\r\r\n"};
    std::vector<std::string> texts;
    for (std::size_t length = 0; length <= 136; ++length)
        for (const std::string& piece : pieces)
            for (std::size_t at = 0; at <= length; ++at) {
                std::string text(length, 'a');
                text.insert(at, piece);
                texts.push_back(text);
            }
    std::mt19937 random(7);
    const std::string alphabet = "ab<>\"\\\r\n \xE9";
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
            for (const char* after : {"\"", "\r", "q", ""})
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
