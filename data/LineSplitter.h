// Cuts the bytes of a file into lines where they lie, as they are read: every CR is
// dropped, every LF ends a line, and a line longer than 84 characters becomes pieces of
// 84 and a rest. A line with a CR inside is closed up in place (it only gets shorter).
#pragma once

#include <cstddef>

#include "data/LineBuffer.h"

namespace velkor {

class LineSplitter {
  public:
    // expected: how many lines to make room for at once.
    LineSplitter(std::size_t maxLines, std::size_t expected);

    // Splits the lines whose LF has come in bytes since the last call; false when there
    // are more lines than allowed.
    bool completeLines(LineBuffer::Bytes& bytes);
    // At the end of the file: any byte after the last line feed, a lone CR included,
    // makes one more line.
    bool finish(LineBuffer::Bytes& bytes);

    LineBuffer::Spans take();

  private:
    // The line of text from begin to end (its LF or the file's end): every CR dropped,
    // then cut into pieces.
    bool line(char* text, std::size_t begin, std::size_t end);

    std::size_t maxLines_;
    std::size_t done_ = 0;     // where the line being read begins
    std::size_t scanned_ = 0;  // the bytes before this hold no LF of that line
    LineBuffer::Spans spans_;
};

}  // namespace velkor
