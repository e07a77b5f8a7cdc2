// Line reading shared by data files and variations files.
#include "data/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/FileDescriptor.h"
#include "core/Prompter.h"
#include "data/LineSplitter.h"

namespace velkor {
namespace {

// Reads up to size bytes; 0 at the end of the file, -1 on an error.
ssize_t readSome(int fd, char* buffer, std::size_t size) {
    ssize_t n = 0;
    do {
        n = ::read(fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

}  // namespace

LineReader::BufferResult LineReader::readBuffer(const std::string& path, std::size_t maxLines) {
    BufferResult result;
    // Non-blocking, so opening a FIFO without a writer returns at once (and is then
    // refused); on a regular file the flag changes nothing.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (file.get() < 0 || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return result;
    }
    // Room for the whole file (up to 4 MiB at first), read and split in pieces small
    // enough to be split while they are still in the processor's cache; a huge file
    // stops being read once it has too many lines.
    constexpr std::size_t kFirstMax = std::size_t{4} << 20;
    constexpr std::size_t kPiece = std::size_t{256} << 10;
    const std::size_t expected = std::min(kFirstMax, static_cast<std::size_t>(st.st_size) + 1);
    LineBuffer::Bytes bytes;
    bytes.reserve(expected + kPiece);
    LineSplitter splitter(maxLines, std::min(maxLines, expected / 64 + 1));
    ssize_t got = 0;
    do {
        const std::size_t had = bytes.size();
        bytes.resize(had + kPiece);
        got = readSome(file.get(), bytes.data() + had, kPiece);
        bytes.resize(had + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (!splitter.completeLines(bytes)) {
            result.status = Status::TooManyLines;
            return result;
        }
    } while (got > 0);
    if (got < 0) {
        return result;
    }
    if (!splitter.finish(bytes)) {
        result.status = Status::TooManyLines;
        return result;
    }
    result.status = Status::Ok;
    result.lines = LineBuffer(std::move(bytes), splitter.take());
    return result;
}

LineReader::Result LineReader::read(const std::string& path, std::size_t maxLines) {
    BufferResult r = readBuffer(path, maxLines);
    Result result;
    result.status = r.status;
    result.lines = r.lines.copies();
    return result;
}

std::optional<std::vector<std::string>> LineReader::readOrSay(const std::string& path,
                                                              std::size_t maxLines,
                                                              Prompter& prompter,
                                                              const std::string& readError,
                                                              const std::string& tooMany) {
    std::optional<LineBuffer> lines = readBufferOrSay(path, maxLines, prompter, readError, tooMany);
    if (!lines) {
        return std::nullopt;
    }
    return lines->copies();
}

std::optional<LineBuffer> LineReader::readBufferOrSay(const std::string& path, std::size_t maxLines,
                                                      Prompter& prompter,
                                                      const std::string& readError,
                                                      const std::string& tooMany) {
    BufferResult r = readBuffer(path, maxLines);
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
