#include "runtime/cp1250.h"

#include <gtest/gtest.h>

#include "platform/cp1250_table.h"

namespace {

struct Case {
    const char* name;
    std::string utf8;
    std::string expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class Utf8ToCp1250Test : public testing::TestWithParam<Case> {};

TEST_P(Utf8ToCp1250Test, Converts) {
    EXPECT_EQ(Utf8ToCp1250(GetParam().utf8), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8ToCp1250Test,
    testing::Values(
        Case{"PolishUpper", "ĄĆĘŁŃÓŚŻŹ", "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\xAF\x8F"},
        Case{"PolishLower", "ąćęłńóśżź", "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\xBF\x9F"},
        Case{"OtherLetters", "ŠšŤťŽžĽľŕŘůű", "\x8A\x9A\x8D\x9D\x8E\x9E\xBC\xBE\xE0\xD8\xF9\xFB"},
        Case{"Punctuation", "€„”–—…°§×÷ˇ˙", "\x80\x84\x94\x96\x97\x85\xB0\xA7\xD7\xF7\xA1\xFF"},
        Case{"AsciiAndNul", std::string("a\0b;\x7F", 5), std::string("a\0b;\x7F", 5)},
        Case{"NoCp1250Form", "żж中😀", "\xBF???"},
        Case{"UnassignedBytesAreNotTargets", "\xC2\x81\xC2\x98", "??"},
        Case{"TruncatedAtEnd", "a\xC5", "a?"},
        Case{"TruncatedBeforeAscii", "\xE2\x82x", "?x"},
        Case{"StrayContinuation", "\x80z", "?z"},
        Case{"Overlong", "\xC0\xAF\xE0\x80\xAF", "?????"},
        Case{"Surrogate", "\xED\xA0\x80", "???"},
        Case{"AboveUnicode", "\xF4\x90\x80\x80", "????"},
        Case{"InvalidLeadBytes", "\xF8\xFF", "??"}),
    [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

std::string EncodeUtf8(char32_t cp) {
    std::string s;
    if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    }
    s += static_cast<char>(0x80 | (cp & 0x3F));
    return s;
}

TEST(Utf8ToCp1250, EveryAssignedHighByteComesBackFromItsCharacter) {
    int assigned = 0;
    for (int b = 0x80; b <= 0xFF; ++b) {
        const char32_t cp = platform::kCp1250High[b - 0x80];
        if (cp == 0) continue;
        ++assigned;
        EXPECT_EQ(Utf8ToCp1250(EncodeUtf8(cp)), std::string(1, static_cast<char>(b)))
            << "byte " << std::hex << b;
    }
    EXPECT_EQ(assigned, 123);  // the code page leaves 0x81, 0x83, 0x88, 0x90 and 0x98 free
}

}  // namespace
