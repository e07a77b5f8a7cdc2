// The start lock: flock on a file in the user's private folder.
#include "app/StartLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <thread>

namespace velkor {
namespace {

constexpr std::chrono::milliseconds kLookAgain{20};

}  // namespace

StartLock StartLock::acquire(const std::string& path, std::chrono::milliseconds patience,
                             std::string& problem) {
    FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.valid()) {
        problem = path + ": " + std::strerror(errno);
        return {};
    }
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            problem = path + ": " + std::strerror(errno);
            return {};
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            problem = path + ": another start has held it for too long";
            return {};
        }
        std::this_thread::sleep_for(kLookAgain);
    }
    return StartLock(std::move(fd));
}

}  // namespace velkor
