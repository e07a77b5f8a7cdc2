#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "data/LineEnds.h"

namespace velkor {

// Every finder this processor runs gives the masks and the verdict on stray CRs that a
// byte-by-byte look gives, at every block of a batch, its ends included.
TEST(LineEnds, EveryFinderSeesTheBytesAsTheyAre) {
    std::mt19937 rnd(5);
    const LineEnds::Kind kinds[] = {LineEnds::Kind::Plain, LineEnds::Kind::Sse2,
                                    LineEnds::Kind::Avx2, LineEnds::Kind::Avx512};
    for (int n = 0; n < 300; ++n) {
        const std::size_t blocks = 1 + rnd() % 5;
        std::string text(blocks * LineEnds::kBlock, 'x');
        for (char& c : text) {
            const unsigned pick = rnd() % 8;
            c = pick == 0 ? '\n' : pick == 1 ? '\r' : pick == 2 ? '\xff' : 'a';
        }
        if (n % 3 != 2) {
            // Only CRs right before LFs, one of them across two blocks, and maybe a CR
            // as the last byte, whose next byte the finder does not see.
            for (std::size_t i = 0; i < text.size(); ++i) {
                if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) {
                    text[i] = 'b';
                }
            }
            if (blocks > 1) {
                text[63] = '\r';
                text[64] = '\n';
            }
            if (n % 3 == 1) {
                text.back() = '\r';
            }
        }
        std::vector<std::uint64_t> want(blocks, 0);
        bool stray = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            want[i / 64] |= std::uint64_t{text[i] == '\n'} << (i % 64);
            stray = stray || (text[i] == '\r' && i + 1 < text.size() && text[i + 1] != '\n');
        }
        for (LineEnds::Kind kind : kinds) {
            const LineEnds::Finder find = LineEnds::of(kind);
            if (find == nullptr) {
                continue;
            }
            std::vector<std::uint64_t> lf(blocks, 0);
            const bool found = find(text.data(), blocks, lf.data()) != 0;
            ASSERT_EQ(lf, want) << "text " << n << " kind " << static_cast<int>(kind);
            ASSERT_EQ(found, stray) << "text " << n << " kind " << static_cast<int>(kind);
        }
    }
}

}  // namespace velkor
