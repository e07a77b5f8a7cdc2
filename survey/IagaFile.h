// An observatory's IAGA-2002 file read as base-station samples: its total field, in UT.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corrections/TemporalCorrection.h"

namespace velkor {

class IagaFile {
  public:
    struct Content {
        std::string elements;  // the four element letters, "XYZF", "HDZG", ...
        // One sample per data record, in the file's order, dated as a data line dates
        // a day; the value is NaN where the record's F is missing or cannot be had.
        std::vector<TemporalCorrection::Sample> samples;
    };

    // Reads the file; nothing and a message naming it and the line when it is no usable
    // IAGA-2002 file ("obs20260706.min line 27: ...").
    static std::optional<Content> read(const std::string& path, std::string& message);
    // The same from the file's text; name is the file's name for the messages.
    static std::optional<Content> parse(std::string_view text, const std::string& name,
                                        std::string& message);
    // Whether the text begins as an IAGA-2002 file does: a header record, '|' closing it.
    static bool looksLike(std::string_view text);
    // Whether a value's text is a missing-value marker: a whole part of five or more 8s
    // or 9s (88888.00, 99999.00).
    static bool missing(std::string_view value);
};

}  // namespace velkor
