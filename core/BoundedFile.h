// A whole file read into memory with care: a regular file only, opened without blocking (a
// FIFO without a writer is refused at once, not waited on), and never more than a cap, even
// when it grows while it is read.
#pragma once

#include <cstddef>
#include <string>

namespace velkor {

class BoundedFile {
  public:
    enum class Outcome { Read, CannotOpen, NotRegular, TooLarge, ReadError };

    // The file's bytes into bytes when the outcome is Read.
    static Outcome read(const std::string& path, std::size_t cap, std::string& bytes);
};

}  // namespace velkor
