// The USB serial ports the kernel offers, read from sysfs: each port's name, the
// driver bound to it and the texts of the USB device it belongs to.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace velkor {

class UsbSerialTree {
  public:
    // The most bytes read of a product or serial text: a USB string descriptor holds at
    // most 126 characters, three bytes each at worst in UTF-8.
    static constexpr std::size_t kLongestText = 384;

    struct Port {
        std::string name;         // "ttyUSB0"
        std::string driver;       // "ftdi_sio"
        std::string description;  // the USB device's product text
        std::string serial;       // its serial number; empty when it has none
    };

    // Where sysfs and the device nodes are: /sys and /dev unless VELKOR2TR_SYSFS and
    // VELKOR2TR_DEVDIR name other folders.
    static std::filesystem::path sysDir();
    static std::filesystem::path devDir();

    // Every port under sys/bus/usb-serial/devices, ttyUSB2 before ttyUSB10; none when
    // the folder is missing. Never throws: what cannot be read is left empty.
    static std::vector<Port> ports(const std::filesystem::path& sys);
    // Orders names by their text, then by the number they end in.
    static bool before(const std::string& a, const std::string& b);

  private:
    static Port describe(const std::filesystem::path& sys, const std::filesystem::path& entry);
};

}  // namespace velkor
