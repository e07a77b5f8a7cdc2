// velkor2tr-cli survey: builds a survey file, places and corrects its readings and writes
// them out. Each command family declares its commands' words once, and usage and --help
// come from them.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace velkor {

class PictureWriter;

class SurveyCommand {
  public:
    // pictures draws the plot and the line profiles; without one, both are refused.
    SurveyCommand(std::ostream& out, std::ostream& err, PictureWriter* pictures = nullptr);
    // The words after "survey": 0, 1 with the message last on stderr, or 2 for usage.
    int run(const std::vector<std::string>& args);

    // "velkor2tr-cli survey: TEXT" and where to look for the words, on err; 2.
    static int usageError(std::ostream& err, const std::string& text);

  private:
    std::ostream& out_;
    std::ostream& err_;
    PictureWriter* pictures_;
};

}  // namespace velkor
