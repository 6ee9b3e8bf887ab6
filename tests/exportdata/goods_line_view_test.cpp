// The export reader's goods path (GoodsLineView, AppendGoods) against KSTowRec::FromLine and
// DodajRec: the same rows, counters, marks and failures for every kind of goods line.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string_view>
#include <vector>

#include "expbuf_fixture.h"
#include "exportdata/goods_line.h"
#include "runtime/exceptions.h"

namespace {

// Every cell of the goods table, typed, an extended value exactly (sign of a zero too).
std::vector<std::string> Cells(TMDataSet& t) {
    std::vector<std::string> cells;
    for (int row = 0; row < t.GetCount(); ++row) {
        for (int col = 0; col < t.FieldCount(); ++col) {
            std::string cell = std::to_string(row) + "/" + std::to_string(col) + ":";
            switch (t.FieldType(col)) {
                case ftString: cell += t.GetText(row, col); break;
                case ftInteger: cell += std::to_string(t.GetInt(row, col)); break;
                case ftExtended: {
                    char text[64];
                    std::snprintf(text, sizeof text, "%La", t.GetExtended(row, col));
                    cell += text;
                    break;
                }
                default: cell += std::to_string(t.GetDateTime(row, col)); break;
            }
            cells.push_back(cell);
        }
    }
    return cells;
}

// What a failed line leaves behind: its text and the field it names.
struct Outcome {
    std::string error;
    int field = 0;
};

Outcome ThroughRecord(KSExpBuf& buf, TLJWords& words) {
    try {
        KSTowRec rec;
        rec.FromLine(words, nullptr);
        buf.DodajRec(rec);
    } catch (const Exception& e) {
        return {e.Message(), words.LastIndex};
    }
    return {};
}

Outcome ThroughView(KSExpBuf& buf, TLJWords& words, GoodsLineView& view) {
    try {
        ReadGoodsLine(words, nullptr, view);
        AppendGoods(buf, view);
    } catch (const Exception& e) {
        return {e.Message(), words.LastIndex};
    }
    return {};
}

TEST(GoodsLineViewTest, TheReaderPathAddsWhatFromLineAndDodajRecAdd) {
    const std::string opt = ";o1;o2;PK;SW;14 dni;";  // fields 20-25 up to the price level
    const std::vector<std::string> lines = {
        GoodsLine(),
        GoodsLine("1", "1", "DOD", ";"),  // a trailing ";" adds no field
        GoodsLine("2", "2", "AKT", ";o1"),  // opis2 missing: every later group defaults
        GoodsLine("3", "3", "CEN", ";o1;o2;PK"),
        GoodsLine("4", "4", "USU", opt + "1;500"),
        GoodsLine("5", "5", "DOD", opt + "2;1500;o3"),
        GoodsLine("6", "6", "DOD", opt + "3;333;o3;o4;2,5"),
        GoodsLine("7", "7", "DOD", opt + "x;abc;o3;o4;2.5;850"),  // 30 fields: VAT derived
        GoodsLine("8", "8", "DOD", opt + ";;;;;zz;Pe\xB3na;3.9"),  // 31: read leniently
        GoodsLine("9", "9", "DOD", opt + ";;;;1%;850;N;3 szt"),  // two bad numbers: 29 named
        "PLU;10;5;kod;Chleb;24x50;9o;80;x;23;1;F;0;F;F;T;0;;3;DOD",  // field 5 named
        "PLU;11;5;kod;Chleb;-5;-0;0;;-1;1;t;0;T;f;F;;7;3;AKT;;;;;;;0",  // negative, zero price
        "PLU;12;0;;;;;;;0;0;F;0;F;F;T;;;0;DOD",  // empty texts, empty packaging code
        "PLU;2147483647;-7;kod;a;1;2;3;4;23;1;F;0;T;F;T;0;;3;CEN;;;;;;1;1000",
        // Lines that fail: the first bad field in file order decides.
        "PLU;x;5;kod;Chleb;24x50;90;80;70;23;1;F;0;F;F;T;0;;3;DOD",
        "PLU;13;5;kod;Chleb;1;2;3;4;;1;X;0;F;F;T;0;;3;DOD",
        "PLU;14;5;kod;Chleb;1;2;3;4;23;1;X;0;F;F;T;0;;3;ZZZ",
        "PLU;15;5;kod;Chleb;1;2;3;4;23;1;;0;F;F;T;0;;3;DOD",
        "PLU;16;5;kod;Chleb;1;2;3;4;23;1;F;0;F;F;T;0;abc;3;DOD",
        "PLU;17;5;kod;Chleb;1;2;3;4;23;1;F;0;F;F;T;0;;3;dod",
        "PLU;18;5;kod",
        "PLU",
        // After failures, and after a line that had them, a line without the optional fields.
        "PLU;19;5;kod;Chleb;1;2;3;4;23;1;F;0;F;F;T;0;77;3;DOD" + opt + "1;1000;o3;o4;2,5;23;Pe;3",
        GoodsLine("20", "20", "DOD"),
    };
    KSTowColumns seriesA;
    for (int col : {colPlu, colKoldod, colKod, colCena, colCenaHurt, colCenaNoc, colCenaDod,
                    colNazwa, colPrecyzja, colStatus, colNrBuf, colOrgBarcode, colOrgStatus,
                    colOpis2, colTerminW})
        seriesA.set(static_cast<std::size_t>(col));
    for (const KSTowColumns& kept : {KSTowColumns().set(), seriesA, KSTowColumns()}) {
        KSExpBuf byRecord(nullptr), byView(nullptr);
        byRecord.KeptColumns = byView.KeptColumns = kept;
        TLJWords words;
        words.Separator = ";";
        GoodsLineView view;  // reused, as the reader does
        int failures = 0;
        for (const std::string& line : lines) {
            words.SplitInPlace(line);
            const Outcome expected = ThroughRecord(byRecord, words);
            words.SplitInPlace(line);
            const Outcome got = ThroughView(byView, words, view);
            EXPECT_EQ(got.error, expected.error) << line;
            EXPECT_EQ(got.field, expected.field) << line;
            failures += !expected.error.empty();
        }
        EXPECT_EQ(failures, 8);
        EXPECT_EQ(Cells(byView.towary), Cells(byRecord.towary)) << kept;
        EXPECT_EQ(byView.BadNumberFields, byRecord.BadNumberFields) << kept;
        EXPECT_EQ(std::make_tuple(byView.LiczbaTowarow, byView.LiczbaDod, byView.LiczbaAkt,
                                  byView.LiczbaCen, byView.LiczbaUsu, byView.LiczbaOpakowan,
                                  byView.LiczbaTowZKontr),
                  std::make_tuple(byRecord.LiczbaTowarow, byRecord.LiczbaDod, byRecord.LiczbaAkt,
                                  byRecord.LiczbaCen, byRecord.LiczbaUsu, byRecord.LiczbaOpakowan,
                                  byRecord.LiczbaTowZKontr))
            << kept;
    }
}

}  // namespace
