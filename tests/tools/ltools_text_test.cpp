// TLTools text helpers: EAN-13, cut and pad, VAT codes, copy up to a delimiter, scaled integers.
#include "runtime/exceptions.h"
#include "tools/ltools.h"

#include <gtest/gtest.h>

namespace {

TEST(LToolsText, Ean13CheckDigit) {
    const std::pair<std::string, std::string> cases[] = {
        {"590123412345", "5901234123457"},
        {"59-0123 41234", "5901234123402"},  // non-digits dropped, padded with 0
        {"", "0000000000000"},
        {"5901234123450", "5901234123457"},  // a wrong check digit is recomputed
        {"5901234123457", "5901234123457"},  // a right one stays
        {" 4006381333931 ", "4006381333931"},
        {"12345678901234567", "1234567890128"},  // cut to 12 digits first
        {"abc", "0000000000000"},
    };
    for (const auto& [in, out] : cases) {
        std::string code = in;
        TLTools::KorygujCyfreKontrolnaEAN13(code);
        EXPECT_EQ(code, out) << "input \"" << in << "\"";
    }
}

TEST(LToolsText, StrSizeCutsAndPads) {
    struct Case {
        std::string in;
        int size;
        char fill;
        TLTools::e_just padding, cutting;
        std::string out;
    };
    const auto R = TLTools::just_right, L = TLTools::just_left;
    const Case cases[] = {
        {"12345", 3, ' ', L, R, "345"},
        {"12345", 3, ' ', R, L, "123"},
        {"7", 3, '0', R, L, "007"},
        {"7", 3, '0', L, R, "700"},
        {"abc", 3, '0', R, R, "abc"},
        {"", 2, '*', L, L, "**"},
        {"abc", 0, ' ', L, R, ""},
        {"abc", -4, ' ', L, L, ""},
    };
    for (const Case& c : cases) {
        std::string text = c.in;
        const std::string result = TLTools::StrSize(text, c.size, c.fill, c.padding, c.cutting);
        EXPECT_EQ(result, c.out) << c.in << " to " << c.size;
        EXPECT_EQ(text, c.out) << "changed in place";
    }
}

TEST(LToolsText, StrMaxShortensACopy) {
    struct Case {
        std::string in;
        int maximum;
        bool dots;
        std::string out;
    };
    const Case cases[] = {
        {"abcdefgh", 6, true, "abc..."},
        {"abcdefgh", 6, false, "abcdef"},
        {"abcd", 6, true, "abcd"},
        {"abcdef", 6, true, "abcdef"},  // not cut: no dots
        {"abcdefgh", 4, true, "a..."},
        {"abcdefgh", 3, true, "abc"},  // three characters or fewer: no dots
        {"abcdefgh", 0, true, ""},
        {"abcdefgh", -1, false, ""},
    };
    for (const Case& c : cases) {
        const std::string text = c.in;
        EXPECT_EQ(TLTools::StrMax(text, c.maximum, c.dots), c.out) << c.in << " max " << c.maximum;
        EXPECT_EQ(text, c.in);
    }
}

TEST(LToolsText, VatCodes) {
    const std::pair<int, std::string> cases[] = {{-1, "zw"}, {23, "23"}, {0, "0"}, {8, "8"},
                                                 {-5, "-5"}};
    for (const auto& [rate, text] : cases) {
        EXPECT_EQ(TLTools::Vat2Str(rate), text);
        EXPECT_EQ(TLTools::Str2Vat(text), rate);
    }
    for (const char* bad : {"ZW", "zw ", "abc", "", "7%"})
        EXPECT_THROW(TLTools::Str2Vat(bad), EConvertError) << "\"" << bad << "\"";
}

TEST(LToolsText, CopyTill) {
    struct Case {
        std::string source, stops;
        int start;
        std::string out;
    };
    const Case cases[] = {
        {"AB;CD", ";", 1, "AB"},
        {"AB;CD", ";", 4, "CD"},
        {"AB;CD", ";", 3, ""},    // starts on the stop character
        {"AB;CD", ";", 6, ""},    // past the end
        {"AB;CD", ";", 100, ""},
        {"AB;CD", "", 1, "AB;CD"},
        {"a,b;c", ";,", 1, "a"},
        {"AB;CD", ";", 0, "AB"},  // positions before the first count as the first
        {"AB;CD", ";", -3, "AB"},
    };
    for (const Case& c : cases) {
        std::string destination = "old";
        EXPECT_EQ(TLTools::CopyTill(c.source, destination, c.stops, c.start), c.out)
            << c.source << " from " << c.start;
        EXPECT_EQ(destination, c.out);
    }
}

TEST(LToolsText, Str2IntScalesAndRounds) {
    struct Case {
        std::string text;
        unsigned decimals;
        int out;
    };
    const Case cases[] = {
        {"12,34", 2, 1234}, {"12.34", 2, 1234}, {"7", 0, 7},     {"1,5", 0, 2},
        {"-1,5", 0, -2},    {"0,25", 1, 3},     {"abc", 2, 0},   {"", 3, 0},
        {"2147483647", 0, 2147483647},          {"-2147483648", 0, -2147483647 - 1},
        {"1,2", 3, 1200},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TLTools::Str2Int(c.text, c.decimals), c.out) << c.text << " / " << c.decimals;
}

TEST(LToolsText, Str2IntBeyondThirtyTwoBitsThrows) {
    const std::pair<std::string, unsigned> cases[] = {
        {"2147483648", 0}, {"-2147483649", 0}, {"21474836,48", 2}, {"1", 10}, {"1", 5000}};
    for (const auto& [text, decimals] : cases)
        EXPECT_THROW(TLTools::Str2Int(text, decimals), ERangeError) << text << " / " << decimals;
}

}  // namespace
