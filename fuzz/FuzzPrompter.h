// A user who answers No and Cancel to everything, for the fuzz targets; it remembers
// what it was told.
#pragma once

#include <string>
#include <vector>

#include "core/Prompter.h"
#include "core/TransferMonitor.h"

namespace velkor {

class FuzzPrompter : public Prompter {
  public:
    void message(const std::string& text, const std::string& caption) override;
    // The other questions are cancelled, as the prompter's own answers do.
    Answer askSaveChanges(const std::string&) override { return Answer::No; }
    bool pickDevice(const std::vector<std::string>& descriptions, std::uint32_t& index) override;
    std::unique_ptr<TransferMonitor> openTransferWindow() override;

    // What openTransferWindow hands out; a target may set it before.
    std::unique_ptr<TransferMonitor> monitor;
    std::vector<std::string> messages;

    // Stops the run with a finding (libFuzzer keeps the input) when a property fails.
    static void require(bool holds, const char* property);
    // A file name of this process's own under the temporary folder.
    static std::string scratch(const std::string& name);
    // Writes bytes to the scratch file of that name and returns its path.
    static std::string writeScratch(const std::string& name, const std::string& bytes);
};

}  // namespace velkor
