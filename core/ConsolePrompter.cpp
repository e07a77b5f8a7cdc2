// Console prompter: messages to a stream as they come.
#include "core/ConsolePrompter.h"

#include <ostream>

namespace velkor {

ConsolePrompter::ConsolePrompter(std::ostream& out) : out_(out) {}

void ConsolePrompter::message(const std::string& text, const std::string& caption) {
    out_ << text << '\n';
    QuietPrompter::message(text, caption);
}

}  // namespace velkor
