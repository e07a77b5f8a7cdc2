// Reads a text file as lines of at most 84 characters, with every CR and LF dropped.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/LineBuffer.h"

namespace velkor {

class Prompter;

class LineReader {
  public:
    static constexpr std::size_t kPieceLength = 84;

    enum class Status { Ok, CannotRead, TooManyLines };
    struct Result {
        Status status = Status::CannotRead;
        std::vector<std::string> lines;
    };

    struct BufferResult {
        Status status = Status::CannotRead;
        LineBuffer lines;
    };

    // Reads the whole file, opened for reading only; anything but a regular file cannot
    // be read, and opening never waits for a writer. A line longer than 84 characters
    // becomes several lines of 84 and a rest; more than maxLines lines stops the reading.
    static Result read(const std::string& path, std::size_t maxLines);
    // The same lines, kept in one buffer.
    static BufferResult readBuffer(const std::string& path, std::size_t maxLines);
    // The same, telling the user what went wrong; nothing on failure.
    static std::optional<std::vector<std::string>> readOrSay(const std::string& path,
                                                             std::size_t maxLines,
                                                             Prompter& prompter,
                                                             const std::string& readError,
                                                             const std::string& tooMany);
    static std::optional<LineBuffer> readBufferOrSay(const std::string& path, std::size_t maxLines,
                                                     Prompter& prompter,
                                                     const std::string& readError,
                                                     const std::string& tooMany);
};

}  // namespace velkor
