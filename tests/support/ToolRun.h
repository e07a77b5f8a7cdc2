// One run of velkor2tr-cli in process: its exit status and what it printed. Header only:
// the tool's tests link the tool's library, the other tests never include this.
#pragma once

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

inline ToolRun tool(const std::vector<std::string>& args, PictureWriter* pictures = nullptr) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = CliTool(out, err, pictures).run(args);
    return {status, out.str(), err.str()};
}

}  // namespace velkor
