// A prompter with nobody to ask: every question has the answer of nobody there (Cancel),
// and the last message is kept. Where the survey and the tool call the day's code (which
// tells its failures through a prompter), this turns them into the message they pass on.
#pragma once

#include <string>

#include "core/Prompter.h"

namespace velkor {

class QuietPrompter : public Prompter {
  public:
    void message(const std::string& text, const std::string& caption) override;
    using Prompter::message;

    // The last message told.
    const std::string& lastMessage() const { return last_; }

  private:
    std::string last_;
};

}  // namespace velkor
