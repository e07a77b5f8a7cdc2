// velkor2tr-cli export and summary: a day corrected as the window corrects it, written as
// an export file or counted.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/CommandFamily.h"
#include "cli/CorrectionOptions.h"

namespace velkor {

class ExportCommands : public CommandFamily {
  public:
    using CommandFamily::CommandFamily;
    void declare(CLI::App& tool, CommandList& commands) override;

  private:
    struct ExportOptions {
        std::string kind;
        std::string in;
        std::string out;
        CorrectionOptions corrections;
    };
    struct SummaryOptions {
        std::string in;
        CorrectionOptions corrections;
    };

    int exportFile(const ExportOptions& o);
    int summary(const SummaryOptions& o);

    ExportOptions export_;
    SummaryOptions summary_;
};

}  // namespace velkor
