// Number entry checks.
#include "corrections/ValueEntry.h"

#include <optional>

#include "text/NumberText.h"
#include "text/ShortNumber.h"
#include "text/TextFormat.h"

namespace velkor {

std::string ValueEntry::rangeMessage(float minimum, float maximum) {
    return formatText("Enter a number between %g and %g.", static_cast<double>(minimum),
                      static_cast<double>(maximum));
}

ValueEntry::Result ValueEntry::check(const std::string& text, float minimum, float maximum) {
    const std::optional<double> value = readWholeNumber(text, WholeNumber::Typed);
    if (!value) {
        return {false, 0.0f, kNotANumber};
    }
    if (*value < minimum || *value > maximum) {
        return {false, 0.0f, rangeMessage(minimum, maximum)};
    }
    return {true, static_cast<float>(*value), {}};
}

std::string ValueEntry::show(float value) {
    return ShortNumber::sixDigits(static_cast<double>(value));
}

}  // namespace velkor
