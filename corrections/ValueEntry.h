// Checking a number typed into the basis or geomagnetic-field dialog.
#pragma once

#include <string>

namespace velkor {

class ValueEntry {
  public:
    static constexpr const char* kNotANumber = "Enter a number.";
    // The ranges of the two values, typed in the window or given to the tool.
    static constexpr float kBasisMax = 99000.0f;
    static constexpr float kGeomagneticMax = 90000.0f;

    struct Result {
        bool ok;
        float value;
        std::string message;  // what to show when not ok
    };

    // The text must read as a number from minimum to maximum inclusive.
    static Result check(const std::string& text, float minimum, float maximum);
    // The value as the dialog shows it on opening: up to six significant digits.
    static std::string show(float value);
    static std::string rangeMessage(float minimum, float maximum);
};

}  // namespace velkor
