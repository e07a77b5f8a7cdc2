// Serial link over POSIX termios.
#include "serial/SerialLink.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <utility>

#include "core/Prompter.h"
#include "serial/SerialPortFile.h"

namespace velkor {
namespace {

struct Speed {
    int baud;
    speed_t code;
};

constexpr Speed kSpeeds[] = {{50, B50},        {75, B75},       {110, B110},     {134, B134},
                             {150, B150},      {200, B200},     {300, B300},     {600, B600},
                             {1200, B1200},    {1800, B1800},   {2400, B2400},   {4800, B4800},
                             {9600, B9600},    {19200, B19200}, {38400, B38400}, {57600, B57600},
                             {115200, B115200}};

std::optional<speed_t> speedCode(int baud) {
    for (const Speed& s : kSpeeds) {
        if (s.baud == baud) {
            return s.code;
        }
    }
    return std::nullopt;
}

int baudOf(speed_t code) {
    for (const Speed& s : kSpeeds) {
        if (s.code == code) {
            return s.baud;
        }
    }
    return 0;
}

// Applies a parsed mode to the settings; false when the speed has no code.
bool applyMode(termios& t, const LineMode& m) {
    const std::optional<speed_t> code = speedCode(m.speed);
    if (!code) {
        return false;
    }
    cfsetispeed(&t, *code);
    cfsetospeed(&t, *code);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CMSPAR);
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= kSizes[m.dataBits - 5];
    if (m.stopBits == 2) {
        t.c_cflag |= CSTOPB;
    }
    switch (m.parity) {
        case 'e':
            t.c_cflag |= PARENB;
            break;
        case 'o':
            t.c_cflag |= PARENB | PARODD;
            break;
        case 'm':
            t.c_cflag |= PARENB | PARODD | CMSPAR;
            break;
        case 's':
            t.c_cflag |= PARENB | CMSPAR;
            break;
        default:
            break;
    }
    return true;
}

}  // namespace

SerialLink::SerialLink(ComPortMap ports, Prompter& prompter)
    : ports_(std::move(ports)), prompter_(prompter) {}

SerialLink::~SerialLink() = default;

bool SerialLink::isOpen() const {
    return port_ && port_->isOpen();
}

bool SerialLink::open(int port, const std::string& mode, bool showTimeOut) {
    error_ = 1;
    showTimeOut_ = showTimeOut;
    close();
    auto file = std::make_unique<SerialPortFile>(ports_.devicePath(port));
    termios t{};
    if (!file->isOpen() || ::tcgetattr(file->fd(), &t) != 0) {
        return false;
    }
    // Bytes pass as they are: no line editing, echo or translation; the framing stays
    // as the port has it unless the mode string says otherwise.
    const tcflag_t framing = t.c_cflag & (CSIZE | PARENB | PARODD | CSTOPB | CMSPAR);
    cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CMSPAR);
    t.c_cflag |= framing | CLOCAL | CREAD;
    if (const std::optional<LineMode> m = LineMode::parse(mode)) {
        termios changed = t;
        if (applyMode(changed, *m)) {
            t = changed;
        }
    }
    if (::tcsetattr(file->fd(), TCSANOW, &t) != 0) {
        return false;
    }
    ::tcflush(file->fd(), TCIOFLUSH);
    port_ = std::move(file);
    error_ = 0;
    return true;
}

std::optional<LineMode> SerialLink::lineSettings() const {
    termios t{};
    if (!isOpen() || ::tcgetattr(port_->fd(), &t) != 0) {
        return std::nullopt;
    }
    LineMode m;
    m.speed = baudOf(cfgetospeed(&t));
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    for (int i = 0; i < 4; ++i) {
        if ((t.c_cflag & CSIZE) == kSizes[i]) {
            m.dataBits = 5 + i;
        }
    }
    m.stopBits = (t.c_cflag & CSTOPB) != 0 ? 2 : 1;
    if ((t.c_cflag & PARENB) == 0) {
        m.parity = 'n';
    } else if ((t.c_cflag & CMSPAR) != 0) {
        m.parity = (t.c_cflag & PARODD) != 0 ? 'm' : 's';
    } else {
        m.parity = (t.c_cflag & PARODD) != 0 ? 'o' : 'e';
    }
    return m;
}

std::vector<int> SerialLink::speeds() {
    std::vector<int> all;
    for (const Speed& s : kSpeeds) {
        all.push_back(s.baud);
    }
    return all;
}

bool SerialLink::setsSpeed(const std::string& text) {
    for (const Speed& s : kSpeeds) {
        if (std::to_string(s.baud) == text) {
            return true;
        }
    }
    return false;
}

SerialLink::Wait SerialLink::waitFor(short events, int timeoutMs) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              until - std::chrono::steady_clock::now())
                              .count();
        pollfd p{port_->fd(), events, 0};
        const int n = ::poll(&p, 1, left > 0 ? static_cast<int>(left) : 0);
        if (n > 0) {
            // A port whose far end went away (an adapter pulled out) stays "ready"
            // for good; only the hang-up or error tells.
            const bool gone = (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
            return !gone && (p.revents & events) != 0 ? Wait::Ready : Wait::Failed;
        }
        if (n == 0) {
            return Wait::TimedOut;
        }
        if (errno != EINTR) {
            return Wait::Failed;
        }
    }
}

void SerialLink::timedOut() {
    if (showTimeOut_) {
        prompter_.message(kTimeOut, "ERROR");
    }
}

std::uint8_t SerialLink::readByte() {
    if (!isOpen() || error_ != 0) {
        return 0;
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReadTimeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              until - std::chrono::steady_clock::now())
                              .count();
        const Wait w = waitFor(POLLIN, left > 0 ? static_cast<int>(left) : 0);
        if (w == Wait::TimedOut) {
            timedOut();
            break;
        }
        if (w == Wait::Failed) {
            break;
        }
        std::uint8_t byte = 0;
        const ssize_t n = ::read(port_->fd(), &byte, 1);
        if (n == 1) {
            return byte;
        }
        // End of file: the line hung up, and no byte will ever come.
        if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            break;
        }
    }
    error_ = 1;
    return 0;
}

void SerialLink::writeByte(int value) {
    if (!isOpen() || error_ != 0) {
        return;
    }
    const std::uint8_t byte = static_cast<std::uint8_t>(value & 0xFF);
    for (;;) {
        const ssize_t n = ::write(port_->fd(), &byte, 1);
        if (n == 1) {
            return;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            break;
        }
        const Wait w = waitFor(POLLOUT, kWriteTimeoutMs);
        if (w == Wait::TimedOut) {
            timedOut();
            break;
        }
        if (w == Wait::Failed) {
            break;
        }
    }
    error_ = 1;
}

void SerialLink::close() {
    port_.reset();
}

int SerialLink::takeError() {
    const int e = error_;
    error_ = 0;
    return e;
}

}  // namespace velkor
