// The run-time part of the vector library: which instruction sets this
// processor has, and which one the dispatch tables of the text code use. The
// library's shared object holds the same few functions, but loading it runs
// a timer calibration in a static constructor that cost every start of the
// program some 4-5 ms (measured); the program uses only the library's headers
// and these functions, with the library's own requirements for each set.
#include <hwy/targets.h>

#include <atomic>
#include <cstdint>

#if HWY_ARCH_X86 && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>
#define DIDAD_DETECT_X86 1
#else
#define DIDAD_DETECT_X86 0
#endif

#if HWY_ARCH_ARM_A64 && defined(__linux__)
#include <sys/auxv.h>
#include <sys/prctl.h>
#define DIDAD_DETECT_SVE 1
#else
#define DIDAD_DETECT_SVE 0
#endif

namespace hwy {
namespace {

std::atomic<std::int64_t> targetsForTest{0};
std::atomic<std::int64_t> disabledTargets{0};

#if DIDAD_DETECT_X86
bool Has(unsigned reg, int bit) { return (reg >> bit) & 1u; }

// Which register states the operating system saves on a task switch: the
// instructions are usable only when it saves their registers.
std::uint64_t SavedStates() {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (static_cast<std::uint64_t>(high) << 32) | low;
}
#endif

std::int64_t DetectedTargets() {
    std::int64_t bits = HWY_SCALAR | HWY_EMU128;
#if DIDAD_DETECT_X86
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return bits;
    const unsigned c1 = c, d1 = d;
    unsigned b7 = 0, c7 = 0;
    if (__get_cpuid_count(7, 0, &a, &b, &c, &d)) b7 = b, c7 = c;
    unsigned cx = 0;
    if (__get_cpuid(0x80000001, &a, &b, &c, &d)) cx = c;
    const std::uint64_t saved = Has(c1, 27) ? SavedStates() : 0; // OSXSAVE
    const bool avxSaved = (saved & 0x6) == 0x6;
    const bool avx512Saved = (saved & 0xE6) == 0xE6;

    const bool ssse3 = Has(d1, 25) && Has(d1, 26) && Has(c1, 0) && Has(c1, 9);
    const bool sse4 = ssse3 && Has(c1, 19) && Has(c1, 20) && Has(c1, 1) && Has(c1, 25); // and PCLMUL, AES
    const bool avx2 = sse4 && avxSaved && Has(c1, 28) && Has(b7, 5) && Has(c1, 12) && Has(c1, 29) && Has(cx, 5) &&
                      Has(b7, 3) && Has(b7, 8); // AVX, AVX2, FMA, F16C, LZCNT, BMI, BMI2
    const bool avx3 = avx2 && avx512Saved && Has(b7, 16) && Has(b7, 31) && Has(b7, 17) && Has(b7, 30); // F VL DQ BW
    const bool avx3dl = avx3 && Has(c7, 11) && Has(c7, 10) && Has(c7, 1) && Has(c7, 6) && Has(c7, 9) && Has(c7, 14) &&
                        Has(c7, 12); // VNNI VPCLMULQDQ VBMI VBMI2 VAES VPOPCNTDQ BITALG
    if (ssse3) bits |= HWY_SSSE3;
    if (sse4) bits |= HWY_SSE4;
    if (avx2) bits |= HWY_AVX2;
    if (avx3) bits |= HWY_AVX3;
    if (avx3dl) bits |= HWY_AVX3_DL;
#elif HWY_ARCH_ARM_A64
    bits |= HWY_NEON; // part of every 64-bit ARM processor
#if DIDAD_DETECT_SVE
    // The system's word on the scalable vectors: the processor has them and
    // the system saves their registers. The bits as the kernel numbers them.
    constexpr unsigned long kHwcapSve = 1UL << 22;
    constexpr unsigned long kHwcap2Sve2 = 1UL << 1;
    constexpr unsigned long kHwcap2SveAes = 1UL << 2;
    const unsigned long hwcap = getauxval(AT_HWCAP);
    const unsigned long hwcap2 = getauxval(AT_HWCAP2);
    if (hwcap & kHwcapSve) bits |= HWY_SVE;
    if ((hwcap2 & kHwcap2Sve2) && (hwcap2 & kHwcap2SveAes)) bits |= HWY_SVE2;
    // The library's code for one vector length, where the processor has that
    // length: 256 bits for SVE, 128 for SVE2. The length in bytes is the low
    // half of the answer, which is negative without SVE.
    const int length = ::prctl(PR_SVE_GET_VL);
    const int bytes = length < 0 ? 0 : (length & PR_SVE_VL_LEN_MASK);
    if ((bits & HWY_SVE) && bytes == 32) bits |= HWY_SVE_256;
    if ((bits & HWY_SVE2) && bytes == 16) bits |= HWY_SVE2_128;
#endif
#endif
    return bits;
}

} // namespace

std::int64_t SupportedTargets() {
    static const std::int64_t detected = DetectedTargets();
    const std::int64_t forTest = targetsForTest.load();
    std::int64_t bits = (forTest != 0 ? forTest : detected) & ~disabledTargets.load();
    if (bits == 0) bits = HWY_SCALAR | HWY_EMU128;
    GetChosenTarget().Update(bits);
    return bits;
}

void DisableTargets(std::int64_t disabled) {
    disabledTargets.store(disabled & ~static_cast<std::int64_t>(HWY_ENABLED_BASELINE));
    (void)SupportedTargets();
}

void SetSupportedTargetsForTest(std::int64_t targets) {
    targetsForTest.store(targets);
    (void)SupportedTargets();
}

ChosenTarget& GetChosenTarget() {
    static ChosenTarget chosen;
    return chosen;
}

} // namespace hwy
