// The title of a survey line by its number: "Line 12", "Line 3.5". Two forms, each where
// it has always stood.
#pragma once

#include <string>

namespace velkor {

class LineTitle {
  public:
    enum class Form {
        // Up to six significant digits, as the line profiles name their lines.
        SixDigits,
        // Up to six decimals, as the survey's XYZ export heads each line's rows; a line
        // "-0" keeps its sign there.
        SixDecimals
    };

    static std::string of(double number, Form form);
};

}  // namespace velkor
