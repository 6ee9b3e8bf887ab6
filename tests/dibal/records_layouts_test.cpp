// The DIBAL record lines byte for byte: one full goods per series, the per-family limits of the
// opis2 numbers, prices (level, rounding), piece flag, expiry and the scale address.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "records_fixture.h"

namespace {

// A goods that fills every field of the records with a distinct value.
KSTowRec FullGoods() {
    KSTowRec goods = RecordsTest::Goods(7, "123", Cp("Ser żółty"), 1234);
    goods.cena_hurt = 1100;
    goods.cena_noc = 1000;
    goods.cena_dod = 999;
    goods.TerminW = 14;
    goods.opis2 = "5,12,3,7";
    return goods;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end + 2 - start));
        start = end + 2;
    }
    return lines;
}

struct SeriesCase {
    const char* series;
    std::string expected;
    std::vector<std::size_t> lengths;
};
void PrintTo(const SeriesCase& c, std::ostream* os) { *os << c.series; }

class RecordLayouts : public RecordsTest, public ::testing::WithParamInterface<SeriesCase> {};

TEST_P(RecordLayouts, FullGoodsGivesExactLines) {
    const SeriesCase& c = GetParam();
    Action().Settings.Series = c.series;
    Action().Settings.ScaleAddress = "02";
    Action().Settings.ScaleGroup = 3;
    const std::string text = Lines(FullGoods());
    EXPECT_EQ(text, c.expected);
    std::vector<std::size_t> lengths;
    for (const std::string& line : SplitLines(text)) lengths.push_back(line.size());
    EXPECT_EQ(lengths, c.lengths);
}

const std::string kName = Cp("Ser żółty");

const std::string kX1 = "02X100M000123005" + PadRight(kName, 24) + Spaces(24) +
                        "001234" "001100" "001000" "1" "000014" "000000" "00000" "12" "00"
                        "0000" "0007" "00" "0" "0" "0" "00" "00000" "000000\r\n";
const std::string kL = "02L200M000123005" + PadRight(kName, 24) + Spaces(48) +
                       "00001234" "00001100" "00001000" + Spaces(18) + "\r\n" +
                       "02L300000123" "1" "000014" "000000" "000000" "00000" "00" "12" "00" "00"
                       "0007" "00" "0" "00" "00" "00" "03" "0000" "0" "   \r\n";

INSTANTIATE_TEST_SUITE_P(
    AllSeries, RecordLayouts,
    ::testing::Values(
        SeriesCase{"M", "022203M0012305" + PadRight(kName, 14) + "01234\r\n", {35}},
        SeriesCase{"A", kX1, {132}},
        SeriesCase{"K", kX1, {132}},
        SeriesCase{"L", kL, {132, 69}},
        SeriesCase{"H", kL, {132, 69}},
        SeriesCase{"H2",
                   "02H200M000123005" + PadRight(kName, 30) + Spaces(30) +
                       "00001234" "00001100" "00001000" + Spaces(30) + "\r\n" +
                       "02H300000123" "1" "0" "000014" "000000" "000000" "00000" "00" "12" "00"
                       "00" "0007" "00" "003" "00" "000" "0" "000" "0" +
                       Spaces(17) + "0000" "000" "00" "00" "000000" "000000" "00" "00" "0"
                       "000000" "000" "00" "000000" + Spaces(4) + "\r\n",
                   {132, 132}}));

// Field of `line` at 1-based position `pos` with `width` characters.
std::string At(const std::string& line, std::size_t pos, std::size_t width) {
    return line.substr(pos - 1, width);
}

struct LimitCase {
    const char* series;
    const char* opis2;
    std::size_t line;  // 0-based line of the goods
    std::size_t pos, width;
    const char* expected;
};
void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.series << " opis2=" << c.opis2; }

class NumberLimits : public RecordsTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(NumberLimits, ApplyPerRecordFamily) {
    const LimitCase& c = GetParam();
    Action().Settings.Series = c.series;
    KSTowRec goods = Goods(1, "123");
    goods.opis2 = c.opis2;
    const std::vector<std::string> lines = SplitLines(Lines(goods));
    ASSERT_GT(lines.size(), c.line);
    EXPECT_EQ(At(lines[c.line], c.pos, c.width), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    KeyLabelPicture, NumberLimits,
    ::testing::Values(
        // Key: 99 in record 22, 999 elsewhere.
        LimitCase{"M", "99", 0, 13, 2, "99"}, LimitCase{"M", "100", 0, 13, 2, "00"},
        LimitCase{"A", "999", 0, 14, 3, "999"}, LimitCase{"A", "1000", 0, 14, 3, "000"},
        LimitCase{"L", "100", 0, 14, 3, "100"}, LimitCase{"L", "1000", 0, 14, 3, "000"},
        LimitCase{"H2", "1000", 0, 14, 3, "000"},
        // Label 99 in X1, L3, H3.
        LimitCase{"A", "5,1200,3,7", 0, 101, 2, "00"}, LimitCase{"A", "5,99", 0, 101, 2, "99"},
        LimitCase{"L", "0,100,5", 1, 39, 2, "00"}, LimitCase{"H2", "0,100,5", 1, 40, 2, "00"},
        // Picture 99 in L3 (two digits) and H3 (three digits).
        LimitCase{"L", "0,1,99", 1, 58, 2, "99"}, LimitCase{"L", "0,1,100", 1, 58, 2, "00"},
        LimitCase{"H2", "0,1,99", 1, 52, 3, "099"}, LimitCase{"H2", "0,1,100", 1, 52, 3, "000"},
        // Sections are not limited.
        LimitCase{"A", "0,0,0,9999", 0, 109, 4, "9999"},
        LimitCase{"L", "0,0,0,42", 1, 45, 4, "0042"},
        LimitCase{"H2", "0,0,0,42", 1, 46, 4, "0042"},
        // Negative numbers that fit are written as printf writes them.
        LimitCase{"A", "-5", 0, 14, 3, "-05"}));

struct PriceCase {
    int level;
    long double cena;
    const char* expected;  // record 22, positions 29-33
};
void PrintTo(const PriceCase& c, std::ostream* os) { *os << "level " << c.level << " cena " << static_cast<double>(c.cena); }

class Prices : public RecordsTest, public ::testing::WithParamInterface<PriceCase> {};

TEST_P(Prices, LevelAndRounding) {
    const PriceCase& c = GetParam();
    Action().Settings.Series = "M";
    Action().Settings.PriceLevel = c.level;
    KSTowRec goods = Goods(1, "123", "X", c.cena);
    goods.cena_hurt = 201;
    goods.cena_noc = 302;
    goods.cena_dod = 403;
    EXPECT_EQ(At(Lines(goods), 29, 5), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    LevelsAndHalves, Prices,
    ::testing::Values(PriceCase{0, 100, "00100"}, PriceCase{1, 100, "00201"},
                      PriceCase{2, 100, "00302"}, PriceCase{3, 100, "00403"},
                      PriceCase{7, 100, "00100"}, PriceCase{-1, 100, "00100"},
                      // Nearest whole number, halves to even as printf rounds them.
                      PriceCase{0, 1234.5L, "01234"}, PriceCase{0, 1235.5L, "01236"},
                      PriceCase{0, 0.4L, "00000"}, PriceCase{0, 99999.4L, "99999"},
                      PriceCase{0, -0.6L, "-0001"}));

// In one export a price column may hold whole numbers only or not: every goods' prices are
// written alike either way (a fraction, a half to even, a negative zero among whole prices).
TEST_F(RecordsTest, PricesOfWholeAndFractionalColumnsAlike) {
    const struct {
        long double cena, hurt, noc;
        const char* expected;  // record X1, positions 65-82
    } goods[] = {
        {100, 201, 302, "000100" "000201" "000302"},
        {1234.5L, 99999.5L, 7, "001234" "100000" "000007"},
        {5, -0.0L, 8, "000005" "-00000" "000008"},
    };
    std::vector<KSTowRec> rows;
    for (const auto& g : goods) {
        KSTowRec rec = Goods(static_cast<int>(rows.size()) + 1,
                             std::to_string(rows.size() + 1), "X", g.cena);
        rec.cena_hurt = g.hurt;
        rec.cena_noc = g.noc;
        rows.push_back(rec);
    }
    Prepare(rows);
    const std::string records = RecordText();
    ASSERT_EQ(records.size(), 132u * std::size(goods));
    for (std::size_t i = 0; i < std::size(goods); ++i)
        EXPECT_EQ(At(records.substr(132 * i, 132), 65, 18), goods[i].expected) << i;
}

TEST_F(RecordsTest, PieceFlagFollowsPrecision) {
    for (const auto& [precision, flag] : {std::pair{0, "1"}, {3, "0"}}) {
        KSTowRec goods = Goods(1, "123");
        goods.precyzja = precision;
        EXPECT_EQ(At(Lines(goods), 83, 1), flag) << precision;
    }
}

TEST_F(RecordsTest, ExpiryIsLeftOutOfL3AndH3WhenNotSent) {
    host.params["DibalSendExpDate"] = "0";
    KSTowRec goods = Goods(1, "123");
    goods.TerminW = 30;
    goods.opis2 = "0,0,0,1";  // keeps L3/H3
    Action().Settings.Series = "L";
    EXPECT_EQ(At(SplitLines(Lines(goods))[1], 14, 6), "000000");
    Action().Settings.Series = "H2";
    EXPECT_EQ(At(SplitLines(Lines(goods))[1], 15, 6), "000000");
    // X1 always carries it.
    Action().Settings.Series = "A";
    EXPECT_EQ(At(Lines(goods), 84, 6), "000030");
}

TEST_F(RecordsTest, ShortAddressIsPaddedWithSpacesInMainLinesAndZerosInDescriptions) {
    Action().Settings.Series = "L";
    Action().Settings.ScaleAddress = "2";
    Action().Settings.TextsFrom = 1;
    KSTowRec goods = Goods(1, "123");
    goods.opis2 = "0,0,0,1";
    goods.opis1 = "1";
    const std::vector<std::string> lines = SplitLines(Lines(goods));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0].substr(0, 4), " 2L2");
    EXPECT_EQ(lines[1].substr(0, 4), " 2L3");
    EXPECT_EQ(lines[2].substr(0, 4), "02L4");
    EXPECT_EQ(lines[2].size(), 132u);
}

}  // namespace
