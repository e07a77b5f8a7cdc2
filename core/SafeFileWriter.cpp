// Safe replacement of a file: temporary file, flush, rename.
#include "core/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace velkor {
namespace {

constexpr std::size_t kFlushSize = 1 << 16;
constexpr int kMaxLinks = 40;  // as many as the kernel follows

// The file a chain of symbolic links ends at, dangling or not (the name itself when it
// is no link); empty when the chain is longer than the kernel would follow.
std::string finalTarget(const std::string& name) {
    namespace fs = std::filesystem;
    fs::path path(name);
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) {
            return path.string();
        }
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) {
            return {};
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return {};
}

// A target that does not exist yet may be created; one that exists must be a regular
// file this process could open for writing, so the rename never bypasses its mode.
bool replaceable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return errno == ENOENT;
    }
    return S_ISREG(st.st_mode) && ::access(path.c_str(), W_OK) == 0;
}

// A short name beside the target, so even a target name of the longest length has one.
std::string tempPattern(const std::string& target) {
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    return ((folder.empty() ? std::filesystem::path(".") : folder) / ".velkor-XXXXXX").string();
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The mode the new file should get: the old file's, or what a new file would get.
mode_t targetMode(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        return st.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string target) : target_(std::move(target)) {}

SafeFileWriter::~SafeFileWriter() {
    discard();
}

bool SafeFileWriter::open() {
    target_ = finalTarget(target_);
    if (target_.empty() || !replaceable(target_)) {
        errno = target_.empty() ? ELOOP : EACCES;
        fail();
        return false;
    }
    const std::string pattern = tempPattern(target_);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkstemp(name.data());
    if (fd_ < 0) {
        fail();
        return false;
    }
    temp_ = name.data();
    return true;
}

void SafeFileWriter::write(std::string_view bytes) {
    if (fd_ < 0 || failed_) {
        fail();
        return;
    }
    if (buffer_.empty() && bytes.size() >= kFlushSize) {
        if (!writeAll(fd_, bytes.data(), bytes.size())) {  // large: no copy first
            fail();
        }
        return;
    }
    buffer_.append(bytes.data(), bytes.size());
    if (buffer_.size() >= kFlushSize) {
        if (!writeAll(fd_, buffer_.data(), buffer_.size())) {
            fail();
        }
        buffer_.clear();
    }
}

void SafeFileWriter::writeLine(std::string_view text) {
    write(text);
    write("\r\n");
}

bool SafeFileWriter::commit() {
    if (fd_ < 0 || failed_) {
        discard();
        return false;
    }
    bool ok = writeAll(fd_, buffer_.data(), buffer_.size());
    buffer_.clear();
    ok = ok && ::fchmod(fd_, targetMode(target_)) == 0;
    ok = ok && ::fsync(fd_) == 0;
    if (!ok) {
        fail();
    }
    const int closed = ::close(fd_);
    fd_ = -1;
    if (ok && closed != 0) {
        fail();
        ok = false;
    }
    if (ok && std::rename(temp_.c_str(), target_.c_str()) != 0) {
        fail();
        ok = false;
    }
    if (!ok) {
        discard();
        return false;
    }
    temp_.clear();
    return true;
}

void SafeFileWriter::fail() {
    if (!failed_) {
        error_ = errno != 0 ? errno : EIO;
    }
    failed_ = true;
}

std::string SafeFileWriter::reason() const {
    return error_ != 0 ? std::string(std::strerror(error_)) : std::string();
}

void SafeFileWriter::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

}  // namespace velkor
