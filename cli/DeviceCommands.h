// velkor2tr-cli devices and import: the attached magnetometers through the USB link the
// window would choose.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "cli/CommandFamily.h"

namespace velkor {

class DeviceCommands : public CommandFamily {
  public:
    using CommandFamily::CommandFamily;
    void declare(CLI::App& tool, CommandList& commands) override;

  private:
    struct ImportOptions {
        std::string out;
        std::uint32_t device = 0;
    };

    int devices();
    int importData(const ImportOptions& o);

    ImportOptions import_;
};

}  // namespace velkor
