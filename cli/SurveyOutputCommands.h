// velkor2tr-cli survey info, export, grid and contours: what the survey holds, told or
// written for GIS and gridding software.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/SurveyFamily.h"
#include "cli/SurveyGriddingOptions.h"
#include "cli/TransformOptions.h"

namespace velkor {

class SurveyOutputCommands : public SurveyFamily {
  public:
    using SurveyFamily::SurveyFamily;
    void declare(CLI::App& app, CommandList& commands) override;

  private:
    struct InfoOptions {
        std::string survey;
    };
    struct ExportOptions {
        std::string survey;
        std::string out;
        std::string format;
        bool unflagged = false;
        bool includeBase = false;
    };
    // grid and contours.
    struct GridOptions {
        std::string survey;
        std::string out;
        SurveyGriddingOptions gridding;
        std::string format;
        TransformOptions transform;  // contours only
    };

    void declareExport(CLI::App& app, CommandList& commands);
    void declareGrid(CLI::App& app, CommandList& commands);
    void declareContours(CLI::App& app, CommandList& commands);
    int info(const InfoOptions& o);
    int exportTo(const ExportOptions& o);
    int grid(const GridOptions& o);
    int contours(const GridOptions& o);

    InfoOptions info_;
    ExportOptions export_;
    GridOptions grid_;
    GridOptions contours_;
};

}  // namespace velkor
