#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/ForkedChild.h"
#include "support/KernelTestbed.h"
#include "support/TempDir.h"
#include "transfer/UsbSerialTree.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

// The USB device folder that holds the product and serial texts of port ttyUSB<number>.
fs::path usbDevice(int number) {
    const fs::path port = UsbSerialTree::sysDir() / "bus" / "usb-serial" / "devices" /
                          ("ttyUSB" + std::to_string(number));
    return fs::canonical(port).parent_path().parent_path();
}

// Puts something that is no text file where a text was.
void replaceWith(const fs::path& file, const std::string& kind) {
    fs::remove(file);
    if (kind == "folder") {
        fs::create_directory(file);
    } else if (kind == "endless") {
        fs::create_symlink("/dev/zero", file);
    } else if (kind == "fifo") {
        ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
    }
}

// AddressSanitizer reserves terabytes of address space: a limit on it stops the child
// before it starts. There the deadline alone catches a text read without end.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSpaceCanBeLimited = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSpaceCanBeLimited = false;
#else
constexpr bool kAddressSpaceCanBeLimited = true;
#endif
#else
constexpr bool kAddressSpaceCanBeLimited = true;
#endif

// The listing as a child process sees it: under a deadline, and with a memory limit so
// that a text read without end fails instead of filling the machine.
bool listedInChild(const std::function<bool(const std::vector<UsbSerialTree::Port>&)>& check) {
    return ForkedChild::run(
        [&] {
            if (kAddressSpaceCanBeLimited) {
                const rlimit memory{512u << 20, 512u << 20};
                ::setrlimit(RLIMIT_AS, &memory);
            }
            try {
                return check(UsbSerialTree::ports(UsbSerialTree::sysDir()));
            } catch (...) {
                return false;  // the child must never go on into the tests that follow
            }
        },
        5);
}

}  // namespace

TEST(UsbSerialTree, TextsThatAreNoFilesAreEmptyAndTheListingGoesOn) {
    for (const auto& [product, serial] : {std::pair<std::string, std::string>{"folder", "endless"},
                                          {"endless", "fifo"},
                                          {"fifo", "folder"}}) {
        KernelTestbed bed;
        bed.addPort(0, "ftdi_sio", "Proton Magnetometer Velkor-2", std::string("VK2-BAD"));
        bed.addPort(1, "ftdi_sio", "Proton Magnetometer Velkor-2", std::string("VK2-GOOD"));
        replaceWith(usbDevice(0) / "product", product);
        replaceWith(usbDevice(0) / "serial", serial);
        const bool listed = listedInChild([](const std::vector<UsbSerialTree::Port>& ports) {
            return ports.size() == 2 && ports[0].name == "ttyUSB0" &&
                   ports[0].driver == "ftdi_sio" && ports[0].description.empty() &&
                   ports[0].serial.empty() &&
                   ports[1].description == "Proton Magnetometer Velkor-2" &&
                   ports[1].serial == "VK2-GOOD";
        });
        EXPECT_TRUE(listed) << "product " << product << ", serial " << serial;
    }
}

TEST(UsbSerialTree, AnOverlongTextIsReadOnlyInPart) {
    KernelTestbed bed;
    const std::string huge(1 << 20, 'P');
    bed.addPort(0, "ftdi_sio", huge, std::string("VK2-LONG"));
    const std::vector<UsbSerialTree::Port> ports = UsbSerialTree::ports(UsbSerialTree::sysDir());
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].description, huge.substr(0, UsbSerialTree::kLongestText));
    EXPECT_EQ(ports[0].serial, "VK2-LONG");
}

}  // namespace velkor
