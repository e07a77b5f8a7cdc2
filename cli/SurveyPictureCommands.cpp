// velkor2tr-cli survey plot and plot-lines.
#include "cli/SurveyPictureCommands.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "cli/CommandList.h"
#include "cli/GriddedSurvey.h"
#include "cli/OptionValues.h"
#include "cli/SurveyCommand.h"
#include "cli/SurveyEdit.h"
#include "cli/SurveyValues.h"
#include "data/DataFile.h"
#include "pictures/LineProfilePainter.h"
#include "pictures/LineProfileSet.h"
#include "pictures/PictureWriter.h"
#include "pictures/SurveyPage.h"
#include "pictures/SurveyPicture.h"
#include "survey/SpikeFinder.h"
#include "text/QuotedText.h"

namespace velkor {
namespace {

const std::map<std::string, LineProfilePainter::Value> kProfileValues{
    {"field", LineProfilePainter::Value::Field},
    {"diurnal", LineProfilePainter::Value::Diurnal},
    {"anomaly", LineProfilePainter::Value::Anomaly},
    {"gradient", LineProfilePainter::Value::Gradient}};

}  // namespace

SurveyPictureCommands::SurveyPictureCommands(SurveyEdit& edit, std::ostream& out, std::ostream& err,
                                             PictureWriter* pictures)
    : SurveyFamily(edit, out, err), pictures_(pictures) {}

void SurveyPictureCommands::declare(CLI::App& app, CommandList& commands) {
    declarePlot(app, commands);
    declarePlotLines(app, commands);
}

void SurveyPictureCommands::declarePlot(CLI::App& app, CommandList& commands) {
    CLI::App* plot = addCommand(
        app, "plot", "draw the survey map: readings, colour grid, shaded relief and contours",
        plot_.survey);
    plot->add_option("OUT", plot_.out, "the picture (.png), or the printed page (.pdf)")
        ->required()
        ->type_name("");
    plot_.gridding.declare(*plot, true);
    plot->add_option("--show", plot_.show,
                     "the layers, any of readings, grid, shade and contours (default all)")
        ->type_name("readings,grid,shade,contours");
    plot->add_option("--size", plot_.size, "pixels (default 900x560)")->type_name("WxH");
    plot->add_flag("--standard-scale", plot_.standardScale,
                   "print the page at the next standard scale (1:1000, 1:1250, 1:2000, 1:2500, "
                   "1:5000, ...) down from the one that fills it");
    plot_.transform.declare(*plot, "--transform");
    commands.add(plot, [this] { return this->plot(plot_); });
}

void SurveyPictureCommands::declarePlotLines(CLI::App& app, CommandList& commands) {
    CLI::App* plotLines = addCommand(
        app, "plot-lines", "print the survey's line profiles to a PDF, a number of lines to a page",
        plotLines_.survey);
    plotLines->add_option("OUT", plotLines_.out, "the document (.pdf)")->required()->type_name("");
    plotLines
        ->add_option("--what", plotLines_.what, "the value drawn against position (default field)")
        ->check(CLI::IsMember({"field", "diurnal", "anomaly", "gradient"}))
        ->type_name("field|diurnal|anomaly|gradient");
    plotLines
        ->add_option("--lines-per-page", plotLines_.linesPerPage, "lines on each page (default 4)")
        ->check(CLI::Range(1, 20))
        ->type_name("N");
    commands.add(plotLines, [this] { return this->plotLines(plotLines_); });
}

int SurveyPictureCommands::plot(const PlotOptions& o) {
    const bool page = SurveyValues::endsIn(o.out, ".pdf");
    if (!page && !SurveyValues::endsIn(o.out, ".png")) {
        return SurveyCommand::usageError(
            err_, QuotedText::of(o.out) +
                      ": the map is drawn as PNG or printed as PDF; name a file ending in "
                      ".png or .pdf");
    }
    const std::optional<SurveyPicture::Layers> layers = SurveyPicture::layersOf(o.show);
    if (!layers) {
        return SurveyCommand::usageError(
            err_, "--show: give any of readings, grid, shade and contours, separated by commas");
    }
    int width = 0;
    int height = 0;
    if (!OptionValues::readSize(o.size, width, height)) {
        return SurveyCommand::usageError(err_, "--size: give WxH, each from 200 to 10000 pixels");
    }
    std::string problem;
    const std::optional<TransformedGridding::Asked> transform =
        o.transform.asked() ? o.transform.applied(0.0, problem) : std::nullopt;
    if (transform && !layers->gridded()) {
        problem = "--transform: show a layer of the grid (grid, shade or contours)";
    }
    if (!problem.empty()) {
        return SurveyCommand::usageError(err_, problem);
    }
    if (o.standardScale && !page) {
        return SurveyCommand::usageError(
            err_, "--standard-scale: only a printed page (.pdf) is drawn to a scale");
    }
    if (!drawsPictures()) {
        return 1;
    }
    GriddedSurvey gridded;
    if (const int status =
            gridded.make({o.survey, o.out, layers->gridded(), {}, transform.has_value()},
                         o.gridding, edit_, out_, err_);
        status != 0) {
        return status;
    }
    if (const int status = transform ? gridded.transform(*transform, out_, err_) : 0; status != 0) {
        return status;
    }
    if (page) {
        return printPage(gridded, *layers, o);
    }
    const auto draw = [&](DrawingSurface& surface) {
        SurveyPicture::draw(surface, width, height, *gridded.survey,
                            layers->gridded() ? &gridded.result : nullptr, *layers,
                            gridded.gridding.what, GridStretch::Choice());
    };
    if (!pictures_->writePng(o.out, width, height, draw)) {
        err_ << DataFile::kWriteError << '\n';
        return 1;
    }
    return 0;
}

int SurveyPictureCommands::printPage(const GriddedSurvey& gridded, SurveyPicture::Layers layers,
                                     const PlotOptions& o) {
    // The page the survey window prints: its title block, the map turned to fit.
    const SurveyMapPainter readings = SurveyMapPainter::build(*gridded.survey);
    std::optional<GridLayerPainter> grid;
    if (layers.gridded()) {
        grid.emplace(gridded.result, GridStretch::Choice());
    }
    // Named as the window names it: the survey file's name up to its first dot.
    const std::string file = std::filesystem::path(o.survey).filename().string();
    const SurveyPage::Map map{&*gridded.survey, file.substr(0, file.find('.')),
                              &readings,        grid ? &*grid : nullptr,
                              layers,           SurveyPicture::valueOf(gridded.gridding.what),
                              o.standardScale};
    const auto drawPage = [&map](DrawingSurface& surface, int width, int height, int) {
        SurveyPage::draw(surface, width, height, PictureWriter::kPdfDotsPerInch, map);
    };
    const bool written = SurveyPage::landscape(map)
                             ? pictures_->writeLandscapePdf(o.out, 1, drawPage)
                             : pictures_->writePdf(o.out, 1, drawPage);
    if (!written) {
        err_ << DataFile::kWriteError << '\n';
        return 1;
    }
    return 0;
}

int SurveyPictureCommands::plotLines(const PlotLinesOptions& o) {
    if (!SurveyValues::endsIn(o.out, ".pdf")) {
        return SurveyCommand::usageError(
            err_, QuotedText::of(o.out) +
                      ": the line profiles are written as PDF; name a file ending in .pdf");
    }
    if (!drawsPictures()) {
        return 1;
    }
    const std::optional<Survey> survey = edit_.open(o.survey);
    if (!survey) {
        return 1;
    }
    if (const int status = edit_.checkOut(o.out, o.survey, survey->settings()); status != 0) {
        return status;
    }
    SurveyEdit::tellStale(*survey, err_);
    return printLines(*survey, o);
}

int SurveyPictureCommands::printLines(const Survey& survey, const PlotLinesOptions& o) {
    // As the profiles window prints them: each line in its own picture, the spike finder's
    // candidates marked.
    LineProfilePainter shown(std::make_shared<LineProfileSet>(LineProfileSet::build(survey)));
    shown.setValue(kProfileValues.at(o.what));
    std::vector<int> candidates;
    for (const SpikeFinder::Candidate& c :
         SpikeFinder::find(SpikeFinder::readingsOf(survey), SpikeFinder::Options())) {
        candidates.push_back(c.index);
    }
    shown.setCandidates(std::move(candidates));
    const int pages = LineProfilePages::pageCount(shown.set().lineCount(), o.linesPerPage);
    if (pages == 0) {
        err_ << LineProfilePainter::kNoLine << '\n';
        return 1;
    }
    const std::string title = "Survey " + std::filesystem::path(o.survey).filename().string();
    const auto drawPage = [&](DrawingSurface& surface, int width, int height, int page) {
        LineProfilePages::drawPage(surface, shown, false, title, o.linesPerPage, width, height,
                                   page);
    };
    if (!pictures_->writePdf(o.out, pages, drawPage)) {
        err_ << DataFile::kWriteError << '\n';
        return 1;
    }
    out_ << pages << (pages == 1 ? " page\n" : " pages\n");
    return 0;
}

bool SurveyPictureCommands::drawsPictures() {
    if (pictures_ == nullptr) {
        err_ << "velkor2tr-cli: this build draws no pictures.\n";
        return false;
    }
    return true;
}

}  // namespace velkor
