// A line setting in mode-string form: "<speed>,<parity>,<data bits>,<stop bits>".
#pragma once

#include <optional>
#include <string>

namespace velkor {

struct LineMode {
    int speed = 0;
    char parity = 'n';  // n, e, o, m (mark) or s (space)
    int dataBits = 8;
    int stopBits = 1;

    // Nothing when the text is not such a setting.
    static std::optional<LineMode> parse(const std::string& text);
    bool operator==(const LineMode& o) const {
        return speed == o.speed && parity == o.parity && dataBits == o.dataBits &&
               stopBits == o.stopBits;
    }
};

}  // namespace velkor
