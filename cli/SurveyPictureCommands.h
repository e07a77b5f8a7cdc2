// velkor2tr-cli survey plot and plot-lines: the survey map as a PNG and its line profiles
// as a PDF, as the survey window draws and prints them.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/SurveyFamily.h"
#include "cli/SurveyGriddingOptions.h"
#include "cli/TransformOptions.h"
#include "pictures/LineProfilePages.h"
#include "pictures/SurveyPicture.h"

namespace velkor {

class GriddedSurvey;
class PictureWriter;

class SurveyPictureCommands : public SurveyFamily {
  public:
    // pictures draws them; without one, both are refused.
    SurveyPictureCommands(SurveyEdit& edit, std::ostream& out, std::ostream& err,
                          PictureWriter* pictures);
    void declare(CLI::App& app, CommandList& commands) override;

  private:
    struct PlotOptions {
        std::string survey;
        std::string out;
        SurveyGriddingOptions gridding;
        std::string show = "readings,grid,shade,contours";
        std::string size = "900x560";
        bool standardScale = false;
        TransformOptions transform;
    };
    struct PlotLinesOptions {
        std::string survey;
        std::string out;
        std::string what = "field";
        int linesPerPage = LineProfilePages::kLinesPerPage;
    };

    void declarePlot(CLI::App& app, CommandList& commands);
    void declarePlotLines(CLI::App& app, CommandList& commands);
    int plot(const PlotOptions& o);
    int plotLines(const PlotLinesOptions& o);
    // The profiles of the survey in the document OUT; 1 after the message when there is no
    // line or the document cannot be written.
    int printLines(const Survey& survey, const PlotLinesOptions& o);
    // survey plot OUT.pdf: the printed page of the map.
    int printPage(const GriddedSurvey& gridded, SurveyPicture::Layers layers, const PlotOptions& o);
    // False after saying so when this build draws no pictures.
    bool drawsPictures();

    PictureWriter* pictures_;
    PlotOptions plot_;
    PlotLinesOptions plotLines_;
};

}  // namespace velkor
