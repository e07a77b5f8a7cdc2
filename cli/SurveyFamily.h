// A family of survey commands: commands of the tool whose changes to a survey file go
// through the one edit of the run, by the survey's edit rules.
#pragma once

#include <string>

#include "cli/CommandFamily.h"

namespace velkor {

class SurveyEdit;

class SurveyFamily : public CommandFamily {
  public:
    SurveyFamily(SurveyEdit& edit, std::ostream& out, std::ostream& err)
        : CommandFamily(out, err), edit_(edit) {}

  protected:
    // A command under survey, with SURVEY, the survey file every command takes first.
    static CLI::App* addCommand(CLI::App& survey, const std::string& name,
                                const std::string& description, std::string& path);

    SurveyEdit& edit_;
};

}  // namespace velkor
