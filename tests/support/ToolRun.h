// One run of velkor2tr-cli in process: its exit status and what it printed, compared as a
// whole where a test knows all three. Header only:
// the tool's tests link the tool's library, the other tests never include this.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTool.h"
#include "support/Fixture.h"
#include "survey/Survey.h"

namespace velkor {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

inline bool operator==(const ToolRun& a, const ToolRun& b) {
    return a.status == b.status && a.out == b.out && a.err == b.err;
}

// A run as a failed comparison shows it.
inline void PrintTo(const ToolRun& r, std::ostream* os) {
    *os << "status " << r.status << ", out \"" << r.out << "\", err \"" << r.err << "\"";
}

inline ToolRun tool(const std::vector<std::string>& args, PictureWriter* pictures = nullptr) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = CliTool(out, err, pictures).run(args);
    return {status, out.str(), err.str()};
}

inline ToolRun surveyTool(std::vector<std::string> args, PictureWriter* pictures = nullptr) {
    args.insert(args.begin(), "survey");
    return tool(args, pictures);
}

// Each step of velkor2tr-cli survey in turn: the first that failed, or the last.
inline ToolRun surveySteps(const std::vector<std::vector<std::string>>& steps) {
    ToolRun run{};
    for (const std::vector<std::string>& step : steps) {
        run = surveyTool(step);
        if (run.status != 0) {
            break;
        }
    }
    return run;
}

// The survey file as the tool left it; the test fails, saying why, when it cannot be read.
inline std::optional<Survey> surveyRead(const std::string& file) {
    std::string message;
    std::optional<Survey> survey = Survey::read(file, message);
    EXPECT_TRUE(survey) << message;
    return survey;
}

// A new survey in EPSG:32633 of DAY with BASE, placed by parameters 10 m by 5 m from
// 500000,6200000: the first step that failed, or the last.
inline ToolRun placedSurvey(const std::string& file, const std::string& day,
                            const std::string& base, const std::string& azimuth) {
    const std::vector<std::vector<std::string>> steps = {
        {"new", file, "--crs", "EPSG:32633"},
        {"add", file, day},
        {"base", file, base},
        {"place", file, "--origin", "500000,6200000", "--azimuth", azimuth, "--line-spacing", "10",
         "--station-interval", "5"}};
    return surveySteps(steps);
}

// The words of a call as a message quotes them, each after a space.
inline std::string commandLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& a : args) {
        line += " " + a;
    }
    return line;
}

// The small day every command of the tool is tried on.
inline const std::string kSmall = Fixture::path("small.velkor");

}  // namespace velkor
