// Line reading shared by data files and variations files.
#include "data/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "core/Prompter.h"

namespace velkor {
namespace {

// An open file descriptor, closed when it goes.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// Only a regular file is read: a FIFO, a device or a folder is refused.
bool isRegular(int fd) {
    struct stat st {};
    return fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// Reads up to size bytes; 0 at the end of the file, -1 on an error.
ssize_t readSome(int fd, char* buffer, std::size_t size) {
    ssize_t n = 0;
    do {
        n = ::read(fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

// Collects the characters of one physical line and cuts it into pieces.
class Splitter {
  public:
    explicit Splitter(std::size_t maxLines) : maxLines_(maxLines) {}

    bool add(char c) {
        if (c == '\n') {
            return endLine();
        }
        lineOpen_ = true;
        if (c == '\r') {
            return true;
        }
        if (current_.size() == LineReader::kPieceLength) {
            if (!push()) {
                return false;
            }
        }
        current_.push_back(c);
        return true;
    }

    // Ends the physical line: its last piece, or one empty line for an empty line.
    // A piece is cut only when another character follows, so a line of exactly 84
    // characters stays one line.
    bool endLine() {
        lineOpen_ = false;
        return push();
    }

    // Any byte after the last line feed, a lone CR included, makes one more line.
    bool pending() const { return lineOpen_; }
    std::vector<std::string> take() { return std::move(lines_); }

  private:
    bool push() {
        if (lines_.size() >= maxLines_) {
            return false;
        }
        lines_.push_back(std::move(current_));
        current_.clear();
        return true;
    }

    std::size_t maxLines_;
    std::vector<std::string> lines_;
    std::string current_;
    bool lineOpen_ = false;
};

}  // namespace

LineReader::Result LineReader::read(const std::string& path, std::size_t maxLines) {
    Result result;
    // Non-blocking, so opening a FIFO without a writer returns at once (and is then
    // refused); on a regular file the flag changes nothing.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!isRegular(file.get())) {
        return result;
    }
    Splitter splitter(maxLines);
    char buffer[65536];
    ssize_t got = 0;
    while ((got = readSome(file.get(), buffer, sizeof buffer)) > 0) {
        for (ssize_t i = 0; i < got; ++i) {
            if (!splitter.add(buffer[i])) {
                result.status = Status::TooManyLines;
                return result;
            }
        }
    }
    if (got < 0) {
        return result;
    }
    if (splitter.pending() && !splitter.endLine()) {
        result.status = Status::TooManyLines;
        return result;
    }
    result.status = Status::Ok;
    result.lines = splitter.take();
    return result;
}

std::optional<std::vector<std::string>> LineReader::readOrSay(const std::string& path,
                                                              std::size_t maxLines,
                                                              Prompter& prompter,
                                                              const std::string& readError,
                                                              const std::string& tooMany) {
    Result r = read(path, maxLines);
    switch (r.status) {
        case Status::CannotRead:
            prompter.message(readError);
            return std::nullopt;
        case Status::TooManyLines:
            prompter.message(tooMany);
            return std::nullopt;
        case Status::Ok:
            break;
    }
    return std::move(r.lines);
}

}  // namespace velkor
