// A survey opened: its days read-only, its base sources, every reading placed and
// corrected from those files and the settings, computed again whenever they change.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "corrections/CorrectionSummary.h"
#include "corrections/GeomagneticModel.h"
#include "data/DataSet.h"
#include "geo/CoordinateSystem.h"
#include "survey/BaseSource.h"
#include "survey/IgrfLattice.h"
#include "survey/SurveyLevelling.h"
#include "survey/SurveySettings.h"
#include "survey/TrackSource.h"
#include "tracks/TrackSet.h"

namespace velkor {

class Survey {
  public:
    static constexpr int kMaxReadings = 1000000;

    // One data file of the survey, as loaded.
    struct Day {
        std::string path;
        DataSet data;
    };

    // What the corrections made of a day's readings (or of all of them).
    struct Summary {
        int readings = 0;     // survey readings: neither merged nor left out
        int merged = 0;       // given again by an earlier day, kept once from there
        int skippedAuto = 0;  // base-station readings: placed, never corrected
        int corrected = 0;    // with a base value
        int bigGaps = 0;      // corrected more than an hour from every inner sample
        // Readings no base source brackets, by the reason the first source that comes
        // nearest gives; none are counted when the survey has no base source.
        std::array<int, CorrectionSummary::kReasons> uncorrected{};
        // Readings left out of everything placed: a Line, Position or Field text without
        // a number (a reading may lack more than one), and how many readings that is.
        int noLine = 0;
        int noPosition = 0;
        int noField = 0;
        int leftOut = 0;
        // Placed by track: readings with no position, in a gap of the tracks or outside
        // them all, left out of everything placed as well (and not counted above).
        int inGap = 0;
        int outsideTracks = 0;
        // Their data line numbers, in order: a day's own (a total names none).
        std::vector<int> unreadable;
        void add(const Summary& o);
    };

    // One placed reading and every value computed for it; a value that does not exist
    // is empty.
    struct Reading {
        int day;
        int line;  // data line number in its day, as the list numbers it
        char mode;
        double easting;
        double northing;
        std::optional<double> latitude;
        std::optional<double> longitude;
        float field;
        std::optional<float> base;
        std::optional<float> diurnal;
        std::optional<float> normal;
        std::optional<float> anomaly;
        float level = 0.0f;  // nT levelling added; the anomaly holds it
    };

    // Told after each day opened anew: how many of how many; false stops the change.
    using Progress = std::function<bool(int opened, int toOpen)>;
    static constexpr const char* kStopped = "Stopped before every day was opened.";

    // Opens every day and base source the settings name, and computes every value once;
    // nothing and a message when one cannot be used or progress stops it.
    static std::optional<Survey> open(const SurveySettings& settings, std::string& message,
                                      const Progress& progress = {});
    // Reads a survey file and opens it.
    static std::optional<Survey> read(const std::string& path, std::string& message);
    // Writes the settings as a survey file.
    bool write(const std::string& path, std::string& message) const;

    // Takes new settings: opens what is new, drops what is gone, and computes every value
    // again. False and a message when something cannot be used or progress stops it; the
    // survey then stays exactly as it was.
    bool change(const SurveySettings& next, std::string& message, const Progress& progress = {});

    const SurveySettings& settings() const { return settings_; }
    // How many times the values have been computed since the survey was opened: once per
    // change that works, however many days it opens.
    int computations() const { return computations_; }
    int dayCount() const { return static_cast<int>(days_.size()); }
    const Day& day(int d) const { return *days_[static_cast<std::size_t>(d)]; }
    // The base sources opened, in the settings' order.
    const std::vector<BaseSource>& bases() const { return bases_; }
    // The position tracks opened, in the settings' order, and how many readings each
    // placed (none unless the survey is placed by track).
    const std::vector<TrackSource>& tracks() const { return tracks_; }
    int placedBy(std::size_t track) const;
    // The tracks in the survey's coordinate system, the offsets added, when it is placed by
    // track; null otherwise.
    const TrackSet* trackSet() const { return trackSet_ ? &*trackSet_ : nullptr; }
    const Summary& summary(int d) const { return summaries_[static_cast<std::size_t>(d)]; }
    Summary total() const;
    const CoordinateSystem* coordinateSystem() const { return crs_ ? &*crs_ : nullptr; }
    // Why no reading has a normal field value although one is asked for; empty otherwise.
    const std::string& normalProblem() const { return normalProblem_; }
    // What levelling estimated; empty steps when the settings ask for none.
    const SurveyLevelling::Report& levelling() const { return levelling_; }
    // What levelling as asked would estimate, the survey left as it is.
    SurveyLevelling::Report levellingFor(const SurveySettings::Levelling& asked) const;

    int readingCount() const { return static_cast<int>(lineOf_.size()); }
    // The survey readings of day d are those from first(d) up to first(d + 1).
    int first(int d) const { return dayStart_[static_cast<std::size_t>(d)]; }
    // Every value of reading r; its latitude and longitude are worked out on the way.
    Reading reading(int r) const;
    // The same without latitude and longitude (left empty), which take a coordinate
    // transformation each: whoever goes through many readings takes latLons() once.
    Reading readingWithoutLatLon(int r) const;
    // The gradient a gradiometer ('G') reading holds, read from its day's line; nothing for
    // other readings or a gradient that holds no number.
    std::optional<double> gradient(const Reading& g) const;
    // Latitude and longitude of every reading, worked out when asked (they are kept
    // nowhere, to keep a reading small); empty without a coordinate system.
    std::vector<CoordinateSystem::LatLon> latLons() const;

  private:
    Survey() = default;
    // Days and base sources ready to be taken: new ones opened, old ones by their index.
    struct Opened {
        std::vector<std::unique_ptr<Day>> days;  // null: the old day oldDay names
        std::vector<std::size_t> oldDay;
        std::vector<std::optional<BaseSource>> bases;  // empty: the old one oldBase names
        std::vector<std::size_t> oldBase;
        std::vector<std::optional<TrackSource>> tracks;  // empty: the old one oldTrack names
        std::vector<std::size_t> oldTrack;
    };
    std::optional<Opened> openDays(const SurveySettings& next, std::string& message,
                                   const Progress& progress) const;
    bool openBases(const SurveySettings& next, Opened& opened, std::string& message) const;
    bool openTracks(const SurveySettings& next, Opened& opened, std::string& message) const;
    void makeTrackSet();
    // Where the tracks put the reading on line i of a day.
    PositionTrack::Position onTracks(const DataSet& data, int i, std::size_t& track) const;
    void install(Opened opened, const SurveySettings& next);
    using Changed = std::uint8_t;
    std::vector<bool> mergedReadings(const std::vector<int>& slotStart) const;
    void collect();
    void placeAll();
    void placeByTracks();
    void normalAll();
    void igrfAll();
    std::vector<std::optional<IgrfLattice>> igrfLattices(
        const std::vector<std::optional<GeomagneticModel::AtYear>>& models) const;
    void correctAll();
    std::vector<SurveyLevelling::Input> levellingInput() const;
    SurveyLevelling::Outcome levelled(const SurveySettings::Levelling& asked,
                                      const std::vector<SurveyLevelling::Input>& in) const;
    void levelAll();
    void anomalyAll();
    void recompute(Changed changed);
    int dayOf(int r) const;
    bool isAuto(int d, int r) const;

    SurveySettings settings_;
    std::vector<std::unique_ptr<Day>> days_;
    std::vector<BaseSource> bases_;
    std::vector<TrackSource> tracks_;
    // The tracks in the survey's coordinate system, when it is placed by track.
    std::optional<TrackSet> trackSet_;
    std::vector<int> trackPlaced_;
    std::optional<CoordinateSystem> crs_;
    std::vector<Summary> summaries_;
    std::string normalProblem_;

    // Distinct Date texts of the readings; a reading holds the number of its own.
    std::vector<std::string> dates_;
    std::vector<int> dayStart_;  // one more than there are days
    // One slot per survey reading, in the days' order: a few numbers and indexes into
    // the days' lines, never copies of their texts.
    std::vector<std::int32_t> lineOf_;
    std::vector<std::uint32_t> dateOf_;
    std::vector<float> field_;
    std::vector<double> easting_;
    std::vector<double> northing_;
    // NaN where there is no value.
    std::vector<float> base_;
    std::vector<float> diurnal_;
    std::vector<float> normal_;
    std::vector<float> anomaly_;
    // nT levelling added, and whether it moved readings along their lines; empty and false
    // without levelling.
    std::vector<float> level_;
    bool moved_ = false;
    SurveyLevelling::Report levelling_;
    int computations_ = 0;
};

}  // namespace velkor
