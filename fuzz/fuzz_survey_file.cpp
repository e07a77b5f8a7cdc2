// Any bytes as a survey file: read, or refused with a message that names what is wrong;
// what is read writes out as a text that reads back to the same text.
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/FuzzPrompter.h"
#include "survey/SurveyFile.h"

using namespace velkor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    const std::string folder = "/survey/folder";
    std::string message;
    const std::optional<SurveySettings> read = SurveyFile::parse(text, folder, message);
    if (!read) {
        FuzzPrompter::require(!message.empty(), "a refusal says why");
        return 0;
    }
    const std::string written = SurveyFile::text(*read, folder);
    std::string again;
    const std::optional<SurveySettings> back = SurveyFile::parse(written, folder, again);
    FuzzPrompter::require(back.has_value(), "what was read is written readably");
    FuzzPrompter::require(SurveyFile::text(*back, folder) == written,
                          "written, read and written again: the same text");
    return 0;
}
