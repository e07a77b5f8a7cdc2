// Base files are read whole: they are small next to memory, and read by line number.
#include "survey/SourceText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>

#include "core/FileDescriptor.h"
#include "data/TextFormat.h"

namespace velkor {
namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::optional<std::string> SourceText::read(const std::string& path, std::string& message) {
    // Non-blocking, so that a FIFO without a writer is refused at once.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (file.get() < 0 || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        message = name(path) + ": cannot be read";
        return std::nullopt;
    }
    if (static_cast<unsigned long long>(st.st_size) > kMaxBytes) {
        message = name(path) + ": larger than 256 MB, too large for a base file";
        return std::nullopt;
    }
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            message = name(path) + ": cannot be read";
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > kMaxBytes) {
            message = name(path) + ": larger than 256 MB, too large for a base file";
            return std::nullopt;
        }
    }
}

std::vector<std::string_view> SourceText::lines(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        out.push_back(line);
        from = next;
    }
    return out;
}

std::string SourceText::name(const std::string& path) {
    const std::string file = std::filesystem::path(path).filename().string();
    return file.empty() ? path : file;
}

bool SourceText::sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (lower(a[k]) != lower(b[k])) {
            return false;
        }
    }
    return true;
}

std::string_view SourceText::trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<double> SourceText::number(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    // Digits, a point or a sign first: "inf" and "nan" are no numbers here.
    if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.' ||
                          text.front() == '-')) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string_view> SourceText::words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (true) {
        const std::size_t first = text.find_first_not_of(" \t", at);
        if (first == std::string_view::npos) {
            return out;
        }
        const std::size_t end = std::min(text.find_first_of(" \t", first), text.size());
        out.push_back(text.substr(first, end - first));
        at = end;
    }
}

std::optional<int> SourceText::timeOfDay(std::string_view text) {
    const auto two = [&](std::size_t at) -> int {
        const bool digits = at + 2 <= text.size() && text[at] >= '0' && text[at] <= '9' &&
                            text[at + 1] >= '0' && text[at + 1] <= '9';
        return digits ? (text[at] - '0') * 10 + (text[at + 1] - '0') : -1;
    };
    if (text.size() < 5 || text[2] != ':') {
        return std::nullopt;
    }
    const int h = two(0);
    const int m = two(3);
    int s = 0;
    if (text.size() > 5) {
        if (text.size() < 8 || text[5] != ':') {
            return std::nullopt;
        }
        s = two(6);
        if (text.size() > 8 &&
            (text[8] != '.' || text.size() == 9 ||
             text.find_first_not_of("0123456789", 9) != std::string_view::npos)) {
            return std::nullopt;
        }
    }
    const bool leap = h == 23 && m == 59 && s == 60;
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || (s > 59 && !leap)) {
        return std::nullopt;
    }
    return h * 3600 + m * 60 + s;
}

std::string SourceText::dateText(int year, int month, int day) {
    return formatText("%02d.%02d.%04d", day, month, year);
}

}  // namespace velkor
