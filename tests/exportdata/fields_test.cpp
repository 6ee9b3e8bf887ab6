// Conversions of export-file fields.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "exportdata/fields.h"
#include "runtime/exceptions.h"
#include "runtime/xftools.h"

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
    // Cut toward zero, also where the nearest double would round to the next whole number.
    const std::pair<long double, int> cuts[] = {
        {0.1L, 0}, {-0.5L, 0}, {5.0L, 5}, {3.9L, 3}, {-3.9L, -3},
        {std::nextafter(3.0L, 0.0L), 2}, {-std::nextafter(3.0L, 0.0L), -2},
        {2147483646.5L, 2147483646}, {-2147483647.5L, -2147483647},
        {std::nextafter(2147483647.0L, 0.0L), 2147483646}};
    for (const auto& [value, cut] : cuts) EXPECT_EQ(TruncToInt(value), cut) << static_cast<double>(value);
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

// The inline readings of plain fields must give what the general readings give, value for
// value and error for error: tricky texts and many random ones over the characters that matter.
std::vector<std::string> TrickyFields() {
    std::vector<std::string> texts = {
        "", "0", "-0", "+0", "-", "+", " ", " 1", "1 ", "\t5", "5\t", "\r7", "007", "-007",
        "000000000", "0000000000", "123456789", "-123456789", "1234567890", "-1234567890",
        "2147483647", "2147483648", "-2147483648", "-2147483649", "99999999999", "--1", "-+1",
        "+-1", "1e3", "1E3", "1,5", "1.5", "-1.5", "+1.5", ".5", "-.5", ",5", "5.", "5,", "-5.",
        "0.05", "0,000001", "0.0", "-0.0", "00.00", "12.34.5", "1.2", "1..2", "1,.2", "abc",
        "12a", "a12", "nan", "inf", "1 2", "1. 5", "5.x", "5. ", ". ", "\xB9", "1\xB9",
        std::string("1\0", 2), std::string(18, '9'), std::string(19, '9'), std::string(20, '9'),
        "-" + std::string(18, '9'), "123456789012345678.9", "12345678901234567.8",
        "1234567890123456.78", "0000000000000000001.5", "000000000000000000.5",
        "1.00000000000000001", "0.000000000000000001", "0.0000000000000000001",
        std::string(6000, '9'), "9" + std::string(300, '0') + ".5"};
    std::mt19937 random(16);
    const std::string alphabet = "0123456789000.,-+ e\t";
    for (int i = 0; i < 20000; ++i) {
        std::string text(random() % 23, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        texts.push_back(text);
    }
    return texts;
}

// The value, or the text of the error it throws.
template <class F>
std::string Outcome(F read) {
    try {
        return std::to_string(read());
    } catch (const Exception& e) {
        return std::string("error: ") + e.what();
    }
}

TEST(FieldsTest, InlineReadingsMatchTheGeneralOnes) {
    for (const std::string& text : TrickyFields()) {
        SCOPED_TRACE('"' + text.substr(0, 40) + '"');
        EXPECT_EQ(Outcome([&] { return StrictInt(text); }),
                  Outcome([&] { return StrToInt(text); }));
        EXPECT_EQ(LenientInt(text, -77), text.empty() ? -77 : StrToIntDef(text, -77));
        EXPECT_EQ(PrefixInt(text), detail::PrefixIntRest(text));
        bool whole = false;
        const long double value = NumberField(text, whole);
        const long double expected = Number(text);
        EXPECT_EQ(whole, EmptyOrNumber(text, true));
        // Equal and of the same sign (a minus zero would print differently).
        EXPECT_TRUE(value == expected && std::signbit(value) == std::signbit(expected))
            << static_cast<double>(value) << " != " << static_cast<double>(expected);
    }
}

}  // namespace
