#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "text/TextFormat.h"

namespace velkor {
namespace {

std::string printfFixed(double value, int width, int precision) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%*.*f", width, precision, value);
    return buffer;
}

void expectAsPrintf(double value, int width, int precision) {
    std::string ours = "x";
    appendFixed(ours, value, width, precision);
    EXPECT_EQ(ours, "x" + printfFixed(value, width, precision))
        << value << " width " << width << " precision " << precision;
}

}  // namespace

TEST(AppendFixed, WritesWhatPrintfWrites) {
    const double inf = std::numeric_limits<double>::infinity();
    // Ties broken to even on the exact binary value, values a hair off a tie, zeros of
    // both signs, small negatives that round to zero, huge and tiny values.
    for (double v : {0.0,
                     -0.0,
                     0.05,
                     0.15,
                     0.25,
                     0.35,
                     2.45,
                     0.45,
                     1.25,
                     -1.25,
                     2.5,
                     3.5,
                     -0.04,
                     -0.05,
                     -0.06,
                     99999.95,
                     48123.45,
                     -48123.45,
                     1e15 + 0.5,
                     9007199254740993.0,
                     1e22,
                     1e300,
                     -1e300,
                     DBL_MAX,
                     -DBL_MAX,
                     double{FLT_MAX},
                     DBL_MIN,
                     5e-324,
                     std::nextafter(0.05, 1.0),
                     std::nextafter(0.05, 0.0),
                     std::nextafter(48123.45, 0.0),
                     std::nextafter(48123.45, 1e9),
                     inf,
                     -inf,
                     std::numeric_limits<double>::quiet_NaN()}) {
        for (int precision : {0, 1, 2, 8}) {
            expectAsPrintf(v, 0, precision);
            expectAsPrintf(v, 9, precision);
        }
    }
    std::mt19937_64 rnd(5);
    for (int n = 0; n < 300000; ++n) {
        // Single-precision values of every magnitude the program handles, their
        // differences formed in float, and halfway decimals k / 20 and k / 200.
        double v = 0.0;
        switch (n % 4) {
            case 0: {
                const std::uint32_t bits = static_cast<std::uint32_t>(rnd());
                float f = 0.0f;
                std::memcpy(&f, &bits, sizeof f);
                v = std::isfinite(f) ? static_cast<double>(f) : 1.0;
                break;
            }
            case 1:
                v = static_cast<double>(static_cast<float>(rnd() % 2000000) / 10.0f -
                                        static_cast<float>(rnd() % 1000000) / 10.0f);
                break;
            case 2:
                v = static_cast<double>(static_cast<std::int64_t>(rnd() % 4000001) - 2000000) /
                    20.0;
                break;
            default:
                v = static_cast<double>(static_cast<std::int64_t>(rnd() % 40000001) - 20000000) /
                    200.0;
                break;
        }
        expectAsPrintf(v, 9, 1);
        if (n % 8 == 0) {
            expectAsPrintf(v, 0, 1);
            expectAsPrintf(v, 9, 2);
        }
    }
}

// Short texts are formatted once on the stack, longer ones again at their length: both
// must give printf's bytes, a NUL written by %c among them.
TEST(FormatText, AnyLengthAndEveryByte) {
    EXPECT_EQ(formatText("%s|%5.1f", "Line", 2.25), "Line|  2.2");
    const std::string nul = formatText("a%cb", '\0');
    EXPECT_EQ(nul, std::string("a\0b", 3));
    for (const std::size_t n : {std::size_t{254}, std::size_t{255}, std::size_t{256},
                                std::size_t{257}, std::size_t{5000}}) {
        const std::string text(n, 'x');
        EXPECT_EQ(formatText("%s.", text.c_str()), text + ".") << n;
        std::string out = "head ";
        appendFormatted(out, "%s%d", text.c_str(), 7);
        EXPECT_EQ(out, "head " + text + "7") << n;
    }
    EXPECT_EQ(formatText("%s", ""), "");
}

}  // namespace velkor
