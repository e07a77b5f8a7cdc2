// Line reading shared by data files and variations files.
#include "data/LineReader.h"

#include <cstdio>
#include <memory>
#include <utility>

#include "core/Prompter.h"

namespace velkor {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Collects the characters of one physical line and cuts it into pieces.
class Splitter {
  public:
    explicit Splitter(std::size_t maxLines) : maxLines_(maxLines) {}

    bool add(char c) {
        if (c == '\n') {
            return endLine();
        }
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
    bool endLine() { return push(); }

    bool pending() const { return !current_.empty(); }
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
};

}  // namespace

LineReader::Result LineReader::read(const std::string& path, std::size_t maxLines) {
    Result result;
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return result;
    }
    Splitter splitter(maxLines);
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        for (std::size_t i = 0; i < got; ++i) {
            if (!splitter.add(buffer[i])) {
                result.status = Status::TooManyLines;
                return result;
            }
        }
    }
    if (std::ferror(file.get())) {
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
