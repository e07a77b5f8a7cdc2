// A base source opened: the samples of its file (a variations file, an IAGA-2002 file or
// a CSV file), indexed alike, and the time offset added to its times.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corrections/TemporalCorrection.h"
#include "survey/SurveySettings.h"

namespace velkor {

class DataSet;

class BaseSource {
  public:
    using Format = SurveySettings::BaseSource::Format;

    // Reads the file read-only, as its format says (Auto: as detect finds it); nothing
    // and a message naming it (and the line, where one is at fault) when it cannot be used.
    static std::optional<BaseSource> open(const SurveySettings::BaseSource& settings,
                                          std::string& message);
    // A variations file.
    static std::optional<BaseSource> open(const std::string& path, int offset,
                                          std::string& message);
    // The survey's own base-station ('A') readings of these days, in their order, as the
    // samples of a variations file would be.
    static BaseSource ofReadings(const SurveySettings::BaseSource& settings,
                                 const std::vector<const DataSet*>& days);
    static constexpr const char* kReadingsName = "base-station readings";
    // The format of a file told by its content: IAGA-2002 header records, a CSV header
    // whose columns are found without help, else a variations file.
    static Format detect(const std::string& path);

    Format format() const { return format_; }
    // Whether these settings name this file read this way (the offset aside, which can
    // change without reading the file again).
    bool opens(const SurveySettings::BaseSource& settings) const;

    const std::string& path() const { return path_; }
    int offset() const { return offset_; }
    void setOffset(int seconds) { offset_ = seconds; }
    int samples() const { return samples_; }
    // The Date texts of its first and last samples, as the file gives them.
    const std::string& firstDate() const { return firstDate_; }
    const std::string& lastDate() const { return lastDate_; }
    // The earliest and the latest date the source holds samples of, "06.07.2026 to
    // 09.07.2026"; empty when it holds none.
    std::string span() const;
    // Whether a reading of one of these Date texts is looked for, its offset taken off,
    // on a date the source holds samples of.
    bool meets(const std::vector<std::string>& dates) const;

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
    static std::optional<BaseSource> fromSamples(const SurveySettings::BaseSource& settings,
                                                 Format format,
                                                 std::vector<TemporalCorrection::Sample> all);
    static void addDate(std::vector<long>& days, std::string_view date);
    void keepDays(std::vector<long> days);

    std::string path_;
    int offset_ = 0;
    int samples_ = 0;
    std::string firstDate_;
    std::string lastDate_;
    TemporalCorrection::Samples index_;
    Format format_ = Format::Velkor;
    Format asked_ = Format::Velkor;  // as the settings said, Auto included
    std::string columns_;
    std::vector<long> days_;  // the days it holds samples of, in order, each once
};

}  // namespace velkor
