// Text lines kept in one buffer, each a view of its bytes: a full data set is one
// allocation instead of one per line, and copying or cutting lines out stays cheap.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "data/DefaultInitAllocator.h"

namespace velkor {

class LineBuffer {
  public:
    struct Span {
        std::size_t offset;
        std::size_t length;
    };

    // The bytes the lines are views of.
    using Bytes = std::vector<char, DefaultInitAllocator<char>>;

    using Spans = std::vector<Span, DefaultInitAllocator<Span>>;

    LineBuffer() = default;
    explicit LineBuffer(const std::vector<std::string>& lines);
    // Lines that are spans of bytes; every span must lie inside bytes.
    LineBuffer(Bytes bytes, Spans spans);

    int count() const { return static_cast<int>(spans_.size()); }
    std::string_view line(int k) const {
        const Span& s = spans_[static_cast<std::size_t>(k)];
        return std::string_view(bytes_.data() + s.offset, s.length);
    }
    std::vector<std::string> copies() const;

    // Keeps the first n lines.
    void truncate(std::size_t n);
    // Removes the lines at these indices (ascending, each once) in one pass.
    void erase(const std::vector<int>& ascending);
    // Puts a line in as line k (0 <= k <= count); its bytes go at the end of the buffer.
    void insert(int k, std::string_view line);

  private:
    Bytes bytes_;
    Spans spans_;
};

}  // namespace velkor
