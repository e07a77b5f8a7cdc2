// A CSV file of base-station values: a header, then a date and time (or one date-time)
// and a value on every row.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corrections/TemporalCorrection.h"

namespace velkor {

class BaseCsvFile {
  public:
    // Reads the file; columns names the columns to take ("DATE,TIME,VALUE" or
    // "DATETIME,VALUE", names as the header writes them, case aside), empty for the
    // header's own choice. Nothing and a message naming the file and the line when it
    // cannot be used. A value that is empty or no number is a sample without a number.
    static std::optional<std::vector<TemporalCorrection::Sample>> read(const std::string& path,
                                                                       const std::string& columns,
                                                                       std::string& message);
    static std::optional<std::vector<TemporalCorrection::Sample>> parse(std::string_view text,
                                                                        const std::string& name,
                                                                        const std::string& columns,
                                                                        std::string& message);
    // Whether the text begins with a header whose columns are chosen without help.
    static bool looksLike(std::string_view text);
};

}  // namespace velkor
