// velkor2tr-cli igrf: the field of the model IGRF-14 at a place and date.
#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace velkor {

class CommandList;

class IgrfCommand {
  public:
    IgrfCommand(std::ostream& out, std::ostream& err);
    void declare(CLI::App& tool, CommandList& commands);

  private:
    struct Options {
        std::string latitude;
        std::string longitude;
        std::string height;
        std::string date;
    };

    int run(const Options& o);

    std::ostream& out_;
    std::ostream& err_;
    Options options_;
};

}  // namespace velkor
