#include "model/WideCodec.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define DIDAD_HAVE_WIDE 1
#include <immintrin.h>
#define DIDAD_WIDE __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi2,bmi,bmi2,popcnt")))
#else
#define DIDAD_HAVE_WIDE 0
#endif

namespace didad::widecodec {
namespace {

bool ProcessorHasWide() {
#if DIDAD_HAVE_WIDE
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi2") &&
           __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
#else
    return false;
#endif
}

std::atomic<bool>& Allowed() {
    static std::atomic<bool> allowed{true};
    return allowed;
}

} // namespace

bool WideCodecActive() {
    static const bool present = ProcessorHasWide();
    return present && Allowed().load(std::memory_order_relaxed);
}

void AllowWideCodec(bool allowed) { Allowed().store(allowed, std::memory_order_relaxed); }

#if DIDAD_HAVE_WIDE

namespace {

constexpr std::uint64_t kEvenBits = 0x5555555555555555ULL;
constexpr std::uint64_t kOddBits = 0xAAAAAAAAAAAAAAAAULL;

// The next up to 64 bytes of [p, end): the bytes past the end read as zero
// and never match, so a short last chunk needs no care of its own.
struct Chunk {
    unsigned n;     // bytes taken
    __mmask64 live; // one bit a byte taken
    __m512i bytes;

    DIDAD_WIDE Chunk(const char* p, const char* end)
        : n(static_cast<unsigned>(std::min<std::ptrdiff_t>(64, end - p))),
          live(_bzhi_u64(~0ULL, n)),
          bytes(_mm512_maskz_loadu_epi8(live, p)) {}

    // One bit for each byte taken that equals `byte`.
    DIDAD_WIDE std::uint64_t Matches(char byte) const {
        return _mm512_mask_cmpeq_epi8_mask(live, bytes, _mm512_set1_epi8(byte));
    }
};

// Byte by byte, for chunks with a lone CR or LF: a CR is written as
// backslash CR, then an LF unless one follows in the text; an LF after a CR
// is that LF; any other LF becomes backslash CR LF. This is exactly what the
// wide path writes for paired breaks, so the two can take turns.
DIDAD_WIDE char* EncodeBytes(const char* p, std::size_t n, const char* end, bool crBefore, char* d) {
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

} // namespace

// Sixty-four bytes at a time. When every line break in the chunk is a
// CR LF pair, each byte becomes one or two: a backslash goes before quotes,
// backslashes and CRs. Interleaving the mask of those bytes with one bits
// gives every output position of a half chunk its source, one bit per
// output byte: a 1 for a byte of the text, a 0 for an inserted backslash.
// Spreading the half over that mask writes its whole output at once.
DIDAD_WIDE char* EncodeWide(const char* p, const char* end, char* d) {
    const __m512i backslash = _mm512_set1_epi8('\\');
    auto spreadHalf = [&](__m512i half, std::uint32_t escaped, std::uint32_t live) DIDAD_WIDE {
        const std::uint64_t slots = _pdep_u64(escaped, kEvenBits) | _pdep_u64(live, kOddBits);
        _mm512_storeu_si512(d, _mm512_mask_expand_epi8(backslash, _pext_u64(kOddBits, slots), half));
        d += _mm_popcnt_u64(slots);
    };
    std::uint64_t crBefore = 0;
    while (p < end) {
        const Chunk chunk(p, end);
        const unsigned n = chunk.n;
        const std::uint64_t crs = chunk.Matches('\r');
        const std::uint64_t lfs = chunk.Matches('\n');
        const std::uint64_t lastCr = (crs >> (n - 1)) & 1u;
        const bool paired = ((crs << 1) | crBefore) == lfs && (!lastCr || (p + n < end && p[n] == '\n'));
        if (paired) {
            const std::uint64_t escaped = chunk.Matches('"') | chunk.Matches('\\') | crs;
            spreadHalf(chunk.bytes, static_cast<std::uint32_t>(escaped), static_cast<std::uint32_t>(chunk.live));
            if (n > 32) {
                const __m512i upperHalf = _mm512_maskz_shuffle_i64x2(0xFF, chunk.bytes, chunk.bytes, 0xEE);
                spreadHalf(upperHalf, static_cast<std::uint32_t>(escaped >> 32),
                           static_cast<std::uint32_t>(chunk.live >> 32));
            }
        } else {
            d = EncodeBytes(p, n, end, crBefore != 0, d);
        }
        crBefore = lastCr;
        p += n;
    }
    return d;
}

// Sixty-four bytes at a time. Which bytes a backslash escapes depends on
// the length of each run of backslashes; subtracting the run starts from
// the odd bit positions settles every run of the chunk at once. A run
// that reaches the chunk's end carries into the next one.
DIDAD_WIDE const char* DecodeWide(const char* p, const char* end, char*& d) {
    std::uint64_t firstEscaped = 0;
    while (p < end) {
        const Chunk chunk(p, end);
        const unsigned n = chunk.n;
        const std::uint64_t backslashes = chunk.Matches('\\');
        const std::uint64_t quotes = chunk.Matches('"');
        const std::uint64_t crs = chunk.Matches('\r');

        // Backslashes that escape the byte after them, and the escaped bytes.
        const std::uint64_t mayEscape = backslashes & ~firstEscaped;
        const std::uint64_t code = (((mayEscape << 1) | kOddBits) - mayEscape) ^ kOddBits;
        const std::uint64_t escaped = code ^ (backslashes | firstEscaped);
        const std::uint64_t escapes = code & backslashes;
        firstEscaped = escapes >> 63;

        // A backslash is dropped before CR, backslash and quote, and kept
        // before anything else, or at the very end of the text.
        std::uint64_t dropped = escapes & ((backslashes | quotes | crs) >> 1);
        if (firstEscaped && p + n < end) {
            const char next = p[n];
            if (next == '\r' || next == '\\' || next == '"') dropped |= 1ULL << 63;
        }
        std::uint64_t taken = chunk.live;
        const std::uint64_t closing = quotes & ~escaped;
        if (closing) taken = _bzhi_u64(chunk.live, static_cast<unsigned>(_tzcnt_u64(closing)));
        const std::uint64_t kept = taken & ~dropped;
        _mm512_storeu_si512(d, _mm512_maskz_compress_epi8(kept, chunk.bytes));
        d += _mm_popcnt_u64(kept);
        if (closing) return p + _tzcnt_u64(closing) + 1;
        p += n;
    }
    return p;
}

DIDAD_WIDE bool CrLfPairedWide(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    std::uint64_t crBefore = 0;
    std::uint64_t mismatch = 0;
    while (p < end) {
        const Chunk chunk(p, end);
        const unsigned n = chunk.n;
        const std::uint64_t crs = chunk.Matches('\r');
        const std::uint64_t lfs = chunk.Matches('\n');
        // In a short last chunk a CR at the end shows in the shifted mask
        // past the live bytes, where no LF can match it.
        mismatch |= ((crs << 1) | crBefore) ^ lfs;
        crBefore = (crs >> (n - 1)) & 1;
        p += n;
    }
    return mismatch == 0 && crBefore == 0;
}

#else

char* EncodeWide(const char*, const char*, char* d) { return d; }
const char* DecodeWide(const char*, const char* end, char*&) { return end; }
bool CrLfPairedWide(std::string_view) { return false; }

#endif

} // namespace didad::widecodec
