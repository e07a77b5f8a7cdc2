// velkor2tr-cli survey info, export, grid and contours.
#include "cli/SurveyOutputCommands.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <map>
#include <ostream>

#include "cli/CommandList.h"
#include "cli/GriddedSurvey.h"
#include "cli/SurveyCommand.h"
#include "cli/SurveyEdit.h"
#include "cli/SurveyValues.h"
#include "survey/ContourFile.h"
#include "survey/GridFile.h"
#include "survey/OutputParts.h"
#include "survey/SurveyDescription.h"
#include "survey/SurveyExport.h"
#include "text/QuotedText.h"

namespace velkor {
namespace {

const std::map<std::string, GridFile::Format> kGridFormats{{"geotiff", GridFile::Format::GeoTiff},
                                                           {"surfer7", GridFile::Format::Surfer7},
                                                           {"surfer6", GridFile::Format::Surfer6},
                                                           {"esri", GridFile::Format::EsriAscii}};

}  // namespace

void SurveyOutputCommands::declare(CLI::App& app, CommandList& commands) {
    CLI::App* info = addCommand(
        app, "info", "show the days, base sources, placement, corrections, ranges and counts",
        info_.survey);
    commands.add(info, [this] { return this->info(info_); });
    declareExport(app, commands);
    declareGrid(app, commands);
    declareContours(app, commands);
}

void SurveyOutputCommands::declareExport(CLI::App& app, CommandList& commands) {
    CLI::App* exporter =
        addCommand(app, "export", "write the placed, corrected readings", export_.survey);
    exporter->add_option("OUT", export_.out, "the file to write")->required()->type_name("");
    exporter->add_option("--format", export_.format, "the format (default: from OUT's extension)")
        ->check(CLI::IsMember({"csv", "xyz", "gpkg", "shp", "kml"}))
        ->type_name("csv|xyz|gpkg|shp|kml");
    exporter->add_flag("--unflagged", export_.unflagged, "leave flagged readings out");
    exporter->add_flag("--include-base", export_.includeBase,
                       "gpkg, shp, kml: write the base-station readings too, with a mode");
    commands.add(exporter, [this] { return exportTo(export_); });
}

void SurveyOutputCommands::declareGrid(CLI::App& app, CommandList& commands) {
    CLI::App* grid = addCommand(
        app, "grid", "grid the readings by minimum curvature with tension and write the grid",
        grid_.survey);
    grid->add_option("OUT", grid_.out, "the grid file")->required()->type_name("");
    grid_.gridding.declare(*grid, false);
    grid->add_option("--format", grid_.format,
                     "GeoTIFF, Surfer 7 binary, Surfer 6 text or ESRI ASCII grid (default: "
                     "from OUT's extension, .tif .grd .asc)")
        ->check(CLI::IsMember({"geotiff", "surfer7", "surfer6", "esri"}))
        ->type_name("geotiff|surfer7|surfer6|esri");
    commands.add(grid, [this] { return this->grid(grid_); });
}

void SurveyOutputCommands::declareContours(CLI::App& app, CommandList& commands) {
    CLI::App* contours = addCommand(
        app, "contours", "grid the readings and write the grid's contour lines", contours_.survey);
    contours->add_option("OUT", contours_.out, "the contour file")->required()->type_name("");
    contours_.gridding.declare(*contours, true);
    contours->add_option("--format", contours_.format, "the format (default: from OUT's extension)")
        ->check(CLI::IsMember({"gpkg", "shp", "dxf", "kml"}))
        ->type_name("gpkg|shp|dxf|kml");
    contours_.transform.declare(*contours, "--transform");
    commands.add(contours, [this] { return this->contours(contours_); });
}

int SurveyOutputCommands::info(const InfoOptions& o) {
    const std::optional<Survey> survey = edit_.open(o.survey);
    if (!survey) {
        return 1;
    }
    for (const std::string& line : SurveyDescription::info(*survey)) {
        out_ << line << '\n';
    }
    return 0;
}

int SurveyOutputCommands::exportTo(const ExportOptions& o) {
    std::string problem;
    const std::optional<SurveyExport::Format> format = SurveyValues::formatFor(
        o.out, o.format, &SurveyExport::formatOf, SurveyExport::Format::Shapefile, problem);
    if (!format) {
        return SurveyCommand::usageError(err_, problem);
    }
    const std::optional<Survey> survey = edit_.open(o.survey);
    if (!survey) {
        return 1;
    }
    if (const int status =
            edit_.checkOut(OutputParts::of(o.out, *format), o.survey, survey->settings());
        status != 0) {
        return status;
    }
    SurveyEdit::tellStale(*survey, err_);
    SurveyExport::Options options;
    options.unflagged = o.unflagged;
    options.includeBase = o.includeBase;
    options.name = std::filesystem::path(o.survey).stem().string();
    std::string message;
    if (!SurveyExport::write(*survey, *format, o.out, options, message)) {
        err_ << message << '\n';
        return 1;
    }
    return 0;
}

int SurveyOutputCommands::grid(const GridOptions& o) {
    const std::optional<GridFile::Format> format =
        o.format.empty() ? GridFile::formatOf(o.out)
                         : std::optional<GridFile::Format>(kGridFormats.at(o.format));
    if (!format) {
        return SurveyCommand::usageError(
            err_, QuotedText::of(o.out) + ": the extension names no grid format; give --format");
    }
    GriddedSurvey gridded;
    if (const int status = gridded.make({o.survey, o.out, true, OutputParts::of(o.out, *format)},
                                        o.gridding, edit_, out_, err_);
        status != 0) {
        return status;
    }
    std::string message;
    if (!GridFile::write(gridded.result.gridded.grid, gridded.survey->coordinateSystem(), *format,
                         o.out, message)) {
        err_ << message << '\n';
        return 1;
    }
    return 0;
}

int SurveyOutputCommands::contours(const GridOptions& o) {
    std::string problem;
    const std::optional<ContourFile::Format> format = SurveyValues::formatFor(
        o.out, o.format, &ContourFile::formatOf, ContourFile::Format::Shapefile, problem);
    if (!format) {
        return SurveyCommand::usageError(err_, problem);
    }
    const std::optional<TransformedGridding::Asked> transform =
        o.transform.asked() ? o.transform.applied(0.0, problem) : std::nullopt;
    if (!problem.empty()) {
        return SurveyCommand::usageError(err_, problem);
    }
    GriddedSurvey gridded;
    if (const int status = gridded.make(
            {o.survey, o.out, true, OutputParts::of(o.out, *format), transform.has_value()},
            o.gridding, edit_, out_, err_);
        status != 0) {
        return status;
    }
    if (const int status = transform ? gridded.transform(*transform, out_, err_) : 0; status != 0) {
        return status;
    }
    std::string message;
    if (!ContourFile::write(gridded.result.contours, gridded.survey->coordinateSystem(), *format,
                            o.out, message)) {
        err_ << message << '\n';
        return 1;
    }
    return 0;
}

}  // namespace velkor
