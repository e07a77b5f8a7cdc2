// The kernel driver's device layer.
#include "transfer/KernelFtdiLink.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "serial/SerialPortFile.h"
#include "serial/TermiosMode.h"
#include "transfer/UsbSerialTree.h"

namespace velkor {
namespace {

using Clock = std::chrono::steady_clock;

std::string fieldText(const char* field, std::size_t size) {
    return std::string(field, strnlen(field, size));
}

// A record as the D2XX list holds one: texts cut to their fields, zero-terminated.
FT_DEVICE_LIST_INFO_NODE recordOf(const UsbSerialTree::Port& port) {
    FT_DEVICE_LIST_INFO_NODE r{};
    port.serial.copy(r.SerialNumber, sizeof r.SerialNumber - 1);
    port.description.copy(r.Description, sizeof r.Description - 1);
    return r;
}

std::string groupOf(const std::string& node) {
    struct stat st {};
    if (::stat(node.c_str(), &st) != 0) {
        return "unknown";
    }
    std::vector<char> buffer(16384);
    group g{};
    group* found = nullptr;
    if (::getgrgid_r(st.st_gid, &g, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr) {
        return found->gr_name;
    }
    return std::to_string(st.st_gid);
}

std::string usbMode() {
    const char* chosen = std::getenv("VELKOR2TR_USB_MODE");
    return chosen != nullptr && *chosen != '\0' ? chosen : KernelFtdiLink::kDefaultMode;
}

}  // namespace

KernelFtdiLink::KernelFtdiLink() = default;
KernelFtdiLink::~KernelFtdiLink() = default;

std::vector<KernelFtdiLink::Listed> KernelFtdiLink::listFtdiPorts() {
    std::vector<Listed> out;
    const std::filesystem::path dev = UsbSerialTree::devDir();
    for (const UsbSerialTree::Port& port : UsbSerialTree::ports(UsbSerialTree::sysDir())) {
        if (port.driver == kDriver) {
            out.push_back({recordOf(port), (dev / port.name).string()});
        }
    }
    for (Listed& l : out) {
        const std::string serial = serialText(l);
        l.uniqueSerial =
            !serial.empty() && std::count_if(out.begin(), out.end(), [&](const Listed& o) {
                                   return serialText(o) == serial;
                               }) == 1;
    }
    return out;
}

FT_STATUS KernelFtdiLink::filterDeviceList(const std::string& description) {
    close();
    std::vector<Listed> kept;
    for (Listed& l : listFtdiPorts()) {
        if (fieldText(l.record.Description, sizeof l.record.Description) == description) {
            kept.push_back(std::move(l));
        }
    }
    listed_ = std::move(kept);
    return FT_OK;
}

std::string KernelFtdiLink::serialText(const Listed& l) {
    return fieldText(l.record.SerialNumber, sizeof l.record.SerialNumber);
}

const FT_DEVICE_LIST_INFO_NODE* KernelFtdiLink::deviceRecord(DWORD i) const {
    return i < deviceCount() ? &listed_[i].record : nullptr;
}

FT_STATUS KernelFtdiLink::openByIndex(DWORD i) {
    if (i >= deviceCount()) {
        return FT_DEVICE_NOT_OPENED;
    }
    const Listed& chosen = listed_[i];
    return chosen.uniqueSerial ? openBySerial(serialText(chosen)) : openNode(chosen.node);
}

FT_STATUS KernelFtdiLink::openBySerial(const std::string& serial) {
    for (const Listed& l : listFtdiPorts()) {
        if (serialText(l) == serial) {
            return openNode(l.node);
        }
    }
    failure_ = "No USB device with the serial number \"" + serial +
               "\" is attached. Plug the instrument in, then import again.";
    return FT_DEVICE_NOT_FOUND;
}

FT_STATUS KernelFtdiLink::openNode(const std::string& node) {
    close();
    failure_.clear();
    const std::string modeText = usbMode();
    const std::optional<LineMode> mode = LineMode::parse(modeText);
    termios settings{};
    if (!mode || !TermiosMode::apply(settings, *mode)) {
        failure_ = "VELKOR2TR_USB_MODE is \"" + modeText +
                   "\", which is not a line setting such as " + kDefaultMode +
                   "; the USB device was not opened.";
        return FT_DEVICE_NOT_OPENED;
    }
    auto port = std::make_unique<SerialPortFile>(node);
    if (!port->isOpen()) {
        failure_ = failureText(node, port->error());
        return FT_DEVICE_NOT_OPENED;
    }
    termios t{};
    if (::tcgetattr(port->fd(), &t) != 0) {
        failure_ = failureText(node, errno);
        return FT_DEVICE_NOT_OPENED;
    }
    // Raw bytes, no flow control of either kind; a read of nothing waits for a byte
    // (the port is non-blocking, so only a hang-up reads as the end).
    cfmakeraw(&t);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | HUPCL);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    TermiosMode::apply(t, *mode);
    if (::tcsetattr(port->fd(), TCSANOW, &t) != 0) {
        failure_ = "The USB device " + node + " does not take the line setting " + modeText + ".";
        return FT_DEVICE_NOT_OPENED;
    }
    // Whatever the bridge held from before belongs to no transfer of ours.
    ::tcflush(port->fd(), TCIFLUSH);
    port_ = std::move(port);
    node_ = node;
    return FT_OK;
}

std::string KernelFtdiLink::failureText(const std::string& node, int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "The USB device " + node + " belongs to the group " + groupOf(node) +
                   ": permission denied: add your user to the group that owns the port "
                   "(usually dialout), then log in again.";
        case EBUSY:
        case EWOULDBLOCK:
            return "The USB device " + node +
                   " is busy: another program holds it (a modem manager or a terminal "
                   "program, for example). Close that program, then import again.";
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return "The USB device " + node +
                   " is gone: it was unplugged. Plug the instrument in again, then import "
                   "again.";
        default:
            return "The USB device " + node + " cannot be opened: " + std::strerror(error) + ".";
    }
}

FT_STATUS KernelFtdiLink::setTimeouts(ULONG readMs, ULONG writeMs) {
    if (!deviceOpen()) {
        return FT_INVALID_HANDLE;
    }
    readMs_ = readMs;
    writeMs_ = writeMs;
    return FT_OK;
}

KernelFtdiLink::Wait KernelFtdiLink::await(short events, ULONG waitMs) const {
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        pollfd p{port_->fd(), events, 0};
        const int n = ::poll(&p, 1, left > 0 ? static_cast<int>(left) : 0);
        if (n > 0) {
            // Data still buffered is read before a hang-up counts.
            if ((p.revents & events) != 0) {
                return Wait::Ready;
            }
            return Wait::Failed;  // hung up (unplugged) or an error: nothing more will come
        }
        if (n == 0) {
            return Wait::TimedOut;
        }
        if (errno != EINTR) {
            return Wait::Failed;
        }
    }
}

FT_STATUS KernelFtdiLink::read(void* bytes, DWORD count, DWORD& received) {
    received = 0;
    if (!deviceOpen()) {
        return FT_INVALID_HANDLE;
    }
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(readMs_);
    auto* out = static_cast<std::uint8_t*>(bytes);
    while (received < count) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        const Wait w = await(POLLIN, static_cast<ULONG>(left > 0 ? left : 0));
        if (w == Wait::TimedOut) {
            return FT_OK;  // the count tells the caller how short it came
        }
        if (w == Wait::Failed) {
            return FT_IO_ERROR;
        }
        const ssize_t n = ::read(port_->fd(), out + received, count - received);
        if (n > 0) {
            received += static_cast<DWORD>(n);
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            return FT_IO_ERROR;  // the end of a tty that hung up, or the port failed
        }
    }
    return FT_OK;
}

FT_STATUS KernelFtdiLink::write(const void* bytes, DWORD count, DWORD& written) {
    written = 0;
    if (!deviceOpen()) {
        return FT_INVALID_HANDLE;
    }
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(writeMs_);
    const auto* in = static_cast<const std::uint8_t*>(bytes);
    while (written < count) {
        const ssize_t n = ::write(port_->fd(), in + written, count - written);
        if (n > 0) {
            written += static_cast<DWORD>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return FT_IO_ERROR;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        const Wait w = await(POLLOUT, static_cast<ULONG>(left > 0 ? left : 0));
        if (w == Wait::TimedOut) {
            return FT_OK;
        }
        if (w == Wait::Failed) {
            return FT_IO_ERROR;
        }
    }
    return FT_OK;
}

FT_STATUS KernelFtdiLink::close() {
    port_.reset();
    node_.clear();
    return FT_OK;
}

bool KernelFtdiLink::deviceOpen() const {
    return port_ != nullptr;
}

std::optional<LineMode> KernelFtdiLink::lineSettings() const {
    termios t{};
    if (!deviceOpen() || ::tcgetattr(port_->fd(), &t) != 0) {
        return std::nullopt;
    }
    return TermiosMode::read(t);
}

}  // namespace velkor
