// The correction options of the commands before survey.
#include "cli/CorrectionOptions.h"

#include <CLI/CLI.hpp>
#include <ostream>
#include <vector>

#include "cli/OptionValues.h"
#include "corrections/PlaceEntry.h"
#include "corrections/ValueEntry.h"

namespace velkor {
namespace {

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

}  // namespace

void CorrectionOptions::declare(CLI::App& command, bool basisNeedsVariations) {
    CLI::Option* set =
        command.add_option("--variations", variations, "run the temporal correction first")
            ->type_name("FILE");
    CLI::Option* basisOption =
        command.add_option("--basis", basis, "its basis, 0 to 99000 (default 0)")->type_name("NT");
    if (basisNeedsVariations) {
        basisOption->needs(set);
    }
    command
        .add_option("--geomag", geomag,
                    "the geomagnetic field, 0 to 90000, or F of the field model IGRF-14 at the "
                    "place on the day of the first reading")
        ->type_name("NT|igrf:LAT,LON[,HEIGHT_M]");
}

bool CorrectionOptions::read(const std::string& path, DayCorrection::Request& request,
                             std::ostream& err) const {
    request.path = path;
    request.variations = variations;
    return readGeomag(request.geomag, err) &&
           OptionValues::value(basis, "--basis", ValueEntry::kBasisMax, request.basis, err);
}

bool CorrectionOptions::readGeomag(DayCorrection::Geomag& read, std::ostream& err) const {
    if (!geomag) {
        return true;
    }
    read.given = true;
    read.fromModel = geomag->rfind(kIgrfPrefix, 0) == 0;
    if (!read.fromModel) {
        return OptionValues::value(geomag, "--geomag", ValueEntry::kGeomagneticMax, read.value,
                                   err);
    }
    const PlaceEntry::Result site = readIgrfPlace(geomag->substr(std::string(kIgrfPrefix).size()));
    if (!site.ok) {
        err << "velkor2tr-cli: --geomag: " << site.message << '\n';
        return false;
    }
    read.place = site.place;
    return true;
}

}  // namespace velkor
