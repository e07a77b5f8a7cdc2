// The kernel driver's world for tests.
#include "support/KernelTestbed.h"

#include <stdlib.h>

namespace velkor {
namespace {

const char* const kSimVariables[] = {"VELKOR_SIM_DEVICES", "VELKOR_SIM_SURVEY",
                                     "VELKOR_SIM_READINGS", "VELKOR_SIM_FAULT",
                                     "VELKOR_SIM_DELAY_MS"};

void clearSimVariables() {
    for (const char* name : kSimVariables) {
        ::unsetenv(name);
    }
}

}  // namespace

KernelTestbed::KernelTestbed() : tree_(dir_.dir()) {
    ::setenv("VELKOR2TR_SYSFS", tree_.sysDir().c_str(), 1);
    ::setenv("VELKOR2TR_DEVDIR", tree_.devDir().c_str(), 1);
    ::unsetenv("VELKOR2TR_D2XX");
    ::unsetenv("VELKOR2TR_USB_MODE");
}

KernelTestbed::~KernelTestbed() {
    instruments_.clear();
    ::unsetenv("VELKOR2TR_SYSFS");
    ::unsetenv("VELKOR2TR_DEVDIR");
    ::unsetenv("VELKOR2TR_USB_MODE");
}

sim::PtyInstrument& KernelTestbed::addMagnetometer(int number, const std::string& serial,
                                                   const Settings& settings) {
    clearSimVariables();
    for (const auto& [name, value] : settings) {
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    instruments_.push_back(std::make_unique<sim::PtyInstrument>());
    clearSimVariables();
    tree_.addPort(number, "ftdi_sio", "Proton Magnetometer Velkor-2", serial,
                  instruments_.back()->path());
    return *instruments_.back();
}

void KernelTestbed::addPort(int number, const std::string& driver, const std::string& description,
                            const std::optional<std::string>& serial, const std::string& node) {
    tree_.addPort(number, driver, description, serial, node);
}

std::string KernelTestbed::node(int number) const {
    return (tree_.devDir() / ("ttyUSB" + std::to_string(number))).string();
}

}  // namespace velkor
