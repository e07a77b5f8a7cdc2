// velkor2tr-cli plot base, plot map and plot profile: the window's pictures as PNG files.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "cli/CommandFamily.h"
#include "cli/CorrectionOptions.h"
#include "pictures/PlanMapGeometry.h"

namespace velkor {

class DataSet;
class DrawingSurface;
class PlanMap;
class PictureWriter;

class PlotCommands : public CommandFamily {
  public:
    // pictures writes the plots; without one, each is refused.
    PlotCommands(std::ostream& out, std::ostream& err, PictureWriter* pictures);
    void declare(CLI::App& tool, CommandList& commands) override;

  private:
    struct Picture {
        std::string in;
        std::string out;
        std::optional<std::string> size;
    };
    struct Size {
        int width = 900;
        int height = 560;
    };
    struct BaseOptions {
        Picture picture;
        std::optional<std::string> date;
        std::optional<std::string> survey;
    };
    struct MapOptions {
        Picture picture;
        CorrectionOptions corrections;
        std::string by = "field";
        std::optional<std::string> lineSpacing;
        std::optional<std::string> stationInterval;
    };
    struct ProfileOptions {
        Picture picture;
    };

    void declareBase(CLI::App& plot, CommandList& commands);
    void declareMap(CLI::App& plot, CommandList& commands);
    void declareProfile(CLI::App& plot, CommandList& commands);
    int base(const BaseOptions& o);
    int map(const MapOptions& o);
    int profile(const ProfileOptions& o);
    // IN (or VARIATIONS) and OUT.png of each picture, and its --size.
    static void declarePicture(CLI::App& command, const std::string& in, Picture& picture);
    static void declareSize(CLI::App& command, Picture& picture);
    // Reads --size: kOk, or after a message kUsage when it is bad and kFailed when this build
    // draws no pictures.
    int pictureSize(const Picture& picture, Size& size);
    // The map of the corrected data to the picture's file, and what it shows to stdout.
    int drawMap(const Picture& picture, const PlanMap& map, const DataSet& data,
                const PlanMapGeometry::Scale& scale, Size size);
    // The picture to its file; false after the message when it cannot be written.
    bool write(const std::string& path, Size size,
               const std::function<void(DrawingSurface&)>& draw);

    PictureWriter* pictures_;
    BaseOptions base_;
    MapOptions map_;
    ProfileOptions profile_;
};

}  // namespace velkor
