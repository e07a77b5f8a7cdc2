// velkor2tr-cli survey level: the levelling steps chosen and stored in the survey, every
// estimate printed; a step that cannot be estimated is refused and nothing is saved.
#pragma once

#include <optional>
#include <string>

#include "cli/SurveyFamily.h"
#include "survey/Survey.h"

namespace velkor {

class SurveyLevelCommand : public SurveyFamily {
  public:
    using SurveyFamily::SurveyFamily;
    void declare(CLI::App& app, CommandList& commands) override;

  private:
    struct Options {
        std::string survey;
        bool days = false;
        std::string fixDay;
        bool directions = false;
        bool lines = false;
        std::optional<double> threshold;
        std::string destagger;
        bool clear = false;
    };

    int level(const Options& o);
    // The levelling the options choose into next; a usage error's text in problem when one
    // does not fit.
    static void choose(const Options& o, SurveySettings& next, std::string& problem);
    // Why the survey levelled as next asks cannot be kept; empty when it can.
    static std::string refusal(const Survey& survey);

    Options options_;
};

}  // namespace velkor
