// A GNSS receiver's NMEA 0183 log read into fixes: GGA sentences (dated by the last ZDA or
// RMC before them) and RMC sentences. A sentence is taken only with its checksum right and
// a fix to give; every other sentence of those kinds is refused and counted by reason.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "geo/TrackFix.h"

namespace velkor {

class NmeaLog {
  public:
    enum class Refusal { Checksum, NoFix, NoDate, Malformed };
    static constexpr int kRefusals = 4;

    struct Result {
        std::vector<TrackFix> fixes;  // in the log's order
        int sentences = 0;            // lines that begin as a sentence ("$")
        std::array<int, kRefusals> refused{};
        std::array<int, kRefusals> firstLine{};  // the first refused line of each, from 1
        int count(Refusal r) const { return refused[static_cast<std::size_t>(r)]; }
    };

    static Result read(std::string_view text);
    // The exclusive-or of a sentence's bytes between "$" and "*", which its two hex digits
    // after "*" must give.
    static int checksum(std::string_view body);
    // "bad or missing checksum", "no fix", "no date before it", "unreadable".
    static const char* name(Refusal r);
};

}  // namespace velkor
