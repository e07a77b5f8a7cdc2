// velkor2tr-cli info and copy: a data file as the program reads it.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/CommandFamily.h"

namespace velkor {

class DataSet;

class FileCommands : public CommandFamily {
  public:
    using CommandFamily::CommandFamily;
    void declare(CLI::App& tool, CommandList& commands) override;

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

    InfoOptions info_;
    CopyOptions copy_;
};

}  // namespace velkor
