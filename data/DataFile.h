// Loading and writing data files (.velkor).
#pragma once

#include <string>

#include "data/DataSet.h"

namespace velkor {

class Prompter;

class DataFile {
  public:
    static constexpr const char* kFilter = "Velkor2tr files (*.velkor)|*.velkor||";
    static constexpr const char* kDefaultExt = "velkor";
    static constexpr const char* kReadError = "Read error";
    static constexpr const char* kEmpty = "The file is empty";
    static constexpr const char* kWriteError = "Write error";
    static std::string tooManyLinesMessage();

    // Replaces the data set with the file's lines. On any failure the user is told
    // and the data set stays exactly as it was.
    static bool load(const std::string& path, DataSet& data, Prompter& prompter);
    // Writes every line with CR LF; on success the modified flag is cleared.
    // On failure the old file is left as it was and so is the data set.
    static bool write(const std::string& path, DataSet& data, Prompter& prompter);
};

}  // namespace velkor
