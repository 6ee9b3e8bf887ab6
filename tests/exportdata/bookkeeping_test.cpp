// Goods rows: counters, read and write back, flags, search by code.
#include <gtest/gtest.h>

#include "expbuf_fixture.h"
#include "runtime/exceptions.h"

namespace {

KSTowRec Goods(int plu, const std::string& code, int status, bool package = false) {
    KSTowRec r;
    r.plu = plu;
    r.kod = code;
    r.status = status;
    r.org_status = status;
    r.opakowanie = package;
    return r;
}

TEST(BookkeepingTest, AddingCountsPerStatusAndPackages) {
    KSExpBuf buf(nullptr);
    const int statuses[] = {stDod, stDod, stAkt, stCen, stUsu, stNic, 9};
    for (int s : statuses) buf.DodajRec(Goods(1, "1", s, s == stDod));
    KSTowRec fromCustomer = Goods(2, "2", stDod);
    fromCustomer.fd_tow_z_kontr = true;
    buf.DodajRec(fromCustomer);
    EXPECT_EQ(buf.LiczbaTowarow, 8);
    EXPECT_EQ(buf.LiczbaDod, 3);
    EXPECT_EQ(buf.LiczbaAkt, 1);
    EXPECT_EQ(buf.LiczbaCen, 1);
    EXPECT_EQ(buf.LiczbaUsu, 1);
    EXPECT_EQ(buf.LiczbaOpakowan, 2);
    EXPECT_EQ(buf.LiczbaTowZKontr, 1);
}

TEST(BookkeepingTest, EveryFieldSurvivesTheRoundTrip) {
    KSExpBuf buf(nullptr);
    KSTowRec w;
    w.FromLine(GoodsLine("12", "\x80kod\xFF", "CEN",
                         ";o1;o2;PK;SW;14;2;500;o3;o4;2.5;850;pe\xB3na;3"), nullptr);
    w.plu_rec = "rekord";
    w.tr_ok = true;
    w.flag = true;
    w.add_rec = true;
    w.fd_nr_src_buf = 77;
    w.fd_from_ecr = true;
    w.nr_buf = 123;  // not stored by DodajRec: the row number is
    buf.DodajRec(w);
    buf.DodajRec(w);
    KSTowRec r;
    buf.CzytajRec(1, r);
    EXPECT_EQ(r.nr_buf, 1);
    EXPECT_EQ(w.nr_buf, 123);
    r.nr_buf = w.nr_buf;
    const auto fields = [](const KSTowRec& x) {
        return std::make_tuple(x.plu, x.koldod, x.kod, x.nazwa, x.cena, x.cena_hurt, x.cena_noc,
                               x.cena_dod, x.stawka, x.stawka_prec, x.jedn, x.czy_wazony,
                               x.precyzja, x.wagowo_ilosciowy, x.opakowanie, x.cena_otwarta,
                               x.kod_opakowania, x.plu_opakowania, x.nr_asort, x.status, x.opis1,
                               x.opis2, x.opis3, x.opis4, x.PKWiU, x.SWW, x.TerminW, x.poziom_cen,
                               x.ile_w_kodzie, x.fd_dod_rabat_tow, x.nazwa_pelna, x.ile_jedn,
                               x.nr_buf, x.plu_rec, x.tr_ok, x.flag, x.add_rec, x.org_barcode,
                               x.org_status, x.fd_nr_src_buf, x.fd_from_ecr, x.fd_tow_z_kontr);
    };
    EXPECT_TRUE(fields(r) == fields(w));
    // Booleans are stored as 0/1.
    EXPECT_EQ(buf.towary.GetInt(0, colTrOk), 1);
    EXPECT_EQ(buf.towary.GetInt(0, colCzyWazony), 0);

    // A choice of columns reads those and the row number, and leaves every other field alone.
    KSTowRec some;
    some.nazwa_pelna = "kept";
    buf.CzytajRec(1, some, KSTowColumns().set(colKod).set(colOpis3).set(colCena));
    EXPECT_EQ(std::make_tuple(some.kod, some.opis3, some.cena, some.nr_buf),
              std::make_tuple(w.kod, w.opis3, w.cena, 1));
    EXPECT_EQ(std::make_tuple(some.nazwa_pelna, some.plu, some.opis1, some.status),
              std::make_tuple(std::string("kept"), 0, std::string(), int{stNic}));
}

TEST(BookkeepingTest, OnlyTheKeptColumnsAreFilledAndEveryCounterStillCounts) {
    KSExpBuf buf(nullptr);
    buf.KeptColumns = KSTowColumns().set(colKod).set(colCena).set(colStatus);
    KSTowRec w;
    w.FromLine(GoodsLine("12", "kod", "DOD", ";o1;o2;PK;SW;14;2;500;o3;o4;2.5;850;pelna;3"),
               nullptr);
    w.opakowanie = true;
    buf.DodajRec(w);
    KSTowRec r;
    buf.CzytajRec(0, r);
    EXPECT_EQ(std::make_tuple(r.kod, r.cena, r.status), std::make_tuple(w.kod, w.cena, w.status));
    EXPECT_EQ(std::make_tuple(r.plu, r.nazwa, r.opis1, r.nazwa_pelna, r.ile_w_kodzie, r.nr_buf),
              std::make_tuple(0, std::string(), std::string(), std::string(), 0, 0));
    EXPECT_EQ(std::make_tuple(buf.LiczbaTowarow, buf.LiczbaDod, buf.LiczbaOpakowan),
              std::make_tuple(1, 1, 1));
}

TEST(BookkeepingTest, WritingBackMovesTheStatusCounters) {
    KSExpBuf buf(nullptr);
    buf.DodajRec(Goods(1, "1", stCen, true));
    KSTowRec r;
    buf.CzytajRec(0, r);
    r.status = stNic;
    r.nr_buf = 55;
    buf.ZapiszRec(0, r);
    EXPECT_EQ(buf.LiczbaCen, 0);
    EXPECT_EQ(buf.LiczbaDod + buf.LiczbaAkt + buf.LiczbaUsu, 0);
    EXPECT_EQ(buf.towary.GetInt(0, colNrBuf), 55);
    r.status = stUsu;
    r.opakowanie = false;
    buf.ZapiszRec(0, r);
    EXPECT_EQ(buf.LiczbaUsu, 1);
    EXPECT_EQ(buf.LiczbaOpakowan, 1);  // only recounting changes it
    EXPECT_EQ(buf.LiczbaTowarow, 1);

    buf.UstawStatus(0, stAkt);
    EXPECT_EQ(buf.CzytajStatus(0), stAkt);
    EXPECT_EQ(buf.PluStatus(0), stAkt);
    EXPECT_EQ(buf.LiczbaUsu, 1);
    buf.PrzeliczTowary();
    EXPECT_EQ(buf.LiczbaUsu, 0);
    EXPECT_EQ(buf.LiczbaAkt, 1);
    EXPECT_EQ(buf.LiczbaOpakowan, 0);
}

TEST(BookkeepingTest, FlagsTrOkAndDeviceRecordText) {
    KSExpBuf buf(nullptr);
    KSTowRec r = Goods(1, "1", stDod);
    r.plu_rec = "ABC";
    buf.DodajRec(r);
    buf.DodajRec(Goods(2, "2", stDod));
    buf.ResetFlags(true);
    buf.SetFlag(1, false);
    EXPECT_TRUE(buf.Flag(0));
    EXPECT_FALSE(buf.Flag(1));
    buf.ResetTrOk(true);
    buf.SetTrOk(0, false);
    EXPECT_FALSE(buf.TrOk(0));
    EXPECT_TRUE(buf.TrOk(1));
    char out[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    buf.CzytajPluRec(0, out);
    EXPECT_EQ(std::string(out, 6), "ABCxxx");  // no terminator written
    EXPECT_EQ(buf.CzytajAnsiPluRec(0), "ABC");
    EXPECT_THROW(buf.SetFlag(2, true), ERangeError);
    EXPECT_THROW(buf.CzytajStatus(-1), ERangeError);
}

TEST(BookkeepingTest, SearchByCodeInByteOrder) {
    KSExpBuf buf(nullptr);
    const char* codes[] = {"9", "123", "10", "12", "\xE6", "A", "a", "0123"};
    for (int i = 0; i < 8; ++i) buf.DodajRec(Goods(i + 1, codes[i], stDod));
    EXPECT_EQ(buf.FindRec("10", 0), -1);
    EXPECT_FALSE(buf.Sorted);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(buf.FindRec(codes[i], 8), i) << codes[i];
    EXPECT_TRUE(buf.Sorted);
    EXPECT_EQ(buf.FindRec("123 ", 8), -1);
    EXPECT_EQ(buf.FindRec("1", 8), -1);
    // Byte order: "0123" < "10" < "12" < "123" < "9" < "A" < "a" < 0xE6.
    std::vector<std::string> order;
    for (int i = 0; i < buf.index.GetCount(); ++i) order.push_back(buf.towary.GetText(buf.index.GetInt(i, 0), colKod));
    EXPECT_EQ(order, (std::vector<std::string>{"0123", "10", "12", "123", "9", "A", "a", "\xE6"}));
    // Goods added after the index was built are not found, and the search stays in bounds.
    buf.DodajRec(Goods(9, "5", stDod));
    EXPECT_EQ(buf.FindRec("5", buf.LiczbaTowarow), -1);
    EXPECT_EQ(buf.FindRec("9", buf.LiczbaTowarow), 0);
    buf.Clear();
    EXPECT_EQ(buf.FindRec("9", 3), -1);
}

TEST(BookkeepingTest, CustomersRoundTrip) {
    KSExpBuf buf(nullptr);
    KSKontrRec c;
    c.FromLine("KON;42;Nazwa;Skr;Ul;00-001;M;T;NIP;CARD;2026-01-02;T;2.5;3;9", nullptr);
    buf.DodajRec(c);
    buf.DodajRec(c);
    KSKontrRec r;
    buf.CzytajRec(1, r);
    EXPECT_EQ(r.KontrId, 42);
    EXPECT_EQ(r.KodKarty, "CARD");
    EXPECT_EQ(r.TermWaznKarty.Value(), c.TermWaznKarty.Value());
    EXPECT_TRUE(r.KartaAktywna);
    EXPECT_EQ(r.PoziomRabatu, 3);
    EXPECT_EQ(r.RabatOdbiorcy, 2.5L);
    EXPECT_EQ(r.IloscPunktow, 9);
    EXPECT_EQ(r.NrBuf, 1);
    EXPECT_EQ(buf.LiczbaKontrahentow, 2);
}

}  // namespace
