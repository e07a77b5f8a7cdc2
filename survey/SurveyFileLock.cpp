// The survey file held with flock on its folder.
#include "survey/SurveyFileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

namespace velkor {

SurveyFileLock::SurveyFileLock(const std::string& path) {
    namespace fs = std::filesystem;
    // Reached through a link or not, one survey file is held in one folder.
    std::error_code error;
    fs::path folder = fs::weakly_canonical(path, error).parent_path();
    if (error) {
        folder = fs::path(path).parent_path();
    }
    FileDescriptor opened(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!opened.valid()) {
        return;
    }
    int locked = 0;
    do {
        locked = ::flock(opened.get(), LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked == 0) {
        folder_ = std::move(opened);
    }
}

}  // namespace velkor
