// A prompter with nobody to ask: every question is answered with Cancel, and the last
// message is kept. Where the survey and the tool call the day's code (which tells its
// failures through a prompter), this turns them into the message they pass on.
#pragma once

#include <string>

#include "core/Prompter.h"

namespace velkor {

class QuietPrompter : public Prompter {
  public:
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

    // The last message told.
    const std::string& lastMessage() const { return last_; }

  private:
    std::string last_;
};

}  // namespace velkor
