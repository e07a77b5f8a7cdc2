// Choosing and checking the private folder.
#include "app/PrivateFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velkor {
namespace {

constexpr mode_t kPrivateMode = 0700;

std::string octal(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode));
    return text;
}

}  // namespace

PrivateFolder::PrivateFolder(const std::string& runtimeFolder, const std::string& tempFolder) {
    if (!runtimeFolder.empty() && claim(runtimeFolder, "$XDG_RUNTIME_DIR: ")) {
        return;
    }
    const std::string own = tempFolder + "/velkor2tr-" + std::to_string(::geteuid());
    if (::mkdir(own.c_str(), kPrivateMode) != 0 && errno != EEXIST) {
        problems_.push_back(own + ": " + std::strerror(errno));
        return;
    }
    claim(own, "");
}

std::string PrivateFolder::problemWith(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return path + ": " + std::strerror(errno);
    }
    if (S_ISLNK(status.st_mode)) {
        return path + " is a symbolic link, not a folder";
    }
    if (!S_ISDIR(status.st_mode)) {
        return path + " is not a folder";
    }
    if (status.st_uid != ::geteuid()) {
        return path + " belongs to another user (uid " + std::to_string(status.st_uid) + ")";
    }
    const mode_t mode = status.st_mode & 07777;
    if (mode != kPrivateMode) {
        return path + " has mode " + octal(mode) + ", not " + octal(kPrivateMode);
    }
    return {};
}

bool PrivateFolder::claim(const std::string& path, const std::string& label) {
    const std::string problem = problemWith(path);
    if (!problem.empty()) {
        problems_.push_back(label + problem);
        return false;
    }
    path_ = path;
    return true;
}

}  // namespace velkor
