// One run of velkor2tr-cli in process: its exit status and what it printed, compared as a
// whole where a test knows all three. Header only:
// the tool's tests link the tool's library, the other tests never include this.
#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTool.h"
#include "support/Fixture.h"

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
