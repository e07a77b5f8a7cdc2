// Instrument record decoding and line formatting.
#include "transfer/InstrumentRecord.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "text/TextFormat.h"

namespace velkor {
namespace {

constexpr const char kModes[] = "SAG";

constexpr std::array<const char*, 41> kNotes{
    "Note ", "Base ", "Bog  ", "Bridg", "Brook", "Build", "Cable", "Clay ", "Cliff",
    "Crop ", "Decli", "Fence", "Field", "Gardn", "Grass", "Hole ", "Hill ", "Hydro",
    "Incli", "Lake ", "Pipe ", "Pond ", "Post ", "Rail ", "Ravin", "Ridge", "River",
    "Road ", "Rock ", "Sand ", "Slope", "Stone", "Stair", "Tel  ", "Tie  ", "Trans",
    "Tree ", "Wall ", "Iron ", "Metal", "     "};

std::int16_t int16At(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

float floatAt(const std::uint8_t* p) {
    const std::uint32_t bits =
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void putInt16(std::uint8_t* p, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    p[0] = static_cast<std::uint8_t>(u & 0xFF);
    p[1] = static_cast<std::uint8_t>(u >> 8);
}

void putFloat(std::uint8_t* p, float v) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

// Where each number lies in the 52 bytes: the date and time in the head, the rest in the
// body. Decoding and encoding both read this one layout.
struct IntegerField {
    std::int16_t InstrumentRecord::*number;
    bool inHead;
    std::size_t offset;
};
constexpr IntegerField kIntegers[] = {
    {&InstrumentRecord::year, true, 0},   {&InstrumentRecord::month, true, 2},
    {&InstrumentRecord::day, true, 4},    {&InstrumentRecord::hour, true, 6},
    {&InstrumentRecord::minute, true, 8}, {&InstrumentRecord::second, true, 10},
    {&InstrumentRecord::mode, false, 0},  {&InstrumentRecord::position, false, 2},
    {&InstrumentRecord::line, false, 4},  {&InstrumentRecord::note, false, 6}};
struct ValueField {
    float InstrumentRecord::*number;
    std::size_t offset;  // in the body
};
constexpr ValueField kValues[] = {{&InstrumentRecord::decay, 12},
                                  {&InstrumentRecord::amplitude, 20},
                                  {&InstrumentRecord::field28, 28},
                                  {&InstrumentRecord::error, 32},
                                  {&InstrumentRecord::field36, 36}};

// The amplitude truncated toward zero; beyond the int range it saturates, and a
// NaN (no amplitude at all) reads as 0.
int wholeAmplitude(float a) {
    constexpr float kAboveMax = 2147483648.0f;  // 2^31, the first float above INT_MAX
    if (std::isnan(a)) {
        return 0;
    }
    if (a >= kAboveMax) {
        return std::numeric_limits<int>::max();
    }
    if (a < -kAboveMax) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(a);
}

std::string errText(float error) {
    const std::string text = formatText("%0.1f", static_cast<double>(error));
    return text.size() == 3 ? " " + text : text;
}

}  // namespace

const std::string& InstrumentRecord::headerLine() {
    static const std::string header =
        formatText("M Date      Time      Line  Pos  Field  Err  A D    Grad    Note%2c", '\n');
    return header;
}

InstrumentRecord InstrumentRecord::decode(const std::uint8_t* head, const std::uint8_t* body) {
    InstrumentRecord r;
    for (const IntegerField& f : kIntegers) {
        r.*f.number = int16At((f.inHead ? head : body) + f.offset);
    }
    for (const ValueField& f : kValues) {
        r.*f.number = floatAt(body + f.offset);
    }
    return r;
}

void InstrumentRecord::encode(std::uint8_t* head, std::uint8_t* body) const {
    std::memset(head, 0, kHeadSize);
    std::memset(body, 0, kBodySize);
    for (const IntegerField& f : kIntegers) {
        putInt16((f.inHead ? head : body) + f.offset, this->*f.number);
    }
    for (const ValueField& f : kValues) {
        putFloat(body + f.offset, this->*f.number);
    }
}

std::int16_t InstrumentRecord::modeCode(char letter) {
    for (std::int16_t m = 0; m < 3; ++m) {
        if (kModes[m] == letter) {
            return m;
        }
    }
    return 0;
}

std::int16_t InstrumentRecord::noteCode(const std::string& word) {
    for (std::size_t k = 1; k < kNotes.size(); ++k) {
        if (word == kNotes[k]) {
            return static_cast<std::int16_t>(k);
        }
    }
    return 40;
}

char InstrumentRecord::modeLetter() const {
    return mode >= 0 && mode <= 2 ? kModes[mode] : '?';
}

std::string InstrumentRecord::noteWord() const {
    const int code = note == 0 ? 40 : note;
    return code >= 0 && code <= 40 ? kNotes[static_cast<std::size_t>(code)] : "     ";
}

std::string InstrumentRecord::dataLine() const {
    const std::string err = errText(error);
    const std::string note = noteWord();
    if (mode == 2) {
        const std::string grad = formatText("%8.1f", static_cast<double>(gradient()));
        return formatText("%c %02d.%02d.%02d %02d:%02d:%02d %5d %5d %0.1f %s %d %0.1f %s %s%c",
                          modeLetter(), day, month, year, hour, minute, second, line, position,
                          static_cast<double>(field28), err.c_str(), wholeAmplitude(amplitude),
                          static_cast<double>(decay), grad.c_str(), note.c_str(), '\n');
    }
    return formatText("%c %02d.%02d.%02d %02d:%02d:%02d %5d %5d %0.1f %s %d %0.1f          %s%c",
                      modeLetter(), day, month, year, hour, minute, second, line, position,
                      static_cast<double>(field36), err.c_str(), wholeAmplitude(amplitude),
                      static_cast<double>(decay), note.c_str(), '\n');
}

std::string InstrumentRecord::progressLine() const {
    const std::string note = noteWord();
    if (mode == 2) {
        return formatText(
            "%c %02d.%02d.%02d %02d:%02d:%02d  %04d  %04d %0.1f %0.1f  %d %0.1f  %0.1f   %s%2c",
            modeLetter(), day, month, year, hour, minute, second, line, position,
            static_cast<double>(field28), static_cast<double>(error), wholeAmplitude(amplitude),
            static_cast<double>(decay), static_cast<double>(gradient()), note.c_str(), '\n');
    }
    return formatText(
        "%c %02d.%02d.%02d %02d:%02d:%02d  %04d  %04d %0.1f %0.1f  %d %0.1f          %s%2c",
        modeLetter(), day, month, year, hour, minute, second, line, position,
        static_cast<double>(field36), static_cast<double>(error), wholeAmplitude(amplitude),
        static_cast<double>(decay), note.c_str(), '\r');
}

}  // namespace velkor
