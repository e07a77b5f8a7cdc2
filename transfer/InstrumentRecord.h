// One reading as the instrument sends it: a 12-byte head and a 40-byte body, and the
// data line and progress line made from it.
#pragma once

#include <cstdint>
#include <string>

namespace velkor {

class InstrumentRecord {
  public:
    static constexpr std::size_t kHeadSize = 12;
    static constexpr std::size_t kBodySize = 40;
    // The header line of a data file written by the import, ending in its line feed.
    static const std::string& headerLine();

    // Little-endian integers and IEEE single-precision values.
    static InstrumentRecord decode(const std::uint8_t* head, const std::uint8_t* body);
    // The 52 bytes that decode back into this record (for stand-in instruments).
    void encode(std::uint8_t* head, std::uint8_t* body) const;

    // The codes for a mode letter and a note word (40 for a word not in the table).
    static std::int16_t modeCode(char letter);
    static std::int16_t noteCode(const std::string& word);

    char modeLetter() const;
    // The note word, five characters; note code 0 reads as 40 (five blanks).
    std::string noteWord() const;
    float field() const { return mode == 2 ? field28 : field36; }

    // The line written to the data file, ending in its line feed.
    std::string dataLine() const;
    // The line shown in the Transfer window, with its final blank and LF or CR.
    std::string progressLine() const;

    std::int16_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    std::int16_t mode = 0, position = 0, line = 0, note = 0;
    float decay = 0, amplitude = 0, field28 = 0, error = 0, field36 = 0;
    // Bytes 36-39 hold the gradient for mode 2, the field for the others.
    float gradient() const { return field36; }
};

}  // namespace velkor
