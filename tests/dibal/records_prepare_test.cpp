// PrepareGoods: which goods are written, stored and marked, the capacity limit, the progress
// units of every goods, fields too wide for the record, and the failures that end the export.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "records_fixture.h"
#include "runtime/exceptions.h"

namespace {

const char kCode1 = '\x01';

struct StatusCase {
    int status;
    const char* letter;  // null: nothing sent
};
void PrintTo(const StatusCase& c, std::ostream* os) { *os << "status " << c.status; }

class Statuses : public RecordsTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(Statuses, GiveActionLetterOrNothing) {
    const StatusCase& c = GetParam();
    for (bool trOk : {false, true}) {
        KSTowRec goods = Goods(1, "123", "Ser", 100, c.status);
        goods.tr_ok = trOk;
        Prepare({goods});
        if (c.letter == nullptr) {
            EXPECT_EQ(RecordText(), "");
            EXPECT_EQ(Buffer().TrOk(0), trOk) << "tr_ok stays as read";
            EXPECT_EQ(Buffer().CzytajAnsiPluRec(0), "");
        } else {
            EXPECT_EQ(RecordText().substr(6, 1), c.letter);
            EXPECT_TRUE(Buffer().TrOk(0)) << "file-only export marks written goods";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllStatuses, Statuses,
                         ::testing::Values(StatusCase{stDod, "M"}, StatusCase{stAkt, "M"},
                                           StatusCase{stCen, "M"}, StatusCase{stUsu, "B"},
                                           StatusCase{stNic, nullptr}, StatusCase{5, nullptr},
                                           StatusCase{-1, nullptr}));

// The lines go to the record file; the goods' plu_rec cells keep them only when DibalCom's
// marks will be checked against them.
TEST_F(RecordsTest, WrittenGoodsKeepTheirLinesInTheBufferOnlyForTheCheck) {
    const std::string a = "002200M0000100" + PadRight("A", 14) + "01234\r\n";
    const std::string b = "002200M0000200" + PadRight("B", 14) + "01234\r\n";
    for (const int connection : {0, 1}) {
        SCOPED_TRACE(connection);
        Action().Settings.Series = "M";
        Action().Settings.ConnectionType = connection;
        Prepare({Goods(1, "1", "A"), Goods(2, "2", "B")});
        EXPECT_EQ(Buffer().CzytajAnsiPluRec(0), connection ? a : "");
        EXPECT_EQ(Buffer().CzytajAnsiPluRec(1), connection ? b : "");
        EXPECT_EQ(RecordText(), a + b);
        EXPECT_EQ(Action().Plan.SentCounter, 2);
    }
}

// A plan's record file is handed over once: a second hand-over fails instead of replacing the
// file with an empty one.
TEST_F(RecordsTest, RecordFileIsHandedOverOnce) {
    Prepare({Goods(1, "1")});
    const std::string records = RecordText();
    ASSERT_EQ(records.size(), 132u);
    EXPECT_THROW(Action().WriteRecordFile(), std::logic_error);
    EXPECT_EQ(ReadFile(driver.File("dibal.exp")), records);
}

TEST_F(RecordsTest, GoodsNotForTheScaleAreMarkedWithoutLines) {
    Action().Settings.ShortCodeLast = 500;
    KSTowRec outside = Goods(1, "501");
    KSTowRec tooLong = Goods(2, "1234567");
    Prepare({outside, tooLong, Goods(3, "12")});
    EXPECT_TRUE(Buffer().TrOk(0));
    EXPECT_TRUE(Buffer().TrOk(1));
    EXPECT_EQ(Buffer().CzytajAnsiPluRec(0), "");
    EXPECT_TRUE(Action().RejectedList.empty());
    EXPECT_EQ(Action().Plan.SentCounter, 1);
    EXPECT_EQ(RecordText().substr(7, 6), "000012");
}

TEST_F(RecordsTest, ConnectedExportLeavesTrOkToTheResultCheck) {
    Action().Settings.ConnectionType = 1;
    Prepare({Goods(1, "1")});
    EXPECT_FALSE(Buffer().TrOk(0));
    EXPECT_FALSE(Buffer().CzytajAnsiPluRec(0).empty());
}

TEST_F(RecordsTest, GoodsBeyondCapacityAreRejectedAndNotMarked) {
    host.params["Pojemnosc"] = "2";
    Prepare({Goods(1, "1"), Goods(2, "2"), Goods(3, "3"), Goods(4, "99999", "X", 1, stNic)});
    EXPECT_EQ(Action().Plan.SentCounter, 3);
    EXPECT_EQ(Action().RejectedList,
              std::vector<std::string>{Cp("PLU: 3; KOD: 3 (towar nie zmieści się w wadze)")});
    EXPECT_TRUE(Buffer().TrOk(0));
    EXPECT_TRUE(Buffer().TrOk(1));
    EXPECT_FALSE(Buffer().TrOk(2));
    EXPECT_EQ(Buffer().CzytajAnsiPluRec(2), "");
    EXPECT_EQ(RecordText().size(), 2 * 132u);
    EXPECT_EQ(Action().Plan.ProgressUnits, 2);
    // The capacity comes from the settings read at the start: the goods never ask for it.
    EXPECT_EQ(std::count(host.parameterQueries.begin(), host.parameterQueries.end(), "Pojemnosc"),
              0);
}

struct UnitsCase {
    const char* series;
    const char* opis2;
    const char* sendExpDate;
    int textsFrom;
    int units;
};
void PrintTo(const UnitsCase& c, std::ostream* os) { *os << c.series << " opis2=" << c.opis2 << " exp=" << c.sendExpDate << " texts=" << c.textsFrom; }

class ProgressUnits : public RecordsTest, public ::testing::WithParamInterface<UnitsCase> {};

// DibalCom marks every line it sends; the transfer waits for exactly the lines written.
TEST_P(ProgressUnits, CountTheLinesOfEveryGoods) {
    const UnitsCase& c = GetParam();
    Action().Settings.Series = c.series;
    Action().Settings.TextsFrom = c.textsFrom;
    host.params["DibalSendExpDate"] = c.sendExpDate;
    KSTowRec goods = Goods(1, "123");
    goods.opis2 = c.opis2;
    goods.opis1 = "1,2";
    Prepare({goods, goods});
    const std::string text = RecordText();
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    EXPECT_EQ(Action().Plan.ProgressUnits, 2 * c.units);
    EXPECT_EQ(lines, 2 * c.units);
}

INSTANTIATE_TEST_SUITE_P(
    AllShapes, ProgressUnits,
    ::testing::Values(UnitsCase{"M", "", "1", 1, 1}, UnitsCase{"A", "", "1", 1, 1},
                      UnitsCase{"K", "", "1", 1, 1}, UnitsCase{"L", "", "1", 1, 7},
                      UnitsCase{"H", "", "0", 0, 1}, UnitsCase{"L", "", "0", 1, 6},
                      UnitsCase{"L", "0,5", "0", 0, 2}, UnitsCase{"H2", "", "1", 1, 5},
                      UnitsCase{"H2", "", "0", 0, 1}, UnitsCase{"H2", "0,0,0,3", "0", 0, 2},
                      UnitsCase{"H2", "", "0", 1, 4},
                      // Label and picture above 99 count as 0: nothing to carry in L3.
                      UnitsCase{"L", "0,100,100,0", "0", 0, 1}));

struct WidthCase {
    const char* name;
    const char* series;
    long double cena, cenaHurt, cenaNoc;
    const char* opis2;
    int terminW;
};
void PrintTo(const WidthCase& c, std::ostream* os) { *os << c.name; }

class FieldWidths : public RecordsTest, public ::testing::WithParamInterface<WidthCase> {};

// A number wider than its field would shift the rest of the line and corrupt the record: the
// goods is rejected, keeps its tr_ok and uses no capacity; its neighbours are written as usual.
TEST_P(FieldWidths, TooWideValueRejectsOnlyThatGoods) {
    const WidthCase& c = GetParam();
    Action().Settings.Series = c.series;
    KSTowRec wide = Goods(8, "8", "Wide", c.cena);
    wide.cena_hurt = c.cenaHurt;
    wide.cena_noc = c.cenaNoc;
    wide.opis2 = c.opis2;
    wide.TerminW = c.terminW;
    wide.opis1 = "1";
    KSTowRec before = wide, after = wide;
    before.plu = 7, before.kod = "7", before.cena = 5, before.cena_hurt = 0, before.cena_noc = 0;
    before.opis2 = "", before.TerminW = 0;
    after = before;
    after.plu = 9, after.kod = "9";
    Action().Settings.TextsFrom = 1;
    Prepare({before, wide, after});

    EXPECT_EQ(Action().RejectedList,
              std::vector<std::string>{
                  Cp("PLU: 8; KOD: 8 (wartość nie mieści się w polu rekordu wagi)")});
    EXPECT_EQ(Action().Plan.SentCounter, 2);
    EXPECT_FALSE(Buffer().TrOk(1));
    EXPECT_EQ(Buffer().CzytajAnsiPluRec(1), "");
    // The neighbours differ in their code only, and every line has its record's length.
    const std::string records = RecordText();
    ASSERT_EQ(records.size() % 2, 0u);
    std::string first = records.substr(0, records.size() / 2);
    const std::string last = records.substr(records.size() / 2);
    for (std::size_t at = 0; (at = first.find("0007", at)) != std::string::npos;) first[at + 3] = '9';
    EXPECT_EQ(first, last);
    for (std::size_t start = 0, end; (end = last.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        const std::size_t length = end + 2 - start;
        EXPECT_TRUE(length == 35 || length == 69 || length == 132) << length;
    }
}

struct SettingWidthCase {
    const char* series;
    const char* address;
    int group;
};
void PrintTo(const SettingWidthCase& c, std::ostream* os) {
    *os << c.series << " address \"" << c.address << "\" group " << c.group;
}

class SettingWidths : public RecordsTest, public ::testing::WithParamInterface<SettingWidthCase> {};

// Address and group are the same for every goods: a too wide one rejects them all.
TEST_P(SettingWidths, TooWideSettingRejectsEveryGoods) {
    const SettingWidthCase& c = GetParam();
    Action().Settings.Series = c.series;
    Action().Settings.ScaleAddress = c.address;
    Action().Settings.ScaleGroup = c.group;
    Prepare({Goods(1, "1"), Goods(2, "2")});
    EXPECT_EQ(RecordText(), "");
    EXPECT_EQ(Action().RejectedList.size(), 2u);
    EXPECT_EQ(Action().Plan.SentCounter, 0);
    EXPECT_EQ(Action().Plan.ProgressUnits, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingWidths,
    ::testing::Values(SettingWidthCase{"M", "00", 100}, SettingWidthCase{"M", "00", -10},
                      SettingWidthCase{"M", "100", 0}, SettingWidthCase{"A", "100", 0},
                      SettingWidthCase{"L", "100", 0}, SettingWidthCase{"H2", "100", 0}));

const long double kInf = std::numeric_limits<long double>::infinity();
const long double kNaN = std::numeric_limits<long double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldWidths,
    ::testing::Values(
        WidthCase{"Price22", "M", 100000, 0, 0, "", 0},
        WidthCase{"NegativePrice22", "M", -10000, 0, 0, "", 0},
        WidthCase{"PriceX1", "A", 1000000, 0, 0, "", 0},
        WidthCase{"WholesaleX1", "A", 1, 1000000, 0, "", 0},
        WidthCase{"NightL2", "L", 1, 0, 100000000, "", 0},
        WidthCase{"PriceH2", "H2", 100000000, 0, 0, "", 0},
        WidthCase{"InfinitePrice", "A", kInf, 0, 0, "", 0},
        WidthCase{"NaNPrice", "M", kNaN, 0, 0, "", 0},
        WidthCase{"NegativeKey22", "M", 1, 0, 0, "-10", 0},
        WidthCase{"NegativeKeyX1", "A", 1, 0, 0, "-100", 0},
        WidthCase{"NegativeLabelL3", "L", 1, 0, 0, "0,-10", 0},
        WidthCase{"NegativePictureH3", "H2", 1, 0, 0, "0,0,-100", 0},
        WidthCase{"SectionX1", "A", 1, 0, 0, "0,0,0,10000", 0},
        WidthCase{"SectionL3", "L", 1, 0, 0, "0,0,0,10000", 0},
        WidthCase{"SectionH3", "H2", 1, 0, 0, "0,0,0,-1000", 0},
        WidthCase{"ExpiryX1", "A", 1, 0, 0, "", 1000000},
        WidthCase{"ExpiryL3", "L", 1, 0, 0, "", -100000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordsTest, ExpiryNotSentNeedsNoRoom) {
    host.params["DibalSendExpDate"] = "0";
    Action().Settings.Series = "L";
    KSTowRec goods = Goods(1, "1");
    goods.TerminW = 12345678;
    goods.opis2 = "0,1";
    Prepare({goods});
    EXPECT_TRUE(Action().RejectedList.empty());
    EXPECT_EQ(RecordText().size(), 132u + 69u);
}

TEST_F(RecordsTest, PercentStageOverTheGoods) {
    Prepare({Goods(1, "1"), Goods(2, "2")});
    ASSERT_GE(host.messages.size(), 3u);
    const std::string caption = Cp("Przygotowanie towarów:");
    EXPECT_EQ(host.messages.front().text, caption + ":" + kCode1 + "0 %");
    EXPECT_EQ(host.messages[1].text, caption + ":" + kCode1 + "50 %");
    EXPECT_EQ(host.messages.back().text, caption + kCode1 + "OK");
    EXPECT_EQ(host.messages.back().kind, TARGO_MSG_INFO);
}

struct FailureCase {
    const char* name;
    const char* series;
    int codePage;
    std::string message;
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class Failures : public RecordsTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(Failures, EndTheExportWithAnErrorStage) {
    const FailureCase& c = GetParam();
    Action().Settings.Series = c.series;
    Action().Settings.CodePage = c.codePage;
    try {
        Prepare({Goods(1, "1")});
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), c.message);
    }
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().kind, TARGO_MSG_ERROR);
    EXPECT_EQ(host.messages.back().text, Cp("Przygotowanie towarów:"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Failures,
    ::testing::Values(
        FailureCase{"UnknownSeries", "Z", 0, Cp("Seria wag \"Z\" nie jest obsługiwana")},
        FailureCase{"EmptySeries", "", 0, Cp("Seria wag \"\" nie jest obsługiwana")},
        FailureCase{"LowerCaseSeries", "h2", 0, Cp("Seria wag \"h2\" nie jest obsługiwana")},
        FailureCase{"PercentInSeries", "%s%d", 0, Cp("Seria wag \"%s%d\" nie jest obsługiwana")},
        FailureCase{"CodePage", "A", 3,
                    Cp("SkalnixAction::FormatujNazwe(): Nieprawidłowa strona kodowa")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordsTest, FailuresNeedAGoodsForTheScale) {
    Action().Settings.Series = "Z";
    Action().Settings.CodePage = 9;
    Action().Settings.ShortCodeLast = 10;
    Prepare({Goods(1, "11")});
    EXPECT_EQ(Action().Plan.SentCounter, 0);
}

TEST_F(RecordsTest, UnsupportedSeriesIsNotReachedByGoodsWithNothingToSend) {
    Action().Settings.Series = "Z";
    Prepare({Goods(1, "1", "Ser", 1, stNic)});
    EXPECT_EQ(RecordText(), "");
}

// Without any weighted-code template no weighted code can be read: each goods that would need
// one is kept back with the reason and not reported done, so that the host offers it again
// once the templates are configured. Codes the mode never takes stay silently not for the
// scale, and a goods with nothing to send is not listed.
TEST_F(RecordsTest, WeightedCodesWithoutAnyTemplateAreKeptBackWithTheReason) {
    const std::string reason = Cp(" (brak szablonów kodów ważonych w konfiguracji)");
    const struct {
        int mode;
        KSTowRec goods;
        bool keptBack;
    } cases[] = {
        {1, Goods(1, "2101234500000"), true},
        {1, Goods(2, "2101234500000", "Ser", 1234, stUsu), true},
        {1, Goods(3, "2201234500000"), false},  // prefix of another mode
        {1, Goods(4, "21012345"), false},        // not a long code
        {10, Goods(5, "2901234500000"), true},   // mode 10 reads every prefix by its template
        {10, Goods(6, "2101A34500000"), true},
        {10, Goods(7, "2101234500000", "Ser", 1234, stNic), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.goods.plu);
        Action().Settings.WeightedCodeMode = c.mode;
        Action().Settings.CodeTemplates.clear();
        Action().RejectedList.clear();
        Prepare({c.goods});
        EXPECT_EQ(Action().Plan.SentCounter, 0);
        EXPECT_EQ(Buffer().CzytajAnsiPluRec(0), "");
        if (c.keptBack) {
            EXPECT_EQ(Action().RejectedList,
                      std::vector<std::string>{"PLU: " + std::to_string(c.goods.plu) +
                                               "; KOD: " + c.goods.kod + reason});
            EXPECT_FALSE(Buffer().TrOk(0));
        } else {
            EXPECT_TRUE(Action().RejectedList.empty());
            EXPECT_TRUE(Buffer().TrOk(0));
        }
    }
    // With a template for another prefix the goods is silently not for this scale, as before.
    Action().Settings.WeightedCodeMode = 10;
    Action().Settings.CodeTemplates = {"22SSSSSWWWWWC"};
    Action().RejectedList.clear();
    Prepare({Goods(8, "2101234500000")});
    EXPECT_TRUE(Action().RejectedList.empty());
    EXPECT_TRUE(Buffer().TrOk(0));
}

TEST_F(RecordsTest, EmptyShortCodeEndsTheExportWithConversionError) {
    EXPECT_THROW(Prepare({Goods(1, "")}), EConvertError);
}

TEST_F(RecordsTest, RejectionTextsComeFromTheLanguageService) {
    host.SetTranslation("skalnix_dbaction", "ePluRerror_loAddIntToStr", "|C|");
    host.SetTranslation("skalnix_dbaction", "PluRerror_loAddtowreckod", "|full|");
    host.SetTranslation("skalnix_dbaction", "SkalnixAPrepareGstr", "|W|");
    host.SetTranslation("skalnix_dbaction", "SkalnixAPrepareGstr_00001", "|wide|");
    host.params["Pojemnosc"] = "1";
    Action().Settings.Series = "M";
    Prepare({Goods(1, "1"), Goods(2, "2", "X", 100000), Goods(3, "3")});
    EXPECT_EQ(Action().RejectedList,
              (std::vector<std::string>{"PLU: 2|W|2|wide|", "PLU: 3|C|3|full|"}));
}

}  // namespace
