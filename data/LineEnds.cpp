// Line-end masks, with the vector instructions the processor has.
#include "data/LineEnds.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VELKOR_X86_VECTORS 1
#include <immintrin.h>
#endif

#include <initializer_list>

namespace velkor {
namespace {

// Collects the CRs followed by anything but an LF, a block behind the masks found, so
// each block's last CR meets the next block's first byte; the text's last byte is left
// to the caller.
class LoneCr {
  public:
    void add(std::uint64_t l, std::uint64_t c) {
        lone_ |= cr_ & ~((lf_ >> 1) | (l << 63));
        lf_ = l;
        cr_ = c;
    }
    std::uint64_t finish() const { return lone_ | (cr_ & ~(lf_ >> 1) & ~(std::uint64_t{1} << 63)); }

  private:
    std::uint64_t lf_ = 0;
    std::uint64_t cr_ = 0;
    std::uint64_t lone_ = 0;
};

std::uint64_t findPlain(const char* text, std::size_t blocks, std::uint64_t* lf) {
    LoneCr lone;
    for (std::size_t b = 0; b < blocks; ++b, text += LineEnds::kBlock) {
        std::uint64_t l = 0;
        std::uint64_t c = 0;
        for (std::size_t i = 0; i < LineEnds::kBlock; ++i) {
            l |= std::uint64_t{text[i] == '\n'} << i;
            c |= std::uint64_t{text[i] == '\r'} << i;
        }
        lf[b] = l;
        lone.add(l, c);
    }
    return lone.finish();
}

#if defined(VELKOR_X86_VECTORS)

// SSE2 is part of every x86-64 processor.
std::uint64_t findSse2(const char* text, std::size_t blocks, std::uint64_t* lf) {
    LoneCr lone;
    const __m128i lfs = _mm_set1_epi8('\n');
    const __m128i crs = _mm_set1_epi8('\r');
    for (std::size_t b = 0; b < blocks; ++b, text += LineEnds::kBlock) {
        std::uint64_t l = 0;
        std::uint64_t c = 0;
        for (int q = 0; q < 4; ++q) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * q));
            const auto ml = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lfs)));
            const auto mc = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, crs)));
            l |= std::uint64_t{ml} << (16 * q);
            c |= std::uint64_t{mc} << (16 * q);
        }
        lf[b] = l;
        lone.add(l, c);
    }
    return lone.finish();
}

__attribute__((target("avx2"))) std::uint64_t findAvx2(const char* text, std::size_t blocks,
                                                       std::uint64_t* lf) {
    LoneCr lone;
    const __m256i lfs = _mm256_set1_epi8('\n');
    const __m256i crs = _mm256_set1_epi8('\r');
    for (std::size_t b = 0; b < blocks; ++b, text += LineEnds::kBlock) {
        const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text));
        const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + 32));
        const auto lfLo =
            static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(lo, lfs)));
        const auto lfHi =
            static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(hi, lfs)));
        const auto crLo =
            static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(lo, crs)));
        const auto crHi =
            static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(hi, crs)));
        lf[b] = lfLo | (std::uint64_t{lfHi} << 32);
        lone.add(lf[b], crLo | (std::uint64_t{crHi} << 32));
    }
    return lone.finish();
}

// The byte after each one comes from a second load one byte on; the last block's stops
// short of the text's end.
__attribute__((target("avx512f,avx512bw"))) std::uint64_t findAvx512(const char* text,
                                                                     std::size_t blocks,
                                                                     std::uint64_t* lf) {
    const __m512i lfs = _mm512_set1_epi8('\n');
    const __m512i crs = _mm512_set1_epi8('\r');
    constexpr __mmask64 kAllButLast = ~(__mmask64{1} << 63);
    __mmask64 lone = 0;
    for (std::size_t b = 0; b < blocks; ++b, text += LineEnds::kBlock) {
        const bool last = b + 1 == blocks;
        const __m512i v = _mm512_loadu_si512(text);
        const __m512i next =
            last ? _mm512_maskz_loadu_epi8(kAllButLast, text + 1) : _mm512_loadu_si512(text + 1);
        const __mmask64 c = _mm512_cmpeq_epi8_mask(v, crs);
        lf[b] = _mm512_cmpeq_epi8_mask(v, lfs);
        lone |= c & ~_mm512_cmpeq_epi8_mask(next, lfs) & (last ? kAllButLast : ~__mmask64{0});
    }
    return lone;
}

#endif

}  // namespace

LineEnds::Finder LineEnds::of(Kind kind) {
    switch (kind) {
        case Kind::Plain:
            return findPlain;
#if defined(VELKOR_X86_VECTORS)
        case Kind::Sse2:
            return findSse2;
        case Kind::Avx2:
            return __builtin_cpu_supports("avx2") ? findAvx2 : nullptr;
        case Kind::Avx512:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")
                       ? findAvx512
                       : nullptr;
#else
        default:
            return nullptr;
#endif
    }
    return nullptr;
}

LineEnds::Finder LineEnds::best() {
    static const Finder chosen = [] {
        for (Kind kind : {Kind::Avx512, Kind::Avx2, Kind::Sse2}) {
            if (Finder f = of(kind)) {
                return f;
            }
        }
        return findPlain;
    }();
    return chosen;
}

}  // namespace velkor
