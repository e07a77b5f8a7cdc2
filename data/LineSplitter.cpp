// Line splitting, one line feed after another.
#include "data/LineSplitter.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "data/LineReader.h"

namespace velkor {

LineSplitter::LineSplitter(std::size_t maxLines, std::size_t expected) : maxLines_(maxLines) {
    spans_.reserve(expected);
}

bool LineSplitter::completeLines(LineBuffer::Bytes& bytes) {
    char* const text = bytes.data();
    const std::size_t size = bytes.size();
    while (scanned_ < size) {
        const void* lf = std::memchr(text + scanned_, '\n', size - scanned_);
        if (lf == nullptr) {
            scanned_ = size;
            break;
        }
        const auto end = static_cast<std::size_t>(static_cast<const char*>(lf) - text);
        if (!line(text, done_, end)) {
            return false;
        }
        done_ = scanned_ = end + 1;
    }
    return true;
}

bool LineSplitter::finish(LineBuffer::Bytes& bytes) {
    if (!completeLines(bytes)) {
        return false;
    }
    if (done_ < bytes.size() && !line(bytes.data(), done_, bytes.size())) {
        return false;
    }
    done_ = bytes.size();
    return true;
}

LineBuffer::Spans LineSplitter::take() {
    return std::move(spans_);
}

bool LineSplitter::line(char* text, std::size_t begin, std::size_t end) {
    // The usual CR, right before the LF, ends the line; any other closes it up.
    if (end > begin && text[end - 1] == '\r') {
        --end;
    }
    if (std::memchr(text + begin, '\r', end - begin) != nullptr) {
        end = static_cast<std::size_t>(std::remove(text + begin, text + end, '\r') - text);
    }
    // A piece is cut only where another character follows, so a line of exactly 84
    // characters stays one line, and an empty line is one empty line.
    std::size_t at = begin;
    do {
        if (spans_.size() >= maxLines_) {
            return false;
        }
        const std::size_t length = std::min(LineReader::kPieceLength, end - at);
        spans_.push_back({at, length});
        at += length;
    } while (at < end);
    return true;
}

}  // namespace velkor
