// Lines in one buffer.
#include "data/LineBuffer.h"

#include <utility>

namespace velkor {

LineBuffer::LineBuffer(const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const std::string& l : lines) {
        total += l.size();
    }
    bytes_.reserve(total);
    spans_.reserve(lines.size());
    for (const std::string& l : lines) {
        spans_.push_back({bytes_.size(), l.size()});
        bytes_.insert(bytes_.end(), l.begin(), l.end());
    }
}

LineBuffer::LineBuffer(Bytes bytes, Spans spans)
    : bytes_(std::move(bytes)), spans_(std::move(spans)) {}

std::vector<std::string> LineBuffer::copies() const {
    std::vector<std::string> out;
    out.reserve(spans_.size());
    for (int k = 0; k < count(); ++k) {
        out.emplace_back(line(k));
    }
    return out;
}

void LineBuffer::insert(int k, std::string_view line) {
    const Span span{bytes_.size(), line.size()};
    bytes_.insert(bytes_.end(), line.begin(), line.end());
    spans_.insert(spans_.begin() + k, span);
}

void LineBuffer::truncate(std::size_t n) {
    if (n < spans_.size()) {
        spans_.resize(n);
    }
}

void LineBuffer::erase(const std::vector<int>& ascending) {
    // The bytes stay where they are; only the spans of the kept lines move up.
    std::size_t kept = 0;
    std::size_t next = 0;
    for (std::size_t k = 0; k < spans_.size(); ++k) {
        while (next < ascending.size() && ascending[next] < static_cast<int>(k)) {
            ++next;
        }
        if (next < ascending.size() && ascending[next] == static_cast<int>(k)) {
            continue;
        }
        spans_[kept++] = spans_[k];
    }
    spans_.resize(kept);
}

}  // namespace velkor
