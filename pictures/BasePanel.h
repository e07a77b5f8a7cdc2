// What the survey window's base panel shows for one date: every base source's curve over
// the day, as the corrections would look each value up, and the survey readings of that
// date along the time axis.
#pragma once

#include <string>
#include <vector>

#include "survey/BaseSource.h"

namespace velkor {

class Survey;

class BasePanel {
  public:
    // A source is looked up once a minute: finer than a panel's pixels over a day.
    static constexpr int kStep = 60;
    static constexpr int kDay = 24 * 3600;

    struct Point {
        int seconds;
        double value;
    };
    struct Curve {
        std::string name;  // the file's name, without its folder
        // Stretches of times the source gives a value at; none when it holds no sample
        // of the date.
        std::vector<std::vector<Point>> runs;
        bool holdsDate = false;
    };
    struct Reading {
        int seconds;
        bool based;  // some source gives it a base value
    };

    // The Date texts of the survey readings (the base station's own left aside), in the
    // order they first come.
    static std::vector<std::string> dates(const Survey& survey);
    // Every base source of the survey read again, for the panel alone: a lookup keeps
    // state, and the survey's own sources serve its corrections. Nothing and a message
    // when one cannot be read any more.
    static bool openSources(const Survey& survey, std::vector<BaseSource>& sources,
                            std::string& message);
    static BasePanel of(const Survey& survey, std::vector<BaseSource>& sources,
                        const std::string& date);

    const std::string& date() const { return date_; }
    const std::vector<Curve>& curves() const { return curves_; }
    const std::vector<Reading>& readings() const { return readings_; }
    bool empty() const;

  private:
    std::string date_;
    std::vector<Curve> curves_;
    std::vector<Reading> readings_;
};

}  // namespace velkor
