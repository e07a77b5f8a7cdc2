// velkor2tr-cli igrf.
#include "cli/IgrfCommand.h"

#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>

#include "cli/CliTool.h"
#include "cli/CommandList.h"
#include "corrections/DecimalYear.h"
#include "corrections/GeomagneticModel.h"
#include "corrections/PlaceEntry.h"

namespace velkor {

void IgrfCommand::declare(CLI::App& tool, CommandList& commands) {
    CLI::App* igrf = tool.add_subcommand(
        "igrf", "print the field of the model IGRF-14 as X Y Z H F (nT) D I (degrees)");
    igrf->add_option("LAT", options_.latitude,
                     "decimal degrees, signed or with N or S (55.75N, -70.5)")
        ->required()
        ->type_name("");
    igrf->add_option("LON", options_.longitude, "decimal degrees, signed or with E or W")
        ->required()
        ->type_name("");
    igrf->add_option("HEIGHT_M", options_.height, "metres above the ellipsoid")
        ->required()
        ->type_name("");
    igrf->add_option("DATE", options_.date, "YYYY-MM-DD or a decimal year from 1900.0 to 2030.0")
        ->required()
        ->type_name("");
    commands.add(igrf, [this] { return run(options_); });
}

int IgrfCommand::run(const Options& o) {
    const PlaceEntry::Result entry = PlaceEntry::read(o.latitude, o.longitude, o.height);
    const std::optional<double> year = DecimalYear::read(o.date);
    if (!entry.ok || !year) {
        err_ << "velkor2tr-cli: igrf: "
             << (entry.ok ? "Enter the date as YYYY-MM-DD or as a decimal year." : entry.message)
             << '\n';
        return CliTool::kUsage;
    }
    const GeomagneticModel::Result r = GeomagneticModel::compute(entry.place, *year);
    if (!r.ok) {
        err_ << r.message << '\n';
        return CliTool::kFailed;
    }
    out_ << GeomagneticModel::describe(r.field) << '\n';
    return CliTool::kOk;
}

}  // namespace velkor
