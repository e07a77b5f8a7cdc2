// Serial device file opening.
#include "serial/SerialPortFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace velkor {

SerialPortFile::SerialPortFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error_ = errno;
        return;
    }
    termios settings{};
    // Not shared: a port another program has locked counts as in use.
    if (::tcgetattr(fd, &settings) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error_ = errno;
        ::close(fd);
        return;
    }
    ::ioctl(fd, TIOCEXCL);
    fd_ = fd;
}

SerialPortFile::~SerialPortFile() {
    if (fd_ >= 0) {
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
    }
}

}  // namespace velkor
