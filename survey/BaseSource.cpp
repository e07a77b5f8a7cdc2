// Base sources of a survey.
#include "survey/BaseSource.h"

#include <algorithm>
#include <climits>
#include <limits>
#include <utility>

#include "core/QuietPrompter.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "survey/BaseCsvFile.h"
#include "survey/IagaFile.h"
#include "survey/SourceText.h"
#include "text/CalendarDate.h"
#include "text/NumberText.h"
#include "text/QuotedText.h"
#include "text/TimeOfDay.h"
#include "text/Trim.h"

namespace velkor {
namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

constexpr int kDay = 86400;

// The date text whole days after date (before, for a negative count), written as the
// Date column writes it; nothing for a text that is no date.
std::optional<std::string> shifted(std::string_view date, long days) {
    const std::optional<CalendarDate> d = CalendarDate::read(date);
    if (!d || date.size() != 10 || date[2] != '.') {
        return std::nullopt;
    }
    return CalendarDate::ofDayNumber(d->dayNumber() + days).text();
}

using Sample = TemporalCorrection::Sample;

// The day a sample's date text names; none for a text that is no date.
std::optional<long> dayOf(std::string_view date) {
    const std::optional<CalendarDate> d = CalendarDate::read(date);
    return d ? std::optional<long>(d->dayNumber()) : std::nullopt;
}

using TimeKey = std::pair<long, int>;  // day, seconds

// A file written newest first: its last dated sample earlier than its first. (One out of
// order here and there is taken as the day's correction takes it, in the file's order.)
template <typename KeyAt>
bool newestFirst(std::size_t count, KeyAt keyAt) {
    std::optional<TimeKey> first;
    std::optional<TimeKey> last;
    for (std::size_t k = 0; k < count; ++k) {
        if (const std::optional<TimeKey> key = keyAt(k)) {
            first = first ? first : key;
            last = key;
        }
    }
    return first && *last < *first;
}

std::optional<TimeKey> keyOf(std::string_view date, int seconds) {
    const std::optional<long> day = dayOf(date);
    return day ? std::optional<TimeKey>(TimeKey(*day, seconds)) : std::nullopt;
}

// Samples of a file written newest first put in time order (in n log n), undated ones
// first as they came; any other file's samples stay exactly as they are.
void intoTimeOrder(std::vector<Sample>& all) {
    std::vector<std::optional<TimeKey>> keys;
    keys.reserve(all.size());
    for (const Sample& sample : all) {
        keys.push_back(keyOf(sample.date, sample.seconds));
    }
    if (!newestFirst(keys.size(), [&keys](std::size_t k) { return keys[k]; })) {
        return;
    }
    std::vector<std::size_t> order(all.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        order[k] = k;
    }
    const TimeKey undated(LONG_MIN, 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return keys[a].value_or(undated) < keys[b].value_or(undated);
    });
    std::vector<Sample> sorted;
    sorted.reserve(all.size());
    for (const std::size_t k : order) {
        sorted.push_back(std::move(all[k]));
    }
    all = std::move(sorted);
}

// Whether a variations file was written newest first.
bool newestFirst(const VariationSet& variations) {
    const int count = variations.count();
    return newestFirst(static_cast<std::size_t>(std::max(count - 1, 0)), [&](std::size_t k) {
        const int line = static_cast<int>(k) + 1;
        return keyOf(variations.date(line), variations.seconds(line));
    });
}

}  // namespace

BaseSource::BaseSource(std::string path, int offset, int samples, TemporalCorrection::Samples index)
    : path_(std::move(path)), offset_(offset), samples_(samples), index_(std::move(index)) {}

std::optional<BaseSource> BaseSource::open(const std::string& path, int offset,
                                           std::string& message) {
    QuietPrompter prompter;
    VariationSet variations;
    if (!variations.load(path, prompter)) {
        message = QuotedText::of(path) + ": " + prompter.lastMessage();
        return std::nullopt;
    }
    if (newestFirst(variations)) {
        // Taken as samples, to be put in time order.
        std::vector<Sample> all;
        all.reserve(static_cast<std::size_t>(std::max(variations.count() - 1, 0)));
        for (int k = 1; k < variations.count(); ++k) {
            all.push_back({std::string(variations.date(k)), variations.seconds(k),
                           variations.valueNumber(k).value_or(kNoValue)});
        }
        intoTimeOrder(all);
        return fromSamples(SurveySettings::BaseSource(path, offset, Format::Velkor, ""),
                           Format::Velkor, std::move(all));
    }
    // The index keeps what it needs; the lines themselves are let go here.
    BaseSource source(path, offset, std::max(variations.count() - 1, 0),
                      TemporalCorrection::Samples(variations));
    if (variations.count() > 1) {
        source.firstDate_ = std::string(variations.date(1));
        source.lastDate_ = std::string(variations.date(variations.count() - 1));
    }
    std::vector<long> days;
    for (int k = 1; k < variations.count(); ++k) {
        source.addDate(days, variations.date(k));
    }
    source.keepDays(std::move(days));
    return source;
}

std::optional<BaseSource> BaseSource::open(const SurveySettings::BaseSource& settings,
                                           std::string& message) {
    const Format format = settings.format == Format::Auto ? detect(settings.path) : settings.format;
    std::optional<BaseSource> source;
    switch (format) {
        case Format::Iaga2002:
            if (std::optional<IagaFile::Content> iaga = IagaFile::read(settings.path, message)) {
                intoTimeOrder(iaga->samples);
                source = fromSamples(settings, format, std::move(iaga->samples));
            }
            break;
        case Format::Csv:
            if (auto csv = BaseCsvFile::read(settings.path, settings.columns, message)) {
                intoTimeOrder(*csv);
                source = fromSamples(settings, format, std::move(*csv));
            }
            break;
        case Format::Velkor:
        case Format::Auto:
            source = open(settings.path, settings.offset, message);
            break;
        case Format::Survey:
            // Taken where the survey's days are at hand (ofReadings), never from a file.
            message = std::string(kReadingsName) + ": the survey's own readings, not a file";
            break;
    }
    if (source) {
        source->asked_ = settings.format;
        source->columns_ = settings.columns;
    }
    return source;
}

BaseSource BaseSource::ofReadings(const SurveySettings::BaseSource& settings,
                                  const std::vector<const DataSet*>& days) {
    std::vector<TemporalCorrection::Sample> samples;
    for (const DataSet* data : days) {
        for (int k = 1; k < data->lineCount(); ++k) {
            if (data->mode(k) != 'A') {
                continue;
            }
            const std::string_view time = Trim::spacesAndTabs(data->field(k, Column::Time));
            const std::optional<double> value = readDecimalNumber(data->field(k, Column::Field));
            // A reading without a number is a sample without one, as in a variations file.
            samples.push_back({std::string(Trim::spacesAndTabs(data->field(k, Column::Date))),
                               TimeOfDay::ofColumn(time), value ? *value : kNoValue});
        }
    }
    SurveySettings::BaseSource named = settings;
    named.path = kReadingsName;
    BaseSource source = *fromSamples(named, Format::Survey, std::move(samples));
    source.asked_ = Format::Survey;
    return source;
}

bool BaseSource::opens(const SurveySettings::BaseSource& settings) const {
    return path_ == settings.path && asked_ == settings.format && columns_ == settings.columns;
}

std::optional<BaseSource> BaseSource::fromSamples(const SurveySettings::BaseSource& settings,
                                                  Format format,
                                                  std::vector<TemporalCorrection::Sample> all) {
    BaseSource source(settings.path, settings.offset, static_cast<int>(all.size()),
                      TemporalCorrection::Samples(all));
    source.format_ = format;
    if (!all.empty()) {
        source.firstDate_ = all.front().date;
        source.lastDate_ = all.back().date;
    }
    std::vector<long> days;
    for (const TemporalCorrection::Sample& sample : all) {
        source.addDate(days, sample.date);
    }
    source.keepDays(std::move(days));
    return source;
}

BaseSource::Format BaseSource::detect(const std::string& path) {
    std::string message;
    const std::optional<std::string> text = SourceText::read(path, message);
    if (!text) {
        return Format::Velkor;  // opening it as one says why it cannot be read
    }
    if (IagaFile::looksLike(*text)) {
        return Format::Iaga2002;
    }
    return BaseCsvFile::looksLike(*text) ? Format::Csv : Format::Velkor;
}

void BaseSource::addDate(std::vector<long>& days, std::string_view date) {
    const std::optional<long> day = dayOf(date);
    // Samples come in runs of one date: each run's day once.
    if (day && (days.empty() || days.back() != *day)) {
        days.push_back(*day);
    }
}

void BaseSource::keepDays(std::vector<long> days) {
    // Sorted once, whatever order the days came in.
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    days_ = std::move(days);
}

std::string BaseSource::span() const {
    if (days_.empty()) {
        return {};
    }
    return CalendarDate::ofDayNumber(days_.front()).text() + " to " +
           CalendarDate::ofDayNumber(days_.back()).text();
}

bool BaseSource::meets(const std::vector<std::string>& dates) const {
    // A reading's time of day less the offset lands on these days from its own.
    const auto floorDays = [](long seconds) {
        return seconds >= 0 ? seconds / kDay : -((-seconds + kDay - 1) / kDay);
    };
    const long from = floorDays(-static_cast<long>(offset_));
    const long to = floorDays(kDay - 1 - static_cast<long>(offset_));
    for (const std::string& text : dates) {
        const std::optional<CalendarDate> d = CalendarDate::read(text);
        if (!d) {
            continue;
        }
        const long day = d->dayNumber();
        const auto at = std::lower_bound(days_.begin(), days_.end(), day + from);
        if (at != days_.end() && *at <= day + to) {
            return true;
        }
    }
    return false;
}

bool BaseSource::staysOnItsDate(int seconds) const {
    // A time that is no time of day stays on its date, as the day's correction takes it.
    const long t = static_cast<long>(seconds) - offset_;
    return (t >= 0 && t < kDay) || seconds < 0 || seconds >= kDay;
}

bool BaseSource::holds(std::string_view date) {
    // No sample time lies before the earliest int: a date held gives another outcome.
    return TemporalCorrection::interpolate(index_, date, INT_MIN).outcome !=
           TemporalCorrection::Outcome::NoSample;
}

TemporalCorrection::Base BaseSource::at(std::string_view date, int seconds) {
    const long t = static_cast<long>(seconds) - offset_;
    if (staysOnItsDate(seconds)) {
        const long inRange = std::clamp<long>(t, INT_MIN, INT_MAX);
        return TemporalCorrection::interpolate(index_, date, static_cast<int>(inRange));
    }
    const long days = t >= 0 ? t / kDay : -((-t + kDay - 1) / kDay);
    const std::optional<std::string> other = shifted(date, days);
    if (!other) {
        return {TemporalCorrection::Outcome::NoSample, 0.0f, false};
    }
    return TemporalCorrection::interpolate(index_, *other, static_cast<int>(t - days * kDay));
}

}  // namespace velkor
