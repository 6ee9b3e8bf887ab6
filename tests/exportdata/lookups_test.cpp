// Lookups of units, VAT numbers, cashiers and currencies; releasing the buffer.
#include <gtest/gtest.h>

#include <climits>

#include "expbuf_fixture.h"
#include "runtime/exceptions.h"

namespace {

// The remembered answers are shared by every buffer of the program, so each test asks
// questions no other test asks.

TEST(LookupsTest, UnitNamesAreRememberedAcrossBuffers) {
    KSExpBuf buf(nullptr);
    buf.JednostkiMiary = {"101;3;kg", "102;0;op."};
    EXPECT_EQ(buf.NazwaJedn(102), "op.");
    EXPECT_EQ(buf.NazwaJedn(199), "szt.");
    buf.JednostkiMiary = {"x;0;bad"};
    // The remembered pair answers without looking at the list...
    EXPECT_EQ(buf.NazwaJedn(102), "op.");
    KSExpBuf other(nullptr);
    EXPECT_EQ(other.NazwaJedn(102), "op.");
    // ...any other question reads it, strictly.
    EXPECT_THROW(buf.NazwaJedn(103), EConvertError);
}

TEST(LookupsTest, UnitsByPosition) {
    KSExpBuf buf(nullptr);
    buf.JednostkiMiary = {"5;3;kg", "x;y;litr"};
    EXPECT_EQ(buf.IdxJednId(0), 5);
    EXPECT_EQ(buf.IdxJednPrec(0), 3);
    EXPECT_EQ(buf.IdxJednNazwa(0), "kg");
    EXPECT_EQ(buf.IdxJednId(1), 1);
    EXPECT_EQ(buf.IdxJednPrec(1), 0);
    EXPECT_EQ(buf.IdxJednNazwa(1), "litr");
    const std::string outOfRange = Cp("Indeks jednostki miary poza zakresem");
    EXPECT_EQ(ThrownMessage([&] { buf.IdxJednId(2); }), outOfRange);
    EXPECT_EQ(ThrownMessage([&] { buf.IdxJednPrec(2); }), outOfRange);
    EXPECT_EQ(ThrownMessage([&] { buf.IdxJednNazwa(INT_MAX); }), outOfRange);
    EXPECT_THROW(buf.IdxJednId(-1), ERangeError);
}

TEST(LookupsTest, FailureKeys) {
    TMLgExtTools lg(&KeyEchoLanguage);
    RecordingProgress progress(&lg);
    KSExpBuf buf(&progress);
    EXPECT_EQ(ThrownMessage([&] { buf.IdxJednId(0); }), "kstools_KSExpBuf/KSExpBufIdxJednIExceptio");
    EXPECT_EQ(ThrownMessage([&] { buf.IdxJednPrec(0); }), "kstools_KSExpBuf/KSExpBufIdxJednPExceptio");
    EXPECT_EQ(ThrownMessage([&] { buf.IdxJednNazwa(0); }), "kstools_KSExpBuf/KSExpBufIdxJednNExceptio");
    EXPECT_EQ(ThrownMessage([&] { buf.GetKasjer(0); }), "kstools_KSExpBuf/KSExpBufGetKasjeExceptio");
    EXPECT_EQ(ThrownMessage([&] { buf.GetWaluta(0); }), "kstools_KSExpBuf/KSExpBufGetWalutExceptio");
}

TEST(LookupsTest, VatNumbersKeepTheLastMatchAndTheLastAnswer) {
    KSExpBuf buf(nullptr);
    buf.StawkiVat = {"23", "8", "23"};
    EXPECT_EQ(buf.NumerStawki(23), 3);
    EXPECT_EQ(buf.NumerStawki(5), 3);  // absent: the previous answer
    EXPECT_EQ(buf.NumerStawki(8), 2);
    buf.StawkiVat = {"zw"};
    EXPECT_EQ(buf.NumerStawki(8), 2);  // remembered question
    EXPECT_THROW(buf.NumerStawki(0), EConvertError);
    buf.StawkiVatPrec = {"2300", "800"};
    EXPECT_EQ(buf.NumerStawkiPrec(800), 2);
    EXPECT_EQ(buf.NumerStawkiPrec(2300), 1);
}

TEST(LookupsTest, CashiersAndCurrencies) {
    KSExpBuf buf(nullptr);
    buf.Kasjerzy.push_back(std::make_unique<KSKasjer>("7;Nowak;1;a;b", nullptr));
    buf.Kasjerzy.push_back(std::make_unique<KSKasjer>("8;Kowal;1;a;b", nullptr));
    buf.Waluty.push_back(std::make_unique<KSWaluta>("EUR;Euro;4;T;T", nullptr));
    EXPECT_EQ(buf.GetKasjer(1)->GetNazwisko(), "Kowal");
    EXPECT_EQ(ThrownMessage([&] { buf.GetKasjer(buf.CountKasjer()); }), Cp("Nieprawidłowy numer kasjera"));
    EXPECT_THROW(buf.GetKasjer(-1), ERangeError);
    EXPECT_EQ(buf.GetKasjerByNumer(8), buf.GetKasjer(1));
    EXPECT_EQ(buf.GetKasjerByNumer(9), nullptr);
    EXPECT_EQ(buf.GetWaluta(0)->GetKod(), "EUR");
    EXPECT_EQ(ThrownMessage([&] { buf.GetWaluta(1); }), Cp("Nieprawidłowy numer waluty"));
    buf.Kasjerzy.push_back(std::make_unique<KSKasjer>("x;Zly", nullptr));
    EXPECT_EQ(ThrownMessage([&] { buf.GetKasjerByNumer(9); }), Cp("Błąd odczytu numeru kasjera"));
}

TEST(LookupsTest, ClearEmptiesAllButSomeCounters) {
    TempDir dir;
    const std::string path = dir.File("kasa.exp");
    WriteBytes(path, GoodsLine() + "\r\nKON;1;N;S;U;K;M;T;NIP;KK;;T;0;1\r\nOPER;1;A\r\nWAL;PLN\r\n"
                     "ASS;1;x\r\nVAT;23\r\nJM;1;0;kg\r\nEUR;20000\r\n");
    KSExpBuf buf(nullptr);
    buf.ReadFromFile(path, true, -1);
    buf.AddInPlu("1", "x");
    buf.ZapiszWynikEksp(dir.File("wynik.exp"));
    buf.Clear();
    EXPECT_EQ(buf.CountKasjer() + buf.CountWaluty() + buf.CountAsort() + buf.CountKontrahents(), 0);
    EXPECT_EQ(buf.towary.GetCount() + buf.dodinfo.GetCount() + buf.index.GetCount(), 0);
    EXPECT_TRUE(buf.StawkiVat.empty() && buf.StawkiVatPrec.empty() && buf.JednostkiMiary.empty());
    EXPECT_EQ(buf.LiczbaTowarow + buf.LiczbaDod + buf.LiczbaOpakowan, 0);
    EXPECT_EQ(buf.LiczbaKontrahentow, 1);
    EXPECT_EQ(buf.KursEuro, 2.0L);
    EXPECT_TRUE(buf.Sorted);
}

}  // namespace
