// velkor2tr-cli survey: builds a survey file, places and corrects its readings and writes
// them out. Its options are declared once, and usage and --help come from them.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "survey/SurveySettings.h"

namespace velkor {

class PictureWriter;
class Survey;

class SurveyCommand {
  public:
    // pictures draws the plot and the line profiles; without one, both are refused.
    SurveyCommand(std::ostream& out, std::ostream& err, PictureWriter* pictures = nullptr);
    // The words after "survey": 0, 1 with the message last on stderr, or 2 for usage.
    int run(const std::vector<std::string>& args);

  private:
    struct Options;
    int create(const Options& o);
    int add(const Options& o);
    int base(const Options& o);
    int place(const Options& o);
    int set(const Options& o);
    int info(const Options& o);
    int exportTo(const Options& o);
    int grid(const Options& o);
    int contours(const Options& o);
    int plot(const Options& o);
    int plotLines(const Options& o);
    int despike(const Options& o);
    int flag(const Options& o);

    // The survey file's settings; nothing after the message when it cannot be read.
    std::optional<SurveySettings> read(const std::string& path);
    // Opens next to see that every file and number in it can be used, then writes it over
    // the survey file; 1 after the message, the file untouched, when either fails.
    // saved, when given, takes the survey as saved.
    int save(const std::string& path, const SurveySettings& next,
             std::optional<Survey>* saved = nullptr);
    // The survey of a survey file, or of settings read already; nothing after the message.
    std::optional<Survey> open(const std::string& path);
    std::optional<Survey> open(const std::optional<SurveySettings>& settings);
    void tell(const std::string& path, const Survey& survey);
    // Opens the survey, takes its gridding with what the options change and, with grid,
    // grids it; 1 after the message when it cannot, 2 after a usage error.
    struct Gridded;
    int gridSurvey(const Options& o, Gridded& gridded, bool grid = true);
    // The survey's gridding with what the options change; nothing and a usage error's text
    // in problem when a value does not fit.
    static std::optional<SurveySettings::Gridding> given(const Options& o,
                                                         SurveySettings::Gridding gridding,
                                                         std::string& problem);
    // 0 when OUT is none of the survey's own files; else 2 after saying so.
    int checkOut(const Options& o, const SurveySettings& settings);
    int usageError(const std::string& text);

    std::ostream& out_;
    std::ostream& err_;
    PictureWriter* pictures_;
};

}  // namespace velkor
