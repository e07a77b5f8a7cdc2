// Pseudo-terminal serial port for tests.
#include "support/PseudoPort.h"

#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

namespace velkor {
namespace {

// Far longer than any byte takes to cross a pseudo-terminal.
constexpr std::chrono::seconds kPatience{10};

}  // namespace

PseudoPort::PseudoPort(bool answers) : stop_(::eventfd(0, EFD_CLOEXEC)), answers_(answers) {
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
    ::close(stop_);
}

void PseudoPort::hangUp() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(stop_, &one, sizeof one);
        thread_.join();
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

// Sleeps until a byte comes or the far end is told to stop, whichever is first.
void PseudoPort::serve() {
    pollfd watched[2] = {{stop_, POLLIN, 0}, {master_, POLLIN, 0}};
    for (;;) {
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (watched[0].revents != 0) {
            return;
        }
        if ((watched[1].revents & POLLIN) == 0) {
            watched[1].fd = -1;  // the master failed: only the stop can come now
            continue;
        }
        char c = 0;
        const ssize_t got = ::read(master_, &c, 1);
        if (got != 1) {
            if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
                watched[1].fd = -1;
            }
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            received_ += c;
        }
        arrived_.notify_all();
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
    std::unique_lock<std::mutex> lock(mutex_);
    arrived_.wait_for(lock, kPatience, [&] { return received_.size() >= n; });
    return received_;
}

}  // namespace velkor
