// Recording prompter for tests.
#include "support/RecordingPrompter.h"

#include "core/TransferMonitor.h"

namespace velkor {
namespace {

template <typename T>
T takeFront(std::deque<T>& queue, T fallback) {
    if (queue.empty()) {
        return fallback;
    }
    T value = queue.front();
    queue.pop_front();
    return value;
}

}  // namespace

void RecordingPrompter::message(const std::string& text, const std::string& caption) {
    shown.push_back({text, caption});
    if (onMessage) {
        onMessage();
    }
}

Prompter::Answer RecordingPrompter::askSaveChanges(const std::string& title) {
    asked.push_back("save:" + title);
    return takeFront(saveAnswers, Answer::Cancel);
}

std::optional<std::string> RecordingPrompter::askOpenFile(const std::string& filter,
                                                          const std::string& defaultExt) {
    asked.push_back("open:" + filter + ":" + defaultExt);
    return takeFront<std::optional<std::string>>(files, std::nullopt);
}

std::optional<std::string> RecordingPrompter::askSaveFile(const std::string& filter,
                                                          const std::string& defaultExt) {
    asked.push_back("save-file:" + filter + ":" + defaultExt);
    return takeFront<std::optional<std::string>>(files, std::nullopt);
}

std::optional<float> RecordingPrompter::askValue(ValueKind which, float current,
                                                 const std::string& surveyDate) {
    // "basis:48000.000000", "geomag:0.000000:03.07.2026"
    asked.push_back(which == ValueKind::Basis
                        ? "basis:" + std::to_string(current)
                        : "geomag:" + std::to_string(current) + ":" + surveyDate);
    return takeFront<std::optional<float>>(values, std::nullopt);
}

void RecordingPrompter::showVariations(const std::string& path,
                                       const std::vector<std::string>& lines) {
    asked.push_back("variations:" + path + ":" + std::to_string(lines.size()));
}

bool RecordingPrompter::pickDevice(const std::vector<std::string>& descriptions,
                                   std::uint32_t& index) {
    std::string all;
    for (const std::string& d : descriptions) {
        all += (all.empty() ? "" : "|") + d;
    }
    asked.push_back("device:" + all);
    const std::optional<std::uint32_t> answer =
        takeFront<std::optional<std::uint32_t>>(devices, std::nullopt);
    if (answer) {
        index = *answer;
    }
    return answer.has_value();
}

namespace {

class RecordingMonitor : public TransferMonitor {
  public:
    explicit RecordingMonitor(RecordingPrompter& p) : p_(p) {
        ++p_.transferWindows;
        p_.transferOpen = true;
    }
    ~RecordingMonitor() override { p_.transferOpen = false; }
    void addLine(const std::string& line) override { p_.transferLines.push_back(line); }
    void setProgress(std::uint32_t received, std::uint32_t count) override {
        p_.progressReceived = received;
        p_.progressCount = count;
    }
    bool cancelled() override {
        return p_.cancelAfterLines >= 0 &&
               static_cast<int>(p_.transferLines.size()) >= p_.cancelAfterLines;
    }
    void hide() override {}

  private:
    RecordingPrompter& p_;
};

}  // namespace

std::unique_ptr<TransferMonitor> RecordingPrompter::openTransferWindow() {
    return std::make_unique<RecordingMonitor>(*this);
}

bool RecordingPrompter::editCommSettings(CommSettings& settings) {
    asked.push_back("comm:" + settings.comPort + ":" + settings.baudRate + ":" +
                    std::to_string(settings.device));
    const std::optional<CommSettings> answer =
        takeFront<std::optional<CommSettings>>(commSettings, std::nullopt);
    if (answer) {
        settings = *answer;
    }
    return answer.has_value();
}

std::vector<std::string> RecordingPrompter::texts() const {
    std::vector<std::string> out;
    for (const Shown& s : shown) {
        out.push_back(s.text);
    }
    return out;
}

}  // namespace velkor
