// Sets up the kernel driver's world for one test: a sysfs-like tree and a device
// folder in a temporary folder, the program pointed at them (and at no D2XX library),
// and simulated magnetometers on pseudo-terminals behind their ports.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/PtyInstrument.h"
#include "sim/SysfsTreeBuilder.h"
#include "support/TempDir.h"

namespace velkor {

class KernelTestbed {
  public:
    using Settings = std::map<std::string, std::string>;

    KernelTestbed();
    ~KernelTestbed();
    KernelTestbed(const KernelTestbed&) = delete;
    KernelTestbed& operator=(const KernelTestbed&) = delete;

    // A magnetometer as port ttyUSB<number> with this serial number, its instrument
    // configured from these VELKOR_SIM_* settings.
    sim::PtyInstrument& addMagnetometer(int number, const std::string& serial,
                                        const Settings& settings = {});
    // Any other port; its node points at node when one is given.
    void addPort(int number, const std::string& driver, const std::string& description,
                 const std::optional<std::string>& serial, const std::string& node = {});
    // The device node of port ttyUSB<number>.
    std::string node(int number) const;
    const TempDir& dir() const { return dir_; }

  private:
    TempDir dir_;
    sim::SysfsTreeBuilder tree_;
    std::vector<std::unique_ptr<sim::PtyInstrument>> instruments_;
};

}  // namespace velkor
