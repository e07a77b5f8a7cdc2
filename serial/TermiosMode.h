// A line setting written into, and read back from, a terminal's termios settings.
#pragma once

#include <termios.h>

#include <vector>

#include "serial/LineMode.h"

namespace velkor {

class TermiosMode {
  public:
    // Sets speed, data bits, parity and stop bits; false (settings untouched) when the
    // speed is not one the system can set.
    static bool apply(termios& t, const LineMode& m);
    static LineMode read(const termios& t);
    // The speeds apply can set, slowest first.
    static std::vector<int> speeds();
};

}  // namespace velkor
