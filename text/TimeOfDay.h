// Times of day in seconds from midnight: read from the Time column of the day's files and
// from base files, and written for the clock faces of the base curves and their figures.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velkor {

class TimeOfDay {
  public:
    // A Time column ("10:05:30"), never refused: hours, minutes and seconds from the two
    // characters at 0, 3 and 6, each read as readInteger reads it, 0 for a group past the
    // text's end. The instrument's files and variations files are read this way.
    static int ofColumn(std::string_view time);
    // "hh:mm", "hh:mm:ss" or "hh:mm:ss.sss" in seconds, the fraction dropped as the base
    // index keeps whole seconds; the leap second 23:59:60 is the last second of its day
    // (86400). Nothing for any other text: base files are refused line by line.
    static std::optional<int> read(std::string_view text);
    // "10:05".
    static std::string hourMinute(int seconds);
    // "10:05:30".
    static std::string clock(int seconds);
};

}  // namespace velkor
