// Arbitrary bytes through the script's text escaping and unescaping: the
// vector code, on every instruction set of this processor, must give the
// same bytes as the byte-by-byte code, and stop reading at the same place;
// the whole rule must read back to the text.
// Any difference aborts, so libFuzzer keeps the input as a crash.
#include <hwy/targets.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/TextCodec.h"

namespace {

using namespace didad;

[[noreturn]] void Fail(const char* what, const char* where) {
    std::fprintf(stderr, "vector and byte-by-byte code differ: %s on %s\n", what, where);
    std::abort();
}

// Output buffers as tight as the callers promise, so that a store past the
// room they make shows under AddressSanitizer.
std::vector<char> Room(std::size_t bytes) { return std::vector<char>(bytes + textcodec::kSlack); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Exact copies, so that reading past the text shows too.
    const std::vector<char> text(data, data + size);
    const char* const begin = text.data();
    const char* const end = begin + size;

    std::vector<char> scalarEncoded = Room(3 * size);
    const std::size_t encodedSize =
        static_cast<std::size_t>(textcodec::EncodeScalar(begin, end, scalarEncoded.data()) - scalarEncoded.data());
    std::vector<char> scalarDecoded = Room(size);
    char* decodedEnd = scalarDecoded.data();
    const char* const stop = textcodec::DecodeScalar(begin, end, decodedEnd);
    const std::size_t decodedSize = static_cast<std::size_t>(decodedEnd - scalarDecoded.data());
    const bool paired = textcodec::CrLfPairedScalar(std::string_view(begin, size));
    const bool hasHighByte = std::any_of(begin, end, [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    auto sameEncoding = [&](const std::vector<char>& encoded, const char* encodedEnd, unsigned char highBits) {
        return static_cast<std::size_t>(encodedEnd - encoded.data()) == encodedSize &&
               std::memcmp(encoded.data(), scalarEncoded.data(), encodedSize) == 0 &&
               ((highBits & 0x80) != 0) == hasHighByte;
    };
    {
        // The writer's entry point: short texts take a path of their own.
        std::vector<char> encoded = Room(3 * size);
        unsigned char highBits = 0;
        if (!sameEncoding(encoded, textcodec::Encode(begin, end, encoded.data(), highBits), highBits))
            Fail("encoding", "the writer's short-text path");
    }

    // The whole rule, two-byte character sets included: every backslash
    // follows an ASCII byte, no ESC is written, and reading gives the text
    // back with its line breaks as CR LF; the same on every instruction set.
    std::string safe;
    for (const std::int64_t target : hwy::SupportedAndGeneratedTargets()) {
        hwy::SetSupportedTargetsForTest(target);
        std::vector<char> encoded = Room(4 * size);
        unsigned char flags = 0;
        const char* const encodedEnd = textcodec::EncodeText(begin, end, encoded.data(), flags);
        const std::string got(encoded.data(), static_cast<std::size_t>(encodedEnd - encoded.data()));
        if (safe.empty()) safe = got;
        if (got != safe) Fail("the two-byte rule", hwy::TargetName(target));
    }
    for (std::size_t i = 0; i < safe.size(); ++i)
        if (safe[i] == '\x1B' || (i > 0 && safe[i] == '\\' && static_cast<unsigned char>(safe[i - 1]) >= 0x80))
            Fail("a backslash after a byte beyond ASCII", "the two-byte rule");
    {
        std::string expected;
        for (std::size_t i = 0; i < size; ++i) {
            if (begin[i] != '\r' && begin[i] != '\n') {
                expected += begin[i];
                continue;
            }
            expected += "\r\n";
            if (begin[i] == '\r' && i + 1 < size && begin[i + 1] == '\n') ++i;
        }
        std::vector<char> back = Room(safe.size());
        char* d = back.data();
        textcodec::DecodeScalar(safe.data(), safe.data() + safe.size(), d);
        if (std::string(back.data(), static_cast<std::size_t>(d - back.data())) != expected)
            Fail("reading back", "the two-byte rule");
    }

    for (const std::int64_t target : hwy::SupportedAndGeneratedTargets()) {
        hwy::SetSupportedTargetsForTest(target);
        std::vector<char> encoded = Room(3 * size);
        unsigned char highBits = 0;
        if (!sameEncoding(encoded, textcodec::EncodeVector(begin, end, encoded.data(), highBits), highBits))
            Fail("encoding", hwy::TargetName(target));

        std::vector<char> decoded = Room(size);
        char* d = decoded.data();
        if (textcodec::DecodeVector(begin, end, d) != stop) Fail("where decoding stops", hwy::TargetName(target));
        if (static_cast<std::size_t>(d - decoded.data()) != decodedSize ||
            std::memcmp(decoded.data(), scalarDecoded.data(), decodedSize) != 0)
            Fail("decoding", hwy::TargetName(target));

        if (textcodec::CrLfPairedVector(std::string_view(begin, size)) != paired)
            Fail("the line-break check", hwy::TargetName(target));
    }
    hwy::SetSupportedTargetsForTest(0);
    return 0;
}
