// The USB link over the kernel's own FTDI serial driver (ftdi_sio): bridges listed
// from sysfs at every listing, opened as their tty device nodes, read and written with
// the D2XX library's status convention and time-out behaviour.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "serial/LineMode.h"
#include "transfer/UsbLink.h"

namespace velkor {

class SerialPortFile;

class KernelFtdiLink : public UsbLink {
  public:
    static constexpr const char* kDriver = "ftdi_sio";
    // What a D2XX open leaves the bridge in; VELKOR2TR_USB_MODE overrides it.
    static constexpr const char* kDefaultMode = "9600,n,8,1";
    // Used until the caller sets time-outs, so that no read waits for ever.
    static constexpr ULONG kDefaultTimeoutMs = 3000;

    KernelFtdiLink();
    ~KernelFtdiLink() override;
    KernelFtdiLink(const KernelFtdiLink&) = delete;
    KernelFtdiLink& operator=(const KernelFtdiLink&) = delete;

    FT_STATUS filterDeviceList(const std::string& description) override;
    DWORD deviceCount() const override { return static_cast<DWORD>(listed_.size()); }
    const FT_DEVICE_LIST_INFO_NODE* deviceRecord(DWORD i) const override;
    // By serial number, which finds the bridge again should its port name have changed;
    // by the port listed when its serial number is missing or shared (clones, blank
    // EEPROMs), since a shared number names no one bridge.
    FT_STATUS openByIndex(DWORD i) override;
    // The first FTDI port with this serial number, looked up in sysfs anew.
    FT_STATUS openBySerial(const std::string& serial) override;
    FT_STATUS setTimeouts(ULONG readMs, ULONG writeMs) override;
    FT_STATUS write(const void* bytes, DWORD count, DWORD& written) override;
    // Returns when count bytes arrived (status 0), when the read time-out passed with
    // fewer (status 0, the count tells), or at once when the port failed or hung up.
    FT_STATUS read(void* bytes, DWORD count, DWORD& received) override;
    FT_STATUS close() override;
    bool deviceOpen() const override;
    bool usable() const override { return true; }
    std::string linkName() const override { return "kernel FTDI serial driver"; }
    std::string openFailure() const override { return failure_; }

    // The device node of the open port, and its line setting as the system has it.
    const std::string& openNode() const { return node_; }
    std::optional<LineMode> lineSettings() const;

  private:
    struct Listed {
        FT_DEVICE_LIST_INFO_NODE record;
        std::string node;
        // No other FTDI port listed with it has the same serial number text.
        bool uniqueSerial = false;
    };
    // Every port of the FTDI driver, with each serial number's uniqueness among them.
    static std::vector<Listed> listFtdiPorts();
    static std::string serialText(const Listed& l);
    FT_STATUS openNode(const std::string& node);
    // What the user can do about an open that failed with this errno.
    static std::string failureText(const std::string& node, int error);
    enum class Wait { Ready, TimedOut, Failed };
    // Waits until the port is ready for these events or waitMs have passed.
    Wait await(short events, ULONG waitMs) const;

    std::vector<Listed> listed_;
    std::unique_ptr<SerialPortFile> port_;
    std::string node_;
    std::string failure_;
    ULONG readMs_ = kDefaultTimeoutMs;
    ULONG writeMs_ = kDefaultTimeoutMs;
};

}  // namespace velkor
