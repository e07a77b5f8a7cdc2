// The survey file (.vsurvey): JSON a person can read and diff, paths relative to itself.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "survey/SurveySettings.h"

namespace velkor {

class SurveyFile {
  public:
    static constexpr const char* kFormat = "Velkor2tr survey";
    static constexpr int kVersion = 1;
    static constexpr const char* kExtension = "vsurvey";
    // Far above any survey's file (10,000 days and as many flags take a few MB), and
    // lists and objects far deeper than the file's own four levels: anything beyond is no
    // survey file, and is refused before it takes the memory it asks for.
    static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;
    static constexpr int kMaxDepth = 64;
    // The whole numbers the file holds (version, offsets, reading numbers): those of an int
    // whose negative is one too.
    static constexpr int kLargestWhole = 2147483647;

    // The settings the file holds, its paths resolved against its folder; nothing and a
    // message naming the place ("days[2].path: expected a text") when anything in it is
    // unknown or malformed.
    // bytesRead, when given, takes the file's bytes as they were read.
    static std::optional<SurveySettings> read(const std::string& path, std::string& message,
                                              std::string* bytesRead = nullptr);
    // The file's bytes, read as the day and base files are: a regular file only, opened
    // without waiting for a writer, at most kMaxBytes; nothing and a message naming it.
    static std::optional<std::string> bytes(const std::string& path, std::string& message);
    // The same from the text of a file that lies in folder.
    static std::optional<SurveySettings> parse(const std::string& text, const std::string& folder,
                                               std::string& message);
    // The text of a file to lie in folder: paths relative to it.
    static std::string text(const SurveySettings& settings, const std::string& folder);
    // Writes through a temporary file; on failure "Write error" and the old file intact.
    // Settings whose text would not read back are not written: the message says why.
    static bool write(const std::string& path, const SurveySettings& settings,
                      std::string& message);
};

}  // namespace velkor
