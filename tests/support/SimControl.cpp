// Control of the simulated instrument from tests.
#include "support/SimControl.h"

#include <stdlib.h>

namespace velkor {
namespace {

const char* const kVariables[] = {"VELKOR_SIM_DEVICES", "VELKOR_SIM_SURVEY", "VELKOR_SIM_READINGS",
                                  "VELKOR_SIM_FAULT", "VELKOR_SIM_DELAY_MS"};

template <typename Fn>
Fn entry(const SharedLibrary& lib, const char* name) {
    return reinterpret_cast<Fn>(lib.symbol(name));
}

}  // namespace

SimControl::SimControl(const std::map<std::string, std::string>& settings,
                       const std::string& library) {
    ::setenv("VELKOR2TR_D2XX", library.c_str(), 1);
    library_.load(VELKOR_SIM_LIB);
    configure(settings);
}

SimControl::~SimControl() {
    configure({});
    ::unsetenv("VELKOR2TR_D2XX");
}

void SimControl::configure(const std::map<std::string, std::string>& settings) {
    for (const char* name : kVariables) {
        ::unsetenv(name);
    }
    for (const auto& [name, value] : settings) {
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    if (auto fn = entry<void (*)()>(library_, "VelkorSim_Configure")) {
        fn();
    }
}

int SimControl::opens() const {
    return entry<int (*)()>(library_, "VelkorSim_Opens")();
}
int SimControl::closes() const {
    return entry<int (*)()>(library_, "VelkorSim_Closes")();
}
bool SimControl::isOpen() const {
    return entry<int (*)()>(library_, "VelkorSim_IsOpen")() != 0;
}
std::string SimControl::openedSerial() const {
    return entry<const char* (*)()>(library_, "VelkorSim_OpenedSerial")();
}

}  // namespace velkor
