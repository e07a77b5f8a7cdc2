// The direction of the Earth's main field over a survey, as a reduction to the pole takes
// it unless told otherwise: IGRF-14 at the centre of the placed readings, at the survey's
// middle date and the normal field's height.
#pragma once

#include <optional>
#include <string>

namespace velkor {

class Survey;

class MainFieldDirection {
  public:
    struct Result {
        double inclination = 0.0;  // degrees, down positive
        double declination = 0.0;  // degrees, east positive
        double latitude = 0.0;     // where the model was asked
        double longitude = 0.0;
        std::string date;  // the middle date, "06.07.2026"
    };

    // Nothing and a message in plain words when the survey has no coordinate system, no
    // placed reading, no reading with a date, or the model does not cover the place or date.
    static std::optional<Result> of(const Survey& survey, std::string& message);
    // "inclination 65.21, declination 3.05 (IGRF-14 at 48.12345 N, 16.54321 E, 06.07.2026)".
    static std::string describe(const Result& result);
};

}  // namespace velkor
