// Command dispatch and the commands of velkor2tr-cli.
#include "cli/CliTool.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/ReadingRanges.h"
#include "cli/SurveyCommand.h"
#include "core/ConsolePrompter.h"
#include "corrections/BaseDay.h"
#include "corrections/CorrectionSummary.h"
#include "corrections/DecimalYear.h"
#include "corrections/GeomagneticModel.h"
#include "corrections/PlaceEntry.h"
#include "corrections/TemporalCorrection.h"
#include "corrections/ValueEntry.h"
#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "data/NumberReading.h"
#include "data/TextFormat.h"
#include "export/ExportFile.h"
#include "pictures/BaseCurvePainter.h"
#include "pictures/GraphPainter.h"
#include "pictures/PictureWriter.h"
#include "pictures/PlanMap.h"
#include "pictures/PlanMapPainter.h"
#include "transfer/CFTD2XX.h"
#include "transfer/Importer.h"
#include "transfer/UsbLinkChooser.h"

namespace velkor {
namespace {

constexpr const char* kUsageText =
    "usage: velkor2tr-cli COMMAND ...\n"
    "\n"
    "commands:\n"
    "  info FILE       show the line count, the column layout, the readings by mode,\n"
    "                  the first and last date and time, and the ranges of line\n"
    "                  numbers, positions and fields of the readings but 'A'\n"
    "  copy IN OUT     load the data file IN and write it to OUT as Save As does\n"
    "  export field|gradient|auto|corrected IN OUT [--variations FILE] [--basis NT]\n"
    "                  [--geomag NT|igrf:LAT,LON[,HEIGHT_M]]\n"
    "                  write an export file of the data file IN; --variations runs the\n"
    "                  temporal correction with the basis (0 to 99000, default 0),\n"
    "                  --geomag sets the geomagnetic field (0 to 90000), or takes F of\n"
    "                  the field model IGRF-14 at the place on the day of the first\n"
    "                  reading; corrected needs --geomag or a reading the variations\n"
    "                  correct\n"
    "  summary IN [--variations FILE] [--basis NT]\n"
    "                  [--geomag NT|igrf:LAT,LON[,HEIGHT_M]]\n"
    "                  correct as export does and print how many readings the corrected\n"
    "                  export writes, how many it leaves out and why, one per line\n"
    "  plot base VARIATIONS OUT.png [--date DD.MM.YYYY] [--survey IN] [--size WxH]\n"
    "                  draw the base-station curve of one date (default: the first\n"
    "                  date the survey IN has readings on, else the first of the file)\n"
    "                  with the survey's readings marked; size default 900x560\n"
    "  plot map IN OUT.png [--variations FILE] [--basis NT]\n"
    "                  [--geomag NT|igrf:LAT,LON[,HEIGHT_M]]\n"
    "                  [--by field|corrected|gradient] [--size WxH]\n"
    "                  [--line-spacing M] [--station-interval M]\n"
    "                  draw the readings of IN in plan by line and position, coloured\n"
    "                  by the measured field (default), the corrected value (after\n"
    "                  --variations or --geomag, corrected as export does) or the\n"
    "                  gradient; to scale, with lines M metres apart and positions M\n"
    "                  metres apart along them (0.01 to 10000, default 1 each); size\n"
    "                  default 900x560\n"
    "  plot profile IN OUT.png [--size WxH]\n"
    "                  draw the graph of IN as the window shows it first; size default\n"
    "                  900x560\n"
    "  devices         list the attached magnetometers: index, serial number, description\n"
    "  import OUT [--device N]\n"
    "                  download the readings of magnetometer N (default 0) and write\n"
    "                  them to the data file OUT\n"
    "  igrf LAT LON HEIGHT_M DATE\n"
    "                  print the field of the model IGRF-14 as X Y Z H F (nT) D I\n"
    "                  (degrees); LAT and LON in decimal degrees, signed or with N/S\n"
    "                  and E/W (55.75N, -70.5), HEIGHT_M above the ellipsoid, DATE as\n"
    "                  YYYY-MM-DD or a decimal year from 1900.0 to 2030.0\n"
    "  survey new|add|base|place|set|info|export SURVEY ...\n"
    "                  build a survey of many data files with its base sources, place\n"
    "                  its readings on the map, correct them and export them;\n"
    "                  velkor2tr-cli survey --help lists the commands and their options\n"
    "  --help          show this text\n"
    "\n"
    "The USB link is the library VELKOR2TR_D2XX names, else libftd2xx.so where it is\n"
    "installed, else the kernel's FTDI serial driver (/dev/ttyUSBn).\n"
    "\n"
    "Exit status: 0 success, 1 failure (the program's message is the last line on\n"
    "stderr), 2 usage error.\n";

constexpr const char* kNothingCorrected =
    "No reading was corrected from the variations file, so there are no corrected values "
    "to export; nothing was written.";

constexpr const char* kIgrfPrefix = "igrf:";

// "LAT,LON[,HEIGHT_M]", the height 0 when it is left out.
PlaceEntry::Result readIgrfPlace(const std::string& text) {
    std::vector<std::string> parts{std::string()};
    for (const char c : text) {
        if (c == ',') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    if (parts.size() < 2 || parts.size() > 3) {
        return {false, {}, "Give the place as igrf:LAT,LON or igrf:LAT,LON,HEIGHT_M."};
    }
    return PlaceEntry::read(parts[0], parts[1], parts.size() == 3 ? parts[2] : "0");
}

// F of the field model at the place on the day of the first reading, to 0.1 nT.
std::optional<float> firstDayField(const DataSet& data, const GeomagneticModel::Place& place,
                                   Prompter& prompter) {
    const auto date =
        data.readingCount() > 0 ? DecimalYear::readDate(data.field(1, Column::Date)) : std::nullopt;
    if (!date) {
        prompter.message(
            "The first reading has no date the field model can use, so there is no "
            "geomagnetic field value; nothing was written.");
        return std::nullopt;
    }
    const GeomagneticModel::Result r = GeomagneticModel::compute(place, DecimalYear::of(*date));
    if (!r.ok) {
        prompter.message(r.message);
        return std::nullopt;
    }
    return GeomagneticModel::roundedIntensity(r.field);
}

const char* layoutName(ColumnLayout::Kind kind) {
    switch (kind) {
        case ColumnLayout::Kind::Comma:
            return "comma";
        case ColumnLayout::Kind::Blank:
            return "blank";
        case ColumnLayout::Kind::None:
            break;
    }
    return "none";
}

// Loads the data file and, when one is named, the variations file, and runs the temporal
// correction with the basis: what the window does after Open Data, Open Variations, Ctrl+T.
bool loadCorrected(const std::string& path, const std::string* variationsPath, float basis,
                   DataSet& data, VariationSet& set, Prompter& prompter) {
    if (!DataFile::load(path, data, prompter) ||
        (variationsPath != nullptr && !set.load(*variationsPath, prompter))) {
        return false;
    }
    if (variationsPath != nullptr) {
        data.basis = basis;
        TemporalCorrection::run(data, set, prompter);
    }
    return true;
}
}  // namespace

struct CliTool::Geomag {
    bool given = false;
    bool fromModel = false;
    GeomagneticModel::Place place{};
    float value = 0.0f;
};

CliTool::CliTool(std::ostream& out, std::ostream& err, PictureWriter* pictures)
    : out_(out), err_(err), pictures_(pictures) {}

int CliTool::run(const std::vector<std::string>& args) {
    if (args.empty()) {
        return usage(kUsage);
    }
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        return usage(kOk);
    }
    if (command == "info") {
        return info(rest);
    }
    if (command == "copy") {
        return copy(rest);
    }
    if (command == "export") {
        return exportFile(rest);
    }
    if (command == "devices") {
        return devices(rest);
    }
    if (command == "import") {
        return importData(rest);
    }
    if (command == "igrf") {
        return igrf(rest);
    }
    if (command == "summary") {
        return summary(rest);
    }
    if (command == "plot") {
        return plot(rest);
    }
    if (command == "survey") {
        return SurveyCommand(out_, err_, pictures_).run(rest);
    }
    err_ << "velkor2tr-cli: unknown command '" << command << "'\n";
    return usage(kUsage);
}

bool CliTool::readSize(const std::string& text, int& width, int& height) {
    const std::size_t by = text.find('x');
    if (by == std::string::npos) {
        return false;
    }
    const std::string w = text.substr(0, by);
    const std::string h = text.substr(by + 1);
    width = readInteger(w);
    height = readInteger(h);
    return std::to_string(width) == w && std::to_string(height) == h && width >= 200 &&
           height >= 200 && width <= 10000 && height <= 10000;
}

int CliTool::usage(int status) {
    (status == kOk ? out_ : err_) << kUsageText;
    return status;
}

int CliTool::info(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return usage(kUsage);
    }
    ConsolePrompter prompter(err_);
    DataSet data;
    if (!DataFile::load(args[0], data, prompter)) {
        return kFailed;
    }
    std::map<char, int> byMode{{'S', 0}, {'A', 0}, {'G', 0}};
    int other = 0;
    for (int k = 1; k < data.lineCount(); ++k) {
        const char m = data.mode(k);
        if (m == 'S' || m == 'A' || m == 'G') {
            ++byMode[m];
        } else {
            ++other;
        }
    }
    out_ << "lines: " << data.lineCount() << '\n';
    out_ << "layout: " << layoutName(data.layout().kind()) << '\n';
    for (char m : {'S', 'A', 'G'}) {
        out_ << m << ": " << byMode[m] << '\n';
    }
    if (other > 0) {
        out_ << "other: " << other << '\n';
    }
    for (const std::string& line : ReadingRanges::of(data).lines()) {
        out_ << line << '\n';
    }
    return kOk;
}

int CliTool::copy(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return usage(kUsage);
    }
    ConsolePrompter prompter(err_);
    DataSet data;
    if (!DataFile::load(args[0], data, prompter) || !DataFile::write(args[1], data, prompter)) {
        return kFailed;
    }
    return kOk;
}

int CliTool::exportFile(const std::vector<std::string>& args) {
    static const std::map<std::string, ExportFile::Kind> kinds{
        {"field", ExportFile::Kind::Field},
        {"gradient", ExportFile::Kind::Gradient},
        {"auto", ExportFile::Kind::Auto},
        {"corrected", ExportFile::Kind::Corrected}};
    if (args.size() < 3 || kinds.count(args[0]) == 0) {
        return usage(kUsage);
    }
    std::map<std::string, std::string> options;
    if (!readOptions(args, 3, {"--variations", "--basis", "--geomag"}, options)) {
        return usage(kUsage);
    }
    const ExportFile::Kind kind = kinds.at(args[0]);
    const bool variations = options.count("--variations") != 0;
    const bool geomag = options.count("--geomag") != 0;
    if ((kind == ExportFile::Kind::Corrected && !variations && !geomag) ||
        (options.count("--basis") != 0 && !variations)) {
        return usage(kUsage);
    }
    float basis = 0.0f;
    Geomag geomagOption;
    if (!readGeomag(options, geomagOption) ||
        !checkedValue(options, "--basis", TemporalCorrection::kBasisMax, basis)) {
        return kUsage;
    }

    ConsolePrompter prompter(err_);
    DataSet data;
    VariationSet set;
    if (!loadCorrected(args[1], variations ? &options["--variations"] : nullptr, basis, data, set,
                       prompter)) {
        return kFailed;
    }
    if (!applyGeomag(geomagOption, data, prompter)) {
        return kFailed;
    }
    if (kind == ExportFile::Kind::Corrected && !data.temporalDone && !data.geomagDone) {
        // The window offers this export only after a correction; without one the
        // measured fields would pass for corrected values.
        prompter.message(kNothingCorrected);
        return kFailed;
    }
    return ExportFile::write(kind, args[2], data, prompter) ? kOk : kFailed;
}

namespace {

// The USB link as the window would choose it; null, with a message, when it cannot be
// used.
std::unique_ptr<UsbLink> usbLink(Prompter& prompter) {
    std::unique_ptr<UsbLink> usb = UsbLinkChooser::choose(prompter);
    if (!usb->usable()) {
        prompter.message("The USB library " + CFTD2XX::libraryName() + " cannot be used.");
        return nullptr;
    }
    return usb;
}

}  // namespace

int CliTool::devices(const std::vector<std::string>& args) {
    if (!args.empty()) {
        return usage(kUsage);
    }
    ConsolePrompter prompter(err_);
    const std::unique_ptr<UsbLink> usb = usbLink(prompter);
    if (!usb) {
        return kFailed;
    }
    err_ << "USB link: " << usb->linkName() << '\n';
    if (usb->filterDeviceList(UsbLink::kMagnetometer) != FT_OK) {
        return kFailed;
    }
    for (DWORD i = 0; i < usb->deviceCount(); ++i) {
        const FT_DEVICE_LIST_INFO_NODE* d = usb->deviceRecord(i);
        out_ << i << '\t' << formatText("%.16s", d->SerialNumber) << '\t'
             << formatText("%.64s", d->Description) << '\n';
    }
    return kOk;
}

int CliTool::importData(const std::vector<std::string>& args) {
    std::uint32_t device = 0;
    if (args.size() == 3 && args[1] == "--device") {
        const int n = readInteger(args[2]);
        if (n < 0 || std::to_string(n) != args[2]) {
            return usage(kUsage);
        }
        device = static_cast<std::uint32_t>(n);
    } else if (args.size() != 1) {
        return usage(kUsage);
    }
    ConsolePrompter prompter(err_);
    const std::unique_ptr<UsbLink> usb = usbLink(prompter);
    DataSet data;
    if (!usb) {
        return kFailed;
    }
    Importer importer(*usb, prompter);
    if (!importer.run(data, device) || !DataFile::write(args[0], data, prompter)) {
        return kFailed;
    }
    if (!importer.notice().empty()) {
        prompter.message(importer.notice());
    }
    return kOk;
}

int CliTool::igrf(const std::vector<std::string>& args) {
    if (args.size() != 4) {
        return usage(kUsage);
    }
    const PlaceEntry::Result entry = PlaceEntry::read(args[0], args[1], args[2]);
    const std::optional<double> year = DecimalYear::read(args[3]);
    if (!entry.ok || !year) {
        err_ << "velkor2tr-cli: igrf: "
             << (entry.ok ? "Enter the date as YYYY-MM-DD or as a decimal year." : entry.message)
             << '\n';
        return kUsage;
    }
    const GeomagneticModel::Result r = GeomagneticModel::compute(entry.place, *year);
    if (!r.ok) {
        err_ << r.message << '\n';
        return kFailed;
    }
    out_ << GeomagneticModel::describe(r.field) << '\n';
    return kOk;
}

int CliTool::summary(const std::vector<std::string>& args) {
    if (args.empty()) {
        return usage(kUsage);
    }
    std::map<std::string, std::string> options;
    if (!readOptions(args, 1, {"--variations", "--basis", "--geomag"}, options)) {
        return usage(kUsage);
    }
    const bool variations = options.count("--variations") != 0;
    float basis = 0.0f;
    Geomag geomag;
    if ((options.count("--basis") != 0 && !variations) || !readGeomag(options, geomag) ||
        !checkedValue(options, "--basis", TemporalCorrection::kBasisMax, basis)) {
        return kUsage;
    }
    ConsolePrompter prompter(err_);
    DataSet data;
    VariationSet set;
    if (!loadCorrected(args[0], variations ? &options["--variations"] : nullptr, basis, data, set,
                       prompter)) {
        return kFailed;
    }
    if (!applyGeomag(geomag, data, prompter)) {
        return kFailed;
    }
    const CorrectionSummary s =
        CorrectionSummary::of(data, set, CorrectionSummary::Counted::Export);
    out_ << "readings: " << s.readings << '\n'
         << "corrected: " << s.corrected << '\n'
         << "uncorrected: " << s.uncorrected() << '\n'
         << "skipped-auto: " << s.skippedAuto << '\n';
    for (int r = 0; r < CorrectionSummary::kReasons; ++r) {
        const auto reason = static_cast<CorrectionSummary::Reason>(r);
        out_ << "reason " << CorrectionSummary::name(reason) << ": " << s.count(reason) << '\n';
    }
    return kOk;
}

namespace {

// A distance of the map's scale given as option `name`, when given.
bool readSpacing(const std::map<std::string, std::string>& options, const std::string& name,
                 std::ostream& err, double& metres) {
    const auto it = options.find(name);
    if (it == options.end()) {
        return true;
    }
    const PlanMapGeometry::SpacingEntry e = PlanMapGeometry::readSpacing(it->second);
    if (!e.ok) {
        err << "velkor2tr-cli: " << name << ": " << e.message << '\n';
        return false;
    }
    metres = e.metres;
    return true;
}

// "WxH" with both from 200 to 10000.

}  // namespace

bool CliTool::readOptions(const std::vector<std::string>& args, std::size_t first,
                          const std::vector<std::string>& allowed,
                          std::map<std::string, std::string>& options) {
    for (std::size_t i = first; i < args.size(); i += 2) {
        const std::string& name = args[i];
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end() ||
            i + 1 >= args.size() || options.count(name) != 0) {
            return false;
        }
        options[name] = args[i + 1];
    }
    return true;
}

int CliTool::pictureSize(const std::map<std::string, std::string>& options, int& width,
                         int& height) {
    const auto size = options.find("--size");
    if (size != options.end() && !readSize(size->second, width, height)) {
        err_ << "velkor2tr-cli: --size: give WxH, each from 200 to 10000 pixels.\n";
        return kUsage;
    }
    if (pictures_ == nullptr) {
        err_ << "velkor2tr-cli: this build draws no pictures.\n";
        return kFailed;
    }
    return kOk;
}

bool CliTool::writePicture(const std::string& path, int width, int height,
                           const std::function<void(DrawingSurface&)>& draw) {
    if (pictures_->writePng(path, width, height, draw)) {
        return true;
    }
    ConsolePrompter(err_).message(DataFile::kWriteError);
    return false;
}

int CliTool::plot(const std::vector<std::string>& args) {
    if (args.size() < 3) {
        return usage(kUsage);
    }
    if (args[0] == "base") {
        return plotBase(args);
    }
    if (args[0] == "map") {
        return plotMap(args);
    }
    if (args[0] == "profile") {
        return plotProfile(args);
    }
    return usage(kUsage);
}

int CliTool::plotBase(const std::vector<std::string>& args) {
    std::map<std::string, std::string> options;
    if (!readOptions(args, 3, {"--date", "--survey", "--size"}, options)) {
        return usage(kUsage);
    }
    int width = 900;
    int height = 560;
    if (const int status = pictureSize(options, width, height); status != kOk) {
        return status;
    }
    ConsolePrompter prompter(err_);
    VariationSet set;
    DataSet survey;
    const bool withSurvey = options.count("--survey") != 0;
    if (!set.load(args[1], prompter) ||
        (withSurvey && !DataFile::load(options["--survey"], survey, prompter))) {
        return kFailed;
    }
    const std::vector<std::string> dates = BaseDay::dates(set);
    const std::string date = options.count("--date") != 0
                                 ? options["--date"]
                                 : BaseDay::firstDate(set, withSurvey ? &survey : nullptr);
    if (std::find(dates.begin(), dates.end(), date) == dates.end()) {
        prompter.message(dates.empty() ? std::string("The variations file holds no sample.")
                                       : "The variations file holds no sample of " + date + ".");
        return kFailed;
    }
    const BaseDay day = BaseDay::of(set, date, withSurvey ? &survey : nullptr);
    if (!writePicture(args[2], width, height, [&](DrawingSurface& s) {
            BaseCurvePainter::draw(s, day, width, height, std::max(12, height / 45));
        })) {
        return kFailed;
    }
    out_ << day.figures() << '\n';
    return kOk;
}

int CliTool::plotMap(const std::vector<std::string>& args) {
    static const std::map<std::string, PlanMap::By> kinds{{"field", PlanMap::By::Field},
                                                          {"corrected", PlanMap::By::Corrected},
                                                          {"gradient", PlanMap::By::Gradient}};
    std::map<std::string, std::string> options;
    if (!readOptions(args, 3,
                     {"--variations", "--basis", "--geomag", "--by", "--size", "--line-spacing",
                      "--station-interval"},
                     options) ||
        (options.count("--by") != 0 && kinds.count(options["--by"]) == 0)) {
        return usage(kUsage);
    }
    const PlanMap::By by =
        options.count("--by") != 0 ? kinds.at(options["--by"]) : PlanMap::By::Field;
    const bool variations = options.count("--variations") != 0;
    const bool geomag = options.count("--geomag") != 0;
    if ((by == PlanMap::By::Corrected && !variations && !geomag) ||
        (options.count("--basis") != 0 && !variations)) {
        return usage(kUsage);
    }
    float basis = 0.0f;
    Geomag geomagOption;
    if (!readGeomag(options, geomagOption) ||
        !checkedValue(options, "--basis", TemporalCorrection::kBasisMax, basis)) {
        return kUsage;
    }
    PlanMapGeometry::Scale scale;
    if (!readSpacing(options, "--line-spacing", err_, scale.lineSpacing) ||
        !readSpacing(options, "--station-interval", err_, scale.stationInterval)) {
        return kUsage;
    }
    int width = 900;
    int height = 560;
    if (const int status = pictureSize(options, width, height); status != kOk) {
        return status;
    }
    ConsolePrompter prompter(err_);
    DataSet data;
    VariationSet set;
    if (!loadCorrected(args[1], variations ? &options["--variations"] : nullptr, basis, data, set,
                       prompter)) {
        return kFailed;
    }
    if (!applyGeomag(geomagOption, data, prompter)) {
        return kFailed;
    }
    if (by == PlanMap::By::Corrected && !data.temporalDone && !data.geomagDone) {
        prompter.message(kNothingCorrected);
        return kFailed;
    }
    const PlanMap map = PlanMap::build(data, by);
    if (map.empty()) {
        prompter.message("No reading has a value to map; nothing was written.");
        return kFailed;
    }
    std::string title = std::filesystem::path(args[1]).stem().string();
    if (data.readingCount() > 0) {
        title += "   " + std::string(data.field(1, Column::Date));
    }
    if (!writePicture(args[2], width, height, [&](DrawingSurface& s) {
            PlanMapPainter::draw(s, map, {map.bounds(), scale, PlanMapPainter::Style::Colours, {}},
                                 width, height, title, std::max(12, height / 45));
        })) {
        return kFailed;
    }
    out_ << map.cells().size() << " readings, " << formatText("%.1f", map.range().lo) << " to "
         << formatText("%.1f", map.range().hi) << " nT\n";
    return kOk;
}

int CliTool::plotProfile(const std::vector<std::string>& args) {
    std::map<std::string, std::string> options;
    if (!readOptions(args, 3, {"--size"}, options)) {
        return usage(kUsage);
    }
    int width = 900;
    int height = 560;
    if (const int status = pictureSize(options, width, height); status != kOk) {
        return status;
    }
    ConsolePrompter prompter(err_);
    DataSet data;
    if (!DataFile::load(args[1], data, prompter)) {
        return kFailed;
    }
    GraphPainter painter(data);
    return writePicture(args[2], width, height,
                        [&](DrawingSurface& s) {
                            painter.drawScreen(s, GraphWindow{width, height, 0, 0}, 1.0f);
                        })
               ? kOk
               : kFailed;
}

bool CliTool::checkedValue(const std::map<std::string, std::string>& options,
                           const std::string& name, float maximum, float& value) {
    const auto it = options.find(name);
    if (it == options.end()) {
        return true;
    }
    const ValueEntry::Result r = ValueEntry::check(it->second, 0.0f, maximum);
    if (!r.ok) {
        err_ << "velkor2tr-cli: " << name << ": " << r.message << '\n';
        return false;
    }
    value = r.value;
    return true;
}

bool CliTool::readGeomag(const std::map<std::string, std::string>& options, Geomag& geomag) {
    const auto it = options.find("--geomag");
    if (it == options.end()) {
        return true;
    }
    geomag.given = true;
    geomag.fromModel = it->second.rfind(kIgrfPrefix, 0) == 0;
    if (!geomag.fromModel) {
        return checkedValue(options, "--geomag", 90000.0f, geomag.value);
    }
    const PlaceEntry::Result site =
        readIgrfPlace(it->second.substr(std::string(kIgrfPrefix).size()));
    if (!site.ok) {
        err_ << "velkor2tr-cli: --geomag: " << site.message << '\n';
        return false;
    }
    geomag.place = site.place;
    return true;
}

bool CliTool::applyGeomag(const Geomag& geomag, DataSet& data, Prompter& prompter) {
    if (!geomag.given) {
        return true;
    }
    float value = geomag.value;
    if (geomag.fromModel) {
        const std::optional<float> f = firstDayField(data, geomag.place, prompter);
        if (!f) {
            return false;
        }
        value = *f;
    }
    data.geomag = value;
    data.geomagDone = true;
    return true;
}

}  // namespace velkor
