// Cash-register state of the sales import buffer: set flags, currency blocks, the
// "[STAN_KASY]" text and the currency report.
#include <gtest/gtest.h>

#include "import_fixture.h"
#include "importdata/ksimpbuf.h"
#include "runtime/exceptions.h"

namespace {

TEST(RegisterStateTest, OnlyTheRegisterNumberWhenItIsZero) {
    KSImpBuf buf;
    buf.Kas_SetNrKasjera(5);
    buf.Kas_AddWaluta("EUR", 400, 1, 1);
    buf.MakeStanKasyStr();
    EXPECT_EQ(buf.StanKasyStr(), "KAS_NUMER;0\r\n");
}

TEST(RegisterStateTest, EverySetValueInTableOrderThenTheCurrencies) {
    KSImpBuf buf;
    buf.AddLinieStanuKasy("LOST;1");  // replaced by the rebuild
    buf.Kas_SetNumer(2);
    // Set in reverse order to show that the order of the lines is fixed.
    buf.Kas_AddWartStorno(40);
    buf.Kas_AddWartStorno(2);
    buf.Kas_SetIlStorno(3);
    buf.Kas_SetWartParAnulowanych(99.5L);
    buf.Kas_AddIlParAnulowanych(1);
    buf.Kas_SetParagonow(120);
    buf.Kas_SetInnefplat(0);
    buf.Kas_SetDodfplat(-5);
    buf.Kas_SetPrzelewy(7);
    buf.Kas_SetCzeki(8);
    buf.Kas_SetBony(9);
    buf.Kas_AddKarty(10);
    buf.Kas_SetStankasy(123456);
    buf.Kas_SetBiez(At(2025, 3, 7, 21, 0, 5));
    buf.Kas_SetZmstart(At(2025, 3, 7, 6, 0));
    buf.Kas_SetUprawn(9);
    buf.Kas_SetNazwisko("Nowak");
    buf.Kas_SetNrKasjera(0);
    buf.Kas_AddWaluta("EUR", 430, 100, 10);
    buf.Kas_AddWaluta("USD", 390, 50, 5);
    buf.MakeStanKasyStr();
    EXPECT_EQ(buf.StanKasyStr(),
              "KAS_NUMER;2\r\n"
              "KAS_NR_KASJERA;0\r\n"
              "KAS_NAZWISKO;Nowak\r\n"
              "KAS_UPRAWN;9\r\n"
              "KAS_ZMSTART;2025-03-07 06:00:00\r\n"
              "KAS_BIEZ;2025-03-07 21:00:05\r\n"
              "KAS_STANKASY;123456\r\n"
              "KAS_KARTY;10\r\n"
              "KAS_BONY;9\r\n"
              "KAS_CZEKI;8\r\n"
              "KAS_PRZELEWY;7\r\n"
              "KAS_DODFPLAT;-5\r\n"
              "KAS_INNEFPLAT;0\r\n"
              "KAS_PARAGONOW;120\r\n"
              "KAS_IL_PAR_ANULOWANYCH;1\r\n"
              "KAS_WART_PAR_ANULOWANYCH;100\r\n"
              "KAS_IL_STORNO;3\r\n"
              "KAS_WART_STORNO;42\r\n"
              "KAS_WAL1_NAZWA;EUR\r\nKAS_WAL1_KURS;430\r\nKAS_WAL1_STAN;100\r\nKAS_WAL1_BILANS;10\r\n"
              "KAS_WAL2_NAZWA;USD\r\nKAS_WAL2_KURS;390\r\nKAS_WAL2_STAN;50\r\nKAS_WAL2_BILANS;5\r\n");

    // Kas_Clear lowers every flag and drops the currencies, the register number included.
    buf.Kas_Clear();
    buf.Kas_SetNumer(2);
    buf.Kas_SetBony(1);
    buf.MakeStanKasyStr();
    EXPECT_EQ(buf.StanKasyStr(), "KAS_NUMER;2\r\nKAS_BONY;1\r\n");
}

TEST(RegisterStateTest, CashierSectionRebuildsTheTextWhenWritten) {
    KSImpBuf buf;
    buf.AddLinieStanuKasy("KAS_NUMER;9");
    EXPECT_FALSE(buf.Kas_IsActiveKasjerSection());
    buf.Kas_ActiveKasjerSection();
    EXPECT_TRUE(buf.Kas_IsActiveKasjerSection());
    buf.Kas_SetNumer(4);
    buf.Kas_SetUprawn(1);
    TempDir dir;
    buf.Save(dir.File("f"), false);
    const std::string text = ReadBytes(dir.File("f"));
    EXPECT_NE(text.find("\r\n[STAN_KASY]\r\nKAS_NUMER;4\r\nKAS_UPRAWN;1\r\n\r\n[FLAGI]"),
              std::string::npos);
    buf.Kas_Clear();
    EXPECT_FALSE(buf.Kas_IsActiveKasjerSection());
}

TEST(RegisterStateTest, CurrencyBlocksAreUpdatedByName) {
    KSImpBuf buf;
    buf.Kas_SetNumer(1);
    buf.Kas_AddWaluta("EUR", 400, 1000, 100);
    buf.Kas_AddWaluta("USD", 380, 10, 1);
    buf.Kas_AddWaluta("EUR", 0, 500, -300);   // rate 0 keeps the stored rate
    buf.Kas_AddWaluta("USD", 385, 10, 1);     // a positive rate replaces it
    buf.Kas_AddWaluta("EU", -1, 1, 1);        // a name is matched whole
    buf.MakeStanKasyStr();
    EXPECT_EQ(buf.StanKasyStr(),
              "KAS_NUMER;1\r\n"
              "KAS_WAL1_NAZWA;EUR\r\nKAS_WAL1_KURS;400\r\nKAS_WAL1_STAN;1500\r\nKAS_WAL1_BILANS;-200\r\n"
              "KAS_WAL2_NAZWA;USD\r\nKAS_WAL2_KURS;385\r\nKAS_WAL2_STAN;20\r\nKAS_WAL2_BILANS;2\r\n"
              "KAS_WAL3_NAZWA;EU\r\nKAS_WAL3_KURS;-1\r\nKAS_WAL3_STAN;1\r\nKAS_WAL3_BILANS;1\r\n");
}

TEST(RegisterStateTest, OddCurrencyNamesNeverBreakTheBlocks) {
    const char* names[] = {"", ";", "A;B", "\r\n", "KAS_WAL1_NAZWA", "E U R"};
    for (const char* name : names) {
        KSImpBuf buf;
        buf.Kas_SetNumer(1);
        buf.Kas_AddWaluta(name, 1, 1, 1);
        try {
            buf.Kas_AddWaluta(name, 2, 2, 2);
        } catch (const EConvertError&) {
            // a block that cannot be read back is refused, never misread
        }
        buf.MakeStanKasyStr();
        EXPECT_EQ(buf.StanKasyStr().rfind("KAS_NUMER;1\r\nKAS_WAL1_NAZWA;", 0), 0u) << name;
    }
}

TEST(CurrencyReportTest, AmountsAreSummedPerCurrencyAndNumber) {
    KSImpBuf buf;
    buf += KSWymiana{"EUR", 1, 100};
    buf += KSWymiana{"USD", 1, 7};
    buf += KSWymiana{"EUR", 2, 5};
    buf += KSWymiana{"EUR", 1, -30};
    buf += KSWymiana{"USD", 1, 2147483647};
    buf += KSWymiana{"USD", 1, 2147483647};
    TempDir dir;
    buf.Save(dir.File("f"), false);
    EXPECT_NE(ReadBytes(dir.File("f"))
                  .find("\r\n[RAPORT_WALUTOWY]\r\nWALUTA;EUR;1;70\r\nWALUTA;USD;1;4294967301\r\n"
                        "WALUTA;EUR;2;5\r\n\r\n[FINANSOWE]"),
              std::string::npos);
}

}  // namespace
