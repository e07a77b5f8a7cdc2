// The column numbers are read by text/NumberText.h and times by text/TimeOfDay.h; cli/ still
// includes them by this name and reads a time with readTimeOfDay.
#pragma once

#include <string_view>

#include "text/NumberText.h"
#include "text/TimeOfDay.h"

namespace velkor {

inline int readTimeOfDay(std::string_view time) {
    return TimeOfDay::ofColumn(time);
}

}  // namespace velkor
