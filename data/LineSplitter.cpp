// Line splitting over line-end masks.
#include "data/LineSplitter.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "data/LineEnds.h"
#include "data/LineReader.h"

namespace velkor {

LineSplitter::LineSplitter(std::size_t maxLines, std::size_t expected)
    : maxLines_(maxLines), spans_(std::max<std::size_t>(expected, 16)) {}

namespace {

constexpr std::size_t kBlock = LineEnds::kBlock;

// Where the quick splitting stopped: the line of the lowest bit of lf (in block b) is not
// a short one, or there is no more room; b == blocks when all were split.
struct Stop {
    std::size_t b;
    std::uint64_t lf;
    std::size_t begin;
    std::size_t used;
};

// Writes the spans of short lines, which hold no CR but the one before their LF, from
// the line of the lowest bit of lf in block b on. Kept apart from the careful way, so
// that everything it needs stays in registers.
VELKOR_WIDEST Stop shortLines(const char* text, std::size_t pos, const std::uint64_t* lfs,
                              std::size_t blocks, Stop from, LineBuffer::Span* out,
                              std::size_t stop) {
    std::size_t b = from.b;
    std::uint64_t lf = from.lf;
    std::size_t begin = from.begin;
    std::size_t used = from.used;
    for (;;) {
        for (; lf != 0; lf &= lf - 1) {
            const std::size_t at = pos + b * kBlock + static_cast<std::size_t>(__builtin_ctzll(lf));
            std::size_t length = at - begin;
            // The byte before the LF, or the LF itself for an empty line.
            length -= text[at - (length != 0)] == '\r';
            if (length > LineReader::kPieceLength || used == stop) {
                return {b, lf, begin, used};
            }
            out[used].offset = begin;
            out[used].length = length;
            ++used;
            begin = at + 1;
        }
        if (++b == blocks) {
            return {b, 0, begin, used};
        }
        lf = lfs[b];
    }
}

}  // namespace

bool LineSplitter::cleanLines(char* text, std::size_t pos, std::size_t blocks,
                              const std::uint64_t* lfs, std::size_t& begin) {
    Stop at{0, lfs[0], begin, used_};
    for (;;) {
        at = shortLines(text, pos, lfs, blocks, at, spans_.data(),
                        std::min(spans_.size(), maxLines_));
        used_ = at.used;
        begin = at.begin;
        if (at.b == blocks) {
            return true;
        }
        // A long line, or the room is full: the careful way grows it or refuses.
        const std::size_t end =
            pos + at.b * kBlock + static_cast<std::size_t>(__builtin_ctzll(at.lf));
        if (!line(text, begin, end, false)) {
            return false;
        }
        begin = end + 1;
        at.begin = begin;
        at.used = used_;
        at.lf &= at.lf - 1;
    }
}

bool LineSplitter::completeLines(LineBuffer::Bytes& bytes, bool atEnd) {
    const std::size_t size = bytes.size();
    const std::size_t limit = atEnd || size == 0 ? size : size - 1;
    char* const text = bytes.data();
    // Kept in locals: the compiler may not keep members in registers across the byte
    // writes of a line being closed up.
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
    // Every end in order, byte by byte.
    auto carefully = [&](std::size_t until) {
        for (; ok && pos < until; ++pos) {
            if (text[pos] == '\n' || text[pos] == '\r') {
                event(pos);
            }
        }
    };
    // Whole blocks of 64 bytes, their line-end masks found a batch at a time.
    constexpr std::size_t kBatch = 256;
    std::uint64_t lfs[kBatch];
    const LineEnds::Finder find = LineEnds::best();
    while (ok && pos + kBlock <= limit) {
        const std::size_t blocks = std::min(kBatch, (limit - pos) / kBlock);
        const std::size_t after = pos + blocks * kBlock;
        const bool lone = find(text + pos, blocks, lfs) != 0 ||
                          (text[after - 1] == '\r' && (after >= size || text[after] != '\n'));
        if (!messy && !lone) {
            ok = cleanLines(text, pos, blocks, lfs, begin);
            pos = after;
            continue;
        }
        carefully(after);  // a CR not right before an LF
    }
    carefully(limit);
    scanned_ = pos;
    done_ = begin;
    messy_ = messy;
    return ok;
}

bool LineSplitter::finish(LineBuffer::Bytes& bytes) {
    if (!completeLines(bytes, true)) {
        return false;
    }
    if (done_ < bytes.size() && !line(bytes.data(), done_, bytes.size(), messy_)) {
        return false;
    }
    done_ = bytes.size();
    return true;
}

LineBuffer::Spans LineSplitter::take() {
    spans_.resize(used_);
    return std::move(spans_);
}

bool LineSplitter::line(char* text, std::size_t begin, std::size_t end, bool messy) {
    if (messy) {
        end = static_cast<std::size_t>(std::remove(text + begin, text + end, '\r') - text);
    } else if (end > begin && text[end - 1] == '\r') {
        --end;
    }
    // A piece is cut only where another character follows, so a line of exactly 84
    // characters stays one line, and an empty line is one empty line.
    std::size_t at = begin;
    do {
        if (used_ >= maxLines_) {
            return false;
        }
        if (used_ == spans_.size()) {
            spans_.resize(2 * used_);
        }
        const std::size_t length = std::min(LineReader::kPieceLength, end - at);
        spans_[used_].offset = at;
        spans_[used_].length = length;
        ++used_;
        at += length;
    } while (at < end);
    return true;
}

}  // namespace velkor
