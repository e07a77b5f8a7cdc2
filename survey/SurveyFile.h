// The survey file (.vsurvey): JSON a person can read and diff, paths relative to itself.
#pragma once

#include <optional>
#include <string>

#include "survey/SurveySettings.h"

namespace velkor {

class SurveyFile {
  public:
    static constexpr const char* kFormat = "Velkor2tr survey";
    static constexpr int kVersion = 1;
    static constexpr const char* kExtension = "vsurvey";

    // The settings the file holds, its paths resolved against its folder; nothing and a
    // message naming the place ("days[2].path: expected a text") when anything in it is
    // unknown or malformed.
    static std::optional<SurveySettings> read(const std::string& path, std::string& message);
    // The same from the text of a file that lies in folder.
    static std::optional<SurveySettings> parse(const std::string& text, const std::string& folder,
                                               std::string& message);
    // The text of a file to lie in folder: paths relative to it.
    static std::string text(const SurveySettings& settings, const std::string& folder);
    // Writes through a temporary file; on failure "Write error" and the old file intact.
    static bool write(const std::string& path, const SurveySettings& settings,
                      std::string& message);
};

}  // namespace velkor
