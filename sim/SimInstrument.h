// A stand-in for the magnetometer behind its USB bridge: the device list, the
// handshake, the record count, the records and their acknowledgements, and faults on
// demand. Configured from the environment (see the README).
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "transfer/FtTypes.h"
#include "transfer/InstrumentRecord.h"

namespace velkor::sim {

class SimInstrument {
  public:
    struct Device {
        std::string serial;
        std::string description;
    };

    // Reads the configuration anew and forgets any open device.
    void configure();

    const std::vector<Device>& devices() const { return devices_; }
    FT_STATUS open(const std::string& serial, FT_HANDLE& handle);
    FT_STATUS close(FT_HANDLE handle);
    FT_STATUS setTimeouts(FT_HANDLE handle, ULONG readMs);
    FT_STATUS write(FT_HANDLE handle, const std::uint8_t* bytes, DWORD count, DWORD& written);
    FT_STATUS read(FT_HANDLE handle, std::uint8_t* bytes, DWORD count, DWORD& received);

    // Bytes the instrument has sent that were not read yet.
    std::size_t pending() const { return pending_.size(); }
    int opens() const { return opens_; }
    const std::string& openedSerial() const { return openedSerial_; }
    int closes() const { return closes_; }
    bool isOpen() const { return open_; }
    // Fault "nulllist": FT_GetDeviceInfoList refuses a null record array.
    bool refusesNullList() const { return fault_ == "nulllist"; }

  private:
    bool valid(FT_HANDLE handle) const { return open_ && handle == this; }
    void answer(std::uint8_t byte);
    void queueRecord();
    void queueBytes(const std::uint8_t* bytes, std::size_t count);
    std::vector<InstrumentRecord> loadSurvey() const;

    std::vector<Device> devices_;
    std::vector<InstrumentRecord> records_;
    std::deque<std::uint8_t> pending_;
    std::string fault_;
    long breakAfter_ = -1;  // bytes the instrument sends before the link fails
    long sent_ = 0;
    bool broken_ = false;
    bool talks_ = true;  // a bridge that is not the magnetometer answers nothing
    std::size_t next_ = 0;
    ULONG readTimeoutMs_ = 0;
    int delayMs_ = 0;
    bool open_ = false;
    int opens_ = 0;
    std::string openedSerial_;
    int closes_ = 0;
};

// The one instrument behind the library's C entry points.
SimInstrument& instrument();

}  // namespace velkor::sim
