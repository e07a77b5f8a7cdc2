// The blanks around a text, taken off. Two kinds of blank: typed entries and the columns of
// a data line know only spaces; base files and the survey's exports count tabs too.
#pragma once

#include <string_view>

namespace velkor {

class Trim {
  public:
    // The text without the spaces around it.
    static std::string_view spaces(std::string_view text);
    // The text without the spaces and tabs around it.
    static std::string_view spacesAndTabs(std::string_view text);
};

}  // namespace velkor
