// velkor2tr-cli: the program's commands without windows.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace velkor {

class DataSet;
class DrawingSurface;
class PictureWriter;
class Prompter;

class CliTool {
  public:
    static constexpr int kOk = 0;
    static constexpr int kFailed = 1;
    static constexpr int kUsage = 2;

    // pictures writes the plots; without one, plot is refused.
    CliTool(std::ostream& out, std::ostream& err, PictureWriter* pictures = nullptr);
    int run(const std::vector<std::string>& args);
    // "WxH", each from 200 to 10000 pixels.
    static bool readSize(const std::string& text, int& width, int& height);

  private:
    int usage(int status);
    int info(const std::vector<std::string>& args);
    int copy(const std::vector<std::string>& args);
    int exportFile(const std::vector<std::string>& args);
    int devices(const std::vector<std::string>& args);
    int importData(const std::vector<std::string>& args);
    int igrf(const std::vector<std::string>& args);
    int summary(const std::vector<std::string>& args);
    int plot(const std::vector<std::string>& args);
    int plotBase(const std::vector<std::string>& args);
    int plotMap(const std::vector<std::string>& args);
    int plotProfile(const std::vector<std::string>& args);
    // Options from args[3] on, each a name from allowed with a value, none twice; false
    // on anything else.
    static bool readOptions(const std::vector<std::string>& args, std::size_t first,
                            const std::vector<std::string>& allowed,
                            std::map<std::string, std::string>& options);
    // The --size option (default width x height): kOk, or after a message kUsage when it
    // is bad and kFailed when this build draws no pictures.
    int pictureSize(const std::map<std::string, std::string>& options, int& width, int& height);
    // A picture of the data to path; false after the message when it cannot be written.
    bool writePicture(const std::string& path, int width, int height,
                      const std::function<void(DrawingSurface&)>& draw);
    // Reads option name as a value from 0 to maximum; false (after a message) when it
    // is not one.
    bool checkedValue(const std::map<std::string, std::string>& options, const std::string& name,
                      float maximum, float& value);
    // The --geomag option of every command that takes one: a value, or igrf:LAT,LON[,H].
    struct Geomag;
    // Reads it before anything is loaded; false (after a message) when it is bad.
    bool readGeomag(const std::map<std::string, std::string>& options, Geomag& geomag);
    // Confirms it for the loaded data, as the dialog's OK does; false after the message
    // when the model gives no value.
    static bool applyGeomag(const Geomag& geomag, DataSet& data, Prompter& prompter);

    std::ostream& out_;
    std::ostream& err_;
    PictureWriter* pictures_;
};

}  // namespace velkor
