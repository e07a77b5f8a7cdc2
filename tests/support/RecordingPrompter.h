// A prompter that records every message and hands out queued answers.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Prompter.h"
#include "serial/CommSettings.h"

namespace velkor {

class RecordingPrompter : public Prompter {
  public:
    struct Shown {
        std::string text;
        std::string caption;
    };

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

    // Texts of all messages, in order.
    std::vector<std::string> texts() const;

    std::vector<Shown> shown;
    std::function<void()> onMessage;                       // called while each message is up
    std::vector<std::string> asked;                        // every question, e.g. "save:Untitled"
    std::deque<Answer> saveAnswers;                        // empty: Cancel
    std::deque<std::optional<std::string>> files;          // empty: cancelled
    std::deque<std::optional<float>> values;               // empty: Cancel
    std::deque<std::optional<std::uint32_t>> devices;      // empty: Cancel
    std::deque<std::optional<CommSettings>> commSettings;  // empty: Cancel

    // What the Transfer window showed: every line added, the last progress, and
    // whether it was open.
    std::vector<std::string> transferLines;
    std::uint32_t progressReceived = 0;
    std::uint32_t progressCount = 0;
    int transferWindows = 0;
    bool transferOpen = false;
    int cancelAfterLines = -1;  // the user presses Cancel once this many lines are in
};

}  // namespace velkor
