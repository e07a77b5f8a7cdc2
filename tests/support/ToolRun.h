// One run of velkor2tr-cli in process: its exit status and what it printed, compared as a
// whole where a test knows all three. Header only:
// the tool's tests link the tool's library, the other tests never include this.
#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTool.h"

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

}  // namespace velkor
