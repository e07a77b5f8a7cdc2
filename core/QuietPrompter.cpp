// Quiet prompter: there is nobody to ask, so questions are answered with Cancel.
#include "core/QuietPrompter.h"

#include "core/TransferMonitor.h"

namespace velkor {

void QuietPrompter::message(const std::string& text, const std::string&) {
    last_ = text;
}

Prompter::Answer QuietPrompter::askSaveChanges(const std::string&) {
    return Answer::Cancel;
}

std::optional<std::string> QuietPrompter::askOpenFile(const std::string&, const std::string&) {
    return std::nullopt;
}

std::optional<std::string> QuietPrompter::askSaveFile(const std::string&, const std::string&) {
    return std::nullopt;
}

std::optional<float> QuietPrompter::askValue(ValueKind, float, const std::string&) {
    return std::nullopt;
}

void QuietPrompter::showVariations(const std::string&, const std::vector<std::string>&) {}

bool QuietPrompter::pickDevice(const std::vector<std::string>&, std::uint32_t&) {
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

std::unique_ptr<TransferMonitor> QuietPrompter::openTransferWindow() {
    return std::make_unique<SilentMonitor>();
}

bool QuietPrompter::editCommSettings(CommSettings&) {
    return false;
}

}  // namespace velkor
