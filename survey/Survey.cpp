// Opening a survey and computing its values.
#include "survey/Survey.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "core/QuietPrompter.h"
#include "corrections/DecimalYear.h"
#include "corrections/GeomagneticModel.h"
#include "data/DataFile.h"
#include "gridding/Extent.h"
#include "survey/IgrfLattice.h"
#include "survey/SameFileSet.h"
#include "survey/SurveyFile.h"
#include "text/CalendarDate.h"
#include "text/NumberText.h"
#include "text/QuotedText.h"
#include "text/TimeOfDay.h"

namespace velkor {
namespace {

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

std::optional<Survey::Day> loadDay(const std::string& path, std::string& message) {
    QuietPrompter prompter;
    Survey::Day day{path, DataSet()};
    if (!DataFile::load(path, day.data, prompter)) {
        message = QuotedText::of(path) + ": " + prompter.lastMessage();
        return std::nullopt;
    }
    // Any text of short lines loads as a data set; a day holds readings of the instrument,
    // each with its date. A file none of whose lines has one (a base file, a survey file,
    // notes) would only put made-up readings on the map.
    bool dated = false;
    for (int i = 1; i < day.data.lineCount() && !dated; ++i) {
        dated = CalendarDate::hasColumnShape(day.data.field(i, Column::Date));
    }
    if (!dated) {
        message = QuotedText::of(path) +
                  ": no reading of the instrument in it (no line has a date such as " +
                  "06.07.2026)";
        return std::nullopt;
    }
    return day;
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
    inGap += o.inGap;
    outsideTracks += o.outsideTracks;
}

std::optional<Survey> Survey::open(const SurveySettings& settings, std::string& message,
                                   const Progress& progress) {
    Survey survey;
    if (!survey.change(settings, message, progress)) {
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

// The days of next: those open already are named by their old index, the others
// loaded. Nothing and a message when one cannot be used.
std::optional<Survey::Opened> Survey::openDays(const SurveySettings& next, std::string& message,
                                               const Progress& progress) const {
    if (next.days.size() > kMaxDays) {
        message = "A survey holds at most " + std::to_string(kMaxDays) + " data files.";
        return std::nullopt;
    }
    Opened opened;
    long long readings = 0;
    // Each path looked up once, the days open already by their paths: many days take time
    // in proportion, not in the square of their number.
    SameFileSet seen;
    std::unordered_map<std::string_view, std::size_t> openDay;
    for (std::size_t k = 0; k < days_.size(); ++k) {
        openDay.emplace(days_[k]->path, k);
    }
    const int toOpen = static_cast<int>(
        std::count_if(next.days.begin(), next.days.end(),
                      [&openDay](const std::string& d) { return openDay.count(d) == 0; }));
    int loaded = 0;
    for (const std::string& path : next.days) {
        if (!seen.add(path)) {
            message = "The data file " + QuotedText::of(path) + " is in the survey already.";
            return std::nullopt;
        }
        const auto known = openDay.find(path);
        const std::size_t old = known == openDay.end() ? days_.size() : known->second;
        opened.oldDay.push_back(old);
        if (old == days_.size()) {
            std::optional<Day> day = loadDay(path, message);
            if (!day) {
                return std::nullopt;
            }
            opened.days.push_back(std::make_unique<Day>(std::move(*day)));
            if (progress && !progress(++loaded, toOpen)) {
                message = kStopped;
                return std::nullopt;
            }
        } else {
            opened.days.push_back(nullptr);
        }
        readings += (opened.days.back() ? *opened.days.back() : *days_[old]).data.readingCount();
        if (readings > kMaxReadings) {
            message = "A survey holds at most " + std::to_string(kMaxReadings) +
                      " readings; with " + QuotedText::of(path) + " it would hold " +
                      std::to_string(readings) + ".";
            return std::nullopt;
        }
    }
    return opened;
}

// The base sources of next: one open already is taken over with its index (each old one
// once), the others opened.
bool Survey::openBases(const SurveySettings& next, Opened& opened, std::string& message) const {
    std::vector<bool> taken(bases_.size(), false);
    for (const SurveySettings::BaseSource& b : next.baseSources) {
        if (b.format == SurveySettings::BaseSource::Format::Survey) {
            // Taken afresh from the days the survey will have: they may have changed.
            std::vector<const DataSet*> days;
            for (std::size_t k = 0; k < opened.days.size(); ++k) {
                days.push_back(opened.days[k] ? &opened.days[k]->data
                                              : &days_[opened.oldDay[k]]->data);
            }
            opened.oldBase.push_back(bases_.size());
            opened.bases.emplace_back(BaseSource::ofReadings(b, days));
            continue;
        }
        std::size_t old = 0;
        while (old < bases_.size() && (taken[old] || !bases_[old].opens(b))) {
            ++old;
        }
        opened.oldBase.push_back(old);
        if (old < bases_.size()) {
            taken[old] = true;
            opened.bases.emplace_back();
        } else if (!(opened.bases.emplace_back(BaseSource::open(b, message)))) {
            return false;
        }
    }
    return true;
}

// The tracks of next, taken over or opened as the base sources are.
bool Survey::openTracks(const SurveySettings& next, Opened& opened, std::string& message) const {
    std::vector<bool> taken(tracks_.size(), false);
    for (const SurveySettings::Track& t : next.tracks) {
        std::size_t old = 0;
        while (old < tracks_.size() && (taken[old] || !tracks_[old].opens(t))) {
            ++old;
        }
        opened.oldTrack.push_back(old);
        if (old < tracks_.size()) {
            taken[old] = true;
            opened.tracks.emplace_back();
        } else if (!(opened.tracks.emplace_back(TrackSource::open(t, message)))) {
            return false;
        }
    }
    return true;
}

bool Survey::change(const SurveySettings& next, std::string& message, const Progress& progress) {
    // Everything that can fail is done first, into new things: a failure leaves the
    // survey as it was.
    std::optional<Opened> opened = openDays(next, message, progress);
    if (!opened || !openBases(next, *opened, message) || !openTracks(next, *opened, message)) {
        return false;
    }
    const bool byTrack = next.placement.by() == Placement::By::Track;
    if (byTrack && !next.epsg) {
        message =
            "Placing by track needs the survey's coordinate system: name a projected EPSG "
            "code.";
        return false;
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
    // Placed by track, which readings have a position at all depends on the tracks.
    if ((byTrack || settings_.placement.by() == Placement::By::Track) &&
        (next.placement != settings_.placement || next.tracks != settings_.tracks ||
         next.epsg != settings_.epsg)) {
        changed |= kReadings | kPlaces | kNormal;
    }
    install(std::move(*opened), next);
    if (!next.epsg) {
        crs_.reset();
    } else if (newCrs) {
        crs_ = std::move(crs);
    }
    settings_ = next;
    if (changed & kReadings) {
        makeTrackSet();
    }
    recompute(changed);
    return true;
}

void Survey::install(Opened opened, const SurveySettings& next) {
    for (std::size_t k = 0; k < opened.days.size(); ++k) {
        if (!opened.days[k]) {
            opened.days[k] = std::move(days_[opened.oldDay[k]]);
        }
    }
    days_ = std::move(opened.days);
    std::vector<BaseSource> bases;
    for (std::size_t k = 0; k < opened.bases.size(); ++k) {
        bases.push_back(opened.bases[k] ? std::move(*opened.bases[k])
                                        : std::move(bases_[opened.oldBase[k]]));
        bases.back().setOffset(next.baseSources[k].offset);
    }
    bases_ = std::move(bases);
    std::vector<TrackSource> tracks;
    for (std::size_t k = 0; k < opened.tracks.size(); ++k) {
        tracks.push_back(opened.tracks[k] ? std::move(*opened.tracks[k])
                                          : std::move(tracks_[opened.oldTrack[k]]));
        tracks.back().setOffset(next.tracks[k].offset);
    }
    tracks_ = std::move(tracks);
}

void Survey::makeTrackSet() {
    trackSet_.reset();
    if (settings_.placement.by() != Placement::By::Track || !crs_) {
        return;
    }
    std::vector<PositionTrack> projected;
    for (const TrackSource& t : tracks_) {
        projected.push_back(t.projected(*crs_));
    }
    trackSet_.emplace(std::move(projected));
}

PositionTrack::Position Survey::onTracks(const DataSet& data, int i, std::size_t& track) const {
    track = tracks_.size();
    const std::optional<CalendarDate> date = CalendarDate::read(data.field(i, Column::Date));
    if (!date) {
        return {};
    }
    const Placement::Track& t = settings_.placement.track();
    const double seconds =
        TrackFix::secondsOf(*date, TimeOfDay::ofColumn(data.field(i, Column::Time)));
    return trackSet_->place(seconds, {t.lag, t.maxGap, {t.along, t.across}}, track);
}

int Survey::placedBy(std::size_t track) const {
    return track < trackPlaced_.size() ? trackPlaced_[track] : 0;
}

void Survey::recompute(Changed changed) {
    ++computations_;
    if (changed & kReadings) {
        collect();
    }
    // Readings moved along their lines last time are placed afresh before they move again.
    const bool wasMoved = moved_;
    if ((changed & kPlaces) || wasMoved) {
        placeAll();
    }
    correctAll();
    levelAll();
    // The normal field is taken where the readings lie once levelling has moved them.
    if ((changed & kNormal) || wasMoved || moved_) {
        normalAll();
    }
    anomalyAll();
}

// Which readings an earlier day of the survey holds already. Every reading's identity is
// hashed and the hashes sorted: two readings can be the same only within a run of equal
// hashes. slotStart numbers every day's readings one after the other.
std::vector<bool> Survey::mergedReadings(const std::vector<int>& slotStart) const {
    const std::size_t total = static_cast<std::size_t>(slotStart.back());
    std::vector<std::pair<std::size_t, std::uint32_t>> hashes;
    hashes.reserve(total);
    for (std::size_t d = 0; d < days_.size(); ++d) {
        const DataSet& data = days_[d]->data;
        for (int i = 1; i < data.lineCount(); ++i) {
            hashes.emplace_back(IdentityHash()(identityOf(data, i)),
                                static_cast<std::uint32_t>(slotStart[d] + i - 1));
        }
    }
    std::sort(hashes.begin(), hashes.end());
    const auto dayOfSlot = [&](std::uint32_t slot) {
        return static_cast<std::size_t>(
            std::upper_bound(slotStart.begin(), slotStart.end(), static_cast<int>(slot)) -
            slotStart.begin() - 1);
    };
    const auto identityOfSlot = [&](std::uint32_t slot) {
        const std::size_t d = dayOfSlot(slot);
        return identityOf(days_[d]->data, static_cast<int>(slot) - slotStart[d] + 1);
    };
    std::vector<bool> merged(total, false);
    for (std::size_t from = 0; from < hashes.size();) {
        std::size_t to = from + 1;
        while (to < hashes.size() && hashes[to].first == hashes[from].first) {
            ++to;
        }
        // Slots of one run are in the survey's order: the earlier ones come first.
        for (std::size_t j = from + 1; j < to; ++j) {
            const std::uint32_t later = hashes[j].second;
            for (std::size_t i = from; i < j && !merged[later]; ++i) {
                const std::uint32_t earlier = hashes[i].second;
                merged[later] = dayOfSlot(earlier) < dayOfSlot(later) &&
                                identityOfSlot(earlier) == identityOfSlot(later);
            }
        }
        from = to;
    }
    return merged;
}

void Survey::collect() {
    std::vector<int> slotStart{0};
    for (const auto& d : days_) {
        slotStart.push_back(slotStart.back() + d->data.readingCount());
    }
    const std::vector<bool> merged = mergedReadings(slotStart);
    const std::size_t total = merged.size();
    std::vector<std::int32_t> lineOf;
    std::vector<std::uint32_t> dateOf;
    std::vector<float> field;
    lineOf.reserve(total);
    dateOf.reserve(total);
    field.reserve(total);
    summaries_.assign(days_.size(), Summary());
    dayStart_.assign(days_.size() + 1, 0);
    dates_.clear();
    std::unordered_map<std::string_view, std::uint32_t> dateIds;
    for (std::size_t d = 0; d < days_.size(); ++d) {
        const DataSet& data = days_[d]->data;
        Summary& s = summaries_[d];
        dayStart_[d] = static_cast<int>(lineOf.size());
        for (int i = 1; i < data.lineCount(); ++i) {
            if (merged[static_cast<std::size_t>(slotStart[d] + i - 1)]) {
                ++s.merged;
                continue;
            }
            const Identity id = identityOf(data, i);
            const bool line = startsWithDigits(id.line);
            const bool position = startsWithDigits(id.position);
            const bool value = startsWithDigits(id.field);
            if (!line || !position || !value) {
                s.noLine += line ? 0 : 1;
                s.noPosition += position ? 0 : 1;
                s.noField += value ? 0 : 1;
                ++s.leftOut;
                s.unreadable.push_back(i);
                continue;
            }
            if (trackSet_) {
                std::size_t track = 0;
                const PositionTrack::Where where = onTracks(data, i, track).where;
                if (where != PositionTrack::Where::Placed) {
                    ++(where == PositionTrack::Where::InGap ? s.inGap : s.outsideTracks);
                    continue;
                }
            }
            ++s.readings;
            // Readings come in runs of one date: the map is asked when the date changes.
            if (dates_.empty() || id.date != dates_[dateOf.back()]) {
                const auto [at, added] =
                    dateIds.try_emplace(id.date, static_cast<std::uint32_t>(dates_.size()));
                if (added) {
                    dates_.emplace_back(id.date);
                }
                dateOf.push_back(at->second);
            } else {
                dateOf.push_back(dateOf.back());
            }
            lineOf.push_back(i);
            field.push_back(static_cast<float>(readDecimal(id.field)));
        }
    }
    dayStart_.back() = static_cast<int>(lineOf.size());
    lineOf_ = std::move(lineOf);
    dateOf_ = std::move(dateOf);
    field_ = std::move(field);
}

void Survey::placeAll() {
    easting_.resize(lineOf_.size());
    northing_.resize(lineOf_.size());
    trackPlaced_.assign(tracks_.size(), 0);
    if (trackSet_) {
        placeByTracks();
        return;
    }
    for (int d = 0; d < dayCount(); ++d) {
        const DataSet& data = days_[static_cast<std::size_t>(d)]->data;
        for (int r = first(d); r < first(d + 1); ++r) {
            const auto k = static_cast<std::size_t>(r);
            const Placement::Point at =
                settings_.placement.place(readDecimal(data.field(lineOf_[k], Column::Line)),
                                          readDecimal(data.field(lineOf_[k], Column::Pos)));
            easting_[k] = at.easting;
            northing_[k] = at.northing;
        }
    }
}

// Every reading collected has a position on the tracks: collect() left out the others.
void Survey::placeByTracks() {
    for (int d = 0; d < dayCount(); ++d) {
        const DataSet& data = days_[static_cast<std::size_t>(d)]->data;
        for (int r = first(d); r < first(d + 1); ++r) {
            const auto k = static_cast<std::size_t>(r);
            std::size_t track = 0;
            const PositionTrack::Position at = onTracks(data, lineOf_[k], track);
            easting_[k] = at.x;
            northing_[k] = at.y;
            if (track < trackPlaced_.size()) {
                ++trackPlaced_[track];
            }
        }
    }
}

void Survey::normalAll() {
    using Kind = SurveySettings::NormalField::Kind;
    normalProblem_.clear();
    normal_.assign(lineOf_.size(), kNone);
    if (settings_.normal.kind == Kind::Constant) {
        for (int d = 0; d < dayCount(); ++d) {
            for (int r = first(d); r < first(d + 1); ++r) {
                normal_[static_cast<std::size_t>(r)] =
                    isAuto(d, r) ? kNone : static_cast<float>(settings_.normal.value);
            }
        }
    } else if (settings_.normal.kind == Kind::Igrf) {
        igrfAll();
    }
}

void Survey::igrfAll() {
    if (!crs_) {
        normalProblem_ =
            "The normal field from IGRF-14 needs each reading's latitude and "
            "longitude: name the survey's coordinate system.";
        return;
    }
    // The model's coefficients once per date: a day's readings share them.
    std::vector<std::optional<GeomagneticModel::AtYear>> models(dates_.size());
    for (std::size_t k = 0; k < dates_.size(); ++k) {
        if (const auto date = CalendarDate::read(dates_[k])) {
            models[k].emplace(DecimalYear::of(*date));
        }
    }
    const auto problem = [&](const std::string& text) {
        if (normalProblem_.empty()) {
            normalProblem_ = text;
        }
    };
    // Most readings take the field from a lattice over their date's readings; the model
    // is asked at the others themselves, in the survey's order.
    const std::vector<std::optional<IgrfLattice>> lattices = igrfLattices(models);
    std::vector<int> exact;
    for (int d = 0; d < dayCount(); ++d) {
        for (int r = first(d); r < first(d + 1); ++r) {
            const auto k = static_cast<std::size_t>(r);
            const auto& lattice = lattices[dateOf_[k]];
            if (isAuto(d, r)) {
                continue;
            }
            if (const std::optional<float> f =
                    lattice ? lattice->totalField(easting_[k], northing_[k]) : std::nullopt) {
                normal_[k] = *f;
            } else {
                exact.push_back(r);
            }
        }
    }
    // Latitudes and longitudes a piece at a time, so that they never take room for all.
    constexpr std::size_t kPiece = 4096;
    std::vector<double> lon(kPiece);
    std::vector<double> lat(kPiece);
    for (std::size_t from = 0; from < exact.size(); from += kPiece) {
        const std::size_t n = std::min(kPiece, exact.size() - from);
        for (std::size_t j = 0; j < n; ++j) {
            lon[j] = easting_[static_cast<std::size_t>(exact[from + j])];
            lat[j] = northing_[static_cast<std::size_t>(exact[from + j])];
        }
        crs_->toLonLatInPlace(lon.data(), lat.data(), n);
        for (std::size_t j = 0; j < n; ++j) {
            const auto k = static_cast<std::size_t>(exact[from + j]);
            const auto& model = models[dateOf_[k]];
            if (!model) {
                problem("The date " + dates_[dateOf_[k]] + " is not a day of the calendar.");
                continue;
            }
            const GeomagneticModel::Result m =
                model->compute({lat[j], lon[j], settings_.normal.height});
            if (!m.ok) {
                problem(m.message);
                continue;
            }
            normal_[k] = static_cast<float>(m.field.f);
        }
    }
}

// For each date, the field on a lattice over the readings of that date, where the date
// has a model and the lattice is smaller than the readings are many.
std::vector<std::optional<IgrfLattice>> Survey::igrfLattices(
    const std::vector<std::optional<GeomagneticModel::AtYear>>& models) const {
    std::vector<Extent> extents(dates_.size());
    std::vector<long> readings(dates_.size(), 0);
    for (std::size_t k = 0; k < lineOf_.size(); ++k) {
        extents[dateOf_[k]].add(easting_[k], northing_[k]);
        ++readings[dateOf_[k]];
    }
    std::vector<std::optional<IgrfLattice>> lattices(dates_.size());
    for (std::size_t k = 0; k < dates_.size(); ++k) {
        const Extent& x = extents[k];
        if (models[k] && readings[k] > 0) {
            lattices[k] = IgrfLattice::build(*models[k], *crs_, settings_.normal.height, x.x0, x.x1,
                                             x.y0, x.y1, readings[k] / 4);
        }
    }
    return lattices;
}

void Survey::correctAll() {
    const std::size_t n = lineOf_.size();
    base_.assign(n, kNone);
    diurnal_.assign(n, kNone);
    // Which source holds samples of which date, asked once per date.
    std::vector<std::vector<bool>> holds(bases_.size(), std::vector<bool>(dates_.size()));
    for (std::size_t b = 0; b < bases_.size(); ++b) {
        for (std::size_t k = 0; k < dates_.size(); ++k) {
            holds[b][k] = bases_[b].holds(dates_[k]);
        }
    }
    // The datum is a single-precision value, as the day's variations basis is.
    const double datum = static_cast<double>(static_cast<float>(settings_.datum));
    for (int d = 0; d < dayCount(); ++d) {
        const DataSet& data = days_[static_cast<std::size_t>(d)]->data;
        Summary& s = summaries_[static_cast<std::size_t>(d)];
        s.skippedAuto = s.corrected = s.bigGaps = 0;
        s.uncorrected.fill(0);
        for (int r = first(d); r < first(d + 1); ++r) {
            const auto k = static_cast<std::size_t>(r);
            if (isAuto(d, r)) {
                ++s.skippedAuto;
                continue;
            }
            if (bases_.empty()) {
                continue;
            }
            const int seconds = TimeOfDay::ofColumn(data.field(lineOf_[k], Column::Time));
            TemporalCorrection::Base found{TemporalCorrection::Outcome::NoSample, 0.0f, false};
            for (std::size_t b = 0; b < bases_.size(); ++b) {
                if (!holds[b][dateOf_[k]] && bases_[b].staysOnItsDate(seconds)) {
                    continue;
                }
                const TemporalCorrection::Base at = bases_[b].at(dates_[dateOf_[k]], seconds);
                // The first source that brackets the reading gives its base; of those that
                // bracket nothing, the one that came nearest says why.
                if (at.outcome == TemporalCorrection::Outcome::Interpolated ||
                    static_cast<int>(at.outcome) > static_cast<int>(found.outcome)) {
                    found = at;
                }
                if (at.outcome == TemporalCorrection::Outcome::Interpolated) {
                    break;
                }
            }
            if (found.outcome != TemporalCorrection::Outcome::Interpolated) {
                ++s.uncorrected[CorrectionSummary::slot(found.outcome)];
                continue;
            }
            ++s.corrected;
            s.bigGaps += found.bigGap ? 1 : 0;
            base_[k] = found.value;
            diurnal_[k] = TemporalCorrection::correctedValue(field_[k], found.value, datum);
        }
    }
}

// The value levelling starts from: the diurnal, or the field without a base source; each
// reading at the place its day gives it.
std::vector<SurveyLevelling::Input> Survey::levellingInput() const {
    std::vector<SurveyLevelling::Input> in(lineOf_.size());
    for (int d = 0; d < dayCount(); ++d) {
        const DataSet& data = days_[static_cast<std::size_t>(d)]->data;
        for (int r = first(d); r < first(d + 1); ++r) {
            const auto k = static_cast<std::size_t>(r);
            in[k] = {d,
                     readDecimal(data.field(lineOf_[k], Column::Line)),
                     readDecimal(data.field(lineOf_[k], Column::Pos)),
                     static_cast<double>(bases_.empty() ? field_[k] : diurnal_[k]),
                     !isAuto(d, r),
                     easting_[k],
                     northing_[k]};
        }
    }
    return in;
}

SurveyLevelling::Outcome Survey::levelled(const SurveySettings::Levelling& asked,
                                          const std::vector<SurveyLevelling::Input>& in) const {
    std::optional<int> fixed;
    for (std::size_t d = 0; d < settings_.days.size() && !asked.fixDay.empty(); ++d) {
        if (settings_.days[d] == asked.fixDay) {
            fixed = static_cast<int>(d);
        }
    }
    // Metres along a line per unit of position, as the placement has them.
    const double interval =
        settings_.placement.parameters().stationInterval * settings_.placement.scale();
    return SurveyLevelling::run(asked, fixed, dayCount(), in, interval);
}

SurveyLevelling::Report Survey::levellingFor(const SurveySettings::Levelling& asked) const {
    if (!asked.any()) {
        return {};
    }
    return levelled(asked, levellingInput()).report;
}

void Survey::levelAll() {
    const SurveySettings::Levelling& asked = settings_.levelling;
    moved_ = false;
    level_.clear();
    levelling_ = SurveyLevelling::Report();
    if (!asked.any()) {
        return;
    }
    const std::vector<SurveyLevelling::Input> in = levellingInput();
    SurveyLevelling::Outcome out = levelled(asked, in);
    for (std::size_t k = 0; k < in.size(); ++k) {
        // Placed by track a reading's place is its moment's, not its line's.
        if (out.positionBy[k] != 0.0 && settings_.placement.by() != Placement::By::Track) {
            const Placement::Point at =
                settings_.placement.place(in[k].line, in[k].position + out.positionBy[k]);
            easting_[k] = at.easting;
            northing_[k] = at.northing;
            moved_ = true;
        }
    }
    level_ = std::move(out.level);
    levelling_ = std::move(out.report);
}

// anomaly = diurnal (or field) + level - normal: no normal field asked takes nothing
// away; one asked but not known leaves no anomaly.
void Survey::anomalyAll() {
    const std::size_t n = lineOf_.size();
    anomaly_.assign(n, kNone);
    const bool normalAsked = settings_.normal.kind != SurveySettings::NormalField::Kind::None;
    for (int d = 0; d < dayCount(); ++d) {
        for (int r = first(d); r < first(d + 1); ++r) {
            const auto k = static_cast<std::size_t>(r);
            if (isAuto(d, r)) {
                continue;
            }
            double v = static_cast<double>(bases_.empty() ? field_[k] : diurnal_[k]);
            if (!level_.empty()) {
                v += static_cast<double>(level_[k]);
            }
            const double normal = normalAsked ? static_cast<double>(normal_[k]) : 0.0;
            anomaly_[k] = static_cast<float>(v - normal);
        }
    }
}

int Survey::dayOf(int r) const {
    return static_cast<int>(std::upper_bound(dayStart_.begin(), dayStart_.end(), r) -
                            dayStart_.begin() - 1);
}

bool Survey::isAuto(int d, int r) const {
    return days_[static_cast<std::size_t>(d)]->data.mode(lineOf_[static_cast<std::size_t>(r)]) ==
           'A';
}

Survey::Summary Survey::total() const {
    Summary all;
    for (const Summary& s : summaries_) {
        all.add(s);
    }
    return all;
}

std::optional<double> Survey::gradient(const Reading& g) const {
    if (g.mode != 'G') {
        return std::nullopt;
    }
    return readDecimalNumber(day(g.day).data.field(g.line, Column::Grad));
}

Survey::Reading Survey::readingWithoutLatLon(int r) const {
    const auto k = static_cast<std::size_t>(r);
    const int d = dayOf(r);
    return {d,
            lineOf_[k],
            day(d).data.mode(lineOf_[k]),
            easting_[k],
            northing_[k],
            std::nullopt,
            std::nullopt,
            field_[k],
            value(base_[k]),
            value(diurnal_[k]),
            value(normal_[k]),
            value(anomaly_[k]),
            level_.empty() ? 0.0f : level_[k]};
}

Survey::Reading Survey::reading(int r) const {
    Reading g = readingWithoutLatLon(r);
    if (crs_) {
        const CoordinateSystem::LatLon at = crs_->toLatLon({g.easting, g.northing});
        if (!std::isnan(at.latitude)) {
            g.latitude = at.latitude;
            g.longitude = at.longitude;
        }
    }
    return g;
}

std::vector<CoordinateSystem::LatLon> Survey::latLons() const {
    if (!crs_) {
        return {};
    }
    std::vector<double> lon = easting_;
    std::vector<double> lat = northing_;
    crs_->toLonLatInPlace(lon.data(), lat.data(), lon.size());
    std::vector<CoordinateSystem::LatLon> out(lon.size());
    for (std::size_t k = 0; k < out.size(); ++k) {
        out[k] = {lat[k], lon[k]};
    }
    return out;
}

}  // namespace velkor
