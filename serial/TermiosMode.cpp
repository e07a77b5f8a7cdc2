// Line settings over termios.
#include "serial/TermiosMode.h"

#include <optional>

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

constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};

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

}  // namespace

bool TermiosMode::apply(termios& t, const LineMode& m) {
    const std::optional<speed_t> code = speedCode(m.speed);
    if (!code || m.dataBits < 5 || m.dataBits > 8) {
        return false;
    }
    cfsetispeed(&t, *code);
    cfsetospeed(&t, *code);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CMSPAR);
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

LineMode TermiosMode::read(const termios& t) {
    LineMode m;
    m.speed = baudOf(cfgetospeed(&t));
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

std::vector<int> TermiosMode::speeds() {
    std::vector<int> all;
    for (const Speed& s : kSpeeds) {
        all.push_back(s.baud);
    }
    return all;
}

}  // namespace velkor
