// Comparison of survey settings.
#include "survey/SurveySettings.h"

namespace velkor {

bool SurveySettings::BaseSource::operator==(const BaseSource& o) const {
    return path == o.path && offset == o.offset;
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
