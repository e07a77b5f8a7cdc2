// The journal is a file of NUL-ended fields: a tag, the direction, then four fields a
// file. Only a journal of this user's that no one else may write is trusted, and only
// moves within each file's own folder, between names of this program's, are taken from it.
#include "core/SetJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/SafeFileWriter.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;
using Entry = SetJournal::Entry;
using Direction = SetJournal::Direction;

constexpr const char* kTag = "velkor-set";

fs::path folderOf(const fs::path& path) {
    return path.parent_path().empty() ? fs::path(".") : path.parent_path();
}

bool there(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string encode(Direction direction, const std::vector<Entry>& set) {
    std::string text = std::string(kTag) + '\0' + (direction == Direction::Forward ? "F" : "B");
    text += '\0';
    for (const Entry& e : set) {
        for (const std::string& field :
             {e.file, e.fresh, e.old, std::string(e.existed ? "1" : "0")}) {
            text += field;
            text += '\0';
        }
    }
    return text;
}

// A name of this program's beside the file: the only kind a journal may move.
bool besideAndOurs(const std::string& name, const std::string& file) {
    const fs::path p(name);
    const std::string prefix = SafeFileWriter::hiddenPrefix(fs::path(file).filename().string());
    return folderOf(p) == folderOf(file) && p.filename().string().rfind(prefix, 0) == 0;
}

bool decode(const std::string& text, Direction& direction, std::vector<Entry>& set) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t end = text.find('\0'); end != std::string::npos; end = text.find('\0', from)) {
        fields.push_back(text.substr(from, end - from));
        from = end + 1;
    }
    if (from != text.size() || fields.size() < 2 || fields[0] != kTag ||
        (fields[1] != "F" && fields[1] != "B") || (fields.size() - 2) % 4 != 0) {
        return false;
    }
    direction = fields[1] == "F" ? Direction::Forward : Direction::Back;
    for (std::size_t k = 2; k < fields.size(); k += 4) {
        Entry e{fields[k], fields[k + 1], fields[k + 2], fields[k + 3] == "1"};
        if (!besideAndOurs(e.fresh, e.file) || !besideAndOurs(e.old, e.file)) {
            return false;
        }
        set.push_back(std::move(e));
    }
    return true;
}

std::string contents(int fd) {
    std::string text;
    char chunk[4096];
    off_t at = 0;
    for (ssize_t n = 0; (n = ::pread(fd, chunk, sizeof chunk, at)) > 0; at += n) {
        text.append(chunk, static_cast<std::size_t>(n));
    }
    return text;
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

SetJournal::SetJournal(const std::string& target)
    : path_((folderOf(target) /
             (SafeFileWriter::hiddenPrefix(fs::path(target).filename().string()) + ".set"))
                .string()) {}

SetJournal::~SetJournal() {
    if (fd_ < 0) {
        return;
    }
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && st.st_size == 0) {
        ::unlink(path_.c_str());
    }
    ::close(fd_);
}

// The lock is on the file the name holds once locked: one removed meanwhile is retried.
bool SetJournal::lock(std::string& reason) {
    for (;;) {
        fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd_ < 0) {
            reason = std::strerror(errno);
            return false;
        }
        ::flock(fd_, LOCK_EX);
        struct stat held {};
        struct stat named {};
        if (::fstat(fd_, &held) == 0 && ::lstat(path_.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            if (!S_ISREG(held.st_mode) || held.st_uid != ::geteuid() || (held.st_mode & 022) != 0) {
                reason = path_ + " is not this user's";
                ::close(fd_);
                fd_ = -1;
                return false;
            }
            return true;
        }
        ::close(fd_);
    }
}

bool SetJournal::open(std::string& reason) {
    if (!lock(reason)) {
        return false;
    }
    recover();
    return true;
}

void SetJournal::recover() {
    const std::string text = contents(fd_);
    if (text.empty()) {
        return;
    }
    Direction direction = Direction::Forward;
    std::vector<Entry> set;
    if (decode(text, direction, set)) {
        settle(direction, set);
    }
    clear();
}

bool SetJournal::record(Direction direction, const std::vector<Entry>& set) {
    const std::string text = encode(direction, set);
    bool ok = ::ftruncate(fd_, 0) == 0 &&
              ::pwrite(fd_, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size()) &&
              ::fsync(fd_) == 0;
    syncFolder(folderOf(path_));
    return ok;
}

void SetJournal::clear() {
    if (::ftruncate(fd_, 0) == 0) {
        ::fsync(fd_);
    }
}

void SetJournal::settle(Direction direction, const std::vector<Entry>& set) {
    for (const Entry& e : set) {
        if (direction == Direction::Forward) {
            if (there(e.fresh)) {
                std::rename(e.fresh.c_str(), e.file.c_str());
            }
            ::unlink(e.old.c_str());
        } else {
            if (there(e.old)) {
                std::rename(e.old.c_str(), e.file.c_str());
            } else if (!e.existed) {
                ::unlink(e.file.c_str());
            }
            ::unlink(e.fresh.c_str());
        }
    }
}

}  // namespace velkor
