// The sales import file written by KSImpBuf.
#include <gtest/gtest.h>

#include "import_fixture.h"
#include "importdata/ksimpbuf.h"
#include "runtime/exceptions.h"
#include "runtime/mfile.h"

namespace {

std::string Written(KSImpBuf& buf, bool stripZeros = false) {
    TempDir dir;
    buf.Save(dir.File("import.txt"), stripZeros);
    return ReadBytes(dir.File("import.txt"));
}

// The sections after the goods of an otherwise empty buffer, from "[OPERACJE]" on.
const std::string kEmptyTail =
    "\r\n[OPERACJE]\r\n"
    "\r\n[RAPORT_GODZINOWY]\r\n"
    "\r\n[RAPORT_WALUTOWY]\r\n"
    "\r\n[FINANSOWE]\r\n"
    "WPLATY;0\r\nWYPLATY;0\r\nRABATY;0\r\nZWROT_OPAKOWAN;0\r\nSPRZEDAZ_OPAKOWAN;0\r\n"
    "FPLATN_BON;0\r\nFPLATN_CZEK;0\r\nFPLATN_KARTA;0\r\nFPLATN_INNE;0\r\n"
    "IL_KOSZYKOW;0\r\nIL_LINII_PAR;0\r\n"
    "\r\n[FLAGI]\r\n"
    "DATA_SPRZEDAZY;1899-12-30 00:00:00\r\n"
    "FISK_Z_PLU;N\r\nNADPISZ_FISK;N\r\nNADPISZ_OPAK;T\r\nPODSUMUJ_OPAK;N\r\n"
    "NADPISZ_PLU;N\r\nDOKLEJ_PLU;N\r\n";

TEST(ImportFileTest, WholeFileOfASmallRegister) {
    KSImpBuf buf;
    buf.DataSprzedazy = TdtTools(At(2025, 3, 7, 18, 30));
    buf.ZapiszParagony = true;
    buf.AddToPlu("5901234123457", 2, 798, ident_2);
    buf.AddToPlu("12", 2, 1199, ident_1);
    buf.AddToPlu("5901234123457", 1, 399, ident_2);
    buf.AddToPlu("0000777", 1, 250, ident_default);
    buf.AddPlu("99", 0, 0, ident_1);  // nothing sold: not written
    buf.AddNetTax(1, 1108);
    buf.AddVatTax(1, 89);
    buf.AddBruTax(1, 1197);
    buf.AddBruTax(2, 1449);
    buf.AddPayIn(10000);
    buf.AddPayOut(2500);
    buf.AddDiscount(-150, true);
    buf.AddBottlesSaled(-50);
    buf.AddBony(1000);
    buf.AddKarty(500);
    buf.AddKoszyk(3);
    buf.AddLiniaPar(5);
    buf.AddGodzinowy(18, 1146, 1, 3);
    buf.AddGodzinowy(9, 1500, 2, 4);
    buf.AddParameter("Raport", "Z123");
    buf += KSWymiana{"EUR", 1, 500};
    buf += KSWymiana{"EUR", 1, 250};
    buf.Kas_SetNumer(3);
    buf.Kas_SetNrKasjera(7);
    buf.Kas_SetNazwisko("Kowalska");
    buf.Kas_AddStankasy(10000);
    buf.Kas_AddStankasy(-2500);
    buf.Kas_SetParagonow(3);
    buf.Kas_AddWaluta("EUR", 430, 1000, 200);
    buf.Kas_ActiveKasjerSection();

    auto* receipt = new TargoParagon;
    receipt->Liczba1 = 1;
    receipt->NrParagonu = 17;
    receipt->Opcja2 = 4;
    receipt->Tekst = "Paragon";
    receipt->Nip = "-1";
    receipt->DataCzas = At(2025, 3, 7, 18, 5);
    receipt->Rabat = 150;
    receipt->LiczbaOstatnia = 2;
    receipt->Pozycje.push_back({-1, "5901234123457", 2, 798, 1, 0, At(2025, 3, 7, 18, 5), 0});
    receipt->Pozycje.push_back({12, "", 2, 1199, 0, 0, At(2025, 3, 7, 18, 5), 0});
    TargoPayment cash;
    cash.Kwota = 2000;
    cash.Tekst = "Gotowka";
    cash.DataCzas = At(2025, 3, 7, 18, 5);
    receipt->Platnosci.push_back(cash);
    buf.AddReceipt(receipt);
    auto* payIn = new TargoOther;
    payIn->TypOperacji = 0;
    payIn->Tekst1 = "Wplata";
    payIn->Liczba1 = 1;
    payIn->Liczba2 = 2;
    payIn->DataCzas = At(2025, 3, 7, 9, 0);
    payIn->Tekst3 = "Kasjer 7";
    buf.AddReceiptOtherInfo(payIn);

    EXPECT_EQ(Written(buf),
              "[TOWAROWE]\r\n"
              "PLU;;5901234123457;3;1197\r\n"
              "PLU;12;;2;1199\r\n"
              "PLU;0000777;;1;250\r\n"
              "\r\n[OPERACJE]\r\n"
              "KASPAR;Raport;Z123\r\n"
              "\r\n[RAPORT_GODZINOWY]\r\n"
              "GODZ;9;1500;2;4\r\n"
              "GODZ;18;1146;1;3\r\n"
              "\r\n[RAPORT_WALUTOWY]\r\n"
              "WALUTA;EUR;1;750\r\n"
              "\r\n[FINANSOWE]\r\n"
              "VAT;1;1108;89;1197\r\n"
              "VAT;2;0;0;1449\r\n"
              "WPLATY;10000\r\nWYPLATY;2500\r\nRABATY;150\r\nZWROT_OPAKOWAN;0\r\n"
              "SPRZEDAZ_OPAKOWAN;50\r\nFPLATN_BON;1000\r\nFPLATN_CZEK;0\r\nFPLATN_KARTA;500\r\n"
              "FPLATN_INNE;0\r\nIL_KOSZYKOW;3\r\nIL_LINII_PAR;5\r\n"
              "\r\n[STAN_KASY]\r\n"
              "KAS_NUMER;3\r\nKAS_NR_KASJERA;7\r\nKAS_NAZWISKO;Kowalska\r\nKAS_STANKASY;7500\r\n"
              "KAS_PARAGONOW;3\r\n"
              "KAS_WAL1_NAZWA;EUR\r\nKAS_WAL1_KURS;430\r\nKAS_WAL1_STAN;1000\r\n"
              "KAS_WAL1_BILANS;200\r\n"
              "\r\n[FLAGI]\r\n"
              "DATA_SPRZEDAZY;2025-03-07 18:30:00\r\n"
              "FISK_Z_PLU;N\r\nNADPISZ_FISK;N\r\nNADPISZ_OPAK;T\r\nPODSUMUJ_OPAK;N\r\n"
              "NADPISZ_PLU;N\r\nDOKLEJ_PLU;N\r\n"
              "\r\n[Paragon nr 17]\r\n"
              "TRN;1;17;2;1;;4;Paragon;;2025-03-07 18:05:00;150;2\r\n"
              "ZAW;;5901234123457;2;798;1;0;2025-03-07 18:05:00\n"
              "ZAW;12;;2;1199;0;0;2025-03-07 18:05:00\n"
              "PMT;0;2000;100;0;0;0;1;0;Gotowka;2025-03-07 18:05:00\n"
              "\n[INNA_OPER]\n"
              "OP_WPL;Wplata;;0;0;1;2;;0;2025-03-07 09:00:00;;Kasjer 7\r\n");

    // The receipts were consumed: a second file has no receipt blocks.
    EXPECT_EQ(buf.GetReceiptsCount(), 1);
    EXPECT_EQ(buf.GetReceipts(0), nullptr);
    EXPECT_EQ(buf.GetReceiptsOther(0), nullptr);
    const std::string again = Written(buf);
    EXPECT_EQ(again.find("[Paragon"), std::string::npos);
    EXPECT_EQ(again.find("[INNA_OPER]"), std::string::npos);
}

TEST(ImportFileTest, NewBufferWritesEverySectionButTheRegisterState) {
    KSImpBuf buf;
    EXPECT_EQ(Written(buf), "[TOWAROWE]\r\n" + kEmptyTail);
}

TEST(ImportFileTest, GoodsLinesByIdentifierAndStripZeros) {
    struct Case {
        const char* code;
        int identifier;
        bool defaultIdent2;
        bool strip;
        const char* line;
    };
    const Case cases[] = {
        {"000123", 1, false, false, "PLU;000123;;1;5"},
        {"000123", 1, false, true, "PLU;000123;;1;5"},  // first field keeps its zeros
        {"000123", 2, false, false, "PLU;;000123;1;5"},
        {"000123", 2, false, true, "PLU;;123;1;5"},
        {"0000", 2, false, true, "PLU;;0;1;5"},
        {"0", 2, false, true, "PLU;;0;1;5"},
        {"", 2, false, true, "PLU;;;1;5"},
        {"0a0", 2, false, true, "PLU;;a0;1;5"},
        {"0077", 0, false, true, "PLU;0077;;1;5"},
        {"0077", 0, true, true, "PLU;;77;1;5"},
    };
    for (const Case& c : cases) {
        KSImpBuf buf;
        buf.DomyslnyIdent2 = c.defaultIdent2;
        buf.AddPlu(c.code, 1, 5, static_cast<e_identifier>(c.identifier));
        EXPECT_EQ(Written(buf, c.strip),
                  std::string("[TOWAROWE]\r\n") + c.line + "\r\n" + kEmptyTail)
            << c.code << " id " << c.identifier << " strip " << c.strip;
    }
}

TEST(ImportFileTest, LinesWithoutQuantityOrSaveFlagAreLeftOut) {
    KSImpBuf buf;
    buf.AddPlu("1", 0, 100, ident_1);
    buf.AddPlu("2", 1, 100, ident_1);
    buf.AddPlu("3", -1, -100, ident_1);
    buf.AddPlu("4", 1, 100, ident_1);
    buf.SetSaveFlag(1, false);
    EXPECT_EQ(Written(buf), "[TOWAROWE]\r\nPLU;3;;-1;-100\r\nPLU;4;;1;100\r\n" + kEmptyTail);
}

TEST(ImportFileTest, BadIdentifierStopsTheWriteAfterTheLinesBeforeIt) {
    TempDir dir;
    KSImpBuf buf;
    buf.AddPlu("1", 1, 1, ident_1);
    buf.AddPlu("2", 1, 1, static_cast<e_identifier>(3));
    buf.AddPlu("3", 0, 1, static_cast<e_identifier>(7));  // not written, so not checked
    EXPECT_EQ(MessageOf([&] { buf.Save(dir.File("f"), false); }),
              "KSExpBuf::WriteToFile() - nieprawid\xB3owy ident");
    EXPECT_EQ(ReadBytes(dir.File("f")), "[TOWAROWE]\r\nPLU;1;;1;1\r\n");

    KSImpBuf skipped;
    skipped.AddPlu("3", 0, 1, static_cast<e_identifier>(7));
    EXPECT_EQ(Written(skipped), "[TOWAROWE]\r\n" + kEmptyTail);
}

TEST(ImportFileTest, FiskZPluDropsTheVatLines) {
    KSImpBuf buf;
    buf.AddBruTax(1, 100);
    buf.FiskZPlu = true;
    const std::string text = Written(buf);
    EXPECT_EQ(text.find("VAT;"), std::string::npos);
    EXPECT_NE(text.find("\r\n[FINANSOWE]\r\nWPLATY;0\r\n"), std::string::npos);
    EXPECT_NE(text.find("FISK_Z_PLU;T\r\n"), std::string::npos);
}

TEST(ImportFileTest, FlagsAreWrittenAsTAndN) {
    KSImpBuf buf;
    buf.FiskZPlu = true;
    buf.NadpiszFisk = true;
    buf.NadpiszOpak = false;
    buf.PodsumujOpak = true;
    buf.NadpiszPlu = true;
    buf.DoklejPlu = true;
    const std::string text = Written(buf);
    EXPECT_NE(text.find("FISK_Z_PLU;T\r\nNADPISZ_FISK;T\r\nNADPISZ_OPAK;N\r\nPODSUMUJ_OPAK;T\r\n"
                        "NADPISZ_PLU;T\r\nDOKLEJ_PLU;T\r\n"),
              std::string::npos);
}

TEST(ImportFileTest, RegisterTextLosesTrailingLineEnds) {
    KSImpBuf buf;
    buf.AddLinieStanuKasy("KAS_NUMER;1\r\n");  // one more line end from AddLinieStanuKasy
    const std::string text = Written(buf);
    EXPECT_NE(text.find("IL_LINII_PAR;0\r\n\r\n[STAN_KASY]\r\nKAS_NUMER;1\r\n\r\n[FLAGI]"),
              std::string::npos);
}

TEST(ImportFileTest, HoursReportSkipsEmptyHoursAndIgnoresBadHours) {
    KSImpBuf buf;
    buf.AddGodzinowy(24, 100, 1, 1);
    buf.AddGodzinowy(-1, 100, 1, 1);
    buf.AddGodzinowy(0, 0, 5, 5);  // counts without value are not reported
    buf.AddGodzinowy(23, 7, 1, 2);
    buf.AddGodzinowy(23, 3, 1, 0);
    const std::string text = Written(buf);
    EXPECT_NE(text.find("\r\n[RAPORT_GODZINOWY]\r\nGODZ;23;10;2;2\r\n\r\n[RAPORT_WALUTOWY]"),
              std::string::npos);
}

TEST(ImportFileTest, ParametersReplaceAndRemove) {
    KSImpBuf buf;
    buf.AddParameter("A", "1");
    buf.AddParameter("B", "x=y");
    buf.AddParameter("A", "2");
    buf.AddParameter("C", "3");
    buf.AddParameter("C", "");
    buf.AddParameter("D", "");
    const std::string text = Written(buf);
    EXPECT_NE(text.find("\r\n[OPERACJE]\r\nKASPAR;A;2\r\nKASPAR;B;x;y\r\n\r\n[RAPORT_GODZINOWY]"),
              std::string::npos);
}

TEST(ImportFileTest, ClearKeepsFlagsParametersAndRegisterText) {
    KSImpBuf buf;
    buf.NadpiszPlu = true;
    buf.AddParameter("A", "1");
    buf.AddLinieStanuKasy("KAS_NUMER;4");
    buf.AddPlu("1", 1, 1, ident_1);
    buf.AddBruTax(1, 1);
    buf.AddPayIn(5);
    buf.AddGodzinowy(3, 1, 1, 1);
    buf.AddLiniaParEx("1", 1, 1, 1, "", 0, 1, 1, ident_1);
    buf.Clear();
    EXPECT_EQ(buf.CountPlu(), 0);
    EXPECT_EQ(buf.LiniePar(), "");
    EXPECT_EQ(Written(buf),
              "[TOWAROWE]\r\n\r\n[OPERACJE]\r\nKASPAR;A;1\r\n"
              "\r\n[RAPORT_GODZINOWY]\r\n\r\n[RAPORT_WALUTOWY]\r\n\r\n[FINANSOWE]\r\n"
              "WPLATY;0\r\nWYPLATY;0\r\nRABATY;0\r\nZWROT_OPAKOWAN;0\r\nSPRZEDAZ_OPAKOWAN;0\r\n"
              "FPLATN_BON;0\r\nFPLATN_CZEK;0\r\nFPLATN_KARTA;0\r\nFPLATN_INNE;0\r\n"
              "IL_KOSZYKOW;0\r\nIL_LINII_PAR;0\r\n"
              "\r\n[STAN_KASY]\r\nKAS_NUMER;4\r\n"
              "\r\n[FLAGI]\r\nDATA_SPRZEDAZY;1899-12-30 00:00:00\r\n"
              "FISK_Z_PLU;N\r\nNADPISZ_FISK;N\r\nNADPISZ_OPAK;T\r\nPODSUMUJ_OPAK;N\r\n"
              "NADPISZ_PLU;T\r\nDOKLEJ_PLU;N\r\n");
}

TEST(ImportFileTest, CountersWrapInsteadOfOverflowing) {
    KSImpBuf buf;
    buf.AddKoszyk(2147483647);
    buf.AddKoszyk(1);
    buf.AddLiniaPar(-2147483647 - 1);
    buf.AddLiniaPar(-1);
    buf.AddGodzinowy(5, 1, 2147483647, 0);
    buf.AddGodzinowy(5, 1, 2, 0);
    buf.Kas_SetNumer(1);
    buf.Kas_AddParagonow(2147483647);
    buf.Kas_AddParagonow(2147483647);
    buf.Kas_ActiveKasjerSection();
    const std::string text = Written(buf);
    EXPECT_NE(text.find("IL_KOSZYKOW;-2147483648\r\nIL_LINII_PAR;2147483647\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("GODZ;5;2;-2147483647;0\r\n"), std::string::npos);
    EXPECT_NE(text.find("KAS_PARAGONOW;-2\r\n"), std::string::npos);
}

TEST(ImportFileTest, SaveReplacesALongerFileAndWriteToFileAppendsAtThePointer) {
    TempDir dir;
    const std::string path = dir.File("import.txt");
    WriteBytes(path, std::string(5000, 'x'));
    KSImpBuf buf;
    buf.Save(path, false);
    EXPECT_EQ(ReadBytes(path), "[TOWAROWE]\r\n" + kEmptyTail);

    WriteBytes(path, "HEAD");
    TMFile file;
    file.SetPath(path);
    file.SetReadOnly(false);
    file.Open();
    file.SetPointer(file.GetSize());
    buf.WriteToFile(file, false);
    file.Close();
    EXPECT_EQ(ReadBytes(path), "HEAD[TOWAROWE]\r\n" + kEmptyTail);
}

TEST(ImportFileTest, SaveIntoAMissingDirectoryFails) {
    TempDir dir;
    KSImpBuf buf;
    EXPECT_THROW(buf.Save(dir.File("none") + "/import.txt", false), EInOutError);
    EXPECT_THROW(buf.SaveOneParag(dir.File("none") + "/par.txt"), EInOutError);
}

TEST(ImportFileTest, AmountsAreRoundedWholeNumbers) {
    KSImpBuf buf;
    buf.AddPlu("1", 2.4L, 1234.6L, ident_1);
    buf.AddPlu("2", 1, 1e20L, ident_1);
    const std::string text = Written(buf);
    EXPECT_NE(text.find("PLU;1;;2;1235\r\nPLU;2;;1;100000000000000000000\r\n"), std::string::npos);
}

TEST(ReceiptLineTextTest, AddLiniaParExFieldsAndSaveOneParag) {
    struct Case {
        const char* name;
        int identifier;
        bool defaultIdent2;
        int n1, n2;
        const char* line;
    };
    const Case cases[] = {
        {"first field", 1, false, 3, 4, "PAR;590;;2;1500;-30;opis;2025-03-07 12:00:00;3;4\r\n"},
        {"second field", 2, false, 0, 0, "PAR;;590;2;1500;-30;opis;2025-03-07 12:00:00;0;0\r\n"},
        {"default is 1", 0, false, -1, 5, "PAR;590;;2;1500;-30;opis;2025-03-07 12:00:00;;5\r\n"},
        {"default is 2", 0, true, 7, -1, "PAR;;590;2;1500;-30;opis;2025-03-07 12:00:00;7;\r\n"},
    };
    for (const Case& c : cases) {
        KSImpBuf buf;
        buf.DomyslnyIdent2 = c.defaultIdent2;
        buf.AddLiniaParEx("590", 2, 1500, -30, "opis", At(2025, 3, 7, 12), c.n1, c.n2,
                          static_cast<e_identifier>(c.identifier));
        EXPECT_EQ(buf.LiniePar(), c.line) << c.name;
    }

    KSImpBuf buf;
    buf.AddLiniaParEx("1", 1, 1, 1, "a", At(2025, 1, 1), 1, 2, ident_1);
    buf.AddLiniaParEx("2", 1, 1, 1, "b", At(2025, 1, 1), -1, -1, ident_2);
    EXPECT_EQ(MessageOf([&] {
                  buf.AddLiniaParEx("3", 1, 1, 1, "c", 0, 1, 1, static_cast<e_identifier>(-1));
              }),
              "KSExpBuf::AddLiniaParEx() - nieprawid\xB3owy _ident");
    TempDir dir;
    WriteBytes(dir.File("par.txt"), std::string(300, 'z'));
    buf.SaveOneParag(dir.File("par.txt"));
    const std::string expected = "PAR;1;;1;1;1;a;2025-01-01 00:00:00;1;2\r\n"
                                 "PAR;;2;1;1;1;b;2025-01-01 00:00:00;;\r\n";
    EXPECT_EQ(ReadBytes(dir.File("par.txt")), expected);
    EXPECT_EQ(buf.LiniePar(), expected);  // the text stays in the buffer
}

TEST(GoodsThrottleTest, PausesAfterEveryPeriodOfRows) {
    {
        FakePauses pauses(0.5e-6);  // the first 0.1 s is over after the third row
        KSImpBuf buf;
        for (int i = 0; i < 10; ++i) buf.AddPlu(std::to_string(i), 1, 1, ident_1);
        Written(buf);
        EXPECT_EQ(FakePauses::sleeps(), (std::vector<int>{20, 20}));  // rows 6 and 9
    }
    {
        FakePauses pauses(0);  // a fast write never pauses
        KSImpBuf buf;
        for (int i = 0; i < 10; ++i) buf.AddPlu(std::to_string(i), 0, 1, ident_1);
        Written(buf);
        EXPECT_TRUE(FakePauses::sleeps().empty());
    }
    {
        FakePauses pauses(2e-6);  // slow: every row counts, skipped rows too
        importpause::GoodsThrottle throttle;
        for (int i = 0; i < 4; ++i) throttle.RowDone();
        EXPECT_EQ(throttle.Period(), 1);
        EXPECT_EQ(FakePauses::sleeps().size(), 3u);
    }
}

}  // namespace
