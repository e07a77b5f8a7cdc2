// velkor2tr-cli devices and import: the attached magnetometers through the USB link the
// window would choose.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace velkor {

class CommandList;

class DeviceCommands {
  public:
    DeviceCommands(std::ostream& out, std::ostream& err);
    void declare(CLI::App& tool, CommandList& commands);

  private:
    struct ImportOptions {
        std::string out;
        std::uint32_t device = 0;
    };

    int devices();
    int importData(const ImportOptions& o);

    std::ostream& out_;
    std::ostream& err_;
    ImportOptions import_;
};

}  // namespace velkor
