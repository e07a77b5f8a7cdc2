// COM port names to device files.
#include "serial/ComPortMap.h"

#include <utility>

#include "serial/SerialPortFile.h"
#include "text/NumberText.h"

namespace velkor {

ComPortMap::ComPortMap(std::map<int, std::string> overrides) : overrides_(std::move(overrides)) {}

std::string ComPortMap::devicePath(int port) const {
    const auto it = overrides_.find(port);
    if (it != overrides_.end()) {
        return it->second;
    }
    if (port >= 1 && port <= 32) {
        return "/dev/ttyS" + std::to_string(port - 1);
    }
    if (port >= 33 && port <= 64) {
        return "/dev/ttyUSB" + std::to_string(port - 33);
    }
    if (port >= 65 && port <= kLastPort) {
        return "/dev/ttyACM" + std::to_string(port - 65);
    }
    return {};
}

std::vector<std::string> ComPortMap::openablePorts() const {
    std::vector<std::string> names;
    for (int n = 1; n <= kLastPort; ++n) {
        const std::string path = devicePath(n);
        if (!path.empty() && SerialPortFile(path).isOpen()) {
            names.push_back("COM" + std::to_string(n));
        }
    }
    return names;
}

int ComPortMap::portNumber(const std::string& name) {
    return name.size() > 3 ? readInteger(std::string_view(name).substr(3)) : 0;
}

}  // namespace velkor
