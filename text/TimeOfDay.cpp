// The two ways a time of day is read, and the two it is written.
#include "text/TimeOfDay.h"

#include "text/NumberText.h"
#include "text/TextFormat.h"

namespace velkor {

int TimeOfDay::ofColumn(std::string_view time) {
    auto group = [&](std::size_t from) {
        return from < time.size() ? readInteger(time.substr(from, 2)) : 0;
    };
    return group(0) * 3600 + group(3) * 60 + group(6);
}

std::optional<int> TimeOfDay::read(std::string_view text) {
    const auto two = [&](std::size_t at) -> int {
        const bool digits = at + 2 <= text.size() && text[at] >= '0' && text[at] <= '9' &&
                            text[at + 1] >= '0' && text[at + 1] <= '9';
        return digits ? (text[at] - '0') * 10 + (text[at + 1] - '0') : -1;
    };
    if (text.size() < 5 || text[2] != ':') {
        return std::nullopt;
    }
    const int h = two(0);
    const int m = two(3);
    int s = 0;
    if (text.size() > 5) {
        if (text.size() < 8 || text[5] != ':') {
            return std::nullopt;
        }
        s = two(6);
        if (text.size() > 8 &&
            (text[8] != '.' || text.size() == 9 ||
             text.find_first_not_of("0123456789", 9) != std::string_view::npos)) {
            return std::nullopt;
        }
    }
    const bool leap = h == 23 && m == 59 && s == 60;
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || (s > 59 && !leap)) {
        return std::nullopt;
    }
    return h * 3600 + m * 60 + s;
}

std::string TimeOfDay::hourMinute(int seconds) {
    return formatText("%02d:%02d", seconds / 3600, seconds / 60 % 60);
}

std::string TimeOfDay::clock(int seconds) {
    return formatText("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

}  // namespace velkor
