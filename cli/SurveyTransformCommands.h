// velkor2tr-cli survey transform: the survey's grid reduced to the pole, continued,
// differentiated, as its analytic signal or tilt, written as a grid file.
#pragma once

#include <string>

#include "cli/SurveyFamily.h"
#include "cli/SurveyGriddingOptions.h"
#include "cli/TransformOptions.h"

namespace velkor {

class SurveyTransformCommands : public SurveyFamily {
  public:
    using SurveyFamily::SurveyFamily;
    void declare(CLI::App& app, CommandList& commands) override;

  private:
    struct Options {
        std::string survey;
        std::string out;
        SurveyGriddingOptions gridding;
        TransformOptions transform;
        std::string format;
    };

    int transform(const Options& o);

    Options transform_;
};

}  // namespace velkor
