// The sysfs walk behind the kernel driver's device list.
#include "transfer/UsbSerialTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <tuple>

#include "core/FileDescriptor.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

fs::path fromEnv(const char* name, const char* fallback) {
    const char* chosen = std::getenv(name);
    return chosen != nullptr && *chosen != '\0' ? fs::path(chosen) : fs::path(fallback);
}

// A sysfs attribute: the file's text without its closing line feed. Anything but a
// readable regular file (a folder, a device, a pipe) has no text; a text is never
// longer than UsbSerialTree::kLongestText.
std::string attribute(const fs::path& file) {
    const FileDescriptor in(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!in.valid() || ::fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return {};
    }
    std::string text(UsbSerialTree::kLongestText, '\0');
    std::size_t have = 0;
    while (have < text.size()) {
        const ssize_t n = ::read(in.get(), &text[have], text.size() - have);
        if (n == 0) {
            break;
        }
        if (n < 0 && errno != EINTR) {
            return {};
        }
        have += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    text.resize(have);
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

// A name split into its text and the number it ends in ("ttyUSB", 10).
std::pair<std::string, unsigned long> splitNumber(const std::string& name) {
    std::size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) {
        --digits;
    }
    // Nine digits at most: no port number is longer, and the value cannot overflow.
    const std::string tail = name.substr(digits, 9);
    return {name.substr(0, digits), tail.empty() ? 0 : std::strtoul(tail.c_str(), nullptr, 10)};
}

}  // namespace

fs::path UsbSerialTree::sysDir() {
    return fromEnv("VELKOR2TR_SYSFS", "/sys");
}

fs::path UsbSerialTree::devDir() {
    return fromEnv("VELKOR2TR_DEVDIR", "/dev");
}

bool UsbSerialTree::before(const std::string& a, const std::string& b) {
    const auto [textA, numberA] = splitNumber(a);
    const auto [textB, numberB] = splitNumber(b);
    return std::tie(textA, numberA, a) < std::tie(textB, numberB, b);
}

UsbSerialTree::Port UsbSerialTree::describe(const fs::path& sys, const fs::path& entry) {
    std::error_code ec;
    Port port;
    port.name = entry.filename().string();
    const fs::path folder = fs::canonical(entry, ec);
    if (ec) {
        return port;
    }
    port.driver = fs::read_symlink(folder / "driver", ec).filename().string();
    // The USB device is the nearest folder above the port that has a vendor id.
    const fs::path top = fs::canonical(sys, ec);
    for (fs::path up = folder.parent_path(); !up.empty() && up != top && up != up.root_path();
         up = up.parent_path()) {
        if (fs::exists(up / "idVendor", ec)) {
            port.description = attribute(up / "product");
            port.serial = attribute(up / "serial");
            break;
        }
    }
    return port;
}

std::vector<UsbSerialTree::Port> UsbSerialTree::ports(const fs::path& sys) {
    std::vector<Port> found;
    std::error_code ec;
    for (fs::directory_iterator it(sys / "bus" / "usb-serial" / "devices", ec), end;
         !ec && it != end; it.increment(ec)) {
        found.push_back(describe(sys, it->path()));
    }
    std::sort(found.begin(), found.end(),
              [](const Port& a, const Port& b) { return before(a.name, b.name); });
    return found;
}

}  // namespace velkor
