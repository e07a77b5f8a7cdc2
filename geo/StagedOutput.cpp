// The staging folder is made with mkdtemp beside the target, so each move is a rename
// within one file system.
#include "geo/StagedOutput.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace velkor {
namespace {
namespace fs = std::filesystem;
}

StagedOutput::StagedOutput(std::string target) : target_(std::move(target)) {}

StagedOutput::~StagedOutput() {
    if (!folder_.empty()) {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
}

std::string StagedOutput::failure(const std::string& target, const std::string& reason) {
    return "Write error: " + target + (reason.empty() ? std::string() : ": " + reason);
}

bool StagedOutput::open(std::string& message) {
    const fs::path target(target_);
    if (target.filename().empty()) {
        message = failure(target_, "not a file name");
        return false;
    }
    std::error_code ignored;
    const fs::file_status there = fs::status(target, ignored);
    if (fs::exists(there) && !fs::is_regular_file(there)) {
        message = failure(target_, "not a regular file");
        return false;
    }
    const fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::string pattern = (parent / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        message = failure(target_, std::strerror(errno));
        return false;
    }
    folder_ = name.data();
    staged_ = (fs::path(folder_) / target.filename()).string();
    return true;
}

bool StagedOutput::put(const void* data, std::size_t size, std::string& message) {
    const int fd = ::open(staged_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    int reason = fd < 0 ? errno : 0;
    const char* bytes = static_cast<const char*>(data);
    while (reason == 0 && size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n <= 0) {
            reason = n == 0 ? EIO : errno == EINTR ? 0 : errno;
            continue;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    if (reason == 0 && ::fsync(fd) != 0) {
        reason = errno;
    }
    if (fd >= 0 && ::close(fd) != 0 && reason == 0) {
        reason = errno;
    }
    if (reason != 0) {
        message = failure(target_, std::strerror(reason));
        return false;
    }
    return true;
}

bool StagedOutput::commit(std::string& message) {
    const fs::path parent = fs::path(folder_).parent_path();
    std::error_code error;
    std::vector<fs::path> staged;
    for (const fs::directory_entry& e : fs::directory_iterator(folder_, error)) {
        staged.push_back(e.path());
    }
    if (error || staged.empty()) {
        message = failure(target_, error ? error.message() : "nothing was written");
        return false;
    }
    for (const fs::path& file : staged) {
        fs::rename(file, parent / file.filename(), error);
        if (error) {
            message = failure((parent / file.filename()).string(), error.message());
            return false;
        }
    }
    return true;
}

}  // namespace velkor
