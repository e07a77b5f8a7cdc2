// How the instrument is connected: USB, or RS-232 with a port and a speed.
#pragma once

#include <string>

namespace velkor {

struct CommSettings {
    static constexpr int kRs232 = 0;
    static constexpr int kUsb = 1;

    std::string comPort = "COM1";
    std::string baudRate = "19200";
    int device = kRs232;

    bool operator==(const CommSettings& o) const {
        return comPort == o.comPort && baudRate == o.baudRate && device == o.device;
    }
};

}  // namespace velkor
