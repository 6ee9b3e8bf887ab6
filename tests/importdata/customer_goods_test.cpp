// Customers of the export buffer turned into goods coded by their discount cards.
#include <gtest/gtest.h>

#include "exportdata/ksexpbuf.h"
#include "import_fixture.h"
#include "runtime/exceptions.h"

namespace {

KSKontrRec Customer(int id, const std::string& name, const std::string& card, int level,
                    long double discount, double expiry) {
    KSKontrRec c;
    c.KontrId = id;
    c.Nazwa = name;
    c.KodKarty = card;
    c.PoziomRabatu = level;
    c.RabatOdbiorcy = discount;
    c.TermWaznKarty = TdtTools(expiry);
    return c;
}

void Prepare(KSExpBuf& buf) {
    buf.JednostkiMiary.push_back("3;0;szt.");
    buf.StawkiVat.push_back("23");
    buf.StawkiVat.push_back("8");
}

const std::string kHeader =
    "----------- [DEBUG KONWERSJI DANYCH KONTRAHENTA NA KOD KARTY RABATOWEJ] ------------\r\n";

std::string Entry(const std::string& expiry, int level, const std::string& card,
                  const std::string& format, const std::string& code) {
    char text[512];
    std::snprintf(text, sizeof text,
                  " 0(przedrostek) + %10s(termin wa\xBFn.) + %1d(poziom rab.) + %13s(kod karty) "
                  "---> %13s (format)\r\n%92s%13s (kod po konwersji)\r\n",
                  expiry.c_str(), level, card.c_str(), format.c_str(), "", code.c_str());
    return text;
}

TEST(CustomerGoodsTest, SmallCustomerListBecomesGoods) {
    RecordingProgress stages;
    KSExpBuf buf(&stages);
    Prepare(buf);
    KSTowRec existing;
    existing.kod = "111";
    existing.plu = 1;
    existing.fd_tow_z_kontr = true;
    buf.DodajRec(existing);  // goods already there stay
    buf.DodajRec(Customer(7, "Anna", "1234", 5, 2.5L, TdtTools::EncodeDate(2025, 3, 7)));
    buf.DodajRec(Customer(8, "Jan", "99", 1, 0, TdtTools::EncodeDate(2030, 12, 31)));

    std::string trace = "old text";
    const std::string format = "2kkkkkkyymmrx";
    EXPECT_EQ(buf.UtworzTowaryZKontrahentow(1000, format, trace), 2);
    EXPECT_EQ(buf.LiczbaTowZKontr, 2);
    ASSERT_EQ(buf.towary.GetCount(), 3);

    struct Expected {
        int plu;
        const char* kod;
        const char* nazwa;
        long double price;
    };
    const Expected expected[] = {{1007, "2001234250351", "Anna", 250},
                                 {1008, "2000099301215", "Jan", 0}};
    for (int i = 0; i < 2; ++i) {
        KSTowRec goods;
        buf.CzytajRec(i + 1, goods);
        EXPECT_EQ(goods.plu, expected[i].plu);
        EXPECT_EQ(goods.kod, expected[i].kod);
        EXPECT_EQ(goods.nazwa, expected[i].nazwa);
        EXPECT_EQ(goods.cena, expected[i].price);
        EXPECT_EQ(goods.cena_hurt, expected[i].price);
        EXPECT_EQ(goods.cena_noc, expected[i].price);
        EXPECT_EQ(goods.cena_dod, expected[i].price);
        EXPECT_EQ(goods.status, stDod);
        EXPECT_TRUE(goods.fd_tow_z_kontr);
        EXPECT_EQ(goods.jedn, 3);
        EXPECT_EQ(goods.stawka, 23);
    }
    EXPECT_EQ(trace, kHeader + Entry("2025-03-07", 5, "1234", format, "2001234250351") +
                         Entry("2030-12-31", 1, "99", format, "2000099301215"));
    EXPECT_EQ(stages.calls,
              (std::vector<std::string>{"start 4 100 " + Cp("Przygotowanie kart stałego klienta..."),
                                        "pos 0", "type 0"}));
}

TEST(CustomerGoodsTest, TraceStopsAfter3000Customers) {
    KSExpBuf buf(nullptr);
    Prepare(buf);
    for (int i = 0; i < 3001; ++i)
        buf.DodajRec(Customer(i, "K", std::to_string(i), 0, 1, TdtTools::EncodeDate(2026, 1, 1)));
    std::string trace;
    EXPECT_EQ(buf.UtworzTowaryZKontrahentow(0, "kkkkk", trace), 3001);
    EXPECT_EQ(buf.towary.GetCount(), 3001);
    EXPECT_EQ(trace.rfind(kHeader, 0), 0u);
    const std::string more = "itd...\r\n";
    ASSERT_GE(trace.size(), more.size());
    EXPECT_EQ(trace.substr(trace.size() - more.size()), more);
    EXPECT_EQ(trace.find(more), trace.size() - more.size());  // once
    std::size_t lineEnds = 0;
    for (char c : trace) lineEnds += c == '\n';
    EXPECT_EQ(lineEnds, 1u + 3000u * 2u + 1u);
    EXPECT_NE(trace.find(Entry("2026-01-01", 0, "2999", "kkkkk", "02999")), std::string::npos);
    EXPECT_EQ(trace.find("03000 (kod po"), std::string::npos);
}

TEST(CustomerGoodsTest, ProgressEveryHundredCustomers) {
    RecordingProgress stages;
    KSExpBuf buf(&stages);
    Prepare(buf);
    for (int i = 0; i < 201; ++i)
        buf.DodajRec(Customer(i, "K", "1", 0, 0, TdtTools::EncodeDate(2026, 1, 1)));
    std::string trace;
    EXPECT_EQ(buf.UtworzTowaryZKontrahentow(0, "kkk", trace), 201);
    EXPECT_EQ(stages.calls,
              (std::vector<std::string>{"start 4 100 " + Cp("Przygotowanie kart stałego klienta..."),
                                        "pos 0", "pos 100", "pos 200", "type 0"}));
}

TEST(CustomerGoodsTest, FailuresStopTheConversionAndMarkTheStage) {
    struct Case {
        const char* name;
        bool units;
        bool rates;
        const char* format;
        std::string message;
    };
    const Case cases[] = {
        {"empty VAT list", true, false, "kkkk",
         Cp("Konwersja kontrahentów na towary - błąd stawki VAT")},
        {"bad card format", true, true, "kk0x",
         Cp("TKartaRab: cyfra kontrolna EAN13 (literka 'x' w formacie karty) może być tylko na "
            "13 miejscu, albo wcale")},
        {"no unit", false, true, "kkkk", Cp("Indeks jednostki miary poza zakresem")},
    };
    for (const Case& c : cases) {
        RecordingProgress stages;
        KSExpBuf buf(&stages);
        if (c.units) buf.JednostkiMiary.push_back("1;0;szt.");
        if (c.rates) buf.StawkiVat.push_back("23");
        buf.DodajRec(Customer(1, "A", "1", 0, 0, 0));
        std::string trace;
        EXPECT_EQ(MessageOf([&] { buf.UtworzTowaryZKontrahentow(0, c.format, trace); }),
                  c.message)
            << c.name;
        EXPECT_EQ(buf.towary.GetCount(), 0) << c.name;
        EXPECT_EQ(stages.calls.back(), "type 1") << c.name;
    }
}

TEST(CustomerGoodsTest, NoCustomersAddNothing) {
    KSExpBuf buf(nullptr);
    std::string trace;
    buf.LiczbaTowZKontr = 5;
    EXPECT_EQ(buf.UtworzTowaryZKontrahentow(0, "", trace), 0);  // the format is never used
    EXPECT_EQ(trace, kHeader);
}

TEST(CustomerGoodsTest, TextsComeFromTheBuffersLanguage) {
    TMLgExtTools echo(KeyEchoLanguage);
    RecordingProgress stages(&echo);
    KSExpBuf buf(&stages);
    buf.JednostkiMiary.push_back("1;0;szt.");
    buf.DodajRec(Customer(1, "A", "1", 0, 0, 0));
    buf.DodajRec(Customer(2, "B", "2", 0, 0, 0));
    std::string trace;
    EXPECT_EQ(MessageOf([&] { buf.UtworzTowaryZKontrahentow(0, "k", trace); }),
              "kstools_KSExpBuf/KSExpBufUtworzToExceptio");
    EXPECT_EQ(trace.rfind("kstools_KSExpBuf/KSExpBufUtworzTo_debug", 0), 0u);
    EXPECT_EQ(stages.calls.front(), "start 4 100 kstools_KSExpBuf/ufUtworzToksactionMsgAdd");
    EXPECT_EQ(MessageOf([&] { buf.UtworzTowaryZKontrahentow(0, "", trace); }),
              "kstools_KartaRab/TKartaRaSprawdzPExceptio");
}

}  // namespace
