// velkor2tr-cli survey new, add, base, place and set: the survey file made and changed,
// each change saved by the survey's edit rules.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/SurveyFamily.h"
#include "cli/SurveyGriddingOptions.h"

namespace velkor {

class SurveyBuildCommands : public SurveyFamily {
  public:
    using SurveyFamily::SurveyFamily;
    void declare(CLI::App& app, CommandList& commands) override;

  private:
    struct NewOptions {
        std::string survey;
        std::string crs;
    };
    struct AddOptions {
        std::string survey;
        std::vector<std::string> files;
    };
    struct BaseOptions {
        std::string survey;
        std::string file;
        int offset = 0;
        std::string format = "auto";
        std::string columns;
    };
    struct TrackOptions {
        std::string survey;
        std::string file;
        std::string format = "auto";
        double offset = 0.0;
        std::string columns;
    };
    struct PlaceOptions {
        std::string survey;
        std::string origin;
        double azimuth = 90.0;
        double lineSpacing = 1.0;
        double stationInterval = 1.0;
        double firstLine = 0.0;
        double firstPosition = 0.0;
        std::string linesTo = "left";
        std::vector<std::string> controls;
        bool byTrack = false;
        std::string antennaOffset;
        std::string lag;  // seconds, or "auto" to estimate
        double maxGap = 5.0;
    };
    struct SetOptions {
        std::string survey;
        std::optional<double> datum;
        std::string normal;
        std::optional<double> height;
        std::string crs;
        SurveyGriddingOptions gridding;
        std::string regional;
    };

    void declareNew(CLI::App& app, CommandList& commands);
    void declareAdd(CLI::App& app, CommandList& commands);
    void declareBase(CLI::App& app, CommandList& commands);
    void declareTrack(CLI::App& app, CommandList& commands);
    void declarePlace(CLI::App& app, CommandList& commands);
    // The options of place --by-track, beside the others.
    void declareByTrack(CLI::App& place, PlaceOptions& o);
    void declareSet(CLI::App& app, CommandList& commands);
    int create(const NewOptions& o);
    int add(const AddOptions& o);
    int base(const BaseOptions& o);
    int track(const TrackOptions& o);
    int place(const PlaceOptions& o);
    int set(const SetOptions& o);
    // The placement the options give, by control points or by parameters; nothing after
    // the message, status then 1 or 2.
    std::optional<Placement> placement(const PlaceOptions& o, int& status);
    std::optional<Placement> trackPlacement(const PlaceOptions& o, int& status);
    // The lag of the survey next estimated into placed, the estimate told; false after the
    // message when it cannot be.
    bool estimateLag(const SurveySettings& next, Placement& placed);
    // The coordinate system of --crs utm: the UTM zone of next's tracks; false after the
    // message when there is none.
    bool utmOfTracks(SurveySettings& next);
    // The corrections and the coordinate system of set into next; a usage error's text in
    // problem when one does not fit.
    static void setCorrections(const SetOptions& o, SurveySettings& next, std::string& problem);

    NewOptions new_;
    AddOptions add_;
    BaseOptions base_;
    TrackOptions track_;
    PlaceOptions place_;
    SetOptions set_;
};

}  // namespace velkor
