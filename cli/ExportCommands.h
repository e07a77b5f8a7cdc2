// velkor2tr-cli export and summary: a day corrected as the window corrects it, written as
// an export file or counted.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/CorrectionOptions.h"

namespace CLI {
class App;
}

namespace velkor {

class CommandList;

class ExportCommands {
  public:
    ExportCommands(std::ostream& out, std::ostream& err);
    void declare(CLI::App& tool, CommandList& commands);

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

    std::ostream& out_;
    std::ostream& err_;
    ExportOptions export_;
    SummaryOptions summary_;
};

}  // namespace velkor
