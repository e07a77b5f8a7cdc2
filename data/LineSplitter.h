// Cuts the bytes of a file into lines where they lie, as they are read: every CR is
// dropped, every LF ends a line, and a line longer than 84 characters becomes pieces of
// 84 and a rest. A line with a CR inside is closed up in place (it only gets shorter).
#pragma once

#include <cstddef>
#include <cstdint>

#include "data/LineBuffer.h"

namespace velkor {

class LineSplitter {
  public:
    // expected: how many lines to make room for at once.
    LineSplitter(std::size_t maxLines, std::size_t expected);

    // Splits the complete lines in bytes from the last stop on; false when there are
    // more lines than allowed. The last byte waits for the next call (or finish) unless
    // atEnd, since whether a CR ends a line depends on the byte after it.
    bool completeLines(LineBuffer::Bytes& bytes, bool atEnd = false);
    // At the end of the file: any byte after the last line feed, a lone CR included,
    // makes one more line.
    bool finish(LineBuffer::Bytes& bytes);

    LineBuffer::Spans take();

  private:
    // The line of text from begin to end (its LF or the file's end): every CR dropped,
    // then cut into pieces.
    bool line(char* text, std::size_t begin, std::size_t end, bool messy);
    // The lines ending in these blocks of 64 bytes (at least one), which hold no CR but
    // right before an LF, with their LF masks; the line from begin holds no CR either.
    // begin moves past them; false when there are more lines than allowed.
    bool cleanLines(char* text, std::size_t pos, std::size_t blocks, const std::uint64_t* lfs,
                    std::size_t& begin);

    std::size_t maxLines_;
    std::size_t done_ = 0;     // where the line being read begins
    std::size_t scanned_ = 0;  // the next byte to look at
    bool messy_ = false;       // the line holds a CR that is not right before its LF
    LineBuffer::Spans spans_;  // the first used_ are lines, the rest room for more
    std::size_t used_ = 0;
};

}  // namespace velkor
