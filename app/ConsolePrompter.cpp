// Console prompter: there is nobody to ask, so questions are answered with Cancel.
#include "app/ConsolePrompter.h"

#include <ostream>

namespace velkor {

ConsolePrompter::ConsolePrompter(std::ostream& out) : out_(out) {}

void ConsolePrompter::message(const std::string& text, const std::string& caption) {
    (void)caption;
    out_ << text << '\n';
    last_ = text;
}

Prompter::Answer ConsolePrompter::askSaveChanges(const std::string&) {
    return Answer::Cancel;
}

std::optional<std::string> ConsolePrompter::askOpenFile(const std::string&, const std::string&) {
    return std::nullopt;
}

std::optional<std::string> ConsolePrompter::askSaveFile(const std::string&, const std::string&) {
    return std::nullopt;
}

std::optional<float> ConsolePrompter::askValue(ValueKind, float) {
    return std::nullopt;
}

void ConsolePrompter::showVariations(const std::string&, const std::vector<std::string>&) {}

}  // namespace velkor
