// The survey's levelling: its readings grouped into lines as they were walked (one line of
// one day), the steps the settings ask for estimated and applied in turn (days, stagger,
// directions, lines), and what each reading gains and how far along its line it moves.
#pragma once

#include <limits>
#include <optional>
#include <vector>

#include "survey/SurveySettings.h"

namespace velkor {

class SurveyLevelling {
  public:
    // One survey reading as levelling sees it.
    struct Input {
        int day = 0;
        double line = 0.0;
        double position = 0.0;
        double value = 0.0;  // NaN: none to level by (not corrected)
        bool walked = true;  // false: a base-station reading, left alone
        // Where it is placed, metres; NaN unplaced (days are then tied by line and position).
        double easting = std::numeric_limits<double>::quiet_NaN();
        double northing = std::numeric_limits<double>::quiet_NaN();
    };
    struct LineShift {
        int day = 0;
        double line = 0.0;
        int direction = 0;   // +1 walked towards increasing positions, -1 back, 0 unknown
        double shift = 0.0;  // nT added to the line
    };
    // Every estimate, for the report; a step not asked for is empty.
    struct Report {
        std::vector<double> dayOffsets;  // nT each day read above the others, taken away
        std::vector<int> dayTies;
        std::vector<int> untiedDays;
        double tieRmsBefore = 0.0;
        double tieRmsAfter = 0.0;
        std::optional<double> stagger;    // metres: lines moved half of it each their own way
        std::optional<double> direction;  // nT forward lines read above backward ones
        std::vector<LineShift> lines;
        // Whether two neighbouring lines were walked in opposite directions: without, no
        // stagger and no direction offset can be told.
        bool opposite = false;
        bool daysAsked = false;
        bool staggerAsked = false;
        bool directionsAsked = false;
        bool linesAsked = false;
    };
    struct Outcome {
        Report report;
        std::vector<float> level;        // nT added to each reading
        std::vector<double> positionBy;  // added to each reading's position
    };

    // interval: metres per unit of position along a line. fixedDay: the day held at 0.
    static Outcome run(const SurveySettings::Levelling& settings, std::optional<int> fixedDay,
                       int days, const std::vector<Input>& readings, double interval);
};

}  // namespace velkor
