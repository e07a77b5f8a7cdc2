// Prompter for the command-line tool: messages to stderr, no questions answered.
#pragma once

#include <iosfwd>

#include "core/Prompter.h"

namespace velkor {

class ConsolePrompter : public Prompter {
  public:
    explicit ConsolePrompter(std::ostream& out);

    void message(const std::string& text, const std::string& caption) override;
    using Prompter::message;
    Answer askSaveChanges(const std::string& title) override;
    std::optional<std::string> askOpenFile(const std::string& filter,
                                           const std::string& defaultExt) override;
    std::optional<std::string> askSaveFile(const std::string& filter,
                                           const std::string& defaultExt) override;
    std::optional<float> askValue(ValueKind which, float current,
                                  const std::string& surveyDate) override;
    void showVariations(const std::string& path, const std::vector<std::string>& lines) override;
    bool pickDevice(const std::vector<std::string>& descriptions, std::uint32_t& index) override;
    std::unique_ptr<TransferMonitor> openTransferWindow() override;
    bool editCommSettings(CommSettings& settings) override;

    // The last message shown, for the tool's exit report.
    const std::string& lastMessage() const { return last_; }

  private:
    std::ostream& out_;
    std::string last_;
};

}  // namespace velkor
