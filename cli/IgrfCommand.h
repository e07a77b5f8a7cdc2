// velkor2tr-cli igrf: the field of the model IGRF-14 at a place and date.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/CommandFamily.h"

namespace velkor {

class IgrfCommand : public CommandFamily {
  public:
    using CommandFamily::CommandFamily;
    void declare(CLI::App& tool, CommandList& commands) override;

  private:
    struct Options {
        std::string latitude;
        std::string longitude;
        std::string height;
        std::string date;
    };

    int run(const Options& o);

    Options options_;
};

}  // namespace velkor
