// Base files are read whole: they are small next to memory, and read by line number.
#include "survey/SourceText.h"

#include <algorithm>
#include <filesystem>

#include "core/BoundedFile.h"
#include "text/QuotedText.h"

namespace velkor {
namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::optional<std::string> SourceText::read(const std::string& path, std::string& message) {
    std::string bytes;
    switch (BoundedFile::read(path, kMaxBytes, bytes)) {
        case BoundedFile::Outcome::Read:
            return bytes;
        case BoundedFile::Outcome::TooLarge:
            message = name(path) + ": larger than 256 MB, too large for a base file";
            return std::nullopt;
        case BoundedFile::Outcome::CannotOpen:
        case BoundedFile::Outcome::NotRegular:
        case BoundedFile::Outcome::ReadError:
            break;
    }
    message = name(path) + ": cannot be read";
    return std::nullopt;
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
