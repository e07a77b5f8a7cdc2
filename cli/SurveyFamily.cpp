// What the survey's command families share.
#include "cli/SurveyFamily.h"

#include <CLI/CLI.hpp>

namespace velkor {

CLI::App* SurveyFamily::addCommand(CLI::App& survey, const std::string& name,
                                   const std::string& description, std::string& path) {
    CLI::App* command = survey.add_subcommand(name, description);
    command->add_option("SURVEY", path, "the survey file (.vsurvey)")->required()->type_name("");
    return command;
}

}  // namespace velkor
