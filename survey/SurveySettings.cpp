// Comparison of survey settings.
#include "survey/SurveySettings.h"

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

bool SurveySettings::NormalField::operator==(const NormalField& o) const {
    return kind == o.kind && value == o.value && height == o.height;
}

bool SurveySettings::Flag::operator==(const Flag& o) const {
    return file == o.file && reading == o.reading && text == o.text && word == o.word;
}

bool SurveySettings::operator==(const SurveySettings& o) const {
    return days == o.days && baseSources == o.baseSources && epsg == o.epsg &&
           placement == o.placement && datum == o.datum && normal == o.normal && flags == o.flags;
}

}  // namespace velkor
