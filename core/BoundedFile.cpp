#include "core/BoundedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/FileDescriptor.h"

namespace velkor {

BoundedFile::Outcome BoundedFile::read(const std::string& path, std::size_t cap,
                                       std::string& bytes) {
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (file.get() < 0 || ::fstat(file.get(), &st) != 0) {
        return Outcome::CannotOpen;
    }
    if (!S_ISREG(st.st_mode)) {
        return Outcome::NotRegular;
    }
    if (static_cast<unsigned long long>(st.st_size) > cap) {
        return Outcome::TooLarge;
    }
    bytes.clear();
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return Outcome::ReadError;
        }
        if (got == 0) {
            return Outcome::Read;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > cap) {
            return Outcome::TooLarge;
        }
    }
}

}  // namespace velkor
