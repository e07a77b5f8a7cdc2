// The lag of a survey placed by its tracks, estimated from its own readings: the tool's
// place --lag auto and the window's Estimate ask the same.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "survey/Placement.h"
#include "survey/Survey.h"
#include "tracks/LagEstimate.h"

namespace velkor {

class SurveyLagEstimate {
  public:
    // The lag (searched from LagEstimate::kFrom to kTo) whose placement by the survey's
    // tracks, in its coordinate system with the antenna offset and largest gap of track
    // (its lag aside), brings neighbouring lines walked in opposite directions nearest to
    // agreeing. Nothing and a message when the survey has no track or no coordinate
    // system, or when no lines walked both ways lie side by side.
    static std::optional<LagEstimate::Result> of(const Survey& survey,
                                                 const Placement::Track& track,
                                                 std::string& message);

    // The track at the lag found, kept as estimated.
    static Placement::Track withLag(Placement::Track track, const LagEstimate::Result& r);

    // The survey readings of every day (base-station readings and those without a line,
    // position, field, date or time left out) at their instrument times, each line of a
    // day numbered on its own and walked the way its positions run.
    static std::vector<LagEstimate::Reading> readings(const Survey& survey);
};

}  // namespace velkor
