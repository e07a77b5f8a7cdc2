// The survey's readings gridded and contoured: which value, which readings (flagged ones
// never), the defaults the placement gives, and the grid, its report and its contours.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "gridding/ContourLevels.h"
#include "gridding/Contours.h"
#include "gridding/GridPoint.h"
#include "gridding/GriddingOptions.h"
#include "gridding/MinimumCurvature.h"
#include "survey/SurveySettings.h"

namespace velkor {

class Survey;

class SurveyGridding {
  public:
    using What = SurveySettings::Gridding::What;
    static constexpr int kWhats = SurveySettings::Gridding::kWhats;

    struct Result {
        What what = What::Anomaly;
        MinimumCurvature::Result gridded;
        double interval = 0.0;  // between contour levels, nT
        ContourSet contours;
        // After a transform of the grid (see TransformedGridding): its name ("rtp") and
        // parameters, and the unit of the values and the interval; empty and nT before.
        std::string transform;
        std::string transformParameters;
        std::string unit = "nT";
    };

    // The placed readings that have the value, flagged readings left out, less the
    // regional trend the survey takes away; readings of one survey line share their line
    // number.
    static std::vector<GridPoint> points(const Survey& survey, What what);
    // The options with the line spacing the placement gives, in map metres.
    static GriddingOptions withSurvey(const Survey& survey, GriddingOptions options);
    // Grids and contours; interval 0 takes the default. Safe off the user-interface thread
    // while the survey is not changed.
    static Result run(const Survey& survey, What what, const GriddingOptions& options,
                      double interval, const std::atomic<bool>& cancel,
                      const MinimumCurvature::Progress& progress = {});
    // The same from readings taken beforehand (points, and options withSurvey), so that
    // the survey itself may change meanwhile.
    static Result run(const std::vector<GridPoint>& points, What what,
                      const GriddingOptions& options, double interval,
                      const std::atomic<bool>& cancel,
                      const MinimumCurvature::Progress& progress = {});
    // After a settings change: the same readings with their new values gridded from the
    // previous result (see MinimumCurvature::regrid) when the same value is gridded.
    static Result regrid(const Result& previous, const std::vector<GridPoint>& points, What what,
                         const GriddingOptions& options, double interval,
                         const std::atomic<bool>& cancel,
                         const MinimumCurvature::Progress& progress = {});
    // What the unset values of gridding stand for before anything is gridded: the cell and
    // blanking distance the readings and placement give, the interval over the readings'
    // range; 0 where the readings give nothing.
    struct Defaults {
        double cell = 0.0;           // m
        double blankDistance = 0.0;  // m
        double interval = 0.0;       // nT
    };
    // maxNodes above 0: the cell as the window takes it (see withNodeLimit).
    static Defaults defaults(const Survey& survey, const SurveySettings::Gridding& gridding,
                             double maxNodes = 0.0);
    // The window's first grid of a season's readings shows in seconds, not minutes: where
    // the options set neither cell nor extent and the default cell would give more than
    // maxNodes nodes, the cell is made coarser (1, 2, 2.5 or 5 times a power of ten metres)
    // until they are fewer. The tool keeps the default cell, whatever the nodes.
    static constexpr double kWindowNodes = 2.0e6;
    static GriddingOptions withNodeLimit(const std::vector<GridPoint>& points,
                                         GriddingOptions options, double maxNodes);
    // The grid's report as the tool prints it, line by line.
    static std::vector<std::string> describe(const Result& result);

  private:
    static Result contoured(What what, MinimumCurvature::Result gridded, double interval,
                            const std::atomic<bool>& cancel);
};

}  // namespace velkor
