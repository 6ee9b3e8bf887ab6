// The opis2 numbers and the description blocks L4 (series L, H) and H4 (series H2).
#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "dibal/records_layouts.h"
#include "exportdata/words.h"
#include "records_fixture.h"
#include "runtime/xftools.h"

namespace {

struct Opis2Case {
    const char* opis2;
    bool sendAddData;
    int key, label, picture, section;
};
void PrintTo(const Opis2Case& c, std::ostream* os) { *os << "\"" << c.opis2 << "\" " << c.sendAddData; }

class Opis2Numbers : public RecordsTest, public ::testing::WithParamInterface<Opis2Case> {};

TEST_P(Opis2Numbers, ReadByPosition) {
    const Opis2Case& c = GetParam();
    Action().Settings.SendAddData = c.sendAddData;
    KSTowRec goods = Goods(1, "1");
    goods.opis2 = c.opis2;
    EXPECT_EQ(Action().KeyNumber(goods), c.key);
    EXPECT_EQ(Action().LabelNumber(goods), c.label);
    EXPECT_EQ(Action().PictureNumber(goods), c.picture);
    EXPECT_EQ(Action().SectionNumber(goods), c.section);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Opis2Numbers,
    ::testing::Values(
        // The limits belong to the records; the numbers come as read.
        Opis2Case{"5,1200,3,7", true, 5, 1200, 3, 7}, Opis2Case{"5,1200,3,7", false, 0, 0, 0, 0},
        Opis2Case{"", true, 0, 0, 0, 0}, Opis2Case{"5", true, 5, 0, 0, 0},
        Opis2Case{"1,,3", true, 1, 0, 3, 0}, Opis2Case{"a,2x, 7 ,8,9", true, 0, 0, 7, 8},
        Opis2Case{"-4,0,0,12345", true, -4, 0, 0, 12345}));

// The words of opis2 are read without making strings of them: every number, sign, blank and
// range case must come out as cutting the text into words and StrToIntDef(word, 0) read it.
TEST(Opis2Words, ReadAsStrToIntDefReadsTheWords) {
    const std::string texts[] = {
        "", ",", ",,,,", "5", "5,", ",5", "5,,3", "5,12,3,7,9", " 5 , 12,\t3\n,7 ",
        "+7,-3,+-1,-+1", "- 4,+ 4,4-,4+", "0x10,$10,1e3,1.5", "1 2,3", "a,2x,x2,",
        "2147483647,2147483648,-2147483648,-2147483649",
        "00000000000000000002147483647,99999999999999999999,-0,+0",
        std::string("1\0,2", 4) + ",3", "\x01" "9\x1f,\x7f" "9,\xa0" "1,\xff",
        ",,,4", "12345678901,-12345678901"};
    TLJWords words;
    words.Separator = ",";
    for (const std::string& text : texts) {
        std::array<int, 4> expected{};
        const int count = words.Split(text);
        for (int i = 0; i < count && i < 4; ++i)
            expected[static_cast<std::size_t>(i)] = StrToIntDef(words.Word(i), 0);
        EXPECT_EQ(dibal::Opis2Numbers(text, true), expected) << "\"" << text << "\"";
        EXPECT_EQ(dibal::Opis2Numbers(text, false), (std::array<int, 4>{})) << text;
    }
}

// Description blocks are checked through whole records of goods PLU code 000123, address 00.
std::string L4(int k, const std::string& even, const std::string& odd) {
    return "00L400000123" + std::to_string(2 * k) + PadRight(even, 48) + "000123" +
           std::to_string(2 * k + 1) + PadRight(odd, 48) + Spaces(14) + "\r\n";
}

std::string H4(int m, const std::string& a, const std::string& b, const std::string& c,
               const std::string& d) {
    auto number = [](int n) { return n < 10 ? " " + std::to_string(n) : std::to_string(n); };
    return "00H400000123" + std::string(m == 2 ? "1" : "0") + number(m + 1) + number(4 * m + 1) +
           PadRight(a, 24) + number(4 * m + 2) + PadRight(b, 24) + number(4 * m + 3) +
           PadRight(c, 24) + number(4 * m + 4) + PadRight(d, 24) + Spaces(11) + "\r\n";
}

std::string L4Block(const std::vector<std::string>& lines) {
    std::string block;
    auto line = [&](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); };
    for (int k = 0; k < 5; ++k) block += L4(k, line(2 * k), line(2 * k + 1));
    return block;
}

std::string H4Block(const std::vector<std::string>& lines) {
    std::string block;
    auto line = [&](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); };
    for (int m = 0; m < 3; ++m)
        block += H4(m, line(4 * m), line(4 * m + 1), line(4 * m + 2), line(4 * m + 3));
    return block;
}

std::string Numbers(int from, int to) {
    std::string text;
    for (int n = from; n <= to; ++n) {
        if (!text.empty()) text += ',';
        text += std::to_string(n);
    }
    return text;
}

std::string Codes(int from, int to) {
    std::string text;
    for (int n = from; n <= to; ++n) {
        char entry[8];
        std::snprintf(entry, sizeof entry, "A%04d,", n);
        text += entry;
    }
    return text;
}

std::string Spaced(const std::string& text) {
    std::string out;
    for (char c : text) out += std::string(" ") + c;
    return out;
}

// 300 characters: "abc...xyz" repeated, so every cut shows where it happened.
std::string LongText() {
    std::string text;
    for (int i = 0; i < 300; ++i) text += static_cast<char>('a' + i % 26);
    return text;
}

struct BlockCase {
    const char* name;
    std::string text;
    std::string expectedL4;  // series L: what follows the L2 line
    std::string expectedH4;  // series H2: what follows the H2 line
};
void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.name; }

class DescriptionBlocks : public RecordsTest, public ::testing::WithParamInterface<BlockCase> {
protected:
    std::string Block(const char* series) {
        Action().Settings.Series = series;
        Action().Settings.TextsFrom = 1;
        host.params["DibalSendExpDate"] = "0";  // no L3/H3
        KSTowRec goods = Goods(1, "123");
        goods.opis1 = GetParam().text;
        const std::string text = Lines(goods);
        return text.substr(132);
    }
};

TEST_P(DescriptionBlocks, SeriesL) { EXPECT_EQ(Block("L"), GetParam().expectedL4); }
TEST_P(DescriptionBlocks, SeriesH2) { EXPECT_EQ(Block("H2"), GetParam().expectedH4); }

const std::string kLong = LongText();
const std::string kNumbersX = Numbers(1, 80) + ",x";

INSTANTIATE_TEST_SUITE_P(
    Cases, DescriptionBlocks,
    ::testing::Values(
        BlockCase{"Codes", "12,7,300", L4Block({"A0012,A0007,A0300,"}),
                  H4Block({"A0012,A0007,A0300,"})},
        BlockCase{"CodesTrimmed", " 12 , 7", L4Block({"A0012,A0007,"}),
                  H4Block({"A0012,A0007,"})},
        BlockCase{"CodesPerLine", Numbers(1, 9),
                  L4Block({Codes(1, 8), Codes(9, 9)}),
                  H4Block({Codes(1, 4), Codes(5, 8), Codes(9, 9)})},
        // 80 numbers fill L4, 48 fill H4; the rest is dropped.
        BlockCase{"CodesOverflow", Numbers(1, 81),
                  L4Block({Codes(1, 8), Codes(9, 16), Codes(17, 24), Codes(25, 32), Codes(33, 40),
                           Codes(41, 48), Codes(49, 56), Codes(57, 64), Codes(65, 72),
                           Codes(73, 80)}),
                  H4Block({Codes(1, 4), Codes(5, 8), Codes(9, 12), Codes(13, 16), Codes(17, 20),
                           Codes(21, 24), Codes(25, 28), Codes(29, 32), Codes(33, 36),
                           Codes(37, 40), Codes(41, 44), Codes(45, 48)})},
        BlockCase{"CodeRangeEdges", "0,9999", L4Block({"A0000,A9999,"}),
                  H4Block({"A0000,A9999,"})},
        // Entries read as whole numbers are: signs and "-0" too; a comma at the end adds none.
        BlockCase{"SignsAndTrailingComma", "+5,-0,\t7\n,", L4Block({"A0005,A0000,A0007,"}),
                  H4Block({"A0005,A0000,A0007,"})},
        BlockCase{"OnlyComma", ",", L4Block({Spaced(",")}), H4Block({","})},
        // One entry that is not a number 0-9999 turns the whole list into free text.
        BlockCase{"NotAllCodes", "12,x", L4Block({Spaced("12,x")}), H4Block({"12,x"})},
        BlockCase{"CodeTooBig", "10000", L4Block({Spaced("10000")}), H4Block({"10000"})},
        // An entry past the lines that are sent counts as well.
        BlockCase{"NotACodePastTheLines", Numbers(1, 80) + ",x",
                  L4Block({Spaced(kNumbersX.substr(0, 24)), Spaced(kNumbersX.substr(24, 24)),
                           Spaced(kNumbersX.substr(48, 24)), Spaced(kNumbersX.substr(72, 24)),
                           Spaced(kNumbersX.substr(96, 24)), Spaced(kNumbersX.substr(120, 24)),
                           Spaced(kNumbersX.substr(144, 24)), Spaced(kNumbersX.substr(168, 24)),
                           Spaced(kNumbersX.substr(192, 24)), Spaced(kNumbersX.substr(216, 24))}),
                  H4Block({kNumbersX.substr(0, 24), kNumbersX.substr(24, 24),
                           kNumbersX.substr(48, 24), kNumbersX.substr(72, 24),
                           kNumbersX.substr(96, 24), kNumbersX.substr(120, 24),
                           kNumbersX.substr(144, 24), kNumbersX.substr(168, 24),
                           kNumbersX.substr(192, 24), kNumbersX.substr(216, 24)})},
        BlockCase{"NegativeCode", "-1", L4Block({Spaced("-1")}), H4Block({"-1"})},
        BlockCase{"EmptyEntry", "1,,2", L4Block({Spaced("1,,2")}), H4Block({"1,,2"})},
        BlockCase{"Words", "Ser z Mazur", L4Block({Spaced("Ser z Mazur")}),
                  H4Block({"Ser z Mazur"})},
        BlockCase{"BlanksKept", " a b ", L4Block({Spaced(" a b ")}), H4Block({" a b "})},
        BlockCase{"LongText", kLong,
                  L4Block({Spaced(kLong.substr(0, 24)), Spaced(kLong.substr(24, 24)),
                           Spaced(kLong.substr(48, 24)), Spaced(kLong.substr(72, 24)),
                           Spaced(kLong.substr(96, 24)), Spaced(kLong.substr(120, 24)),
                           Spaced(kLong.substr(144, 24)), Spaced(kLong.substr(168, 24)),
                           Spaced(kLong.substr(192, 24)), Spaced(kLong.substr(216, 24))}),
                  H4Block({kLong.substr(0, 24), kLong.substr(24, 24), kLong.substr(48, 24),
                           kLong.substr(72, 24), kLong.substr(96, 24), kLong.substr(120, 24),
                           kLong.substr(144, 24), kLong.substr(168, 24), kLong.substr(192, 24),
                           kLong.substr(216, 24), kLong.substr(240, 24),
                           kLong.substr(264, 24)})},
        // Blank texts give no block at all.
        BlockCase{"Empty", "", "", ""}, BlockCase{"Blank", "   ", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct SourceCase {
    int textsFrom;
    const char* expected;  // first text line of the H4 block; null: no block
};
void PrintTo(const SourceCase& c, std::ostream* os) { *os << "texts from " << c.textsFrom; }

class DescriptionSource : public RecordsTest, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(DescriptionSource, ChosenByTextsFrom) {
    const SourceCase& c = GetParam();
    Action().Settings.TextsFrom = c.textsFrom;
    KSTowRec goods = Goods(1, "123");
    goods.opis1 = "one";
    goods.opis2 = "two";
    goods.opis3 = "three";
    goods.opis4 = "four";
    const std::string codes = Action().BuildH4Codes(goods, "000123");
    const std::string text = Action().BuildH4Text(goods, "000123");
    EXPECT_EQ(codes, "");
    if (c.expected == nullptr) {
        EXPECT_EQ(text, "");
        EXPECT_EQ(Action().BuildL4Codes(goods, "000123"), "");
        EXPECT_EQ(Action().BuildL4Text(goods, "000123"), "");
    } else {
        EXPECT_EQ(text, H4Block({c.expected}));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DescriptionSource,
                         ::testing::Values(SourceCase{1, "one"}, SourceCase{2, "three"},
                                           SourceCase{3, "four"},
                                           SourceCase{4, "one three four"},
                                           SourceCase{0, nullptr}, SourceCase{5, nullptr}));

TEST_F(RecordsTest, DescriptionsOffGiveNoBlockEvenForCodes) {
    Action().Settings.TextsFrom = 0;
    KSTowRec goods = Goods(1, "123");
    goods.opis1 = "12,7";
    for (const char* series : {"L", "H2"}) {
        Action().Settings.Series = series;
        host.params["DibalSendExpDate"] = "0";
        EXPECT_EQ(Lines(goods).size(), 132u) << series;
    }
}

TEST_F(RecordsTest, DescriptionsAreNotRecoded) {
    Action().Settings.CodePage = 2;  // plain letters for the name only
    Action().Settings.TextsFrom = 1;
    Action().Settings.Series = "H2";
    KSTowRec goods = Goods(1, "123", Cp("Łódź"));
    goods.opis1 = Cp("Łódź");
    host.params["DibalSendExpDate"] = "0";
    const std::string text = Lines(goods);
    EXPECT_EQ(text.substr(16, 4), "Lodz");
    EXPECT_EQ(text.substr(132), H4Block({Cp("Łódź")}));
}

}  // namespace
