// Base files are read whole: they are small next to memory, and read by line number.
#include "survey/SourceText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "core/FileDescriptor.h"
#include "text/QuotedText.h"

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
    // A line ends at LF, CR LF, or a CR alone (as old spreadsheet exports write them).
    std::vector<std::string_view> out;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", from), text.size());
        std::size_t next = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') {
            ++next;
        }
        out.push_back(text.substr(from, end - from));
        from = next;
    }
    return out;
}

std::string SourceText::name(const std::string& path) {
    const std::string file = std::filesystem::path(path).filename().string();
    return QuotedText::of(file.empty() ? path : file);
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

}  // namespace velkor
