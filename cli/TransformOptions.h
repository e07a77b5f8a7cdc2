// The options of a grid transform, the same words for survey transform (--kind) and for
// survey contours and plot (--transform): kept as typed, read when the command runs.
#pragma once

#include <optional>
#include <string>

#include "survey/TransformedGridding.h"

namespace CLI {
class App;
}

namespace velkor {

class TransformOptions {
  public:
    std::string kind;
    std::string height;
    std::string order;
    std::string inclination;
    std::string declination;
    std::string magnetisationInclination;
    std::string magnetisationDeclination;
    std::string limit;

    // kindOption: "--kind", required, or "--transform", which may be left out.
    void declare(CLI::App& command, const std::string& kindOption);
    // Whether a transform is asked for.
    bool asked() const { return !kind.empty(); }
    // The transform asked for, contoured at interval (0 the default); nothing and a usage
    // error's text in problem when a value does not fit.
    std::optional<TransformedGridding::Asked> applied(double interval, std::string& problem) const;
};

}  // namespace velkor
