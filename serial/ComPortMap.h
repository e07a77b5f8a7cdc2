// Which device file stands behind a port name "COMn".
#pragma once

#include <map>
#include <string>
#include <vector>

namespace velkor {

class ComPortMap {
  public:
    static constexpr int kLastPort = 99;

    // COM1-COM32 are /dev/ttyS0-31, COM33-COM64 /dev/ttyUSB0-31, COM65-COM99
    // /dev/ttyACM0-34; overrides name other devices for single ports.
    explicit ComPortMap(std::map<int, std::string> overrides = {});

    std::string devicePath(int port) const;
    // "COMn" names of the ports that can be opened now, in port order.
    std::vector<std::string> openablePorts() const;
    // The number after the first three characters of a name ("COM12" gives 12).
    static int portNumber(const std::string& name);

  private:
    std::map<int, std::string> overrides_;
};

}  // namespace velkor
