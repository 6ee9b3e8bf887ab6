// Receipts and other cash operations: their blocks in the import file and their sums.
#include <gtest/gtest.h>

#include "import_fixture.h"
#include "importdata/ksimpbuf.h"
#include "runtime/exceptions.h"

namespace {

const double kWhen = At(2025, 3, 7, 14, 25, 10);
const std::string kWhenText = "2025-03-07 14:25:10";

// The receipt blocks of a written file: everything after the "[FLAGI]" section.
std::string Blocks(KSImpBuf& buf) {
    TempDir dir;
    buf.Save(dir.File("f"), false);
    std::string text = ReadBytes(dir.File("f"));
    const std::string lastFlag = "DOKLEJ_PLU;N\r\n";
    std::size_t at = text.find(lastFlag);
    return at == std::string::npos ? "(no flags)" : text.substr(at + lastFlag.size());
}

TargoPosition Position(int number, const std::string& code, int quantity, std::int64_t value) {
    TargoPosition p;
    p.NrTowaru = number;
    p.Kod = code;
    p.Ilosc = quantity;
    p.Wartosc = value;
    p.DataCzas = kWhen;
    return p;
}

TargoPayment Payment(int form, std::int64_t amount, int rate) {
    TargoPayment p;
    p.Forma = form;
    p.Kwota = amount;
    p.Kurs = rate;
    p.DataCzas = kWhen;
    return p;
}

TargoParagon* Receipt(int number, bool ksk) {
    auto* r = new TargoParagon;
    r->Ksk = ksk;
    r->Liczba1 = 5;
    r->NrParagonu = number;
    r->Opcja1 = 11;
    r->Opcja2 = 12;
    r->Tekst = "txt";
    r->Opcja3 = 13;
    r->DataCzas = kWhen;
    r->Rabat = 25;
    r->LiczbaOstatnia = 9;
    r->Pozycje = {Position(-1, "590", 1, 300), Position(42, "", 2, 700)};
    r->Platnosci = {Payment(3, 1000, 100)};
    return r;
}

TEST(ReceiptBlockTest, TrnAndKskReceipts) {
    struct Case {
        const char* name;
        bool ksk;
        const char* nip;
        std::string expected;
    };
    const std::string zaw = "ZAW;;590;1;300;0;0;" + kWhenText + "\nZAW;42;;2;700;0;0;" + kWhenText +
                            "\n";
    const std::string pmt = "PMT;3;1000;100;0;0;0;1;0;;" + kWhenText + "\n";
    const Case cases[] = {
        {"TRN with positions", false, "",
         "\r\n[Paragon nr 17]\r\nTRN;5;17;2;1;11;12;txt;13;" + kWhenText + ";25;9\r\n" + zaw + pmt},
        {"KSK counts but does not write positions", true, "-1",
         "\r\n[Paragon nr 17]\r\nKSK;5;17;2;1;11;12;txt;13;" + kWhenText + ";25;9\r\n" + pmt},
        {"NIP line", false, "5250000000",
         "\r\n[Paragon nr 17]\r\nTRN;5;17;2;1;11;12;txt;13;" + kWhenText +
             ";25;9\r\nNIP;5250000000\r\n" + zaw + pmt},
    };
    for (const Case& c : cases) {
        KSImpBuf buf;
        buf.ZapiszParagony = true;
        TargoParagon* r = Receipt(17, c.ksk);
        r->Nip = c.nip;
        buf.AddReceipt(r);
        EXPECT_EQ(Blocks(buf), c.expected) << c.name;
    }
}

TEST(ReceiptBlockTest, AbsentNumbersGiveEmptyFields) {
    KSImpBuf buf;
    buf.ZapiszParagony = true;
    auto* r = new TargoParagon;  // every optional number -1, no positions, no payments
    r->DataCzas = kWhen;
    buf.AddReceipt(r);
    EXPECT_EQ(Blocks(buf), "\r\n[Paragon nr -1]\r\nTRN;0;-1;0;0;;;;;" + kWhenText + ";0;0\r\n");
}

TEST(ReceiptBlockTest, OnlyTheLastPaymentIsMarkedLast) {
    KSImpBuf buf;
    buf.ZapiszParagony = true;
    auto* r = new TargoParagon;
    r->NrParagonu = 3;
    r->Ksk = true;
    r->DataCzas = kWhen;
    TargoPayment first = Payment(0, 500, 100);
    TargoPayment second = Payment(1, 250, 100);
    second.Flaga = true;
    second.Tekst = "bon";
    second.DodNumer = 0;
    second.DodTekst = "extra";
    second.DodLiczba1 = -4;
    second.DodLiczba2 = 8;
    r->Platnosci = {first, second};
    buf.AddReceipt(r);
    EXPECT_EQ(Blocks(buf), "\r\n[Paragon nr 3]\r\nKSK;0;3;0;2;;;;;" + kWhenText + ";0;0\r\n" +
                               "PMT;0;500;100;0;0;0;0;0;;" + kWhenText + "\n" +
                               "PMT;1;250;100;0;0;0;1;1;bon;" + kWhenText + ";0;extra;-4;8\n");
}

TEST(ReceiptBlockTest, ReceiptsAreWrittenOnlyWhenAskedButAlwaysConsumed) {
    KSImpBuf buf;
    buf.AddReceipt(Receipt(1, false));
    auto* bad = new TargoOther;
    bad->TypOperacji = 9;  // not checked when nothing is written
    buf.AddReceiptOtherInfo(bad);
    buf.AddReceipt(nullptr);
    buf.AddReceiptOtherInfo(nullptr);
    EXPECT_EQ(buf.GetReceiptsCount(), 1);
    EXPECT_EQ(buf.GetReceiptsOtherCount(), 1);
    EXPECT_NE(buf.GetReceipts(0), nullptr);
    EXPECT_EQ(Blocks(buf), "");
    EXPECT_EQ(buf.GetReceipts(0), nullptr);
    EXPECT_EQ(buf.GetReceiptsOther(0), nullptr);
    EXPECT_THROW(buf.GetReceipts(1), ERangeError);
    EXPECT_THROW(buf.GetReceiptsOther(-1), ERangeError);
}

TEST(OtherOperationTest, EveryTypeHasItsPrefix) {
    const char* prefixes[] = {"OP_WPL;", "OP_WYPL;", "OP_STORNO;", "OP_ANUL;", "OP_OTW_ZW;",
                              "OP_ZAMK_ZM;"};
    for (int type = 0; type < 6; ++type) {
        TargoOther other;
        other.TypOperacji = type;
        other.Tekst1 = "a";
        other.Tekst2 = "b";
        other.Tekst3 = "c";
        other.Liczba1 = 1;
        other.Liczba2 = -2;
        other.DataCzas = kWhen;
        other.Pozycje = {Position(3, "", 1, 10)};
        TargoPayment pay = Payment(0, 10, 100);
        other.Platnosci = {pay, pay};
        EXPECT_EQ(other.ToString(), std::string("\n[INNA_OPER]\n") + prefixes[type] +
                                        "a;b;1;2;1;-2;;0;" + kWhenText + ";;c\r\n" +
                                        "ZAW;3;;1;10;0;0;" + kWhenText + "\n" +
                                        "PMT;0;10;100;0;0;0;0;0;;" + kWhenText + "\n" +
                                        "PMT;0;10;100;0;0;0;0;0;;" + kWhenText + "\n")
            << type;
    }
}

TEST(OtherOperationTest, UnknownTypeStopsTheWrite) {
    for (int type : {-1, 6, 1000}) {
        KSImpBuf buf;
        buf.ZapiszParagony = true;
        auto* other = new TargoOther;
        other->TypOperacji = type;
        buf.AddReceiptOtherInfo(other);
        TempDir dir;
        EXPECT_EQ(MessageOf([&] { buf.Save(dir.File("f"), false); }),
                  "TargoOther::ToString() - nieobs\xB3ugiwany tyoOperacji")
            << type;
        // The file keeps everything before the bad record.
        EXPECT_NE(ReadBytes(dir.File("f")).find("DOKLEJ_PLU;N\r\n"), std::string::npos);
    }
}

TEST(ReceiptHeaderTest, LongTextsAreCutButLineEndsStay) {
    struct Case {
        std::size_t textLength;
        std::size_t nipLength;
    };
    const Case cases[] = {{100, 0}, {200, 0}, {300, 0}, {300, 10}, {0, 300}, {300, 300}};
    for (const Case& c : cases) {
        TargoParagon r;
        r.NrParagonu = 123456;
        r.Tekst = std::string(c.textLength, 't');
        r.Nip = std::string(c.nipLength, '7');
        r.DataCzas = kWhen;
        const std::string header = targoparag::ReceiptHeader(r);
        const std::string tail = ";" + kWhenText + ";0;0\r\n";
        SCOPED_TRACE("text " + std::to_string(c.textLength) + " nip " +
                     std::to_string(c.nipLength));
        EXPECT_LE(header.size(), 255u);
        EXPECT_EQ(header.rfind("\r\n[Paragon nr 123456]\r\nTRN;0;123456;0;0;;;", 0), 0u);
        const std::size_t fixed = 69;  // title and receipt line without the text
        if (c.nipLength == 0) {
            EXPECT_EQ(header.substr(header.size() - tail.size()), tail);
        } else if (fixed + c.nipLength + 6 <= 255) {
            EXPECT_EQ(header.substr(header.size() - tail.size() - c.nipLength - 6),
                      tail + "NIP;" + r.Nip + "\r\n");  // the NIP is kept whole
        } else {
            EXPECT_NE(header.find(tail + "NIP;777"), std::string::npos);
            EXPECT_EQ(header.substr(header.size() - 2), "\r\n");
        }
        const bool fits = fixed + c.textLength + (c.nipLength ? c.nipLength + 6 : 0) <= 255;
        if (fits) {
            EXPECT_NE(header.find(r.Tekst + ";"), std::string::npos);
        } else {
            EXPECT_EQ(header.size(), 255u);  // cut, at the limit
        }
    }
}

TEST(ReceiptWriteTest, PausesAfterEveryHundredPositions) {
    FakePauses pauses;
    KSImpBuf buf;
    buf.ZapiszParagony = true;
    auto* r = Receipt(1, false);
    r->Pozycje.assign(250, Position(1, "", 1, 1));
    buf.AddReceipt(r);
    const std::string blocks = Blocks(buf);
    EXPECT_EQ(FakePauses::sleeps(), (std::vector<int>{100, 100}));
    std::size_t lines = 0;
    for (std::size_t at = blocks.find("ZAW;"); at != std::string::npos;
         at = blocks.find("ZAW;", at + 1))
        ++lines;
    EXPECT_EQ(lines, 250u);
}

TEST(PaymentSumTest, FormsAndRates) {
    struct Case {
        int form;
        std::int64_t amount;
        int rate;
        const char* line;  // the payment lines of "[FINANSOWE]"
    };
    const Case cases[] = {
        {3, 1050, 100, "FPLATN_BON;0\r\nFPLATN_CZEK;0\r\nFPLATN_KARTA;1050\r\nFPLATN_INNE;0"},
        {3, 1050, 150, "FPLATN_BON;0\r\nFPLATN_CZEK;0\r\nFPLATN_KARTA;1575\r\nFPLATN_INNE;0"},
        {1, 999, 50, "FPLATN_BON;499\r\nFPLATN_CZEK;0\r\nFPLATN_KARTA;0\r\nFPLATN_INNE;0"},
        {2, -999, 50, "FPLATN_BON;0\r\nFPLATN_CZEK;-499\r\nFPLATN_KARTA;0\r\nFPLATN_INNE;0"},
        {4, 7, 100, "FPLATN_BON;0\r\nFPLATN_CZEK;0\r\nFPLATN_KARTA;0\r\nFPLATN_INNE;7"},
        {0, 1050, 100, "FPLATN_BON;0\r\nFPLATN_CZEK;0\r\nFPLATN_KARTA;0\r\nFPLATN_INNE;0"},
        {5, 1050, 100, "FPLATN_BON;0\r\nFPLATN_CZEK;0\r\nFPLATN_KARTA;0\r\nFPLATN_INNE;0"},
        {3, 4000000000000LL, 100000,
         "FPLATN_BON;0\r\nFPLATN_CZEK;0\r\nFPLATN_KARTA;4000000000000000\r\nFPLATN_INNE;0"},
    };
    for (const Case& c : cases) {
        KSImpBuf buf;
        buf += Payment(c.form, c.amount, c.rate);
        TempDir dir;
        buf.Save(dir.File("f"), false);
        EXPECT_NE(ReadBytes(dir.File("f")).find(c.line), std::string::npos)
            << c.form << " " << c.amount << " " << c.rate;
    }
}

TEST(ReceiptSumTest, SummedReceiptFeedsGoodsHoursPaymentsAndDiscounts) {
    KSImpBuf buf;
    buf.SumujParagony = true;
    buf.ZapiszParagony = false;
    auto* r = Receipt(1, false);
    r->Rabat = -25;
    r->Pozycje[0].Kod = "  590 ";
    r->Pozycje.push_back(Position(42, " ", 1, 50));  // a blank code means the goods number
    TargoPosition bottle = Position(-1, "B1", 1, 60);
    bottle.RodzajOpakowania = 1;
    bottle.DataCzas = At(2025, 3, 7, 9, 59, 59);
    TargoPosition returned = Position(-1, "B1", -1, -60);
    returned.RodzajOpakowania = 2;
    r->Pozycje.push_back(bottle);
    r->Pozycje.push_back(returned);
    r->Platnosci.push_back(Payment(1, 200, 100));
    buf.AddReceipt(r);

    TempDir dir;
    buf.Save(dir.File("f"), false);
    const std::string text = ReadBytes(dir.File("f"));
    EXPECT_EQ(text.substr(0, text.find("\r\n\r\n[OPERACJE]")),
              "[TOWAROWE]\r\nPLU;;590;1;300\r\nPLU;42;;3;750");  // B1 sums to quantity 0
    EXPECT_NE(text.find("\r\n[RAPORT_GODZINOWY]\r\nGODZ;9;60;0;0\r\nGODZ;14;990;1;5\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("RABATY;25\r\nZWROT_OPAKOWAN;60\r\nSPRZEDAZ_OPAKOWAN;60\r\n"
                        "FPLATN_BON;200\r\nFPLATN_CZEK;0\r\nFPLATN_KARTA;1000\r\n"),
              std::string::npos);
}

TEST(ReceiptSumTest, WithoutSumujParagonyNothingIsSummedButThePreparationRuns) {
    struct CountingReceipt : TargoParagon {
        explicit CountingReceipt(int* calls) : calls_(calls) {}
        void Przygotuj() override { ++*calls_; }
        int* calls_;
    };
    int calls = 0;
    KSImpBuf buf;
    auto* r = new CountingReceipt(&calls);
    r->Pozycje = {Position(1, "", 1, 100)};
    r->Platnosci = {Payment(3, 100, 100)};
    r->Rabat = 5;
    buf.AddReceipt(r);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(buf.CountPlu(), 0);
    TempDir dir;
    buf.Save(dir.File("f"), false);
    EXPECT_NE(ReadBytes(dir.File("f")).find("RABATY;0\r\n"), std::string::npos);
}

TEST(ReceiptDefaultsTest, TakesNumberAndTimeOnlyWhenMissing) {
    TargoParagon source;
    source.NrParagonu = 8;
    source.DataCzas = kWhen;
    TargoParagon empty;
    empty.UzupelnijZ(source);
    EXPECT_EQ(empty.NrParagonu, 8);
    EXPECT_EQ(empty.DataCzas, kWhen);
    TargoParagon full;
    full.NrParagonu = 3;
    full.DataCzas = 1.5;
    full.UzupelnijZ(source);
    EXPECT_EQ(full.NrParagonu, 3);
    EXPECT_EQ(full.DataCzas, 1.5);
}

}  // namespace
