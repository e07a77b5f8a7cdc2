// Two paths of one file.
#include "survey/SameFile.h"

#include <filesystem>
#include <system_error>

namespace velkor {

bool sameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code error;
    return fs::path(a).lexically_normal() == fs::path(b).lexically_normal() ||
           fs::equivalent(a, b, error);
}

}  // namespace velkor
