// Where the line feeds of a text lie, as bit masks of 64 bytes each, and whether every
// carriage return comes right before one: the splitting of a file into lines then walks
// words instead of bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// Marks a function that is also compiled for the x86-64 processors of the last decade
// (AVX2, BMI), picked when the program starts on one.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define VELKOR_WIDEST __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define VELKOR_WIDEST
#endif

namespace velkor {

class LineEnds {
  public:
    static constexpr std::size_t kBlock = 64;

    // Bit i of lf[b] is set where text[64 * b + i] is an LF. Returns a word that is not
    // 0 if a CR, the text's last byte excepted, is followed by anything but an LF. Reads
    // exactly blocks * 64 bytes.
    using Finder = std::uint64_t (*)(const char* text, std::size_t blocks, std::uint64_t* lf);

    enum class Kind { Plain, Sse2, Avx2, Avx512 };

    // The widest finder this processor runs, chosen once.
    static Finder best();
    // The finder of that kind, or nullptr where this build or processor lacks it.
    static Finder of(Kind kind);
};

}  // namespace velkor
