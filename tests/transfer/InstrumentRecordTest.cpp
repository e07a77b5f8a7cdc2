#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "transfer/InstrumentRecord.h"

namespace velkor {
namespace {

InstrumentRecord record(std::int16_t mode, float field, float error, float amp, float grad,
                        std::int16_t note) {
    InstrumentRecord r;
    r.year = 2026;
    r.month = 7;
    r.day = 3;
    r.hour = 9;
    r.minute = 5;
    r.second = 7;
    r.mode = mode;
    r.line = 12;
    r.position = 7;
    r.note = note;
    r.decay = 1.5f;
    r.amplitude = amp;
    r.error = error;
    if (mode == 2) {
        r.field28 = field;
        r.field36 = grad;
    } else {
        r.field36 = field;
    }
    return r;
}

}  // namespace

TEST(InstrumentRecord, DataLinesOfTheThreeModes) {
    EXPECT_EQ(InstrumentRecord::headerLine(),
              "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \n");
    EXPECT_EQ(record(0, 48123.4f, 0.7f, 7.9f, 0, 0).dataLine(),
              "S 03.07.2026 09:05:07    12     7 48123.4  0.7 7 1.5               \n");
    EXPECT_EQ(record(1, 48110.2f, 12.5f, 8.0f, 0, 1).dataLine(),
              "A 03.07.2026 09:05:07    12     7 48110.2 12.5 8 1.5          Base \n");
    EXPECT_EQ(record(2, 48130.9f, 1.2f, 6.0f, 123.96f, 11).dataLine(),
              "G 03.07.2026 09:05:07    12     7 48130.9  1.2 6 1.5    124.0 Fence\n");
    EXPECT_EQ(record(2, 48130.9f, 1.2f, 6.0f, -0.5f, 40).dataLine(),
              "G 03.07.2026 09:05:07    12     7 48130.9  1.2 6 1.5     -0.5      \n");
    // The note word starts at the same position in both kinds of line.
    EXPECT_EQ(record(0, 48123.4f, 0.7f, 7.9f, 0, 1).dataLine().find("Base "), 62u);
    EXPECT_EQ(record(2, 48123.4f, 0.7f, 7.9f, 1, 1).dataLine().find("Base "), 62u);
}

TEST(InstrumentRecord, ProgressLines) {
    EXPECT_EQ(record(0, 48123.4f, 0.7f, 7.9f, 0, 1).progressLine(),
              "S 03.07.2026 09:05:07  0012  0007 48123.4 0.7  7 1.5          Base  \r");
    EXPECT_EQ(record(2, 48130.9f, 1.2f, 6.0f, 123.96f, 0).progressLine(),
              "G 03.07.2026 09:05:07  0012  0007 48130.9 1.2  6 1.5  124.0         \n");
}

TEST(InstrumentRecord, CodesOutsideTheTablesAndOddValues) {
    InstrumentRecord odd = record(7, 48000.0f, 0.5f, 1e30f, 0, 55);
    EXPECT_EQ(odd.modeLetter(), '?');
    EXPECT_EQ(odd.noteWord(), "     ");
    EXPECT_EQ(odd.dataLine(),
              "? 03.07.2026 09:05:07    12     7 48000.0  0.5 2147483647 1.5               \n");
    odd.mode = -1;
    odd.note = -3;
    EXPECT_EQ(odd.modeLetter(), '?');
    EXPECT_EQ(odd.noteWord(), "     ");
    EXPECT_EQ(InstrumentRecord::noteCode("Metal"), 39);
    EXPECT_EQ(InstrumentRecord::noteCode("     "), 40);
    EXPECT_EQ(InstrumentRecord::noteCode("Note "), 40);
    EXPECT_EQ(InstrumentRecord::modeCode('G'), 2);
}

TEST(InstrumentRecord, AmplitudeTruncatesTowardZeroAndSaturatesOnlyBeyondInt) {
    auto amplitudeOf = [](float a) {
        const std::string line = record(0, 48000.0f, 0.5f, a, 0, 40).dataLine();
        return line.substr(47, line.find(" ", 47) - 47);
    };
    EXPECT_EQ(amplitudeOf(2.1e9f), "2100000000");
    EXPECT_EQ(amplitudeOf(-2.1e9f), "-2100000000");
    EXPECT_EQ(amplitudeOf(-7.9f), "-7");
    EXPECT_EQ(amplitudeOf(-2147483648.0f), "-2147483648");
    EXPECT_EQ(amplitudeOf(3e9f), "2147483647");
    EXPECT_EQ(amplitudeOf(-3e9f), "-2147483648");
    EXPECT_EQ(amplitudeOf(std::numeric_limits<float>::infinity()), "2147483647");
    EXPECT_EQ(amplitudeOf(std::numeric_limits<float>::quiet_NaN()), "0");
    EXPECT_NE(record(2, 48000.0f, 0.5f, 2.1e9f, 1, 40).progressLine().find(" 2100000000 "),
              std::string::npos);
}

TEST(InstrumentRecord, DecodesLittleEndianBytes) {
    std::uint8_t head[12] = {0xEA, 0x07, 7, 0, 3, 0, 23, 0, 59, 0, 58, 0};
    std::uint8_t body[40] = {};
    body[0] = 2;
    body[2] = 0xFF;  // position -1
    body[3] = 0xFF;
    body[4] = 0x2C;  // line 300
    body[5] = 0x01;
    body[6] = 0;
    const std::uint8_t field[4] = {0x66, 0x0E, 0x3C, 0x47};  // 48142.4
    std::copy(field, field + 4, body + 28);
    const InstrumentRecord r = InstrumentRecord::decode(head, body);
    EXPECT_EQ(r.year, 2026);
    EXPECT_EQ(r.month, 7);
    EXPECT_EQ(r.day, 3);
    EXPECT_EQ(r.second, 58);
    EXPECT_EQ(r.position, -1);
    EXPECT_EQ(r.line, 300);
    EXPECT_FLOAT_EQ(r.field(), 48142.4f);

    std::uint8_t h2[12];
    std::uint8_t b2[40];
    r.encode(h2, b2);
    EXPECT_TRUE(std::equal(head, head + 12, h2));
    EXPECT_TRUE(std::equal(body, body + 40, b2));
}

}  // namespace velkor
