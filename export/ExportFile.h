// The four plain-text export files: field, gradient, base-station variations, corrected.
#pragma once

#include <string>
#include <vector>

namespace velkor {

class DataSet;
class Prompter;

class ExportFile {
  public:
    enum class Kind { Field, Gradient, Auto, Corrected };
    static constexpr const char* kNothing = "There is nothing to export. The output file is empty.";

    static const char* filter(Kind kind);
    static const char* defaultExt(Kind kind);

    // The whole file, every line ending in CR LF; rows says how many are readings.
    static std::string text(Kind kind, const DataSet& data, int& rows);
    // Every line of the file, without line ends; rows says how many are readings.
    static std::vector<std::string> lines(Kind kind, const DataSet& data, int& rows);
    // Writes the file with CR LF; "Write error" when it cannot be written (the old file
    // then stays), the nothing-to-export notice when no reading qualified.
    static bool write(Kind kind, const std::string& path, DataSet& data, Prompter& prompter);
    // The same; rows says how many readings the file holds.
    static bool write(Kind kind, const std::string& path, DataSet& data, Prompter& prompter,
                      int& rows);
};

}  // namespace velkor
