// velkor2tr-cli survey transform.
#include "cli/SurveyTransformCommands.h"

#include <CLI/CLI.hpp>
#include <map>
#include <ostream>

#include "cli/CommandList.h"
#include "cli/GriddedSurvey.h"
#include "cli/SurveyCommand.h"
#include "survey/GridFile.h"
#include "survey/OutputParts.h"
#include "text/QuotedText.h"

namespace velkor {
namespace {

const std::map<std::string, GridFile::Format> kTransformFormats{
    {"geotiff", GridFile::Format::GeoTiff},
    {"surfer7", GridFile::Format::Surfer7},
    {"surfer6", GridFile::Format::Surfer6},
    {"esri", GridFile::Format::EsriAscii}};

}  // namespace

void SurveyTransformCommands::declare(CLI::App& app, CommandList& commands) {
    CLI::App* transform =
        addCommand(app, "transform",
                   "grid the readings, transform the grid (reduction to the pole, continuation, "
                   "derivatives, analytic signal, tilt) and write it",
                   transform_.survey);
    transform->add_option("OUT", transform_.out, "the grid file")->required()->type_name("");
    transform_.transform.declare(*transform, "--kind");
    transform_.gridding.declare(*transform, false);
    transform
        ->add_option("--format", transform_.format,
                     "GeoTIFF, Surfer 7 binary, Surfer 6 text or ESRI ASCII grid (default: "
                     "from OUT's extension, .tif .grd .asc)")
        ->check(CLI::IsMember({"geotiff", "surfer7", "surfer6", "esri"}))
        ->type_name("geotiff|surfer7|surfer6|esri");
    commands.add(transform, [this] { return this->transform(transform_); });
}

int SurveyTransformCommands::transform(const Options& o) {
    const std::optional<GridFile::Format> format =
        o.format.empty() ? GridFile::formatOf(o.out)
                         : std::optional<GridFile::Format>(kTransformFormats.at(o.format));
    if (!format) {
        return SurveyCommand::usageError(
            err_, QuotedText::of(o.out) + ": the extension names no grid format; give --format");
    }
    std::string problem;
    const std::optional<TransformedGridding::Asked> asked = o.transform.applied(0.0, problem);
    if (!asked) {
        return SurveyCommand::usageError(err_, problem);
    }
    GriddedSurvey gridded;
    if (const int status =
            gridded.make({o.survey, o.out, true, OutputParts::of(o.out, *format), true}, o.gridding,
                         edit_, out_, err_);
        status != 0) {
        return status;
    }
    if (const int status = gridded.transform(*asked, out_, err_); status != 0) {
        return status;
    }
    std::string message;
    if (!GridFile::write(gridded.result.gridded.grid, gridded.survey->coordinateSystem(), *format,
                         o.out, message, gridded.result.unit)) {
        err_ << message << '\n';
        return 1;
    }
    return 0;
}

}  // namespace velkor
