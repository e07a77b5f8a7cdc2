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
#include "serial/TermiosMode.h"

namespace velkor {
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
        if (TermiosMode::apply(changed, *m)) {
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
    return TermiosMode::read(t);
}

std::vector<int> SerialLink::speeds() {
    return TermiosMode::speeds();
}

bool SerialLink::setsSpeed(const std::string& text) {
    for (const int baud : TermiosMode::speeds()) {
        if (std::to_string(baud) == text) {
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
