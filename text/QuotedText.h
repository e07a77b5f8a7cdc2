// A text from a file or the command line as a message quotes it: whole when short, else its
// beginning and its end around an ellipsis, so that no message grows with what it quotes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velkor {

class QuotedText {
  public:
    static constexpr std::size_t kMaxBytes = 300;
    static constexpr std::size_t kHead = 200;
    static constexpr std::size_t kTail = 80;

    // The text itself up to kMaxBytes; a longer one as its first kHead and last kTail bytes
    // with "..." between, never cutting a UTF-8 character in two.
    static std::string of(std::string_view text);
};

}  // namespace velkor
