#include "runtime/xftools.h"

#include <gtest/gtest.h>

#include <cmath>

#include "runtime/exceptions.h"

namespace {

TEST(TxfTools, FromStringReadsAsFarAsANumberGoes) {
    const std::pair<const char*, long double> cases[] = {
        {"12.5", 12.5L},       {"12,5", 12.5L},  {"  -3.25abc", -3.25L}, {"\t+4", 4.0L},
        {"abc", 0.0L},         {"", 0.0L},       {"-", 0.0L},            {".5", 0.5L},
        {"7.", 7.0L},          {"1.2.3", 1.2L},  {"0.1", 0.1L},          {"1 5", 1.0L},
        {"43215", 43215.0L},   {"1e5", 1.0L},    {"000123.4500", 123.45L},
        {"12345678901234567", 12345678901234567.0L},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(TxfTools(99).FromString(text, 10, false).Value(), value) << text;
    }
    // Amounts are printed with "%.0Lf": a negative zero would show as "-0".
    EXPECT_FALSE(std::signbit(TxfTools().FromString("-0,00", 10, true).Value()));
}

TEST(TxfTools, StrictFromStringWantsOnlyANumber) {
    for (const char* good : {"12.5", " 12.5 ", "-1", "0,25"})
        EXPECT_NO_THROW(TxfTools().FromString(good, 10, true)) << good;
    for (const char* bad : {"", " ", "12.5x", "x12", "-", "1 2", "."})
        EXPECT_THROW(TxfTools().FromString(bad, 10, true), EConvertError) << bad;
}

TEST(TxfTools, RoundsHalvesAwayFromZero) {
    struct Case {
        long double value;
        int digits;
        long double expected;
    } cases[] = {
        {2.5L, 0, 3.0L},          {-2.5L, 0, -3.0L},       {2.4999L, 0, 2.0L},
        {3.5L, 0, 4.0L},          {1234.5678L, 2, 1234.57L}, {1.005L, 2, 1.01L},
        {1.005, 2, 1.01L},        {-1.005, 2, -1.01L},     {15.0L, -1, 20.0L},
        {1999.0L * 1.5L, 0, 2999.0L}, {0.0L, 0, 0.0L},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TxfTools(c.value).Round(c.digits).Value(), c.expected)
            << static_cast<double>(c.value) << " to " << c.digits;
    }
    EXPECT_FALSE(std::signbit(TxfTools(-0.4L).Round(0).Value()));
}

TEST(StrToInt, StrictAndLenientForms) {
    const std::pair<const char*, int> good[] = {
        {"42", 42},   {" -7 ", -7},           {"+0", 0},    {"007", 7},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"\t12\r", 12},
    };
    for (const auto& [text, value] : good) {
        EXPECT_EQ(StrToInt(text), value) << text;
        EXPECT_EQ(StrToIntDef(text, -99), value) << text;
    }
    for (const char* bad : {"", " ", "12a", "2147483648", "-2147483649", "99999999999999999999",
                            "1 2", "0x10", "--1", "+", "1.0"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid integer value");
        }
        EXPECT_EQ(StrToIntDef(bad, -99), -99) << bad;
    }
}

}  // namespace
