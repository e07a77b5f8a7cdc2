// Console prompter: there is nobody to ask, so questions are answered with Cancel.
#include "core/ConsolePrompter.h"

#include <ostream>

#include "core/TransferMonitor.h"

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

std::optional<float> ConsolePrompter::askValue(ValueKind, float, const std::string&) {
    return std::nullopt;
}

void ConsolePrompter::showVariations(const std::string&, const std::vector<std::string>&) {}

bool ConsolePrompter::pickDevice(const std::vector<std::string>&, std::uint32_t&) {
    return false;
}

namespace {

// Nobody watches a console transfer; it cannot be cancelled either.
class SilentMonitor : public TransferMonitor {
  public:
    void addLine(const std::string&) override {}
    void setProgress(std::uint32_t, std::uint32_t) override {}
    bool cancelled() override { return false; }
    void hide() override {}
};

}  // namespace

std::unique_ptr<TransferMonitor> ConsolePrompter::openTransferWindow() {
    return std::make_unique<SilentMonitor>();
}

bool ConsolePrompter::editCommSettings(CommSettings&) {
    return false;
}

}  // namespace velkor
