// Builds, in a folder of its own, what the kernel shows of attached USB serial
// bridges: a sysfs-like tree (bus/usb-serial/devices/ttyUSBn links into devices/...,
// each port's driver link, the USB device's product and serial files) and a device
// folder whose ttyUSBn nodes point at pseudo-terminals.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velkor::sim {

class SysfsTreeBuilder {
  public:
    // Makes root/sys and root/dev (root must exist).
    explicit SysfsTreeBuilder(const std::filesystem::path& root);

    // Adds port ttyUSB<number> bound to driver, on a USB device whose product text is
    // description and whose serial file holds serial (none when not given). Its node
    // in the device folder points at node, when one is given.
    void addPort(int number, const std::string& driver, const std::string& description,
                 const std::optional<std::string>& serial, const std::string& node = {});

    std::filesystem::path sysDir() const { return sys_; }
    std::filesystem::path devDir() const { return dev_; }

  private:
    std::filesystem::path sys_;
    std::filesystem::path dev_;
    int devices_ = 0;
};

}  // namespace velkor::sim
