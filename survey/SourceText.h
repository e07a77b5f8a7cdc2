// The whole text of a base file, read once and read-only, and its lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkor {

class SourceText {
  public:
    static constexpr std::size_t kMaxBytes = std::size_t{256} << 20;
    // nT: no field value comes near it, and every value below it is a float still.
    static constexpr double kMaxValue = 1e7;

    // The file's bytes; nothing and a message naming it when it is no regular file, cannot
    // be read or is larger than any base file could reasonably be.
    static std::optional<std::string> read(const std::string& path, std::string& message);
    // What parse(text, name) makes of the file, or nothing and read()'s message.
    template <typename Parse>
    static auto parsed(const std::string& path, std::string& message, Parse&& parse)
        -> decltype(parse(std::string_view(), std::string())) {
        const std::optional<std::string> text = read(path, message);
        if (!text) {
            return std::nullopt;
        }
        return parse(*text, name(path));
    }
    // The lines of a text, each ended by LF, CR LF or CR alone; a last line without an
    // end counts, an empty rest after the last end does not.
    static std::vector<std::string_view> lines(std::string_view text);
    // The file's own name, as refusals name it: "obs20260706.min line 27: ...".
    static std::string name(const std::string& path);
    // Whether two texts are equal, ASCII letters compared without case.
    static bool sameName(std::string_view a, std::string_view b);
    // The text split at runs of blanks and tabs.
    static std::vector<std::string_view> words(std::string_view text);
};

}  // namespace velkor
