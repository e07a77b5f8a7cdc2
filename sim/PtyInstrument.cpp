// The simulated instrument serving a pseudo-terminal.
#include "sim/PtyInstrument.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace velkor::sim {
namespace {

constexpr int kPollMs = 20;
constexpr int kSendWaitMs = 1000;

}  // namespace

PtyInstrument::PtyInstrument() {
    instrument_.configure();
    for (const SimInstrument::Device& d : instrument_.devices()) {
        if (d.description == "Proton Magnetometer Velkor-2") {
            serial_ = d.serial;
            break;
        }
    }
    char name[128] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    path_ = name;
    thread_ = std::thread([this] { serve(); });
}

PtyInstrument::~PtyInstrument() {
    unplug();
    if (slave_ >= 0) {
        ::close(slave_);
    }
}

void PtyInstrument::unplug() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    closeMaster();
}

void PtyInstrument::closeMaster() {
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

void PtyInstrument::serve() {
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, kPollMs) <= 0 || (p.revents & POLLIN) == 0) {
            continue;
        }
        std::uint8_t bytes[256];
        const ssize_t n = ::read(master_, bytes, sizeof bytes);
        if (n > 0 && !pass(bytes, static_cast<std::size_t>(n))) {
            closeMaster();  // the link broke: as a bridge pulled out
            return;
        }
    }
}

void PtyInstrument::restart() {
    if (handle_ != nullptr) {
        instrument_.close(handle_);
        handle_ = nullptr;
    }
    if (!serial_.empty() && instrument_.open(serial_, handle_) == FT_OK) {
        // Reads never wait: the answer is whatever the instrument has queued.
        instrument_.setTimeouts(handle_, 1);
    }
}

bool PtyInstrument::pass(const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (bytes[i] == '$') {
            restart();
        }
        if (handle_ == nullptr) {
            continue;  // not the magnetometer: it answers nothing
        }
        DWORD written = 0;
        instrument_.write(handle_, bytes + i, 1, written);
        if (!drain()) {
            return false;
        }
    }
    return true;
}

bool PtyInstrument::drain() {
    std::uint8_t answer[256];
    while (instrument_.pending() > 0) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min(instrument_.pending(), sizeof answer));
        const FT_STATUS status = instrument_.read(handle_, answer, want, got);
        if (!send(answer, got) || status != FT_OK) {
            return false;
        }
    }
    return true;
}

bool PtyInstrument::send(const std::uint8_t* bytes, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(master_, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        pollfd p{master_, POLLOUT, 0};
        if (::poll(&p, 1, kSendWaitMs) <= 0 || stop_) {
            return false;
        }
    }
    return true;
}

}  // namespace velkor::sim
