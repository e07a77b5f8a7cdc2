// The USB link: the FTDI D2XX library bound by name at run time, the one open device
// and the list of attached devices.
#pragma once

#include <string>
#include <vector>

#include "transfer/FtTypes.h"
#include "transfer/SharedLibrary.h"
#include "transfer/UsbLink.h"

namespace velkor {

class Prompter;

class CFTD2XX : public UsbLink {
  public:
    // VELKOR2TR_D2XX names another library to bind instead of the platform's.
    static std::string libraryName();

    explicit CFTD2XX(Prompter& prompter);

    // 1 bound, -1 the library cannot be loaded, -2 an entry point is missing.
    int bind();
    bool bound() const { return bound_; }

    FT_STATUS write(const void* bytes, DWORD count, DWORD& written) override;
    FT_STATUS read(void* bytes, DWORD count, DWORD& received) override;
    FT_STATUS openEx(void* argument, DWORD flags);
    // Closes the open device; nothing to do when none is open.
    FT_STATUS close() override;
    FT_STATUS setTimeouts(ULONG readMs, ULONG writeMs) override;
    FT_STATUS createDeviceInfoList(DWORD& count);
    FT_STATUS getDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* records, DWORD& count);

    // 3 (not opened) without a call when i is not below the device count.
    FT_STATUS openByIndex(DWORD i) override;
    // OpenEx with the serial number, flags 1.
    FT_STATUS openBySerial(const std::string& serial) override;
    FT_STATUS refreshDeviceList();
    // Keeps the devices whose description is exactly this text, in list order.
    FT_STATUS filterDeviceList(const std::string& description) override;
    DWORD deviceCount() const override { return static_cast<DWORD>(devices_.size()); }
    // Record i, or null when i is not below the device count.
    const FT_DEVICE_LIST_INFO_NODE* deviceRecord(DWORD i) const override;
    bool deviceOpen() const override { return device_ != nullptr; }
    bool usable() const override { return bound_; }
    // "FTDI D2XX library " and the library's name.
    std::string linkName() const override;

  private:
    bool unbound(const void* entry, const char* name);

    Prompter& prompter_;
    FT_OpenFn open_ = nullptr;
    FT_OpenExFn openEx_ = nullptr;
    FT_ListDevicesFn listDevices_ = nullptr;
    FT_CloseFn close_ = nullptr;
    FT_ReadFn read_ = nullptr;
    FT_WriteFn write_ = nullptr;
    FT_ResetDeviceFn resetDevice_ = nullptr;
    FT_PurgeFn purge_ = nullptr;
    FT_SetTimeoutsFn setTimeouts_ = nullptr;
    FT_GetQueueStatusFn getQueueStatus_ = nullptr;
    FT_GetDeviceInfoListFn getDeviceInfoList_ = nullptr;
    FT_CreateDeviceInfoListFn createDeviceInfoList_ = nullptr;
    SharedLibrary library_;
    FT_HANDLE device_ = nullptr;
    std::vector<FT_DEVICE_LIST_INFO_NODE> devices_;
    bool bound_ = false;
};

}  // namespace velkor
