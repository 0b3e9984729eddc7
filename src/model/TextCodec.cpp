// Compiled once for every instruction set the vector library can target on
// this architecture (x86-64: SSSE3, SSE4, AVX2, AVX-512 and AVX-512 with
// byte compression; ARM64: NEON and SVE); the library picks the best one the
// processor has on the first call. Menu HTML has a byte to escape every dozen
// bytes or so: the vector code handles a whole chunk in the same few steps
// whatever it holds, where byte-by-byte code branches on each of them.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "model/TextCodec.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep
#include <hwy/highway.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "model/TextCodec.h"

#ifndef DIDAD_TEXT_CODEC_TABLES
#define DIDAD_TEXT_CODEC_TABLES
#include <array>
namespace didad::textcodec::detail {
// For each byte of mask bits, the positions of its set bits, first to last:
// eight bytes of a vector under such a mask, compressed by one shuffle.
alignas(16) inline constexpr std::array<std::uint8_t, 256 * 8> kCompressIndices = [] {
    std::array<std::uint8_t, 256 * 8> table{};
    for (unsigned bits = 0; bits < 256; ++bits) {
        unsigned k = 0;
        for (unsigned i = 0; i < 8; ++i)
            if ((bits >> i) & 1) table[bits * 8 + k++] = static_cast<std::uint8_t>(i);
    }
    return table;
}();

// For each byte of escape bits, the shuffle that spreads a group of eight
// text bytes (lanes 0 to 7 of its source) out to sixteen with a backslash
// (lane 8) before each byte whose bit is set.
alignas(16) inline constexpr std::array<std::uint8_t, 256 * 16> kSpreadIndices = [] {
    std::array<std::uint8_t, 256 * 16> table{};
    for (unsigned bits = 0; bits < 256; ++bits) {
        unsigned k = 0;
        for (unsigned i = 0; i < 8; ++i) {
            if ((bits >> i) & 1) table[bits * 16 + k++] = 8;
            table[bits * 16 + k++] = static_cast<std::uint8_t>(i);
        }
    }
    return table;
}();

// Sixteen bytes from offset s are the shuffle that moves a block's lanes
// down by s, zero coming in at the top (an index with its top bit set gives
// zero in TableLookupBytesOr0).
inline constexpr std::array<std::uint8_t, 32> kShiftDownIndices = {
    0,    1,    2,    3,    4,    5,    6,    7,    8,    9,    10,   11,   12,   13,   14,   15,
    0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
} // namespace didad::textcodec::detail
#endif

HWY_BEFORE_NAMESPACE();
namespace didad::textcodec {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_TARGET != HWY_SCALAR

// At most 64 bytes a chunk, so that one 64-bit word holds a bit for each.
using D = hn::CappedTag<std::uint8_t, 64>;
using V = hn::Vec<D>;

constexpr std::uint64_t kOddBits = 0xAAAAAAAAAAAAAAAAULL;

inline std::uint64_t LowBits(std::size_t n) { return n >= 64 ? ~0ULL : (1ULL << n) - 1; }

template <class Word>
HWY_INLINE std::uint64_t ReadBits(const std::uint8_t* bytes) {
    Word word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// The mask as bits, read back at the width it was stored: a wider read
// would wait for the store to reach memory.
template <class DB, class M>
HWY_INLINE std::uint64_t Bits(DB d, M mask) {
    constexpr std::size_t kBytes = (hn::MaxLanes(DB()) + 7) / 8;
    std::uint8_t bytes[kBytes];
    hn::StoreMaskBits(d, mask, bytes);
    if constexpr (kBytes == 8)
        return ReadBits<std::uint64_t>(bytes);
    else if constexpr (kBytes == 4)
        return ReadBits<std::uint32_t>(bytes);
    else if constexpr (kBytes == 2)
        return ReadBits<std::uint16_t>(bytes);
    else
        return bytes[0];
}

// Stores the lanes of `bytes` whose bit in `keep` is set one after another
// and returns how many. Where the processor compresses bytes in one
// instruction its register form is used: the form that stores to memory is
// microcoded on some processors and runs many times slower. Elsewhere each
// 16 bytes go through one shuffle that compresses both their halves, and the
// halves are stored one after the other; the bytes stay in registers, as a
// round trip through memory would wait for the store to reach the load.
template <class DB>
HWY_INLINE std::size_t StoreCompressed(DB d, hn::Vec<DB> bytes, std::uint64_t keep, std::uint8_t* out) {
#if HWY_TARGET == HWY_AVX3_DL
    std::uint8_t keepBytes[8];
    std::memcpy(keepBytes, &keep, sizeof keep); // the mask's bit order is the lanes' in memory
    hn::StoreU(hn::Compress(bytes, hn::LoadMaskBits(d, keepBytes)), d, out);
    return static_cast<std::size_t>(std::popcount(keep));
#else
    if constexpr (hn::MaxLanes(d) > 16) {
        const hn::Half<DB> dh;
        const std::size_t low = StoreCompressed(dh, hn::LowerHalf(dh, bytes), keep & LowBits(hn::Lanes(dh)), out);
        return low + StoreCompressed(dh, hn::UpperHalf(dh, bytes), keep >> hn::Lanes(dh), out + low);
    } else {
        const hn::CappedTag<std::uint8_t, 8> d8;
        const auto lowGroup = static_cast<std::size_t>(keep & 0xFF);
        const auto highGroup = static_cast<std::size_t>((keep >> 8) & 0xFF);
        const std::uint8_t* table = detail::kCompressIndices.data();
        // The second half's indices point into the second half.
        const auto indices = hn::Combine(d, hn::Add(hn::LoadU(d8, table + highGroup * 8), hn::Set(d8, 8)),
                                         hn::LoadU(d8, table + lowGroup * 8));
        const auto compressed = hn::TableLookupBytes(bytes, indices);
        const auto lowCount = static_cast<std::size_t>(std::popcount(lowGroup));
        hn::StoreU(hn::LowerHalf(d8, compressed), d8, out);
        hn::StoreU(hn::UpperHalf(d8, compressed), d8, out + lowCount);
        return lowCount + static_cast<std::size_t>(std::popcount(highGroup));
    }
#endif
}

// The next `n` bytes (a whole chunk or the text's last bytes); bytes past the
// text read as zero, which matches nothing the rules look for.
template <class DB>
HWY_INLINE hn::Vec<DB> LoadChunk(DB d, const char* p, std::size_t n) {
    if (n == hn::Lanes(d)) return hn::LoadU(d, reinterpret_cast<const std::uint8_t*>(p));
    HWY_ALIGN std::uint8_t padded[64] = {};
    std::memcpy(padded, p, n);
    return hn::Load(d, padded);
}

using D16 = hn::CappedTag<std::uint8_t, 16>;

// Writes a group of eight text bytes, lanes 0 to 7 of `source` (lanes 8 to
// 15 hold backslashes), each after a backslash where its bit is set: one
// shuffle, sixteen bytes stored, of which the first eight and a byte a
// backslash count.
HWY_INLINE void SpreadGroup(hn::Vec<D16> source, std::uint64_t escapes, std::uint8_t* out) {
    const D16 d;
    const auto indices = hn::LoadU(d, detail::kSpreadIndices.data() + escapes * 16);
    hn::StoreU(hn::TableLookupBytes(source, indices), d, out);
}

// A block of sixteen bytes spread as above, in two groups. Each group's
// place comes from the escape bits alone, so that neither store waits for
// the other; what the first writes past its end, the second writes over.
// Lanes past the text's end hold zero and have no bit: their bytes land
// past its escaped end, in the room beyond it.
HWY_INLINE void SpreadBlock(hn::Vec<D16> block, std::uint64_t escapes, std::uint8_t* out) {
    const D16 d;
    const hn::Repartition<std::uint64_t, D16> d64;
    const auto words = hn::BitCast(d64, block);
    const auto backslashes = hn::BitCast(d64, hn::Set(d, '\\'));
    const std::uint64_t low = escapes & 0xFF;
    SpreadGroup(hn::BitCast(d, hn::InterleaveLower(d64, words, backslashes)), low, out);
    SpreadGroup(hn::BitCast(d, hn::InterleaveUpper(d64, words, backslashes)), (escapes >> 8) & 0xFF,
                out + 8 + std::popcount(low));
}

// One chunk of `n` bytes at `p`, held in `bytes` with zero in any lane from
// `n` on. A chunk whose line breaks are all CR LF pairs takes a backslash
// before each quote, backslash and CR, and nothing else; a chunk with a lone
// CR or LF goes byte by byte (menu HTML written by the editor has none).
template <class DB>
HWY_INLINE std::uint8_t* EncodeChunk(DB d, hn::Vec<DB> bytes, const char* p, std::size_t n, const char* end,
                                     std::uint64_t& crBefore, std::uint8_t* out) {
    const auto crMask = hn::Eq(bytes, hn::Set(d, '\r'));
    const std::uint64_t crs = Bits(d, crMask);
    const std::uint64_t lfs = Bits(d, hn::Eq(bytes, hn::Set(d, '\n')));
    const std::uint64_t lastCr = (crs >> (n - 1)) & 1;
    const bool paired = (((crs << 1) | crBefore) & LowBits(n)) == lfs && (!lastCr || (p + n < end && p[n] == '\n'));
    const bool afterCr = crBefore != 0;
    crBefore = lastCr;
    if (!paired)
        return reinterpret_cast<std::uint8_t*>(detail::EncodeBytes(p, n, end, afterCr, reinterpret_cast<char*>(out)));

    const auto escaped = hn::Or(hn::Or(hn::Eq(bytes, hn::Set(d, '"')), hn::Eq(bytes, hn::Set(d, '\\'))), crMask);
    const std::uint64_t escapes = Bits(d, escaped);
    if (escapes == 0) {
        hn::StoreU(bytes, d, out);
        return out + n;
    }
    if constexpr (hn::MaxLanes(DB()) <= 16) {
        SpreadBlock(bytes, escapes, out);
    } else { // a whole chunk: its blocks are read again from the text
        const D16 d16;
        for (std::size_t i = 0; i < n; i += 16)
            SpreadBlock(hn::LoadU(d16, reinterpret_cast<const std::uint8_t*>(p) + i), (escapes >> i) & 0xFFFF,
                        out + i + std::popcount(escapes & LowBits(i)));
    }
    return out + n + std::popcount(escapes);
}

// Whether a lane of `bytes` has its top bit set.
template <class DB>
HWY_INLINE bool AnyHighBit(DB, hn::Vec<DB> bytes) {
    const hn::RebindToSigned<DB> di;
    return !hn::AllFalse(di, hn::Lt(hn::BitCast(di, bytes), hn::Zero(di)));
}

// Whole chunks of the widest vectors, then blocks of sixteen. The last bytes
// of a text at least sixteen long are taken from the block that ends with
// the text, shifted down: a padded copy would cost a pass through memory
// that the processor cannot forward.
template <class DB>
char* EncodeWith(DB d, const char* p, const char* end, char* to, unsigned char& flags) {
    const D16 d16;
    const char* const start = p;
    auto* out = reinterpret_cast<std::uint8_t*>(to);
    std::uint64_t crBefore = 0;
    const auto bytes = [](const char* at) { return reinterpret_cast<const std::uint8_t*>(at); };
    auto seen = hn::Zero(d16);      // every byte ORed in, for the top bits
    auto escs = hn::FirstN(d16, 0); // where an ESC was, ORed in
    const auto esc16 = hn::Set(d16, 0x1B);
    if constexpr (hn::MaxLanes(DB()) > 16) {
        auto wideSeen = hn::Zero(d);
        auto wideEscs = hn::FirstN(d, 0);
        const auto esc = hn::Set(d, 0x1B);
        for (const std::size_t lanes = hn::Lanes(d); static_cast<std::size_t>(end - p) >= lanes; p += lanes) {
            const auto chunk = hn::LoadU(d, bytes(p));
            wideSeen = hn::Or(wideSeen, chunk);
            wideEscs = hn::Or(wideEscs, hn::Eq(chunk, esc));
            out = EncodeChunk(d, chunk, p, lanes, end, crBefore, out);
        }
        if (AnyHighBit(d, wideSeen)) flags |= kNonAscii;
        if (!hn::AllFalse(d, wideEscs)) flags |= kEscByte;
    }
    for (; end - p >= 16; p += 16) {
        const auto block = hn::LoadU(d16, bytes(p));
        seen = hn::Or(seen, block);
        escs = hn::Or(escs, hn::Eq(block, esc16));
        out = EncodeChunk(d16, block, p, 16, end, crBefore, out);
    }
    if (p != end) {
        const auto n = static_cast<std::size_t>(end - p);
        hn::Vec<D16> last;
        if (end - start >= 16) {
            const auto shiftDown = hn::LoadU(d16, detail::kShiftDownIndices.data() + (16 - n));
            last = hn::TableLookupBytesOr0(hn::LoadU(d16, bytes(end) - 16), shiftDown);
        } else {
            last = LoadChunk(d16, p, n);
        }
        seen = hn::Or(seen, last);
        escs = hn::Or(escs, hn::Eq(last, esc16));
        out = EncodeChunk(d16, last, p, n, end, crBefore, out);
    }
    if (AnyHighBit(d16, seen)) flags |= kNonAscii;
    if (!hn::AllFalse(d16, escs)) flags |= kEscByte;
    return reinterpret_cast<char*>(out);
}

char* EncodeChunks(const char* p, const char* end, char* to, unsigned char& flags) {
    return EncodeWith(D(), p, end, to, flags);
}

// Which bytes a backslash escapes depends on the length of each run of
// backslashes; subtracting the run starts from the odd bit positions settles
// every run of the chunk at once. A run that reaches the chunk's end carries
// into the next one.
const char* DecodeChunks(const char* p, const char* end, char*& to) {
    const D d;
    const std::size_t lanes = hn::Lanes(d);
    const V quote = hn::Set(d, '"'), backslash = hn::Set(d, '\\'), cr = hn::Set(d, '\r');
    auto* out = reinterpret_cast<std::uint8_t*>(to);
    std::uint64_t firstEscaped = 0;
    while (p < end) {
        const std::size_t n = std::min<std::size_t>(lanes, static_cast<std::size_t>(end - p));
        const V bytes = LoadChunk(d, p, n);
        const std::uint64_t backslashes = Bits(d, hn::Eq(bytes, backslash));
        const std::uint64_t quotes = Bits(d, hn::Eq(bytes, quote));
        if ((backslashes | quotes | firstEscaped) == 0) {
            hn::StoreU(bytes, d, out);
            out += n;
            p += n;
            continue;
        }
        const std::uint64_t crs = Bits(d, hn::Eq(bytes, cr));

        // Backslashes that escape the byte after them, and the escaped bytes.
        const std::uint64_t mayEscape = backslashes & ~firstEscaped;
        const std::uint64_t code = (((mayEscape << 1) | kOddBits) - mayEscape) ^ kOddBits;
        const std::uint64_t escaped = code ^ (backslashes | firstEscaped);
        const std::uint64_t escapes = code & backslashes;
        const std::uint64_t lastEscapes = (escapes >> (lanes - 1)) & 1;

        // \x and \u escapes are rare (texts beyond ASCII before a quote,
        // a backslash or a line break): the rest of such a value is read
        // byte by byte. A backslash that ended the chunk before is settled.
        const std::uint64_t numeric = Bits(d, hn::Or(hn::Eq(bytes, hn::Set(d, 'x')), hn::Eq(bytes, hn::Set(d, 'u'))));
        if (((escapes << 1) & numeric & LowBits(n)) != 0 ||
            (lastEscapes && p + n < end && (p[n] == 'x' || p[n] == 'u'))) {
            if (firstEscaped) *out++ = static_cast<std::uint8_t>(*p++);
            to = reinterpret_cast<char*>(out);
            return DecodeScalar(p, end, to);
        }

        // A backslash is dropped before CR, backslash and quote, and kept
        // before anything else, or at the very end of the text.
        std::uint64_t dropped = escapes & ((backslashes | quotes | crs) >> 1);
        if (lastEscapes && p + n < end) {
            const char next = p[n];
            if (next == '\r' || next == '\\' || next == '"') dropped |= 1ULL << (lanes - 1);
        }
        std::uint64_t taken = LowBits(n);
        const std::uint64_t closing = quotes & ~escaped;
        if (closing) taken &= LowBits(static_cast<std::size_t>(std::countr_zero(closing)));
        if ((taken & dropped) == 0) { // nothing to drop: the bytes up to the quote as they are
            hn::StoreU(bytes, d, out);
            out += std::popcount(taken);
        } else {
            out += StoreCompressed(d, bytes, taken & ~dropped, out);
        }
        if (closing) {
            to = reinterpret_cast<char*>(out);
            return p + std::countr_zero(closing) + 1;
        }
        firstEscaped = lastEscapes;
        p += n;
    }
    to = reinterpret_cast<char*>(out);
    return p;
}

// Whether a byte beyond ASCII stands right before a backslash.
bool HighBeforeBackslashChunks(const char* p, const char* end) {
    const D d;
    const hn::RebindToSigned<D> di;
    const std::size_t lanes = hn::Lanes(d);
    std::uint64_t highBefore = 0;
    while (p < end) {
        const std::size_t n = std::min<std::size_t>(lanes, static_cast<std::size_t>(end - p));
        const V bytes = LoadChunk(d, p, n);
        const std::uint64_t highs = Bits(di, hn::Lt(hn::BitCast(di, bytes), hn::Zero(di)));
        if (Bits(d, hn::Eq(bytes, hn::Set(d, '\\'))) & ((highs << 1) | highBefore)) return true;
        highBefore = (highs >> (n - 1)) & 1;
        p += n;
    }
    return false;
}

bool CrLfPairedChunks(const char* p, const char* end) {
    const D d;
    const std::size_t lanes = hn::Lanes(d);
    const V cr = hn::Set(d, '\r'), lf = hn::Set(d, '\n');
    std::uint64_t crBefore = 0;
    std::uint64_t mismatch = 0;
    while (p < end) {
        const std::size_t n = std::min<std::size_t>(lanes, static_cast<std::size_t>(end - p));
        const V bytes = LoadChunk(d, p, n);
        const std::uint64_t crs = Bits(d, hn::Eq(bytes, cr));
        mismatch |= (((crs << 1) | crBefore) ^ Bits(d, hn::Eq(bytes, lf))) & LowBits(n);
        crBefore = (crs >> (n - 1)) & 1;
        p += n;
    }
    return mismatch == 0 && crBefore == 0;
}

#else // one byte a vector: nothing to gain over the byte-by-byte code

char* EncodeChunks(const char* p, const char* end, char* to, unsigned char& flags) {
    for (const char* c = p; c < end; ++c) {
        if (static_cast<unsigned char>(*c) >= 0x80) flags |= kNonAscii;
        if (*c == 0x1B) flags |= kEscByte;
    }
    return EncodeScalar(p, end, to);
}
const char* DecodeChunks(const char* p, const char* end, char*& to) { return DecodeScalar(p, end, to); }
bool CrLfPairedChunks(const char* p, const char* end) { return CrLfPairedScalar(std::string_view(p, end - p)); }
bool HighBeforeBackslashChunks(const char* p, const char* end) {
    for (const char* at = p + 1; at < end; ++at)
        if (*at == '\\' && static_cast<unsigned char>(at[-1]) >= 0x80) return true;
    return false;
}

#endif

const char* TargetName() { return hwy::TargetName(HWY_TARGET); }

} // namespace HWY_NAMESPACE
} // namespace didad::textcodec
HWY_AFTER_NAMESPACE();

#if HWY_ONCE

namespace didad::textcodec {

HWY_EXPORT(EncodeChunks);
HWY_EXPORT(DecodeChunks);
HWY_EXPORT(CrLfPairedChunks);
HWY_EXPORT(HighBeforeBackslashChunks);
HWY_EXPORT(TargetName);

char* EncodeVector(const char* p, const char* end, char* d, unsigned char& flags) {
    return HWY_DYNAMIC_DISPATCH(EncodeChunks)(p, end, d, flags);
}

const char* DecodeVector(const char* p, const char* end, char*& d) {
    return HWY_DYNAMIC_DISPATCH(DecodeChunks)(p, end, d);
}

const char* Decode(const char* p, const char* end, char*& d) {
    return static_cast<std::size_t>(end - p) <= kShortText ? DecodeScalar(p, end, d) : DecodeVector(p, end, d);
}

bool CrLfPairedVector(std::string_view text) {
    return HWY_DYNAMIC_DISPATCH(CrLfPairedChunks)(text.data(), text.data() + text.size());
}

bool CrLfPaired(std::string_view text) {
    return text.size() <= kShortText ? CrLfPairedScalar(text) : CrLfPairedVector(text);
}

bool NeedsSafeForm(const char* begin, const char* end, unsigned char flags) {
    if (flags & kEscByte) return true;
    return (flags & kNonAscii) != 0 && HWY_DYNAMIC_DISPATCH(HighBeforeBackslashChunks)(begin, end);
}

const char* VectorTargetName() { return HWY_DYNAMIC_DISPATCH(TargetName)(); }

} // namespace didad::textcodec

#endif
