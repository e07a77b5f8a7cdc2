// Many paths of distinct files.
#include "survey/SameFileSet.h"

#include <sys/stat.h>

#include <filesystem>

namespace velkor {

bool SameFileSet::add(const std::string& path) {
    std::string tidied = std::filesystem::path(path).lexically_normal().string();
    struct stat st {};
    const bool onDisk = ::stat(path.c_str(), &st) == 0;
    const std::pair<dev_t, ino_t> file(st.st_dev, st.st_ino);
    if (tidied_.count(tidied) != 0 || (onDisk && files_.count(file) != 0)) {
        return false;
    }
    tidied_.insert(std::move(tidied));
    if (onDisk) {
        files_.insert(file);
    }
    return true;
}

}  // namespace velkor
