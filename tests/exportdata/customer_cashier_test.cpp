// Customer, assortment, cashier and currency records.
#include <gtest/gtest.h>

#include "expbuf_fixture.h"
#include "runtime/exceptions.h"

namespace {

TEST(CustomerLineTest, ReadsTheFieldsInFileOrder) {
    KSKontrRec r;
    r.FromLine("KON;42;Nazwa;Skr;Ulica 1;00-001;Miasto;123;5250000000;CARD7;2026-12-31;t;2.5;3;120",
               nullptr);
    EXPECT_EQ(r.KontrId, 42);
    EXPECT_EQ(r.Nazwa, "Nazwa");
    EXPECT_EQ(r.Skrot, "Skr");
    EXPECT_EQ(r.Ulica, "Ulica 1");
    EXPECT_EQ(r.Kod, "00-001");
    EXPECT_EQ(r.Miasto, "Miasto");
    EXPECT_EQ(r.Telefon, "123");
    EXPECT_EQ(r.NIP, "5250000000");
    EXPECT_EQ(r.KodKarty, "CARD7");
    EXPECT_EQ(r.TermWaznKarty.Value(), TdtTools::EncodeDate(2026, 12, 31));
    EXPECT_TRUE(r.KartaAktywna);
    EXPECT_EQ(r.RabatOdbiorcy, 2.5L);
    EXPECT_EQ(r.PoziomRabatu, 3);
    EXPECT_EQ(r.IloscPunktow, 120);
    EXPECT_EQ(r.NrBuf, -1);
}

TEST(CustomerLineTest, PointsAreOptionalAndLenient) {
    const std::pair<std::string, int> cases[] = {{"", 0}, {";", 0}, {";x", 0}, {";15", 15}};
    for (const auto& [tail, points] : cases) {
        KSKontrRec r;
        r.IloscPunktow = 99;
        r.FromLine("KONA;1;N;S;U;K;M;T;NIP;KK;;F;0;1" + tail, nullptr);
        EXPECT_EQ(r.IloscPunktow, points) << tail;
        EXPECT_FALSE(r.KartaAktywna);
    }
}

TEST(CustomerLineTest, BadFieldsAbort) {
    KSKontrRec r;
    EXPECT_THROW(r.FromLine("KON;x;N;S;U;K;M;T;NIP;KK;;F;0;1", nullptr), EConvertError);
    EXPECT_THROW(r.FromLine("KON;1;N;S;U;K;M;T;NIP;KK;;;0;1", nullptr), ERangeError);
    EXPECT_THROW(r.FromLine("KON;1;N;S;U;K;M;T;NIP;KK;;F;0;", nullptr), EConvertError);
    EXPECT_THROW(r.FromLine("KON;1;N;S;U;K;M;T;NIP;KK;zla data;F;0;1", nullptr), EConvertError);
    EXPECT_EQ(ThrownMessage([&] { r.FromLine("KON;1;N;S;U;K;M;T;NIP;KK;;N;0;1", nullptr); }),
              Cp("Nieprawidłowy format pliku eksportowego"));
}

TEST(AssortmentLineTest, NumberAndName) {
    KSAsort a;
    a.FromLine("ASS;12;Pieczywo;reszta");
    EXPECT_EQ(a.as_asno, 12);
    EXPECT_EQ(a.as_name, "Pieczywo");
    EXPECT_THROW(a.FromLine("ASS;;Pieczywo"), EConvertError);
    a.Clear();
    EXPECT_EQ(a.as_asno, 0);
    EXPECT_EQ(a.as_name, "");
}

TEST(CashierTest, GettersReadTheWordsOnDemand) {
    KSKasjer full("7;Nowak;3;ID7;K777", nullptr);
    EXPECT_EQ(full.GetNumer(), 7);
    EXPECT_EQ(full.GetNazwisko(), "Nowak");
    EXPECT_EQ(full.GetPoziomUprawnien(), 3);
    EXPECT_EQ(full.GetIdentyfikator(), "ID7");
    EXPECT_EQ(full.GetKodKarty(), "K777");

    KSKasjer built(8, "Kowal", 2, "ID8", "K8", nullptr);
    EXPECT_EQ(built.Text(), "8;Kowal;2;ID8;K8");
    EXPECT_EQ(built.GetPoziomUprawnien(), 2);

    // As the reader stores a line with only the number and the surname.
    KSKasjer shortLine("7;Nowak;;;", nullptr);
    EXPECT_EQ(shortLine.GetNumer(), 7);
    EXPECT_EQ(shortLine.GetNazwisko(), "Nowak");
    EXPECT_EQ(ThrownMessage([&] { shortLine.GetPoziomUprawnien(); }),
              Cp("Błąd odczytu poziomu uprawnień kasjera"));
    EXPECT_EQ(shortLine.GetIdentyfikator(), "");
    EXPECT_EQ(shortLine.GetKodKarty(), "");
    KSKasjer noNumber("x;Nowak", nullptr);
    EXPECT_EQ(ThrownMessage([&] { noNumber.GetNumer(); }), Cp("Błąd odczytu numeru kasjera"));
}

TEST(CashierTest, FailuresUseTheirKeys) {
    TMLgExtTools lg(&KeyEchoLanguage);
    KSKasjer k(";;", &lg);
    EXPECT_EQ(ThrownMessage([&] { k.GetNumer(); }), "kstools_KSExpBuf/KSKasjerGetNumerExceptio");
    EXPECT_EQ(ThrownMessage([&] { k.GetPoziomUprawnien(); }), "kstools_KSExpBuf/KSKasjerGetPozioExceptio");
    KSWaluta w("PLN;Złoty;x", &lg);
    EXPECT_EQ(ThrownMessage([&] { w.GetKurs(); }), "kstools_KSExpBuf/KSWalutaGetKursExceptio");
}

TEST(CurrencyTest, OnlyCapitalTCountsAsYes) {
    KSWaluta eur("EUR;Euro;43215;T;t", nullptr);
    EXPECT_EQ(eur.GetKod(), "EUR");
    EXPECT_EQ(eur.GetNazwa(), "Euro");
    EXPECT_EQ(eur.GetKurs(), 43215);
    EXPECT_TRUE(eur.GetCzyDomyslna());
    EXPECT_FALSE(eur.GetCzyMoznaWydawacReszte());
    KSWaluta lower("USD;Dolar;1;t;TAK", nullptr);
    EXPECT_FALSE(lower.GetCzyDomyslna());
    EXPECT_FALSE(lower.GetCzyMoznaWydawacReszte());
    KSWaluta bad("USD;Dolar;;;", nullptr);
    EXPECT_EQ(ThrownMessage([&] { bad.GetKurs(); }), Cp("Błąd odczytu kursu waluty"));
}

}  // namespace
