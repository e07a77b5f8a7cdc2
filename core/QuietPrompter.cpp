// Quiet prompter: there is nobody to ask, so questions are answered with Cancel.
#include "core/QuietPrompter.h"

namespace velkor {

void QuietPrompter::message(const std::string& text, const std::string&) {
    last_ = text;
}

}  // namespace velkor
