// Safe replacement of a file: temporary file, flush, rename.
#include "core/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace velkor {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFlushSize = 1 << 16;
constexpr int kMaxLinks = 40;           // as many as the kernel follows
constexpr std::size_t kRandomPart = 6;  // mkstemp's XXXXXX

fs::path folderOf(const fs::path& path) {
    return path.parent_path().empty() ? fs::path(".") : path.parent_path();
}

// protected_symlinks: in a sticky folder others may write, a link is followed only when
// the follower or the folder's owner owns it, so nobody can aim another user's writes.
bool mayFollow(const fs::path& link) {
    struct stat self {};
    struct stat folder {};
    if (::lstat(link.c_str(), &self) != 0 || ::stat(folderOf(link).c_str(), &folder) != 0) {
        return false;
    }
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || self.st_uid == ::geteuid() || self.st_uid == folder.st_uid;
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

// Removes a killed write's temporary file: ours, a regular file, and no longer locked by
// a writer still at work.
void removeIfLeftOver(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        ::unlink(file.c_str());
    }
    ::close(fd);
}

void removeLeftOvers(const fs::path& folder, const std::string& prefix) {
    std::error_code error;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, error)) {
        const std::string name = e.path().filename().string();
        if (name.size() == prefix.size() + 1 + kRandomPart && name.rfind(prefix + "-", 0) == 0) {
            removeIfLeftOver(e.path());
        }
    }
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

std::string SafeFileWriter::hiddenPrefix(const std::string& fileName) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const unsigned char c : fileName) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    char hex[17] = {};
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::string(".velkor-") + hex;
}

// Follows the chain of links to the file it ends at, dangling or not.
bool SafeFileWriter::resolve() {
    fs::path path(target_);
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) {
            target_ = path.string();
            return true;
        }
        if (!mayFollow(path)) {
            fail("not following " + path.string() + ", another user's link in a shared folder");
            return false;
        }
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) {
            errno = ec.value();
            fail();
            return false;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    errno = ELOOP;
    fail();
    return false;
}

bool SafeFileWriter::open() {
    if (!resolve()) {
        return false;
    }
    if (!replaceable(target_)) {
        errno = EACCES;
        fail();
        return false;
    }
    const fs::path folder = folderOf(target_);
    const std::string prefix = hiddenPrefix(fs::path(target_).filename().string());
    removeLeftOvers(folder, prefix);
    const std::string pattern = (folder / (prefix + "-XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkstemp(name.data());
    if (fd_ < 0) {
        fail();
        return false;
    }
    temp_ = name.data();
    // Held until the file is renamed: a later writer of the target leaves it alone.
    ::flock(fd_, LOCK_EX);
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
    return prepare() && install();
}

bool SafeFileWriter::prepare() {
    if (fd_ < 0 || failed_) {
        fail();
        discard();
        return false;
    }
    bool ok = writeAll(fd_, buffer_.data(), buffer_.size());
    buffer_.clear();
    ok = ok && ::fchmod(fd_, targetMode(target_)) == 0;
    ok = ok && ::fsync(fd_) == 0;
    if (!ok) {
        fail();
        discard();
    }
    return ok;
}

bool SafeFileWriter::install() {
    if (fd_ < 0 || failed_) {
        fail();
        discard();
        return false;
    }
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
        fail();
        discard();
        return false;
    }
    temp_.clear();
    // Synced already: what close could still say changes nothing on disk.
    ::close(fd_);
    fd_ = -1;
    return true;
}

void SafeFileWriter::fail() {
    if (!failed_) {
        error_ = errno != 0 ? errno : EIO;
    }
    failed_ = true;
}

void SafeFileWriter::fail(std::string why) {
    if (!failed_) {
        why_ = std::move(why);
    }
    failed_ = true;
}

std::string SafeFileWriter::reason() const {
    if (!why_.empty()) {
        return why_;
    }
    return error_ != 0 ? std::string(std::strerror(error_)) : std::string();
}

void SafeFileWriter::discard() {
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace velkor
