// The kernel driver's device list over a made-up sysfs tree whose product and serial
// entries may be folders, endless files, FIFOs, dangling links or any text, with bridges
// sharing a serial number: the listing never throws, never hangs and keeps its texts
// short; the list holds exactly the matching FTDI bridges, and opening entry i opens
// that entry's own port.
#include <fuzzer/FuzzedDataProvider.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/FuzzPrompter.h"
#include "sim/SysfsTreeBuilder.h"
#include "transfer/KernelFtdiLink.h"
#include "transfer/UsbSerialTree.h"

using namespace velkor;
namespace fs = std::filesystem;

namespace {

constexpr const char* kInstrument = "Velkor-2";

// A pseudo-terminal pair for one run; the slave is the port a bridge's node points at.
class Pty {
  public:
    Pty() { ok_ = ::openpty(&master_, &slave_, name_, nullptr, nullptr) == 0; }
    ~Pty() {
        if (ok_) {
            ::close(master_);
            ::close(slave_);
        }
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    std::string node() const { return ok_ ? name_ : "/nonexistent/pty"; }

  private:
    int master_ = -1;
    int slave_ = -1;
    char name_[128] = {};
    bool ok_ = false;
};

// Puts something other than a plain text file at an attribute's place.
void spoil(const fs::path& file, int how, const std::string& text) {
    std::error_code ec;
    fs::remove(file, ec);
    switch (how) {
        case 0:
            fs::create_directory(file, ec);
            break;
        case 1:
            fs::create_symlink("/dev/zero", file, ec);
            break;
        case 2:
            ::mkfifo(file.c_str(), 0600);
            break;
        case 3:
            fs::create_symlink("gone", file, ec);
            break;
        case 4:
            std::ofstream(file, std::ios::binary) << std::string(70000, 'x');
            break;
        default:
            std::ofstream(file, std::ios::binary) << text;
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider in(bytes, size);
    const fs::path root = FuzzPrompter::scratch("usb");
    std::error_code ec;
    fs::remove_all(root, ec);
    fs::create_directories(root);
    std::vector<std::string> expected;  // nodes of the instrument's bridges, in list order
    std::vector<std::unique_ptr<Pty>> ptys;
    {
        sim::SysfsTreeBuilder tree(root);
        const int ports = in.ConsumeIntegralInRange(0, 6);
        const fs::path usb = tree.sysDir() / "devices" / "pci0000:00" / "0000:00:14.0" / "usb1";
        for (int p = 0; p < ports; ++p) {
            const bool ftdi = in.ConsumeIntegralInRange(0, 3) != 0;
            const bool ours = in.ConsumeBool();
            const std::string serial = in.ConsumeBool() ? "FT1" : in.ConsumeRandomLengthString(20);
            std::string node;
            if (in.ConsumeBool() && ptys.size() < 3) {
                ptys.push_back(std::make_unique<Pty>());
                node = ptys.back()->node();
            } else {
                node = (root / ("missing" + std::to_string(p))).string();
            }
            tree.addPort(p, ftdi ? KernelFtdiLink::kDriver : "pl2303",
                         ours ? kInstrument : in.ConsumeRandomLengthString(30),
                         in.ConsumeBool() ? std::optional<std::string>(serial) : std::nullopt,
                         node);
            const fs::path device = usb / ("1-" + std::to_string(p + 1));
            if (in.ConsumeBool()) {
                spoil(device / "serial", in.ConsumeIntegralInRange(0, 5),
                      in.ConsumeRandomLengthString(40));
            }
            if (!ours && in.ConsumeBool()) {
                spoil(device / "product", in.ConsumeIntegralInRange(0, 5),
                      in.ConsumeRandomLengthString(40));
            }
            if (ftdi && ours) {
                expected.push_back((tree.devDir() / ("ttyUSB" + std::to_string(p))).string());
            }
        }
        ::setenv("VELKOR2TR_SYSFS", tree.sysDir().c_str(), 1);
        ::setenv("VELKOR2TR_DEVDIR", tree.devDir().c_str(), 1);
    }

    for (const UsbSerialTree::Port& port : UsbSerialTree::ports(UsbSerialTree::sysDir())) {
        FuzzPrompter::require(port.description.size() <= 4096 && port.serial.size() <= 4096,
                              "short attribute texts");
    }
    KernelFtdiLink link;
    FuzzPrompter::require(link.filterDeviceList(kInstrument) == FT_OK, "a list");
    FuzzPrompter::require(link.deviceCount() == expected.size(),
                          "exactly the instrument's FTDI bridges listed");
    for (DWORD i = 0; i < link.deviceCount(); ++i) {
        const FT_DEVICE_LIST_INFO_NODE* r = link.deviceRecord(i);
        FuzzPrompter::require(r != nullptr, "a record for every entry");
        if (link.openByIndex(i) == FT_OK) {
            FuzzPrompter::require(link.openNode() == expected[i], "entry i opens its own port");
        } else {
            FuzzPrompter::require(!link.openFailure().empty(), "a failed open says why");
        }
        link.close();
    }
    link.openBySerial(in.ConsumeRandomLengthString(20));
    link.close();
    fs::remove_all(root, ec);
    return 0;
}
