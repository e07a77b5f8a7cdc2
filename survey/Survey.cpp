// Opening a survey and computing its values.
#include "survey/Survey.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <sstream>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/ConsolePrompter.h"
#include "corrections/DecimalYear.h"
#include "corrections/GeomagneticModel.h"
#include "data/DataFile.h"
#include "data/NumberReading.h"
#include "survey/SurveyFile.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
constexpr std::size_t kMaxDays = 65535;

// What a change touches, from the readings themselves down to the corrections.
enum : std::uint8_t {
    kReadings = 1,
    kPlaces = 2,
    kNormal = 4,
    kCorrections = 8,
};

std::optional<float> value(float v) {
    return std::isnan(v) ? std::nullopt : std::optional<float>(v);
}

// A text that readDecimal finds a number in: blanks, a sign, then a digit, or a point
// and a digit.
bool holdsNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() &&
           std::string_view(" \t\n\v\f\r").find(text[i]) != std::string_view::npos) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const auto digit = [&](std::size_t k) {
        return k < text.size() && text[k] >= '0' && text[k] <= '9';
    };
    return digit(i) || (i < text.size() && text[i] == '.' && digit(i + 1));
}

// The same reading given again by a later download: the same date, time, line, position
// and field.
struct Identity {
    std::string_view date, time, line, position, field;
    bool operator==(const Identity& o) const {
        return date == o.date && time == o.time && line == o.line && position == o.position &&
               field == o.field;
    }
};
struct IdentityHash {
    std::size_t operator()(const Identity& k) const {
        const std::hash<std::string_view> h;
        std::size_t seed = h(k.date);
        for (const std::string_view part : {k.time, k.line, k.position, k.field}) {
            seed ^= h(part) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
        }
        return seed;
    }
};

Identity identityOf(const DataSet& d, int i) {
    return {d.field(i, Column::Date), d.field(i, Column::Time), d.field(i, Column::Line),
            d.field(i, Column::Pos), d.field(i, Column::Field)};
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::path(a).lexically_normal() == fs::path(b).lexically_normal() ||
           fs::equivalent(a, b, error);
}

std::optional<Survey::Day> loadDay(const std::string& path, std::string& message) {
    std::ostringstream said;
    ConsolePrompter prompter(said);
    Survey::Day day{path, DataSet()};
    if (!DataFile::load(path, day.data, prompter)) {
        message = path + ": " + prompter.lastMessage();
        return std::nullopt;
    }
    return day;
}

CorrectionSummary::Reason reasonOf(TemporalCorrection::Outcome o) {
    return static_cast<CorrectionSummary::Reason>(static_cast<int>(o) - 1);
}

}  // namespace

void Survey::Summary::add(const Summary& o) {
    readings += o.readings;
    merged += o.merged;
    skippedAuto += o.skippedAuto;
    corrected += o.corrected;
    bigGaps += o.bigGaps;
    for (std::size_t k = 0; k < uncorrected.size(); ++k) {
        uncorrected[k] += o.uncorrected[k];
    }
    noLine += o.noLine;
    noPosition += o.noPosition;
    noField += o.noField;
    leftOut += o.leftOut;
}

std::optional<Survey> Survey::open(const SurveySettings& settings, std::string& message) {
    Survey survey;
    if (!survey.change(settings, message)) {
        return std::nullopt;
    }
    return survey;
}

std::optional<Survey> Survey::read(const std::string& path, std::string& message) {
    const std::optional<SurveySettings> settings = SurveyFile::read(path, message);
    if (!settings) {
        return std::nullopt;
    }
    return open(*settings, message);
}

bool Survey::write(const std::string& path, std::string& message) const {
    return SurveyFile::write(path, settings_, message);
}

bool Survey::change(const SurveySettings& next, std::string& message) {
    // Everything that can fail is done first, into new things: a failure leaves the
    // survey as it was.
    if (next.days.size() > kMaxDays) {
        message = "A survey holds at most " + std::to_string(kMaxDays) + " data files.";
        return false;
    }
    std::vector<std::unique_ptr<Day>> days;
    std::vector<std::size_t> kept(next.days.size(), days_.size());  // old index, or none
    long long readings = 0;
    for (std::size_t k = 0; k < next.days.size(); ++k) {
        const std::string& path = next.days[k];
        for (std::size_t j = 0; j < k; ++j) {
            if (sameFile(path, next.days[j])) {
                message = "The data file " + path + " is in the survey already.";
                return false;
            }
        }
        for (std::size_t old = 0; old < days_.size() && kept[k] == days_.size(); ++old) {
            if (days_[old] && days_[old]->path == path) {
                kept[k] = old;
            }
        }
        if (kept[k] == days_.size()) {
            std::optional<Day> day = loadDay(path, message);
            if (!day) {
                return false;
            }
            days.push_back(std::make_unique<Day>(std::move(*day)));
        } else {
            days.push_back(nullptr);
        }
        readings += (kept[k] == days_.size() ? *days.back() : *days_[kept[k]]).data.readingCount();
        if (readings > kMaxReadings) {
            message = "A survey holds at most " + std::to_string(kMaxReadings) +
                      " readings; with " + path + " it would hold " + std::to_string(readings) +
                      ".";
            return false;
        }
    }
    // A base source already open is taken over with its index; each old one once.
    std::vector<std::optional<BaseSource>> opened(next.baseSources.size());
    std::vector<std::size_t> reused(next.baseSources.size(), bases_.size());
    std::vector<bool> taken(bases_.size(), false);
    for (std::size_t k = 0; k < next.baseSources.size(); ++k) {
        const SurveySettings::BaseSource& b = next.baseSources[k];
        for (std::size_t old = 0; old < bases_.size() && reused[k] == bases_.size(); ++old) {
            if (!taken[old] && bases_[old].path() == b.path) {
                reused[k] = old;
                taken[old] = true;
            }
        }
        if (reused[k] == bases_.size() &&
            !(opened[k] = BaseSource::open(b.path, b.offset, message))) {
            return false;
        }
    }
    std::optional<CoordinateSystem> crs;
    const bool newCrs = next.epsg && (!crs_ || crs_->epsg() != *next.epsg);
    if (newCrs && !(crs = CoordinateSystem::fromEpsg(*next.epsg, message))) {
        return false;
    }

    // Nothing can fail from here on.
    Changed changed = kCorrections;
    if (next.days != settings_.days || days_.empty()) {
        changed |= kReadings | kPlaces | kNormal;
    }
    if (next.placement != settings_.placement || next.epsg != settings_.epsg) {
        changed |= kPlaces | kNormal;
    }
    if (!(next.normal == settings_.normal)) {
        changed |= kNormal;
    }
    for (std::size_t k = 0; k < days.size(); ++k) {
        if (!days[k]) {
            days[k] = std::move(days_[kept[k]]);
        }
    }
    days_ = std::move(days);
    std::vector<BaseSource> bases;
    for (std::size_t k = 0; k < opened.size(); ++k) {
        bases.push_back(reused[k] == bases_.size() ? std::move(*opened[k])
                                                   : std::move(bases_[reused[k]]));
        bases.back().setOffset(next.baseSources[k].offset);
    }
    bases_ = std::move(bases);
    if (!next.epsg) {
        crs_.reset();
    } else if (newCrs) {
        crs_ = std::move(crs);
    }
    settings_ = next;
    recompute(changed);
    return true;
}

void Survey::recompute(Changed changed) {
    if (changed & kReadings) {
        collect();
    }
    if (changed & kPlaces) {
        placeAll();
    }
    if (changed & kNormal) {
        normalAll();
    }
    correctAll();
}

void Survey::collect() {
    std::vector<std::uint16_t> dayOf;
    std::vector<std::int32_t> lineOf;
    std::vector<std::uint32_t> dateOf;
    std::vector<std::int32_t> secondsOf;
    std::vector<float> field;
    std::size_t total = 0;
    for (const auto& d : days_) {
        total += static_cast<std::size_t>(d->data.readingCount());
    }
    dayOf.reserve(total);
    lineOf.reserve(total);
    dateOf.reserve(total);
    secondsOf.reserve(total);
    field.reserve(total);
    summaries_.assign(days_.size(), Summary());
    dates_.clear();
    std::unordered_map<std::string_view, std::uint32_t> dateIds;
    std::unordered_set<Identity, IdentityHash> earlier;
    std::vector<Identity> own;
    for (std::size_t d = 0; d < days_.size(); ++d) {
        const DataSet& data = days_[d]->data;
        Summary& s = summaries_[d];
        own.clear();
        for (int i = 1; i < data.lineCount(); ++i) {
            const Identity id = identityOf(data, i);
            if (earlier.count(id) != 0) {
                ++s.merged;
                continue;
            }
            own.push_back(id);
            const bool line = holdsNumber(id.line);
            const bool position = holdsNumber(id.position);
            const bool value = holdsNumber(id.field);
            if (!line || !position || !value) {
                s.noLine += line ? 0 : 1;
                s.noPosition += position ? 0 : 1;
                s.noField += value ? 0 : 1;
                ++s.leftOut;
                continue;
            }
            ++s.readings;
            // The ids point into the days' lines, which stay while the readings do.
            const auto [at, added] =
                dateIds.try_emplace(id.date, static_cast<std::uint32_t>(dates_.size()));
            if (added) {
                dates_.emplace_back(id.date);
            }
            dayOf.push_back(static_cast<std::uint16_t>(d));
            lineOf.push_back(i);
            dateOf.push_back(at->second);
            secondsOf.push_back(readTimeOfDay(id.time));
            field.push_back(static_cast<float>(readDecimal(id.field)));
        }
        earlier.insert(own.begin(), own.end());
    }
    dayOf_ = std::move(dayOf);
    lineOf_ = std::move(lineOf);
    dateOf_ = std::move(dateOf);
    secondsOf_ = std::move(secondsOf);
    field_ = std::move(field);
}

void Survey::placeAll() {
    const std::size_t n = dayOf_.size();
    easting_.resize(n);
    northing_.resize(n);
    for (std::size_t r = 0; r < n; ++r) {
        const DataSet& data = days_[dayOf_[r]]->data;
        const Placement::Point at =
            settings_.placement.place(readDecimal(data.field(lineOf_[r], Column::Line)),
                                      readDecimal(data.field(lineOf_[r], Column::Pos)));
        easting_[r] = at.easting;
        northing_[r] = at.northing;
    }
    if (!crs_) {
        latitude_.clear();
        longitude_.clear();
        latitude_.shrink_to_fit();
        longitude_.shrink_to_fit();
        return;
    }
    longitude_ = easting_;
    latitude_ = northing_;
    crs_->toLonLatInPlace(longitude_.data(), latitude_.data(), n);
}

void Survey::normalAll() {
    using Kind = SurveySettings::NormalField::Kind;
    const SurveySettings::NormalField& normal = settings_.normal;
    const std::size_t n = dayOf_.size();
    normalProblem_.clear();
    normal_.assign(n, kNone);
    if (normal.kind == Kind::None) {
        return;
    }
    if (normal.kind == Kind::Constant) {
        for (std::size_t r = 0; r < n; ++r) {
            normal_[r] = isAuto(r) ? kNone : static_cast<float>(normal.value);
        }
        return;
    }
    if (!crs_) {
        normalProblem_ =
            "The normal field from IGRF-14 needs each reading's latitude and "
            "longitude: name the survey's coordinate system.";
        return;
    }
    std::vector<std::optional<double>> years(dates_.size());
    for (std::size_t k = 0; k < dates_.size(); ++k) {
        if (const auto date = DecimalYear::readDate(dates_[k])) {
            years[k] = DecimalYear::of(*date);
        }
    }
    for (std::size_t r = 0; r < n; ++r) {
        const std::optional<double> year = years[dateOf_[r]];
        if (isAuto(r)) {
            continue;
        }
        if (!year) {
            if (normalProblem_.empty()) {
                normalProblem_ =
                    "The date " + dates_[dateOf_[r]] + " is not a day of the calendar.";
            }
            continue;
        }
        const GeomagneticModel::Result m =
            GeomagneticModel::compute({latitude_[r], longitude_[r], normal.height}, *year);
        if (!m.ok) {
            if (normalProblem_.empty()) {
                normalProblem_ = m.message;
            }
            continue;
        }
        normal_[r] = static_cast<float>(m.field.f);
    }
}

void Survey::correctAll() {
    const std::size_t n = dayOf_.size();
    base_.assign(n, kNone);
    diurnal_.assign(n, kNone);
    anomaly_.assign(n, kNone);
    for (Summary& s : summaries_) {
        s.skippedAuto = s.corrected = s.bigGaps = 0;
        s.uncorrected.fill(0);
    }
    // The datum is a single-precision value, as the day's variations basis is.
    const double datum = static_cast<double>(static_cast<float>(settings_.datum));
    const bool normalAsked = settings_.normal.kind != SurveySettings::NormalField::Kind::None;
    for (std::size_t r = 0; r < n; ++r) {
        Summary& s = summaries_[dayOf_[r]];
        if (isAuto(r)) {
            ++s.skippedAuto;
            continue;
        }
        const double f = static_cast<double>(field_[r]);
        // No normal field asked: nothing is taken away. Asked but not known: no anomaly.
        const double normal = normalAsked ? static_cast<double>(normal_[r]) : 0.0;
        if (bases_.empty()) {
            anomaly_[r] = static_cast<float>(f - normal);
            continue;
        }
        TemporalCorrection::Base found{TemporalCorrection::Outcome::NoSample, 0.0f, false};
        for (BaseSource& b : bases_) {
            const TemporalCorrection::Base at = b.at(dates_[dateOf_[r]], secondsOf_[r]);
            // Of the sources that bracket nothing, the one that came nearest says why.
            if (at.outcome == TemporalCorrection::Outcome::Interpolated ||
                static_cast<int>(at.outcome) > static_cast<int>(found.outcome)) {
                found = at;
            }
            if (at.outcome == TemporalCorrection::Outcome::Interpolated) {
                break;
            }
        }
        if (found.outcome != TemporalCorrection::Outcome::Interpolated) {
            ++s.uncorrected[static_cast<std::size_t>(reasonOf(found.outcome))];
            continue;
        }
        ++s.corrected;
        s.bigGaps += found.bigGap ? 1 : 0;
        base_[r] = found.value;
        // One rounding, as the day's temporal correction forms it.
        diurnal_[r] = static_cast<float>(f - static_cast<double>(found.value) + datum);
        anomaly_[r] = static_cast<float>(static_cast<double>(diurnal_[r]) - normal);
    }
}

bool Survey::isAuto(std::size_t r) const {
    return days_[dayOf_[r]]->data.mode(lineOf_[r]) == 'A';
}

Survey::Summary Survey::total() const {
    Summary all;
    for (const Summary& s : summaries_) {
        all.add(s);
    }
    return all;
}

Survey::Reading Survey::reading(int r) const {
    const auto k = static_cast<std::size_t>(r);
    const bool placed = !latitude_.empty();
    return {
        dayOf_[k],
        lineOf_[k],
        days_[dayOf_[k]]->data.mode(lineOf_[k]),
        easting_[k],
        northing_[k],
        placed && !std::isnan(latitude_[k]) ? std::optional<double>(latitude_[k]) : std::nullopt,
        placed && !std::isnan(longitude_[k]) ? std::optional<double>(longitude_[k]) : std::nullopt,
        field_[k],
        value(base_[k]),
        value(diurnal_[k]),
        value(normal_[k]),
        value(anomaly_[k])};
}

}  // namespace velkor
