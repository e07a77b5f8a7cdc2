// A made-up sysfs tree of USB serial bridges.
#include "sim/SysfsTreeBuilder.h"

#include <fstream>

namespace velkor::sim {
namespace {

namespace fs = std::filesystem;

void writeAttribute(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text << '\n';
}

}  // namespace

SysfsTreeBuilder::SysfsTreeBuilder(const fs::path& root) : sys_(root / "sys"), dev_(root / "dev") {
    fs::create_directories(sys_ / "bus" / "usb-serial" / "devices");
    fs::create_directories(dev_);
    // The root hub also has a vendor id: the walk must stop at the nearest one.
    const fs::path hub = sys_ / "devices" / "pci0000:00" / "0000:00:14.0" / "usb1";
    fs::create_directories(hub);
    writeAttribute(hub / "idVendor", "1d6b");
    writeAttribute(hub / "product", "xHCI Host Controller");
}

void SysfsTreeBuilder::addPort(int number, const std::string& driver,
                               const std::string& description,
                               const std::optional<std::string>& serial, const std::string& node) {
    const std::string port = "ttyUSB" + std::to_string(number);
    const std::string usb = "1-" + std::to_string(++devices_);
    const fs::path device = fs::path("devices") / "pci0000:00" / "0000:00:14.0" / "usb1" / usb;
    const fs::path folder = device / (usb + ":1.0") / port;
    fs::create_directories(sys_ / folder);
    writeAttribute(sys_ / device / "idVendor", driver == "ftdi_sio" ? "0403" : "067b");
    writeAttribute(sys_ / device / "product", description);
    if (serial) {
        writeAttribute(sys_ / device / "serial", *serial);
    }
    fs::create_directories(sys_ / "bus" / "usb-serial" / "drivers" / driver);
    // Relative links, as the kernel makes them.
    fs::create_directory_symlink(fs::path("../../../../../../../bus/usb-serial/drivers") / driver,
                                 sys_ / folder / "driver");
    fs::create_directory_symlink(fs::path("../../..") / folder,
                                 sys_ / "bus" / "usb-serial" / "devices" / port);
    if (!node.empty()) {
        fs::create_symlink(node, dev_ / port);
    }
}

}  // namespace velkor::sim
