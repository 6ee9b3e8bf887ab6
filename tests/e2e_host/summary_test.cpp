// The export summary from kasa.exp, wynik.exp and dibal.exp.
#include <gtest/gtest.h>

#include "summary.h"
#include "targodll.h"

namespace host {
namespace {

SummaryInput Files(std::string_view kasa, std::string_view wynik, std::string_view records) {
    SummaryInput in;
    in.kasa = kasa;
    in.wynik = wynik;
    in.records = records;
    in.resultFound = true;
    in.recordsFound = !records.empty();
    return in;
}

std::vector<std::string> Plus(const GoodsGroup& g) {
    std::vector<std::string> out;
    for (const auto& goods : g.first) out.push_back(goods.plu);
    return out;
}

TEST(HostSummary, CountsActionsAndFindsGoodsNotReported) {
    const char* kasa =
        "# comment\r\nVAT;23\r\n"
        "PLU;1;10;2101;A;1;1;1;1;5;1;T;3;T;F;F;;;1;DOD\r\n"
        "  PLU;2;20;2102;B;1;1;1;1;5;1;T;3;T;F;F;;;1;AKT\r\n"
        "PLU;3;30;2103;C;1;1;1;1;5;1;T;3;T;F;F;;;1;USU\r\n"
        "PLU;3;30;2103;C;1;1;1;1;5;1;T;3;T;F;F;;;1;CEN\r\n"
        "plu;9;9;9;lower case is no goods\r\n";
    const char* wynik = "PLU;1;10;2101;DOD\r\nPLU;3;30;2103;USU\r\nPLU;4;40;2104;XYZ\r\n";
    const ExportSummary s = Summarise(Files(kasa, wynik, ""));
    EXPECT_EQ(s.goodsInExport, 4);
    EXPECT_EQ(s.reported, 3);
    EXPECT_EQ(s.perAction[0], 1);
    EXPECT_EQ(s.perAction[1], 0);
    EXPECT_EQ(s.perAction[3], 1);
    EXPECT_EQ(s.otherAction, 1);
    // Goods 2 is missing, and of the two equal goods 3 only one was reported.
    ASSERT_EQ(s.notReported.count, 2u);
    EXPECT_EQ(s.notReported.first[0].plu, "2");
    EXPECT_EQ(s.notReported.first[0].action, "AKT");
    EXPECT_EQ(s.notReported.first[1].plu, "3");
    EXPECT_EQ(s.notReported.first[1].action, "CEN");
    // Without dibal.exp every reported goods is done without a record.
    EXPECT_EQ(s.withoutRecord.count, 2u);
    EXPECT_EQ(s.sent.count, 0u);
}

// Record lines of series L as the driver writes them: address, record letter
// and number, action, six-digit PLU code, key, 24-character name; '*' over the
// letter once sent.
std::string L2(const std::string& code, const std::string& name, bool marked) {
    std::string line = std::string("00") + (marked ? '*' : 'L') + "200M" + code + "000" + name;
    line.resize(40 + 10, ' ');
    return line + "\r\n";
}
std::string L3(const std::string& code, bool marked) {
    return std::string("00") + (marked ? '*' : 'L') + "300" + code + "0000\r\n";
}

TEST(HostSummary, SeparatesGoodsSentWrittenDoneWithoutARecordAndNotReported) {
    const char* kasa =
        "PLU;1;101;2101001000000;Szynka;1;1;1;1;5;1;T;3;T;F;F;;;1;DOD\r\n"
        "PLU;2;102;2101002000000;Kie\xB3"
        "basa \x9Cl\xB9ska;1;1;1;1;5;1;T;3;T;F;F;;;1;AKT\r\n"
        "PLU;3;103;2101003000000;Ser;1;1;1;1;5;1;T;3;T;F;F;;;1;CEN\r\n"
        "PLU;6;106;123;Bulka;1;1;1;1;5;1;T;3;T;F;F;;;1;DOD\r\n"
        "PLU;8;108;2101A08000000;Twarog;1;1;1;1;5;1;T;3;T;F;F;;;1;AKT\r\n"
        "PLU;9;109;2101009000000;Miod;1;1;1;1;5;1;T;3;T;F;F;;;1;DOD\r\n";
    const char* wynik =
        "PLU;1;101;2101001000000;DOD\r\nPLU;2;102;2101002000000;AKT\r\n"
        "PLU;3;103;2101003000000;CEN\r\nPLU;6;106;123;DOD\r\nPLU;8;108;"
        "2101A08000000;AKT\r\n";
    // Goods 2's name re-coded to plain letters for the scale; goods 3's record
    // waits unsent behind a marked first line; goods 9 was refused by DibalCom.
    const std::string records = L2("010010", "Szynka", true) + L3("010010", true) +
                                L2("010020", "Kielbasa slaska", true) + L2("010030", "Ser", true) +
                                L3("010030", false) + L2("010090", "Miod", false);
    const std::vector<WindowLine> window = {
        {TARGO_MSG_ERROR, "...PLU: 8; KOD: 2101A08000000 (kod niezgodny)", ""}};
    SummaryInput in = Files(kasa, wynik, records);
    in.window = &window;
    const ExportSummary s = Summarise(in);
    EXPECT_EQ(Plus(s.sent), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Plus(s.written), (std::vector<std::string>{"3"}));
    EXPECT_EQ(Plus(s.withoutRecord), (std::vector<std::string>{"6", "8"}));
    EXPECT_EQ(s.withoutRecord.first[0].reason, "not for this scale");
    EXPECT_EQ(s.withoutRecord.first[1].reason, "PLU: 8; KOD: 2101A08000000 (kod niezgodny)");
    EXPECT_EQ(Plus(s.notReported), (std::vector<std::string>{"9"}));
    EXPECT_NE(s.notReported.first[0].reason.find("not marked"), std::string::npos);
}

// A barcode names a record's code as a whole (leading zeros aside) or by the digits after its
// prefix; a whole barcode of more than six digits names none. Long names match past their
// first eight characters only where the scale's letters stand.
TEST(HostSummary, BarcodesAndNamesFindTheirRecords) {
    const char* kasa =
        "PLU;1;1;0000000000123;Chleb;1\r\n"
        "PLU;2;2;2101234500000;Kie\xB3" "basa krakowska;1\r\n"
        "PLU;3;3;9999999;Mleko;1\r\n"
        "PLU;4;4;000077;Maslo extra swieze;1\r\n";
    const char* wynik = "PLU;1;1;0000000000123;DOD\r\nPLU;2;2;2101234500000;DOD\r\n"
                        "PLU;3;3;9999999;DOD\r\nPLU;4;4;000077;DOD\r\n";
    const std::string records = L2("000123", "Chleb", true) +
                                L2("012345", "Kielbasa krakowska", true) +
                                L2("999999", "Mleko", true) +
                                L2("000077", "Maslo extra SWIEZE", true);
    const ExportSummary s = Summarise(Files(kasa, wynik, records));
    EXPECT_EQ(Plus(s.sent), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Plus(s.withoutRecord), (std::vector<std::string>{"3", "4"}));
}

TEST(HostSummary, ResultInAnotherOrderThanTheExportStillMatchesEveryGoods) {
    const char* kasa = "PLU;1;1;11;a\nPLU;2;2;22;b\nPLU;3;3;33;c\nPLU;2;2;22;b\nPLU;4;4;44;d\n";
    const struct {
        const char* wynik;
        std::vector<std::string> notReported;
    } cases[] = {
        {"PLU;1;1;11;DOD\nPLU;2;2;22;DOD\nPLU;3;3;33;DOD\nPLU;2;2;22;DOD\nPLU;4;"
         "4;44;DOD\n",
         {}},
        {"PLU;4;4;44;DOD\nPLU;2;2;22;DOD\nPLU;3;3;33;DOD\nPLU;1;1;11;DOD\n", {"2"}},
        {"PLU;1;1;11;DOD\nPLU;3;3;33;DOD\nPLU;2;2;22;DOD\n", {"2", "4"}},
        {"PLU;2;2;22;DOD\nPLU;2;2;22;DOD\nPLU;2;2;22;DOD\n", {"1", "3", "4"}},
    };
    for (const auto& c : cases) {
        const ExportSummary s = Summarise(Files(kasa, c.wynik, ""));
        EXPECT_EQ(Plus(s.notReported), c.notReported) << c.wynik;
        EXPECT_EQ(s.withoutRecord.count, 5 - c.notReported.size()) << c.wynik;
    }
}

TEST(HostSummary, RecordsInAnotherOrderThanTheExportStillMatchTheirGoods) {
    const char* kasa =
        "PLU;1;1;2101001000000;Szynka\r\nPLU;2;2;2101002000000;Ser\r\n"
        "PLU;3;3;2101003000000;Miod\r\n";
    const char* wynik =
        "PLU;1;1;2101001000000;DOD\r\nPLU;2;2;2101002000000;DOD\r\n"
        "PLU;3;3;2101003000000;DOD\r\n";
    const std::string one = L2("010010", "Szynka", true), two = L2("010020", "Ser", true),
                      three = L2("010030", "Miod", true) + L3("010030", true),
                      threeUnsent = L2("010030", "Miod", true) + L3("010030", false);
    const struct {
        std::string records;
        std::vector<std::string> sent, written, withoutRecord;
    } cases[] = {
        {one + two + three, {"1", "2", "3"}, {}, {}}, {three + one + two, {"1", "2", "3"}, {}, {}},
        {two + three, {"2", "3"}, {}, {"1"}},         {one + threeUnsent, {"1"}, {"3"}, {"2"}},
        {threeUnsent + two, {"2"}, {"3"}, {"1"}},
    };
    for (const auto& c : cases) {
        const ExportSummary s = Summarise(Files(kasa, wynik, c.records));
        EXPECT_EQ(Plus(s.sent), c.sent) << c.records;
        EXPECT_EQ(Plus(s.written), c.written) << c.records;
        EXPECT_EQ(Plus(s.withoutRecord), c.withoutRecord) << c.records;
        EXPECT_EQ(s.notReported.count, 0u) << c.records;
    }
}

TEST(HostSummary, NamesOnlyTheFirstFewOfALargeGroup) {
    std::string kasa;
    for (int i = 0; i < 1000; ++i) kasa += "PLU;" + std::to_string(i) + ";1;1;x\n";
    SummaryInput in = Files(kasa, "", "");
    in.listLimit = 3;
    const ExportSummary s = Summarise(in);
    EXPECT_EQ(s.notReported.count, 1000u);
    EXPECT_EQ(Plus(s.notReported), (std::vector<std::string>{"0", "1", "2"}));
}

TEST(HostSummary, MissingOrEmptyFiles) {
    SummaryInput none = Files("PLU;1;1;1;x\n", "", "");
    none.resultFound = false;
    EXPECT_FALSE(Summarise(none).resultFound);
    EXPECT_EQ(Summarise(none).goodsInExport, 1);
    const ExportSummary empty = Summarise(Files("", "", ""));
    EXPECT_EQ(empty.goodsInExport, 0);
    EXPECT_EQ(empty.reported, 0);
    EXPECT_EQ(empty.notReported.count, 0u);
    // A truncated line has fewer fields than a goods line, a record line is cut
    // short: no crash, empty fields.
    const ExportSummary shortLine = Summarise(Files("PLU;5\n", "PLU\n", "00L2\r\n00*200M01\r\n"));
    EXPECT_EQ(shortLine.goodsInExport, 1);
    ASSERT_EQ(shortLine.notReported.count, 1u);
    EXPECT_EQ(shortLine.notReported.first[0].code, "");
}

}  // namespace
}  // namespace host
