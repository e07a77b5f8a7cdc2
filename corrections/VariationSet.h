// The base-station record: the lines of a variations file (.a).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velkor {

class Prompter;

class VariationSet {
  public:
    static constexpr int kCapacity = 20000;
    static constexpr const char* kFilter = "Variations files (*.a)|*.a||";
    static constexpr const char* kDefaultExt = "a";
    static constexpr const char* kReadError = "Read error ";  // the trailing blank is the program's
    static constexpr const char* kEmpty = "The file is empty";
    static std::string tooManyLinesMessage();

    // Replaces the set with the file's lines. On failure the user is told and the set
    // and its path stay as they were.
    bool load(const std::string& path, Prompter& prompter);

    int count() const { return static_cast<int>(lines_.size()); }
    const std::string& line(int k) const { return lines_[static_cast<std::size_t>(k)]; }
    const std::vector<std::string>& lines() const { return lines_; }
    const std::string& path() const { return path_; }

    // Sample k's fields (k >= 1): the date text at columns 1-10, the time of day in
    // seconds from columns 12-13, 15-16 and 18-19, the value at columns 20-27.
    std::string_view date(int k) const;
    int seconds(int k) const;
    double value(int k) const;
    // The value, or nothing where its text holds no number.
    std::optional<double> valueNumber(int k) const;

  private:
    std::vector<std::string> lines_;
    std::string path_;
};

}  // namespace velkor
