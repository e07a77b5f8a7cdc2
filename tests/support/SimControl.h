// Sets up the simulated instrument for one test: which library the program binds,
// the instrument's configuration, and what the device saw.
#pragma once

#include <map>
#include <string>

#include "transfer/SharedLibrary.h"

namespace velkor {

class SimControl {
  public:
    using Settings = std::map<std::string, std::string>;

    // Points VELKOR2TR_D2XX at the simulated library (or at library) and configures
    // the instrument from these VELKOR_SIM_* variables; the others are cleared.
    explicit SimControl(const std::map<std::string, std::string>& settings = {},
                        const std::string& library = VELKOR_SIM_LIB);
    ~SimControl();
    SimControl(const SimControl&) = delete;
    SimControl& operator=(const SimControl&) = delete;

    void configure(const std::map<std::string, std::string>& settings);
    int opens() const;
    int closes() const;
    bool isOpen() const;
    std::string openedSerial() const;

  private:
    SharedLibrary library_;
};

}  // namespace velkor
