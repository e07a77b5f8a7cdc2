// velkor2tr-cli export and summary.
#include "cli/ExportCommands.h"

#include <CLI/CLI.hpp>
#include <map>
#include <ostream>

#include "cli/CliTool.h"
#include "cli/CommandList.h"
#include "cli/ToolUsage.h"
#include "core/ConsolePrompter.h"
#include "corrections/CorrectionSummary.h"
#include "data/DataSet.h"
#include "day/DayChain.h"
#include "export/ExportFile.h"

namespace velkor {
namespace {

const std::map<std::string, ExportFile::Kind> kKinds{{"field", ExportFile::Kind::Field},
                                                     {"gradient", ExportFile::Kind::Gradient},
                                                     {"auto", ExportFile::Kind::Auto},
                                                     {"corrected", ExportFile::Kind::Corrected}};

}  // namespace

void ExportCommands::declare(CLI::App& tool, CommandList& commands) {
    CLI::App* exporter = tool.add_subcommand("export", "write an export file of the data file IN");
    exporter
        ->add_option("KIND", export_.kind,
                     "the fields, the gradients, the base-station readings as a variations file, "
                     "or the corrected values, which need --geomag or a reading the variations "
                     "correct")
        ->required()
        ->check(CLI::IsMember({"field", "gradient", "auto", "corrected"}))
        ->type_name("field|gradient|auto|corrected");
    exporter->add_option("IN", export_.in, "the data file")->required()->type_name("");
    exporter->add_option("OUT", export_.out, "the export file")->required()->type_name("");
    export_.corrections.declare(*exporter, true);
    commands.add(exporter, [this] { return exportFile(export_); });

    CLI::App* summary = tool.add_subcommand(
        "summary",
        "correct as export does and print how many readings the corrected export writes, how "
        "many it leaves out and why, one per line");
    summary->add_option("IN", summary_.in, "the data file")->required()->type_name("");
    summary_.corrections.declare(*summary, false);
    commands.add(summary, [this] { return this->summary(summary_); });
}

int ExportCommands::exportFile(const ExportOptions& o) {
    const ExportFile::Kind kind = kKinds.at(o.kind);
    const bool corrected = kind == ExportFile::Kind::Corrected;
    if (corrected && !o.corrections.corrects()) {
        return ToolUsage::error(err_);
    }
    DayCorrection::Request request;
    if (!o.corrections.read(o.in, request, err_)) {
        return CliTool::kUsage;
    }
    ConsolePrompter prompter(err_);
    DayChain chain(prompter);
    if (!DayCorrection::run(request, chain)) {
        return CliTool::kFailed;
    }
    const DataSet& data = chain.data();
    if (corrected && !DayCorrection::corrected(data)) {
        prompter.message(DayCorrection::kNothingCorrected);
        return CliTool::kFailed;
    }
    int rows = 0;
    return chain.exportFile(kind, o.out, rows) ? CliTool::kOk : CliTool::kFailed;
}

int ExportCommands::summary(const SummaryOptions& o) {
    DayCorrection::Request request;
    // Here --basis alone ends the run without a word, as it always has.
    if ((o.corrections.basis && !o.corrections.variations) ||
        !o.corrections.read(o.in, request, err_)) {
        return CliTool::kUsage;
    }
    ConsolePrompter prompter(err_);
    DayChain chain(prompter);
    if (!DayCorrection::run(request, chain)) {
        return CliTool::kFailed;
    }
    const CorrectionSummary s = chain.summary();
    out_ << "readings: " << s.readings << '\n'
         << "corrected: " << s.corrected << '\n'
         << "uncorrected: " << s.uncorrected() << '\n'
         << "skipped-auto: " << s.skippedAuto << '\n';
    for (int r = 0; r < CorrectionSummary::kReasons; ++r) {
        const auto reason = CorrectionSummary::reason(r);
        out_ << "reason " << CorrectionSummary::name(reason) << ": " << s.count(reason) << '\n';
    }
    return CliTool::kOk;
}

}  // namespace velkor
