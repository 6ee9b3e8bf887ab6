// The field writer of the record lines against the C library's own printing of the same
// formats: every padding, sign and rounding case must give the same bytes.
#include <gtest/gtest.h>

#include <climits>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "dibal/fixed_line.h"

namespace {

using dibal::FixedLine;
using dibal::LineWriter;

// The same field through the line writer, after some text already in the line and with only a
// little room made at the start, so that the field's own room must be made as well.
template <typename Write>
std::string ThroughWriter(Write write) {
    std::string text = "ab";
    {
        LineWriter line(text, 1);
        write(line);
    }
    EXPECT_EQ(text.substr(0, 2), "ab");
    return text.substr(2);
}

std::string Printf(const char* format, long long value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string PrintPrice(int width, long double value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%0*.0Lf", width, value);
    return buffer;
}

TEST(FixedLine, IntegersMatchPrintf) {
    const long long values[] = {0,        1,        7,         9,         10,       99,
                                100,      12345,    1234567,   -1,        -5,       -99,
                                -100,     99999999, 100000000, -9999999,  -10000000, 999999,
                                -99999,   -100000,  LLONG_MAX, LLONG_MIN};
    for (long long v : values) {
        for (int width : {1, 2, 3, 4, 6, 30, 70}) {
            std::string zero, blank;
            FixedLine(zero).ZeroInt(v, static_cast<std::size_t>(width));
            FixedLine(blank).BlankInt(v, static_cast<std::size_t>(width));
            const std::string w = std::to_string(width);
            EXPECT_EQ(zero, Printf(("%0" + w + "lld").c_str(), v)) << v << " width " << width;
            EXPECT_EQ(blank, Printf(("%" + w + "lld").c_str(), v)) << v << " width " << width;
            const auto size = static_cast<std::size_t>(width);
            EXPECT_EQ(ThroughWriter([&](LineWriter& l) { l.ZeroInt(v, size); }), zero) << v;
            EXPECT_EQ(ThroughWriter([&](LineWriter& l) { l.BlankInt(v, size); }), blank) << v;
            EXPECT_EQ(dibal::IntFits(v, size), Printf("%lld", v).size() <= size)
                << v << " width " << width;
        }
        EXPECT_EQ(dibal::IntWidth(v), Printf("%lld", v).size()) << v;
    }
}

TEST(FixedLine, PricesRoundAndPadLikePrintf) {
    std::vector<long double> values = {0.0L,  -0.0L,    0.4L,    -0.4L,  0.5L,     1.5L,
                                       2.5L,  -2.5L,    12.5L,   -12.5L, 1234.0L,  99999.5L,
                                       999999.49L, 1e7L, -1e7L, 12345678.0L, 0.49999999999L,
                                       2.5000000001L, -3.5L, 123456789012.5L,
                                       999999999999999.5L, -999999999999998.5L,
                                       // whole numbers at and past the 32-bit ones
                                       2147483647.0L, 2147483648.0L, -2147483648.0L,
                                       4294967296.0L, 999999999999999.0L};
    std::mt19937 random(7);
    std::uniform_real_distribution<long double> any(-2e6L, 2e6L);
    for (int i = 0; i < 2000; ++i) {
        values.push_back(any(random));
        values.push_back(std::round(any(random) * 2) / 2);  // ties
    }
    for (long double v : values) {
        for (int width : {5, 6, 8}) {
            std::string text;
            const auto size = static_cast<std::size_t>(width);
            FixedLine(text).ZeroPrice(v, size);
            EXPECT_EQ(text, PrintPrice(width, v)) << static_cast<double>(v);
            const dibal::WholePrice rounded = dibal::RoundPrice(v);
            EXPECT_EQ(ThroughWriter([&](LineWriter& l) { l.ZeroPrice(rounded, size); }), text)
                << static_cast<double>(v);
            EXPECT_EQ(rounded.Fits(size), PrintPrice(0, v).size() <= size)
                << static_cast<double>(v) << " width " << width;
        }
        EXPECT_EQ(dibal::PriceWidth(v), PrintPrice(0, v).size()) << static_cast<double>(v);
    }
}

// A host may leave the FPU in another rounding mode; the record must not change with it.
TEST(FixedLine, PriceRoundingDoesNotDependOnTheFpuRoundingMode) {
    const long double values[] = {0.5L, 1.5L, 2.5L, -2.5L, 0.49L, 0.51L, -0.51L, 7.0L, -0.4L,
                                  123456.5L, 99999.4999L, 999999999999998.5L};
    for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        for (long double v : values) {
            const std::string expected = PrintPrice(8, v);  // in the default mode
            std::string text;
            ASSERT_EQ(std::fesetround(mode), 0);
            FixedLine(text).ZeroPrice(v, 8);
            const std::size_t width = dibal::PriceWidth(v);
            std::fesetround(FE_TONEAREST);
            EXPECT_EQ(text, expected) << "mode " << mode << " value " << static_cast<double>(v);
            EXPECT_EQ(width, PrintPrice(0, v).size()) << static_cast<double>(v);
        }
    }
}

TEST(FixedLine, PricesThatCanNeverFitHaveNoWidth) {
    for (long double v : {std::numeric_limits<long double>::infinity(),
                          -std::numeric_limits<long double>::infinity(),
                          std::numeric_limits<long double>::quiet_NaN(), 1e300L, -1e16L}) {
        EXPECT_EQ(dibal::PriceWidth(v), 0u) << static_cast<double>(v);
        EXPECT_FALSE(dibal::RoundPrice(v).Fits(64)) << static_cast<double>(v);
    }
}

TEST(FixedLine, TextsPadWithBlanksAndAreNeverCut) {
    std::string text;
    FixedLine(text)
        .Right("ab", 6).Raw("|")
        .Left("ab", 4).Raw("|")
        .Right("abcdef", 3)
        .Left("xyz", 2);
    EXPECT_EQ(text, "    ab|ab  |abcdefxyz");
    EXPECT_EQ(ThroughWriter([](LineWriter& l) {
                  l.Right("ab", 6).Raw("|").Left("ab", 4).Raw("|").Right("abcdef", 3).Left("xyz", 2);
              }),
              text);
}

// A line far longer than the room made at its start keeps every field, and the text ends
// exactly after the last one.
TEST(LineWriter, GrowsForLongLinesAndEndsAtTheLastField) {
    std::string expected, text = "head";
    {
        LineWriter line(text, 3);
        for (int i = 0; i < 200; ++i) {
            line.ZeroInt(i, 4).Blanks(3).Left("x", 9).Char('|');
            expected += Printf("%04lld", i) + "   x        |";
        }
        line.Done();
        EXPECT_EQ(text, "head" + expected);
    }
    EXPECT_EQ(text, "head" + expected);  // the end of the writer changes nothing after Done
    { LineWriter unused(text, 50); }
    EXPECT_EQ(text, "head" + expected);
}

}  // namespace
