// Comparison of survey settings, the names their choices are written by, and the files they own.
#include "survey/SurveySettings.h"

#include "survey/SameFile.h"
#include "text/QuotedText.h"

namespace velkor {

bool SurveySettings::BaseSource::operator==(const BaseSource& o) const {
    return path == o.path && offset == o.offset && format == o.format && columns == o.columns;
}

const char* SurveySettings::BaseSource::name(Format format) {
    switch (format) {
        case Format::Velkor:
            break;
        case Format::Iaga2002:
            return "iaga2002";
        case Format::Csv:
            return "csv";
        case Format::Auto:
            return "auto";
        case Format::Survey:
            return "survey";
    }
    return "velkor";
}

std::optional<SurveySettings::BaseSource::Format> SurveySettings::BaseSource::named(
    std::string_view name) {
    for (Format f : {Format::Velkor, Format::Iaga2002, Format::Csv, Format::Auto, Format::Survey}) {
        if (name == SurveySettings::BaseSource::name(f)) {
            return f;
        }
    }
    return std::nullopt;
}

bool SurveySettings::Track::operator==(const Track& o) const {
    return path == o.path && format == o.format && offset == o.offset && columns == o.columns;
}

const char* SurveySettings::Track::name(Format format) {
    return format == Format::Nmea ? "nmea" : format == Format::Csv ? "csv" : "gpx";
}

std::optional<SurveySettings::Track::Format> SurveySettings::Track::named(std::string_view name) {
    for (Format f : {Format::Gpx, Format::Nmea, Format::Csv}) {
        if (name == Track::name(f)) {
            return f;
        }
    }
    return std::nullopt;
}

bool SurveySettings::NormalField::operator==(const NormalField& o) const {
    return kind == o.kind && value == o.value && height == o.height;
}

bool SurveySettings::Flag::operator==(const Flag& o) const {
    return file == o.file && reading == o.reading && text == o.text && word == o.word;
}

namespace {

constexpr const char* kWhatNames[SurveySettings::Gridding::kWhats] = {"anomaly", "diurnal", "field",
                                                                      "gradient"};

}  // namespace

bool SurveySettings::Gridding::operator==(const Gridding& o) const {
    return what == o.what && cell == o.cell && tension == o.tension &&
           blankDistance == o.blankDistance && interval == o.interval && regional == o.regional;
}

GriddingOptions SurveySettings::Gridding::options() const {
    GriddingOptions o;
    o.cell = cell;
    o.tension = tension;
    o.blankDistance = blankDistance;
    return o;
}

const char* SurveySettings::Gridding::name(What what) {
    return kWhatNames[static_cast<int>(what)];
}

std::optional<SurveySettings::Gridding::What> SurveySettings::Gridding::named(
    std::string_view name) {
    for (int k = 0; k < kWhats; ++k) {
        if (name == kWhatNames[k]) {
            return static_cast<What>(k);
        }
    }
    return std::nullopt;
}

bool SurveySettings::Levelling::operator==(const Levelling& o) const {
    return days == o.days && fixDay == o.fixDay && directions == o.directions && lines == o.lines &&
           threshold == o.threshold && destagger == o.destagger &&
           (destagger != Destagger::Given || stagger == o.stagger);
}

bool SurveySettings::operator==(const SurveySettings& o) const {
    return days == o.days && baseSources == o.baseSources && tracks == o.tracks && epsg == o.epsg &&
           placement == o.placement && datum == o.datum && normal == o.normal && flags == o.flags &&
           gridding == o.gridding && levelling == o.levelling;
}

bool SurveySettings::ownsFile(const std::string& path, const std::string& surveyPath) const {
    if (sameFile(path, surveyPath)) {
        return true;
    }
    for (const std::string& d : days) {
        if (sameFile(path, d)) {
            return true;
        }
    }
    for (const BaseSource& b : baseSources) {
        if (!b.path.empty() && sameFile(path, b.path)) {
            return true;
        }
    }
    for (const Track& t : tracks) {
        if (sameFile(path, t.path)) {
            return true;
        }
    }
    return false;
}

std::string SurveySettings::ownFileMessage(const std::string& path) {
    return QuotedText::of(path) +
           " is the survey file or one of its days or base sources: give the output another name.";
}

}  // namespace velkor
