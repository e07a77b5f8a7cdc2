// The usage text of velkor2tr-cli: every command with its words, printed for --help and
// after a usage error of any command but survey, which has its own.
#pragma once

#include <iosfwd>

namespace velkor {

class ToolUsage {
  public:
    static const char* text();
    // Prints the text on err after a usage error; the status of one (2).
    static int error(std::ostream& err);
};

}  // namespace velkor
