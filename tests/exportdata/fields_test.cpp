// Conversions of export-file fields.
#include <gtest/gtest.h>

#include <climits>

#include "exportdata/fields.h"
#include "runtime/exceptions.h"

using namespace exportfields;

namespace {

TEST(FieldsTest, StrictIntegerAcceptsNumbersAndRejectsTheRest) {
    EXPECT_EQ(StrictInt("0"), 0);
    EXPECT_EQ(StrictInt("123456789"), 123456789);
    EXPECT_EQ(StrictInt("-17"), -17);
    EXPECT_EQ(StrictInt("2147483647"), INT_MAX);
    for (const char* bad : {"", "abc", "12a", "1.5", "99999999999", ";"})
        EXPECT_THROW(StrictInt(bad), EConvertError) << bad;
}

TEST(FieldsTest, LenientIntegerFallsBackOnAnythingElse) {
    EXPECT_EQ(LenientInt("", -1), -1);
    EXPECT_EQ(LenientInt("x", 1000), 1000);
    EXPECT_EQ(LenientInt("500", 1000), 500);
    EXPECT_EQ(LenientInt("-3", 0), -3);
    EXPECT_EQ(LenientInt("99999999999", 7), 7);
}

TEST(FieldsTest, PrefixIntegerReadsLeadingDigits) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {{"", 0},         {"abc", 0},   {"12abc", 12},    {"  7", 7},
                 {"-5d", -5},     {"+9", 9},    {"- 3", 0},       {"30 dni", 30},
                 {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN}};
    for (const Case& c : cases) EXPECT_EQ(PrefixInt(c.text), c.value) << c.text;
}

TEST(FieldsTest, NumberReadsAsFarAsItFormsANumber) {
    struct Case {
        const char* text;
        long double value;
    } cases[] = {{"", 0},        {"abc", 0},       {"1299", 1299},   {"12.5", 12.5L},
                 {"  3.25x", 3.25L}, {"-4", -4},   {"7,5", 7.5L},       {".5", 0.5L},
                 {"5.", 5},      {"1e3", 1},       {"0.05", 0.05L},  {"00012", 12},
                 {"1234567890123456789", 1234567890123456789.0L}};
    for (const Case& c : cases) EXPECT_EQ(Number(c.text), c.value) << c.text;
}

// A number field holds a number as a whole or nothing; anything else must not pass as a number.
TEST(FieldsTest, EmptyOrNumberAcceptsOnlyWholeNumbers) {
    struct Case {
        const char* text;
        bool decimals;
        bool accepted;
    } cases[] = {
        {"", true, true},        {"  ", true, true},        {" 24.50 ", true, true},
        {"24,50", true, true},   {"-4", true, true},        {"+.5", true, true},
        {"5.", true, true},      {"24x50", true, false},    {"abc", true, false},
        {"nan", true, false},    {"inf", true, false},      {"1e3", true, false},
        {".", true, false},      {"-", true, false},        {"1.2.3", true, false},
        {"24 50", true, false},  {"30", false, true},       {"1.5", false, false},
        {"10 dni", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EmptyOrNumber(c.text, c.decimals), c.accepted) << '"' << c.text << '"';
}

TEST(FieldsTest, HugeValuesStayWithinRange) {
    EXPECT_EQ(TruncToInt(1e30L), INT_MAX);
    EXPECT_EQ(TruncToInt(-1e30L), INT_MIN);
    EXPECT_EQ(TruncToInt(-2.9L), -2);
    EXPECT_EQ(WrapMul(23, 100), 2300);
    EXPECT_EQ(WrapMul(INT_MAX, 100), static_cast<int>(static_cast<unsigned>(INT_MAX) * 100u));
    // A number of thousands of digits does not overflow the parser.
    EXPECT_GT(Number(std::string(6000, '9')), 1e300L);
}

TEST(FieldsTest, TrimRemovesControlCharactersAndBlanksOnly) {
    EXPECT_EQ(TrimView(" \t\x01PLU;1\r\n "), "PLU;1");
    EXPECT_EQ(TrimView("\xA0x\xA0"), "\xA0x\xA0");  // bytes above 127 stay
    EXPECT_EQ(TrimView("   "), "");
}

}  // namespace
