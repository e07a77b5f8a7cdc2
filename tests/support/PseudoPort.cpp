// Pseudo-terminal serial port for tests.
#include "support/PseudoPort.h"

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

namespace velkor {

PseudoPort::PseudoPort(bool answers) : answers_(answers) {
    char name[128] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (::openpty(&master_, &slave_, name, &raw, nullptr) == 0) {
        path_ = name;
    }
    thread_ = std::thread([this] { serve(); });
}

PseudoPort::~PseudoPort() {
    hangUp();
    ::close(slave_);
}

void PseudoPort::hangUp() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

void PseudoPort::serve() {
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0 || (p.revents & POLLIN) == 0) {
            continue;
        }
        char c = 0;
        if (::read(master_, &c, 1) != 1) {
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            received_ += c;
        }
        if (answers_ && c == 'a') {
            const char answer = '$';
            [[maybe_unused]] const ssize_t n = ::write(master_, &answer, 1);
        }
    }
}

std::string PseudoPort::received() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

std::string PseudoPort::waitFor(std::size_t n) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (received().size() < n && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return received();
}

}  // namespace velkor
