// Line titles.
#include "text/LineTitle.h"

#include "text/ShortNumber.h"

namespace velkor {

std::string LineTitle::of(double number, Form form) {
    return "Line " + (form == Form::SixDigits
                          ? ShortNumber::sixDigits(number)
                          : ShortNumber::sixDecimals(number, ShortNumber::Zero::AsPrinted));
}

}  // namespace velkor
