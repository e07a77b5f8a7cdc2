// velkor2tr-cli survey despike and flag: readings flagged, by the spike finder or by hand,
// and flags cleared; each change saved by the survey's edit rules.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "cli/SurveyFamily.h"
#include "survey/SpikeFinder.h"
#include "survey/SurveySettings.h"

namespace velkor {

class SurveyFlagCommands : public SurveyFamily {
  public:
    using SurveyFamily::SurveyFamily;
    void declare(CLI::App& app, CommandList& commands) override;

  private:
    struct DespikeOptions {
        std::string survey;
        int window = SpikeFinder::kWindow;
        std::optional<double> threshold;
        bool apply = false;
    };
    struct FlagOptions {
        std::string survey;
        std::string file;
        int reading = 0;
        bool clear = false;
        std::string word = SurveySettings::Flag::kManual;
    };

    void declareDespike(CLI::App& app, CommandList& commands);
    void declareFlag(CLI::App& app, CommandList& commands);
    int despike(const DespikeOptions& o);
    int flag(const FlagOptions& o);

    DespikeOptions despike_;
    FlagOptions flag_;
};

}  // namespace velkor
