// Line reading shared by data files and variations files.
#include "data/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
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

// Reads up to size bytes; 0 at the end of the file, -1 on an error.
ssize_t readSome(int fd, char* buffer, std::size_t size) {
    ssize_t n = 0;
    do {
        n = ::read(fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

// Cuts the bytes of a file into lines where they lie: every CR is dropped, every LF
// ends a line, and a line longer than 84 characters becomes pieces of 84 and a rest.
// A line with a CR inside is closed up in place (it only gets shorter).
class Splitter {
  public:
    // expected: how many lines to make room for at once.
    Splitter(std::size_t maxLines, std::size_t expected) : maxLines_(maxLines) {
        spans_.reserve(expected);
    }

    // Splits the complete lines in bytes from the last stop on; false when there are
    // more lines than allowed. The last byte waits for the next call (or finish) unless
    // atEnd, since whether a CR ends a line depends on the byte after it.
    bool completeLines(std::string& bytes, bool atEnd = false) {
        const std::size_t size = bytes.size();
        const std::size_t limit = atEnd || size == 0 ? size : size - 1;
        char* const text = bytes.data();
        // Kept in locals: the compiler may not keep members in registers across the
        // byte writes of a line being closed up.
        std::size_t pos = scanned_;
        std::size_t begin = done_;
        bool messy = messy_;
        bool ok = true;
        auto event = [&](std::size_t at) {
            if (text[at] == '\r') {
                // Only a CR right before an LF leaves the line's other bytes in place.
                messy = messy || at + 1 >= size || text[at + 1] != '\n';
                return;
            }
            ok = line(text, begin, at, messy);
            begin = at + 1;
            messy = false;
        };
#if defined(__SSE2__)
        // Thirty-two bytes at a time: most blocks hold no line end at all.
        const __m128i lf = _mm_set1_epi8('\n');
        const __m128i cr = _mm_set1_epi8('\r');
        auto ends = [&](std::size_t at) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
            return static_cast<std::uint32_t>(_mm_movemask_epi8(
                _mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr))));
        };
        for (; ok && pos + 32 <= limit; pos += 32) {
            for (std::uint32_t mask = ends(pos) | (ends(pos + 16) << 16); ok && mask != 0;
                 mask &= mask - 1) {
                event(pos + static_cast<std::size_t>(__builtin_ctz(mask)));
            }
        }
#endif
        for (; ok && pos < limit; ++pos) {
            if (text[pos] == '\n' || text[pos] == '\r') {
                event(pos);
            }
        }
        scanned_ = pos;
        done_ = begin;
        messy_ = messy;
        return ok;
    }

    // At the end of the file: any byte after the last line feed, a lone CR included,
    // makes one more line.
    bool finish(std::string& bytes) {
        if (!completeLines(bytes, true)) {
            return false;
        }
        if (done_ < bytes.size() && !line(bytes.data(), done_, bytes.size(), messy_)) {
            return false;
        }
        done_ = bytes.size();
        return true;
    }

    std::vector<LineBuffer::Span> take() {
        return std::move(spans_);
    }

  private:
    // The line of text from begin to end (its LF or the file's end): every CR dropped,
    // then cut into pieces.
    bool line(char* text, std::size_t begin, std::size_t end, bool messy) {
        if (messy) {
            end = static_cast<std::size_t>(std::remove(text + begin, text + end, '\r') - text);
        } else if (end > begin && text[end - 1] == '\r') {
            --end;
        }
        // A piece is cut only where another character follows, so a line of exactly 84
        // characters stays one line, and an empty line is one empty line.
        std::size_t at = begin;
        do {
            if (spans_.size() >= maxLines_) {
                return false;
            }
            const std::size_t length = std::min(LineReader::kPieceLength, end - at);
            // Field by field: a span built whole on the stack and copied stalls the store.
            LineBuffer::Span& span = spans_.emplace_back();
            span.offset = at;
            span.length = length;
            at += length;
        } while (at < end);
        return true;
    }

    std::size_t maxLines_;
    std::size_t done_ = 0;     // where the line being read begins
    std::size_t scanned_ = 0;  // the next byte to look at
    bool messy_ = false;       // the line holds a CR that is not right before its LF
    std::vector<LineBuffer::Span> spans_;
};

}  // namespace

LineReader::BufferResult LineReader::readBuffer(const std::string& path, std::size_t maxLines) {
    BufferResult result;
    // Non-blocking, so opening a FIFO without a writer returns at once (and is then
    // refused); on a regular file the flag changes nothing.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (file.get() < 0 || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return result;
    }
    // The file's size in one read (up to 4 MiB), then small reads to its end; the lines
    // are split as they come, so a huge file stops being read once it has too many.
    constexpr std::size_t kFirstMax = std::size_t{4} << 20;
    constexpr std::size_t kMore = 65536;
    std::size_t piece = std::min(kFirstMax, static_cast<std::size_t>(st.st_size) + 1);
    std::string bytes;
    bytes.reserve(piece + kMore);
    Splitter splitter(maxLines, std::min(maxLines, piece / 64 + 1));
    ssize_t got = 0;
    do {
        const std::size_t had = bytes.size();
        bytes.resize(had + piece);
        piece = kMore;
        got = readSome(file.get(), bytes.data() + had, piece);
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
