// A survey told in words: what the survey window shows beside its map and what the
// command-line tool's info prints.
#pragma once

#include <string>
#include <vector>

#include "survey/Survey.h"

namespace velkor {

class DataSet;
class Placement;
class TrackSource;

class SurveyDescription {
  public:
    // "03.07.2026 - 05.07.2026": the Date texts of the first and last readings that have
    // one; one date when they are the same, empty when none has one.
    static std::string dates(const DataSet& data);
    // The same of a position track's first and last fix, its offset added.
    static std::string dates(const TrackSource& track);
    // "98.5 %" of a day's survey readings that have a base value; "no base source", or "-"
    // for a day of no survey reading.
    static std::string cover(const Survey& survey, const Survey::Summary& s);
    // How readings are placed, then a line for each control point with its residual.
    static std::vector<std::string> placement(const Placement& p);
    // The coordinate system, datum and normal field, and the totals.
    static std::vector<std::string> corrections(const Survey& survey);
    // "Gridding: anomaly, cell 5 m, tension 0.25, blanking distance default, contour
    // interval default": what the survey keeps of how it is gridded.
    static std::string gridding(const SurveySettings::Gridding& g);
    // Everything the info command prints, line by line.
    static std::vector<std::string> info(const Survey& survey);
};

}  // namespace velkor
