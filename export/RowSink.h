// Rows written straight into a text: room for a whole row is made once, then its pieces
// are copied in without a check each.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace velkor {

class RowSink {
  public:
    explicit RowSink(std::string& out) : out_(out), used_(out.size()) {}
    ~RowSink() { out_.resize(used_); }
    RowSink(const RowSink&) = delete;
    RowSink& operator=(const RowSink&) = delete;

    // Where the next row goes, with at least n bytes of room.
    char* room(std::size_t n) {
        if (out_.size() - used_ < n) {
            out_.resize(std::max(2 * out_.size(), used_ + n));
        }
        return out_.data() + used_;
    }
    // The row ends at end.
    void done(const char* end) { used_ = static_cast<std::size_t>(end - out_.data()); }

    static char* put(char* at, std::string_view text) {
        std::memcpy(at, text.data(), text.size());
        return at + text.size();
    }

  private:
    std::string& out_;
    std::size_t used_;
};

}  // namespace velkor
