// velkor2tr-cli info and copy: a data file as the program reads it.
#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace velkor {

class CommandList;
class DataSet;

class FileCommands {
  public:
    FileCommands(std::ostream& out, std::ostream& err);
    void declare(CLI::App& tool, CommandList& commands);

  private:
    struct InfoOptions {
        std::string file;
    };
    struct CopyOptions {
        std::string in;
        std::string out;
    };

    int info(const InfoOptions& o);
    int copy(const CopyOptions& o);
    // The line count, the layout and the readings by mode.
    void printCounts(const DataSet& data);

    std::ostream& out_;
    std::ostream& err_;
    InfoOptions info_;
    CopyOptions copy_;
};

}  // namespace velkor
