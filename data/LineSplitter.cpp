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

}  // namespace

LineSplitter::Clean LineSplitter::cleanLines(char* text, std::size_t pos, std::size_t blocks,
                                             const std::uint64_t* lfs, const std::uint64_t* crs,
                                             std::size_t& from) {
    // The common line, short and without a CR but the one before its LF, is written
    // straight into the room made for it; the others go the careful way.
    LineBuffer::Span* out = spans_.data();
    std::size_t used = used_;
    std::size_t stop = std::min(spans_.size(), maxLines_);
    std::size_t begin = from;
    // While every CR is right before an LF, a line ends in one if the bit before its LF
    // is a CR (the first bit of a block looks at the last byte before it).
    std::uint64_t crLast = pos > 0 && text[pos - 1] == '\r';
    std::size_t b = 0;
    bool ok = true;
    for (; ok && b < blocks; ++b, pos += kBlock) {
        const std::uint64_t crBefore = (crs[b] << 1) | crLast;
        if ((crs[b] & ~((lfs[b] >> 1) | (lfs[b + 1] << 63))) != 0) {
            break;
        }
        crLast = crs[b] >> 63;
        for (std::uint64_t lf = lfs[b]; lf != 0; lf &= lf - 1) {
            const auto bit = static_cast<unsigned>(__builtin_ctzll(lf));
            const std::size_t at = pos + bit;
            const std::size_t length = at - begin - ((crBefore >> bit) & 1);
            if (length <= LineReader::kPieceLength && used != stop) {
                out[used].offset = begin;
                out[used].length = length;
                ++used;
            } else {
                used_ = used;
                ok = line(text, begin, at, false);
                if (!ok) {
                    break;
                }
                out = spans_.data();
                used = used_;
                stop = std::min(spans_.size(), maxLines_);
            }
            begin = at + 1;
        }
    }
    used_ = used;
    from = begin;
    return {b, ok};
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
    // Whole blocks of 64 bytes, their line-end masks found a batch at a time; one more
    // LF mask word tells whether the byte after the batch is an LF.
    constexpr std::size_t kBatch = 64;
    std::uint64_t lfs[kBatch + 1];
    std::uint64_t crs[kBatch];
    const LineEnds::Finder find = LineEnds::best();
    while (ok && pos + kBlock <= limit) {
        const std::size_t blocks = std::min(kBatch, (limit - pos) / kBlock);
        find(text + pos, blocks, lfs, crs);
        const std::size_t after = pos + blocks * kBlock;
        lfs[blocks] = after < size && text[after] == '\n';
        std::size_t b = 0;
        if (!messy) {
            const Clean clean = cleanLines(text, pos, blocks, lfs, crs, begin);
            ok = clean.ok;
            b = clean.blocks;
            pos += b * kBlock;
        }
        // From a CR not right before an LF on: every end in order, as byte by byte.
        for (; ok && b < blocks; ++b, pos += kBlock) {
            for (std::uint64_t mask = lfs[b] | crs[b]; ok && mask != 0; mask &= mask - 1) {
                event(pos + static_cast<std::size_t>(__builtin_ctzll(mask)));
            }
        }
    }
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
