// TLTools byte conversions: hex digits and packed BCD, in both directions.
#include "tools/ltools.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

TEST(LToolsBytes, HexBothWays) {
    const std::uint8_t bytes[] = {0x0A, 0xFF};
    char text[5] = "....";
    TLTools::Bin2Hex(bytes, text, 2);
    EXPECT_EQ(std::string(text), "0AFF");

    std::uint8_t back[3] = {0x11, 0x11, 0x11};
    TLTools::Hex2Bin(text, back, 2);
    EXPECT_EQ(back[0], 0x0A);
    EXPECT_EQ(back[1], 0xFF);
    EXPECT_EQ(back[2], 0x11) << "nothing past the count";
}

TEST(LToolsBytes, EveryByteSurvivesHex) {
    std::vector<std::uint8_t> bytes(256);
    for (int k = 0; k < 256; ++k) bytes[k] = static_cast<std::uint8_t>(k);
    std::string text(512, '?');
    TLTools::Bin2Hex(bytes.data(), text.data(), 256);
    EXPECT_EQ(text.substr(0, 6), "000102");
    EXPECT_EQ(text.substr(506), "FDFEFF");
    std::vector<std::uint8_t> back(256);
    TLTools::Hex2Bin(text.data(), back.data(), 256);
    EXPECT_EQ(back, bytes);
}

TEST(LToolsBytes, HexDigitPairs) {
    const std::pair<std::string, int> cases[] = {
        {"00", 0x00}, {"9F", 0x9F}, {"A0", 0xA0}, {"FF", 0xFF},
        {"aF", 0xAF},  // the first digit may be lower case
    };
    for (const auto& [digits, value] : cases)
        EXPECT_EQ(TLTools::Hex2BinDigit(digits.c_str()), value) << digits;
}

TEST(LToolsBytes, PackedBcdBothWays) {
    const std::uint8_t bcd[] = {0x12, 0x34};
    char text[5] = "....";
    TLTools::Bin2Dec(bcd, text, 2);
    EXPECT_EQ(std::string(text), "1234");

    std::uint8_t back[3] = {0, 0, 0x77};
    TLTools::Dec2Bin("1234", back, 2);
    EXPECT_EQ(back[0], 0x12);
    EXPECT_EQ(back[1], 0x34);
    EXPECT_EQ(back[2], 0x77);

    EXPECT_EQ(TLTools::Dec2BinDigit("99"), 0x99);
    EXPECT_EQ(TLTools::Dec2BinDigit("07"), 0x07);
}

TEST(LToolsBytes, NoCountWritesNothing) {
    const std::uint8_t bytes[] = {0x12};
    char text[2] = {'x', 'y'};
    std::uint8_t out[1] = {0x55};
    for (int count : {0, -1}) {
        TLTools::Bin2Hex(bytes, text, count);
        TLTools::Bin2Dec(bytes, text, count);
        TLTools::Hex2Bin("12", out, count);
        TLTools::Dec2Bin("12", out, count);
    }
    EXPECT_EQ(text[0], 'x');
    EXPECT_EQ(text[1], 'y');
    EXPECT_EQ(out[0], 0x55);
}

}  // namespace
