// A base source opened: the samples of its variations file, indexed, and the time
// offset added to its times.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "corrections/TemporalCorrection.h"

namespace velkor {

class BaseSource {
  public:
    // Reads the file read-only; nothing and a message naming it when it cannot be used.
    static std::optional<BaseSource> open(const std::string& path, int offset,
                                          std::string& message);

    const std::string& path() const { return path_; }
    int offset() const { return offset_; }
    void setOffset(int seconds) { offset_ = seconds; }
    int samples() const { return samples_; }
    // The Date texts of its first and last samples, as the file gives them.
    const std::string& firstDate() const { return firstDate_; }
    const std::string& lastDate() const { return lastDate_; }

    // The source's value at a reading's date text and time of day, found as the day's
    // temporal correction finds it once the offset is taken off the reading's time: the
    // same as adding it to every sample time. A reading moved past midnight that way is
    // looked for on the neighbouring date.
    TemporalCorrection::Base at(std::string_view date, int seconds);
    // Whether the file holds a sample of the date, and whether a reading at this time of
    // day is looked for on its own date: together they spare a search bound to fail.
    bool holds(std::string_view date);
    bool staysOnItsDate(int seconds) const;

  private:
    BaseSource(std::string path, int offset, int samples, TemporalCorrection::Samples index);

    std::string path_;
    int offset_ = 0;
    int samples_ = 0;
    std::string firstDate_;
    std::string lastDate_;
    TemporalCorrection::Samples index_;
};

}  // namespace velkor
