// Blanks around a text.
#include "text/Trim.h"

namespace velkor {
namespace {

std::string_view around(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

std::string_view Trim::spaces(std::string_view text) {
    return around(text, " ");
}

std::string_view Trim::spacesAndTabs(std::string_view text) {
    return around(text, " \t");
}

}  // namespace velkor
