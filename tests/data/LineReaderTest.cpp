#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "data/LineReader.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

// The reading rule one character at a time: every CR dropped, an LF ends a line, a
// piece of 84 is cut when another character follows, and any byte after the last LF
// makes a final line. Reference for the reader that splits whole buffers.
LineReader::Result byCharacter(const std::string& bytes, std::size_t maxLines) {
    LineReader::Result r;
    r.status = LineReader::Status::TooManyLines;
    std::string current;
    bool open = false;
    auto push = [&] {
        if (r.lines.size() >= maxLines) {
            return false;
        }
        r.lines.push_back(current);
        current.clear();
        return true;
    };
    for (char c : bytes) {
        if (c == '\n') {
            open = false;
            if (!push()) {
                r.lines.clear();
                return r;
            }
            continue;
        }
        open = true;
        if (c == '\r') {
            continue;
        }
        if (current.size() == LineReader::kPieceLength && !push()) {
            r.lines.clear();
            return r;
        }
        current.push_back(c);
    }
    if (open && !push()) {
        r.lines.clear();
        return r;
    }
    r.status = LineReader::Status::Ok;
    return r;
}

}  // namespace

TEST(LineReader, SplitsAsCharacterByCharacterReading) {
    TempDir dir;
    std::mt19937 rnd(9);
    // CRs anywhere (inside, doubled, alone, last), lines around 84 and 168 characters,
    // NUL bytes, no final LF; with limits that are met exactly and passed.
    std::vector<std::string> inputs = {"",
                                       "\n",
                                       "\r",
                                       "\r\n",
                                       "H\n\r",
                                       "a\rb\r\r\nc",
                                       std::string(84, 'x') + "\r\r",
                                       std::string(85, 'x') + "\n" + std::string(168, 'y'),
                                       std::string("a\0b\n\0", 5)};
    // Half of them hold no CR but before an LF, as the instrument writes; some are long
    // enough to cross the blocks the reader splits at once and the pieces it reads.
    for (int n = 0; n < 400; ++n) {
        std::string bytes;
        const bool clean = n % 2 == 0;
        const int lines = static_cast<int>(n % 100 == 0 ? 6000 : n % 25 == 0 ? 600 : rnd() % 40);
        for (int l = 0; l < lines; ++l) {
            const int length = static_cast<int>(rnd() % 4 == 0 ? 80 + rnd() % 100 : rnd() % 70);
            for (int c = 0; c < length; ++c) {
                const unsigned pick = rnd() % 50;
                bytes += pick == 0 && !clean ? '\r'
                         : pick == 1         ? '\0'
                                             : static_cast<char>('a' + pick % 26);
            }
            bytes += rnd() % 3 == 0 ? "\n" : "\r\n";
        }
        if (rnd() % 2 == 0) {
            bytes += rnd() % 2 == 0 ? std::string("tail") : std::string("\r");
        }
        inputs.push_back(bytes);
    }
    // A file larger than the first read, so its lines cross the reads.
    inputs.push_back(std::string(4400000, 'z') + "\r\n" + std::string(70000, 'q'));
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::string path = dir.write("f", inputs[i]);
        for (std::size_t limit : {std::size_t{3}, std::size_t{20}, std::size_t{100000}}) {
            const LineReader::Result want = byCharacter(inputs[i], limit);
            const LineReader::Result got = LineReader::read(path, limit);
            ASSERT_EQ(got.status, want.status) << "input " << i << " limit " << limit;
            ASSERT_EQ(got.lines, want.lines) << "input " << i << " limit " << limit;
        }
    }
}

}  // namespace velkor
