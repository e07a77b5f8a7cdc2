// velkor2tr-cli plot base, map and profile.
#include "cli/PlotCommands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <map>
#include <ostream>
#include <vector>

#include "cli/CliTool.h"
#include "cli/CommandList.h"
#include "cli/OptionValues.h"
#include "cli/ToolUsage.h"
#include "core/ConsolePrompter.h"
#include "corrections/BaseDay.h"
#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "day/DayChain.h"
#include "pictures/BaseCurvePainter.h"
#include "pictures/GraphPainter.h"
#include "pictures/PictureWriter.h"
#include "pictures/PlanMap.h"
#include "pictures/PlanMapPainter.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

const std::map<std::string, PlanMap::By> kBy{{"field", PlanMap::By::Field},
                                             {"corrected", PlanMap::By::Corrected},
                                             {"gradient", PlanMap::By::Gradient}};

// The height of the pictures' text.
int textSize(int height) {
    return std::max(12, height / 45);
}

}  // namespace

PlotCommands::PlotCommands(std::ostream& out, std::ostream& err, PictureWriter* pictures)
    : CommandFamily(out, err), pictures_(pictures) {}

void PlotCommands::declare(CLI::App& tool, CommandList& commands) {
    CLI::App* plot = tool.add_subcommand(
        "plot", "draw a picture as a PNG file: the base-station curve, the map or the graph");
    plot->require_subcommand(1);
    declareBase(*plot, commands);
    declareMap(*plot, commands);
    declareProfile(*plot, commands);
}

void PlotCommands::declarePicture(CLI::App& command, const std::string& in, Picture& picture) {
    command.add_option(in, picture.in, in == "IN" ? "the data file" : "the variations file")
        ->required()
        ->type_name("");
    command.add_option("OUT.png", picture.out, "the picture")->required()->type_name("");
}

void PlotCommands::declareSize(CLI::App& command, Picture& picture) {
    command.add_option("--size", picture.size, "pixels, each from 200 to 10000 (default 900x560)")
        ->type_name("WxH");
}

void PlotCommands::declareBase(CLI::App& plot, CommandList& commands) {
    CLI::App* base = plot.add_subcommand(
        "base", "draw the base-station curve of one date with the survey's readings marked");
    declarePicture(*base, "VARIATIONS", base_.picture);
    base->add_option("--date", base_.date,
                     "the date drawn (default: the first date the survey IN has readings on, "
                     "else the first of the file)")
        ->type_name("DD.MM.YYYY");
    base->add_option("--survey", base_.survey, "the data file whose readings are marked")
        ->type_name("IN");
    declareSize(*base, base_.picture);
    commands.add(base, [this] { return this->base(base_); });
}

void PlotCommands::declareMap(CLI::App& plot, CommandList& commands) {
    CLI::App* map = plot.add_subcommand(
        "map", "draw the readings of IN in plan by line and position, to scale");
    declarePicture(*map, "IN", map_.picture);
    map_.corrections.declare(*map, true);
    map->add_option("--by", map_.by,
                    "the colour: the measured field (default), the corrected value (after "
                    "--variations or --geomag, corrected as export does) or the gradient")
        ->check(CLI::IsMember({"field", "corrected", "gradient"}))
        ->type_name("field|corrected|gradient");
    declareSize(*map, map_.picture);
    map->add_option("--line-spacing", map_.lineSpacing,
                    "metres between lines, 0.01 to 10000 (default 1)")
        ->type_name("M");
    map->add_option("--station-interval", map_.stationInterval,
                    "metres between positions along a line, 0.01 to 10000 (default 1)")
        ->type_name("M");
    commands.add(map, [this] { return this->map(map_); });
}

void PlotCommands::declareProfile(CLI::App& plot, CommandList& commands) {
    CLI::App* profile =
        plot.add_subcommand("profile", "draw the graph of IN as the window shows it first");
    declarePicture(*profile, "IN", profile_.picture);
    declareSize(*profile, profile_.picture);
    commands.add(profile, [this] { return this->profile(profile_); });
}

int PlotCommands::base(const BaseOptions& o) {
    Size size;
    if (const int status = pictureSize(o.picture, size); status != CliTool::kOk) {
        return status;
    }
    ConsolePrompter prompter(err_);
    VariationSet set;
    DataSet survey;
    if (!set.load(o.picture.in, prompter) ||
        (o.survey && !DataFile::load(*o.survey, survey, prompter))) {
        return CliTool::kFailed;
    }
    const DataSet* marked = o.survey ? &survey : nullptr;
    const std::vector<std::string> dates = BaseDay::dates(set);
    const std::string date = o.date ? *o.date : BaseDay::firstDate(set, marked);
    if (std::find(dates.begin(), dates.end(), date) == dates.end()) {
        prompter.message(dates.empty() ? std::string("The variations file holds no sample.")
                                       : "The variations file holds no sample of " + date + ".");
        return CliTool::kFailed;
    }
    const BaseDay day = BaseDay::of(set, date, marked);
    if (!write(o.picture.out, size, [&](DrawingSurface& s) {
            BaseCurvePainter::draw(s, day, size.width, size.height, textSize(size.height));
        })) {
        return CliTool::kFailed;
    }
    out_ << day.figures() << '\n';
    return CliTool::kOk;
}

int PlotCommands::map(const MapOptions& o) {
    const PlanMap::By by = kBy.at(o.by);
    if (by == PlanMap::By::Corrected && !o.corrections.corrects()) {
        return ToolUsage::error(err_);
    }
    DayCorrection::Request request;
    PlanMapGeometry::Scale scale;
    if (!o.corrections.read(o.picture.in, request, err_) ||
        !OptionValues::spacing(o.lineSpacing, "--line-spacing", scale.lineSpacing, err_) ||
        !OptionValues::spacing(o.stationInterval, "--station-interval", scale.stationInterval,
                               err_)) {
        return CliTool::kUsage;
    }
    Size size;
    if (const int status = pictureSize(o.picture, size); status != CliTool::kOk) {
        return status;
    }
    ConsolePrompter prompter(err_);
    DayChain chain(prompter);
    if (!DayCorrection::run(request, chain)) {
        return CliTool::kFailed;
    }
    const DataSet& data = chain.data();
    if (by == PlanMap::By::Corrected && !DayCorrection::corrected(data)) {
        prompter.message(DayCorrection::kNothingCorrected);
        return CliTool::kFailed;
    }
    return drawMap(o.picture, PlanMap::build(data, by), data, scale, size);
}

int PlotCommands::drawMap(const Picture& picture, const PlanMap& map, const DataSet& data,
                          const PlanMapGeometry::Scale& scale, Size size) {
    if (map.empty()) {
        ConsolePrompter(err_).message("No reading has a value to map; nothing was written.");
        return CliTool::kFailed;
    }
    std::string title = std::filesystem::path(picture.in).stem().string();
    if (data.readingCount() > 0) {
        title += "   " + std::string(data.field(1, Column::Date));
    }
    if (!write(picture.out, size, [&](DrawingSurface& s) {
            PlanMapPainter::draw(s, map, {map.bounds(), scale, PlanMapPainter::Style::Colours, {}},
                                 size.width, size.height, title, textSize(size.height));
        })) {
        return CliTool::kFailed;
    }
    out_ << map.cells().size() << " readings, " << formatText("%.1f", map.range().lo) << " to "
         << formatText("%.1f", map.range().hi) << " nT\n";
    return CliTool::kOk;
}

int PlotCommands::profile(const ProfileOptions& o) {
    Size size;
    if (const int status = pictureSize(o.picture, size); status != CliTool::kOk) {
        return status;
    }
    ConsolePrompter prompter(err_);
    DataSet data;
    if (!DataFile::load(o.picture.in, data, prompter)) {
        return CliTool::kFailed;
    }
    GraphPainter painter(data);
    return write(o.picture.out, size,
                 [&](DrawingSurface& s) {
                     painter.drawScreen(s, GraphWindow{size.width, size.height, 0, 0}, 1.0f);
                 })
               ? CliTool::kOk
               : CliTool::kFailed;
}

int PlotCommands::pictureSize(const Picture& picture, Size& size) {
    if (!OptionValues::size(picture.size, size.width, size.height, err_)) {
        return CliTool::kUsage;
    }
    if (pictures_ == nullptr) {
        err_ << "velkor2tr-cli: this build draws no pictures.\n";
        return CliTool::kFailed;
    }
    return CliTool::kOk;
}

bool PlotCommands::write(const std::string& path, Size size,
                         const std::function<void(DrawingSurface&)>& draw) {
    if (pictures_->writePng(path, size.width, size.height, draw)) {
        return true;
    }
    ConsolePrompter(err_).message(DataFile::kWriteError);
    return false;
}

}  // namespace velkor
