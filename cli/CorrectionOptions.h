// --variations, --basis and --geomag, as export, summary and plot map take them: declared
// once, read into the day's processing chain's request before any file is loaded.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "cli/DayCorrection.h"

namespace CLI {
class App;
}

namespace velkor {

class CorrectionOptions {
  public:
    std::optional<std::string> variations;
    std::optional<std::string> basis;
    std::optional<std::string> geomag;

    // With basisNeedsVariations, --basis without --variations is a usage error of the
    // parser; summary takes that up itself.
    void declare(CLI::App& command, bool basisNeedsVariations);
    // Whether anything is given that corrects the readings.
    bool corrects() const { return variations || geomag; }
    // The request for the data file path: --geomag read first, then --basis; false after
    // the message when either is bad.
    bool read(const std::string& path, DayCorrection::Request& request, std::ostream& err) const;

  private:
    // NT or igrf:LAT,LON[,HEIGHT_M].
    bool readGeomag(DayCorrection::Geomag& geomag, std::ostream& err) const;
};

}  // namespace velkor
