// Where the line feeds and carriage returns of a text lie, as bit masks of 64 bytes
// each: the splitting of a file into lines then walks words instead of bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velkor {

class LineEnds {
  public:
    static constexpr std::size_t kBlock = 64;

    // Bit i of lf[b] is set where text[64 * b + i] is an LF, of cr[b] where it is a CR;
    // reads exactly blocks * 64 bytes.
    using Finder = void (*)(const char* text, std::size_t blocks, std::uint64_t* lf,
                            std::uint64_t* cr);

    enum class Kind { Plain, Sse2, Avx2, Avx512 };

    // The widest finder this processor runs, chosen once.
    static Finder best();
    // The finder of that kind, or nullptr where this build or processor lacks it.
    static Finder of(Kind kind);
};

}  // namespace velkor
