// Recording prompter for tests.
#include "support/RecordingPrompter.h"

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

std::optional<float> RecordingPrompter::askValue(ValueKind which, float current) {
    asked.push_back(std::string(which == ValueKind::Basis ? "basis:" : "geomag:") +
                    std::to_string(current));
    return takeFront<std::optional<float>>(values, std::nullopt);
}

void RecordingPrompter::showVariations(const std::string& path,
                                       const std::vector<std::string>& lines) {
    asked.push_back("variations:" + path + ":" + std::to_string(lines.size()));
}

std::vector<std::string> RecordingPrompter::texts() const {
    std::vector<std::string> out;
    for (const Shown& s : shown) {
        out.push_back(s.text);
    }
    return out;
}

}  // namespace velkor
