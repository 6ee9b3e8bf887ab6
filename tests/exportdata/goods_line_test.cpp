// KSTowRec: the goods line of the export file.
#include <gtest/gtest.h>

#include "expbuf_fixture.h"
#include "runtime/exceptions.h"

namespace {

KSTowRec Parse(const std::string& line) {
    KSTowRec r;
    r.FromLine(line, nullptr);
    return r;
}

TEST(GoodsLineTest, NineteenFieldsGiveTheDefaultsOfTheOptionalOnes) {
    KSTowRec r;
    r.PKWiU = "old";
    r.SWW = "old";
    r.TerminW = 9;
    r.poziom_cen = 2;
    r.ile_w_kodzie = 5;
    r.FromLine(GoodsLine("12", "5901234123457", "AKT"), nullptr);
    EXPECT_EQ(r.plu, 12);
    EXPECT_EQ(r.koldod, 5);
    EXPECT_EQ(r.kod, "5901234123457");
    EXPECT_EQ(r.nazwa, "Chleb");
    EXPECT_EQ(r.cena, 100);
    EXPECT_EQ(r.cena_hurt, 90);
    EXPECT_EQ(r.cena_noc, 80);
    EXPECT_EQ(r.cena_dod, 70);
    EXPECT_EQ(r.stawka, 23);
    EXPECT_EQ(r.stawka_prec, 2300);
    EXPECT_EQ(r.jedn, 1);
    EXPECT_FALSE(r.czy_wazony);
    EXPECT_TRUE(r.cena_otwarta);
    EXPECT_EQ(r.kod_opakowania, "0");
    EXPECT_EQ(r.plu_opakowania, 0);
    EXPECT_EQ(r.nr_asort, 3);
    EXPECT_EQ(r.status, stAkt);
    EXPECT_EQ(r.org_status, stAkt);
    EXPECT_EQ(r.org_barcode, "5901234123457");
    for (const std::string* s : {&r.opis1, &r.opis2, &r.opis3, &r.opis4, &r.PKWiU, &r.SWW, &r.nazwa_pelna})
        EXPECT_EQ(*s, "");
    EXPECT_EQ(r.TerminW, 0);
    EXPECT_EQ(r.poziom_cen, -1);
    EXPECT_EQ(r.ile_w_kodzie, 1000);
    EXPECT_EQ(r.fd_dod_rabat_tow, 0);
    EXPECT_EQ(r.ile_jedn, 0);
    EXPECT_EQ(r.nr_buf, -1);
    EXPECT_FALSE(r.tr_ok);
}

TEST(GoodsLineTest, AllThirtyTwoFieldsAreRead) {
    const KSTowRec r = Parse(GoodsLine("7", "2100007", "CEN",
                                       ";o1;o2;PK;SW;14 dni;x;abc;o3;o4;2.5;850;Pe\xB3na nazwa;3.9"));
    EXPECT_EQ(r.opis1, "o1");
    EXPECT_EQ(r.opis2, "o2");
    EXPECT_EQ(r.PKWiU, "PK");
    EXPECT_EQ(r.SWW, "SW");
    EXPECT_EQ(r.TerminW, 14);
    EXPECT_EQ(r.poziom_cen, -1);      // lenient: "x"
    EXPECT_EQ(r.ile_w_kodzie, 1000);  // lenient: "abc"
    EXPECT_EQ(r.opis3, "o3");
    EXPECT_EQ(r.opis4, "o4");
    EXPECT_EQ(r.fd_dod_rabat_tow, 2.5L);
    EXPECT_EQ(r.stawka_prec, 850);
    EXPECT_EQ(r.nazwa_pelna, "Pe\xB3na nazwa");
    EXPECT_EQ(r.ile_jedn, 3);
}

// A decimal field holding other text marks the goods with the first such field; a comma is read
// as the decimal point; an empty field keeps its default and marks nothing.
TEST(GoodsLineTest, TextInADecimalFieldMarksTheGoods) {
    const std::string tail = ";o1;o2;PK;SW;14;;1000;o3;o4;";
    struct Case {
        std::string line;
        int badField;
        long double price;
    } cases[] = {
        {"PLU;1;5;7;A;24x50;90;80;70;23;1;F;0;F;F;T;0;;3;DOD", 5, 24},
        {"PLU;1;5;7;A;abc;90;80;70;23;1;F;0;F;F;T;0;;3;DOD", 5, 0},
        {"PLU;1;5;7;A;1;nan;inf;70;23;1;F;0;F;F;T;0;;3;DOD", 6, 1},
        {"PLU;1;5;7;A;1;2;3;x4;23;1;F;0;F;F;T;0;;3;DOD", 8, 1},
        {"PLU;1;5;7;A;24,50;90;80;70;23;1;F;0;F;F;T;0;;3;DOD", 0, 24.5L},
        {"PLU;1;5;7;A; 24.50 ;;80;70;23;1;F;0;F;F;T;0;;3;DOD", 0, 24.5L},
        {"PLU;1;5;7;A;1;2;3;4;23;1;F;0;F;F;T;0;;3;DOD" + tail + "2%;850;N;3", 29, 1},
        {"PLU;1;5;7;A;1;2;3;4;23;1;F;0;F;F;T;0;;3;DOD" + tail + "2,5;850;N;3 szt", 32, 1},
        {"PLU;1;5;7;A;1;2;3;4;23;1;F;0;F;F;T;0;;3;DOD" + tail + ";850;N;", 0, 1},
    };
    KSTowRec r;  // reused, as the reader does: a mark must not stay from the line before
    for (const Case& c : cases) {
        r.FromLine(c.line, nullptr);
        EXPECT_EQ(r.bad_number_field, c.badField) << c.line;
        EXPECT_EQ(r.cena, c.price) << c.line;
    }
}

TEST(GoodsLineTest, VatInHundredthsComesFromTheLineOnlyWithThirtyOneFields) {
    struct Case {
        std::string stawka;
        std::string tail;
        int expected;
    } cases[] = {
        {"23", ";;;;;;;;;;0", 2300},       // 30 fields: derived
        {"23", ";;;;;;;;;;0;", 2300},      // trailing ";" adds no field
        {"23", ";;;;;;;;;;0;555", 555},    // 31 fields: read
        {"23", ";;;;;;;;;;0;zz", 0},       // read leniently
        {"-1", "", -1},                    // negative rate
        {"-5", ";;;;;;;;;;0;;x", 0},       // present but empty
    };
    for (const Case& c : cases) {
        std::string line = GoodsLine("1", "1", "DOD", c.tail);
        line.replace(line.find(";23;"), 4, ";" + c.stawka + ";");
        EXPECT_EQ(Parse(line).stawka_prec, c.expected) << line;
    }
}

TEST(GoodsLineTest, PriceLevelAndFactor) {
    struct Case {
        const char* level;
        const char* factor;
        long double cena, hurt, noc, dod;
    } cases[] = {
        {"", "", 100, 90, 80, 70},       {"0", "", 100, 90, 80, 70},
        {"1", "", 90, 90, 80, 70},       {"2", "", 70, 90, 80, 70},
        {"3", "", 80, 90, 80, 70},       {"2", "500", 35, 45, 40, 35},
        {"-1", "333", 33, 30, 27, 23},   {"", "1500", 150, 135, 120, 105},
    };
    for (const Case& c : cases) {
        const KSTowRec r = Parse(GoodsLine("1", "1", "DOD",
                                           std::string(";;;;;;") + c.level + ";" + c.factor));
        EXPECT_EQ(r.cena, c.cena) << c.level << "/" << c.factor;
        EXPECT_EQ(r.cena_hurt, c.hurt) << c.level << "/" << c.factor;
        EXPECT_EQ(r.cena_noc, c.noc) << c.level << "/" << c.factor;
        EXPECT_EQ(r.cena_dod, c.dod) << c.level << "/" << c.factor;
    }
}

TEST(GoodsLineTest, BooleansAcceptBothCases) {
    for (char c : {'T', 't'}) EXPECT_TRUE(KSTowRec::Bool(c, nullptr)) << c;
    for (char c : {'F', 'f'}) EXPECT_FALSE(KSTowRec::Bool(c, nullptr)) << c;
    std::string line = GoodsLine();
    line.replace(line.find(";F;0;"), 5, ";tak;0;");  // only the first character counts
    EXPECT_TRUE(Parse(line).czy_wazony);
}

TEST(GoodsLineTest, FieldSeventeenIsReadOnlyWhenPresent) {
    std::string line = GoodsLine();
    const size_t at = line.find(";0;;3;");
    EXPECT_EQ(Parse(line.replace(at, 6, ";0;44;3;")).plu_opakowania, 44);
    line = GoodsLine();
    EXPECT_THROW(Parse(line.replace(at, 6, ";0;abc;3;")), EConvertError);
}

// Lines that abort the read, with the text of the failure.
TEST(GoodsLineTest, BadLinesAbortWithTheirText) {
    const std::string badFormat = Cp("Nieprawidłowy format pliku eksportowego");
    auto with = [](const std::string& from, const std::string& to) {
        std::string line = GoodsLine();
        return line.replace(line.find(from), from.size(), to);
    };
    struct Case {
        std::string line;
        std::string message;  // empty: only the class is checked
        bool convert, range;
    } cases[] = {
        {with("DOD", "dod"), badFormat, false, false},
        {with("DOD", ""), badFormat, false, false},
        {with(";F;0;F;F;T;", ";X;0;F;F;T;"), badFormat, false, false},
        {with(";F;0;F;F;T;", ";F;0;F;F;1;"), badFormat, false, false},
        {with(";F;0;F;F;T;", ";;0;F;F;T;"), "", false, true},
        {with("PLU;1;", "PLU;x;"), "", true, false},
        {with(";23;", ";;"), "", true, false},
        {"PLU;1;5;kod", "", true, false},  // field 9 is missing
        {"PLU", "", true, false},
    };
    for (const Case& c : cases) {
        KSTowRec r;
        try {
            r.FromLine(c.line, nullptr);
            ADD_FAILURE() << "no failure for " << c.line;
        } catch (const EConvertError&) {
            EXPECT_TRUE(c.convert) << c.line;
        } catch (const ERangeError&) {
            EXPECT_TRUE(c.range) << c.line;
        } catch (const Exception& e) {
            EXPECT_FALSE(c.convert || c.range) << c.line;
            EXPECT_EQ(e.Message(), c.message) << c.line;
        }
    }
}

TEST(GoodsLineTest, FailureTextsComeFromTheirKeys) {
    TMLgExtTools lg(&KeyEchoLanguage);
    KSTowRec r;
    std::string line = GoodsLine("1", "1", "XYZ");
    EXPECT_EQ(ThrownMessage([&] { r.FromLine(line, &lg); }), "kstools_KSExpBuf/KSTowRecFromLineExceptio");
    EXPECT_EQ(ThrownMessage([&] { KSTowRec::Bool('x', &lg); }), "kstools_KSExpBuf/KSTowRecBoolExceptio");
    EXPECT_EQ(ThrownMessage([&] { KSKontrRec::Bool('x', &lg); }), "kstools_KSExpBuf/KSKontrRBoolExceptio");
}

TEST(GoodsLineTest, ClearAndCurrentPrice) {
    KSTowRec r = Parse(GoodsLine());
    r.Clear();
    EXPECT_EQ(r.status, stNic);
    EXPECT_EQ(r.org_status, stNic);
    EXPECT_EQ(r.kod_opakowania, "0");
    EXPECT_TRUE(r.cena_otwarta);
    EXPECT_EQ(r.nr_buf, -1);
    r.cena = 1;
    r.cena_hurt = 2;
    r.cena_noc = 3;
    r.cena_dod = 4;
    const std::pair<int, long double> levels[] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {7, 1}, {-1, 1}};
    for (auto [level, price] : levels) EXPECT_EQ(r.CenaAkt(level), price) << level;
}

}  // namespace
