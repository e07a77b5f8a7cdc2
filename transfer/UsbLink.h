// The USB link's operations, whatever stands behind them: the device list filtered
// by description, opening by index or serial number, reads and writes with time-outs,
// closing. Status values follow the D2XX convention (0 success).
#pragma once

#include <string>

#include "transfer/ByteLink.h"
#include "transfer/FtTypes.h"

namespace velkor {

class UsbLink : public ByteLink {
  public:
    static constexpr const char* kMagnetometer = "Proton Magnetometer Velkor-2";

    // Lists the attached devices anew (closing an open one first) and keeps those whose
    // description is exactly this text, in list order.
    virtual FT_STATUS filterDeviceList(const std::string& description) = 0;
    virtual DWORD deviceCount() const = 0;
    // Record i (serial number and description), or null when i is not below the count.
    virtual const FT_DEVICE_LIST_INFO_NODE* deviceRecord(DWORD i) const = 0;
    // 3 (not opened) when i is not below the device count.
    virtual FT_STATUS openByIndex(DWORD i) = 0;
    virtual FT_STATUS openBySerial(const std::string& serial) = 0;
    virtual FT_STATUS setTimeouts(ULONG readMs, ULONG writeMs) = 0;
    // Closes the open device; nothing to do when none is open.
    virtual FT_STATUS close() = 0;
    virtual bool deviceOpen() const = 0;

    // False when the link cannot work at all (a library that could not be bound).
    virtual bool usable() const = 0;
    // What carries the bytes, for diagnostics ("kernel FTDI serial driver").
    virtual std::string linkName() const = 0;
    // Why the last open failed, in the user's terms; empty when the link cannot tell.
    virtual std::string openFailure() const { return {}; }
};

}  // namespace velkor
