// Prompter for the command-line tool: messages to stderr, no questions answered.
#pragma once

#include <iosfwd>

#include "core/QuietPrompter.h"

namespace velkor {

class ConsolePrompter : public QuietPrompter {
  public:
    explicit ConsolePrompter(std::ostream& out);

    void message(const std::string& text, const std::string& caption) override;
    using Prompter::message;

  private:
    std::ostream& out_;
};

}  // namespace velkor
