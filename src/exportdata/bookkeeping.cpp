// Goods and customer rows: adding, reading, writing back, per-status counters, row flags,
// the code index and the search by code.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "exportdata/goods_line.h"
#include "exportdata/ksexpbuf.h"

namespace {

int B(bool value) { return value ? 1 : 0; }

// The counter of a status 0-3; none for any other value.
int* StatusCounter(KSExpBuf& buf, int status) {
    switch (status) {
        case stDod: return &buf.LiczbaDod;
        case stAkt: return &buf.LiczbaAkt;
        case stCen: return &buf.LiczbaCen;
        case stUsu: return &buf.LiczbaUsu;
        default: return nullptr;
    }
}

// Calls `visit(column, field)` for every goods column but nr_buf, which the callers handle
// themselves; one list keeps writing and reading a row in step.
template <typename Rec, typename Visit>
void EachGoodsColumn(Rec& r, Visit&& visit) {
    visit(colPlu, r.plu);
    visit(colKoldod, r.koldod);
    visit(colKod, r.kod);
    visit(colCena, r.cena);
    visit(colCenaHurt, r.cena_hurt);
    visit(colCenaNoc, r.cena_noc);
    visit(colCenaDod, r.cena_dod);
    visit(colNazwa, r.nazwa);
    visit(colStawka, r.stawka);
    visit(colStawkaPrec, r.stawka_prec);
    visit(colJedn, r.jedn);
    visit(colCzyWazony, r.czy_wazony);
    visit(colPrecyzja, r.precyzja);
    visit(colWagowoIlosciowy, r.wagowo_ilosciowy);
    visit(colOpakowanie, r.opakowanie);
    visit(colCenaOtwarta, r.cena_otwarta);
    visit(colKodOpakowania, r.kod_opakowania);
    visit(colPluOpakowania, r.plu_opakowania);
    visit(colNrAsort, r.nr_asort);
    visit(colStatus, r.status);
    visit(colPluRec, r.plu_rec);
    visit(colTrOk, r.tr_ok);
    visit(colFlag, r.flag);
    visit(colAddRec, r.add_rec);
    visit(colOrgBarcode, r.org_barcode);
    visit(colOrgStatus, r.org_status);
    visit(colOpis1, r.opis1);
    visit(colOpis2, r.opis2);
    visit(colPKWiU, r.PKWiU);
    visit(colSWW, r.SWW);
    visit(colTerminW, r.TerminW);
    visit(colFdNrSrcBuf, r.fd_nr_src_buf);
    visit(colFdFromEcr, r.fd_from_ecr);
    visit(colFdTowZKontr, r.fd_tow_z_kontr);
    visit(colOpis3, r.opis3);
    visit(colOpis4, r.opis4);
    visit(colPoziomCen, r.poziom_cen);
    visit(colIleWKodzie, r.ile_w_kodzie);
    visit(colFdDodRabatTow, r.fd_dod_rabat_tow);
    visit(colNazwaPelna, r.nazwa_pelna);
    visit(colIleJedn, r.ile_jedn);
}

// Stores one field in a row; flags are stored as 0 or 1.
struct ColumnWriter {
    TMDataSet& t;
    int row;
    void operator()(int col, const int& v) const { t.SetInt(row, col, v); }
    void operator()(int col, const bool& v) const { t.SetInt(row, col, B(v)); }
    void operator()(int col, const long double& v) const { t.SetExtended(row, col, v); }
    void operator()(int col, const std::string& v) const { t.SetText(row, col, v); }
};

// Every column but nr_buf, which the callers set themselves.
void WriteColumns(TMDataSet& t, int row, const KSTowRec& r) { EachGoodsColumn(r, ColumnWriter{t, row}); }

// Fills the kept columns of a row just appended, whose cells are all empty: empty values need
// no write.
struct NewRowWriter {
    TMDataSet& t;
    int row;
    const KSTowColumns& kept;
    bool Kept(int col) const { return kept.test(static_cast<std::size_t>(col)); }
    void operator()(int col, const int& v) const {
        if (v != 0 && Kept(col)) t.SetInt(row, col, v);
    }
    void operator()(int col, const bool& v) const {
        if (v && Kept(col)) t.SetInt(row, col, 1);
    }
    void operator()(int col, const long double& v) const {
        // A negative zero is written: its sign is part of the value.
        if ((v != 0 || std::signbit(v)) && Kept(col)) t.SetExtended(row, col, v);
    }
    void operator()(int col, std::string_view v) const {
        if (!v.empty() && Kept(col)) t.SetText(row, col, v);
    }
};

// A goods record (KSTowRec or GoodsLineView) appended as a new row, with its counters. Every
// goods line of a file passes here: the dataset's cell writes are inlined rather than called
// column by column.
template <typename Rec>
__attribute__((flatten)) void AppendGoodsRow(KSExpBuf& buf, const Rec& rec) {
    TMDataSet& t = buf.towary;
    const int row = t.Append();
    EachGoodsColumn(rec, NewRowWriter{t, row, buf.KeptColumns});
    ++buf.LiczbaTowarow;
    if (int* counter = StatusCounter(buf, rec.status)) ++*counter;
    if (rec.opakowanie) ++buf.LiczbaOpakowan;
    if (rec.fd_tow_z_kontr) ++buf.LiczbaTowZKontr;
    t.SetInt(row, colNrBuf, row);
    if (rec.bad_number_field != 0) buf.BadNumberFields[row] = rec.bad_number_field;
}

void AssignText(std::string& to, std::string_view from) { to.assign(from.data(), from.size()); }

// Reads one field from a row; any nonzero flag reads as set.
struct ColumnReader {
    TMDataSet& t;
    int row;
    void operator()(int col, int& v) const { v = t.GetInt(row, col); }
    void operator()(int col, bool& v) const { v = t.GetInt(row, col) != 0; }
    void operator()(int col, long double& v) const { v = t.GetExtended(row, col); }
    void operator()(int col, std::string& v) const { AssignText(v, t.TextView(row, col)); }
};

// Byte order of unsigned 8-bit texts, a prefix first; -1, 0 or 1.
int CompareCodes(std::string_view a, std::string_view b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

void KSExpBuf::DodajRec(const KSTowRec& rec) { AppendGoodsRow(*this, rec); }

void AppendGoods(KSExpBuf& buf, const GoodsLineView& rec) { AppendGoodsRow(buf, rec); }

void KSExpBuf::DodajRec(const KSKontrRec& rec) {
    TMDataSet& k = kontrahenci;
    const int row = k.Append();
    k.SetInt(row, 0, rec.KontrId);
    k.SetText(row, 1, rec.Nazwa);
    k.SetText(row, 2, rec.Skrot);
    k.SetText(row, 3, rec.Ulica);
    k.SetText(row, 4, rec.Kod);
    k.SetText(row, 5, rec.Miasto);
    k.SetText(row, 6, rec.Telefon);
    k.SetText(row, 7, rec.NIP);
    k.SetText(row, 8, rec.KodKarty);
    k.SetDateTime(row, 9, rec.TermWaznKarty.Value());
    k.SetInt(row, 10, B(rec.KartaAktywna));
    k.SetInt(row, 11, rec.PoziomRabatu);
    k.SetExtended(row, 12, rec.RabatOdbiorcy);
    k.SetInt(row, 14, rec.IloscPunktow);
    ++LiczbaKontrahentow;
    k.SetInt(row, 13, row);
}

void KSExpBuf::CzytajRec(int row, KSTowRec& r) {
    TMDataSet& t = towary;
    t.SetPosition(row);
    EachGoodsColumn(r, ColumnReader{t, row});
    r.nr_buf = t.GetInt(row, colNrBuf);
}

// A step of a large export reads every goods row here: the dataset's cell reads are inlined.
__attribute__((flatten)) void KSExpBuf::CzytajRec(int row, KSTowRec& r, const KSTowColumns& wanted) {
    TMDataSet& t = towary;
    t.SetPosition(row);
    const ColumnReader read{t, row};
    EachGoodsColumn(r, [&](int col, auto& field) {
        if (wanted.test(static_cast<std::size_t>(col))) read(col, field);
    });
    r.nr_buf = t.GetInt(row, colNrBuf);
}

void KSExpBuf::CzytajRec(int row, KSKontrRec& r) {
    TMDataSet& k = kontrahenci;
    k.SetPosition(row);
    r.KontrId = k.GetInt(row, 0);
    AssignText(r.Nazwa, k.TextView(row, 1));
    AssignText(r.Skrot, k.TextView(row, 2));
    AssignText(r.Ulica, k.TextView(row, 3));
    AssignText(r.Kod, k.TextView(row, 4));
    AssignText(r.Miasto, k.TextView(row, 5));
    AssignText(r.Telefon, k.TextView(row, 6));
    AssignText(r.NIP, k.TextView(row, 7));
    AssignText(r.KodKarty, k.TextView(row, 8));
    r.TermWaznKarty.SetValue(k.GetDateTime(row, 9));
    r.KartaAktywna = k.GetInt(row, 10) == 1;
    r.PoziomRabatu = k.GetInt(row, 11);
    r.RabatOdbiorcy = k.GetExtended(row, 12);
    r.NrBuf = k.GetInt(row, 13);
    r.IloscPunktow = k.GetInt(row, 14);
}

void KSExpBuf::ZapiszRec(int row, const KSTowRec& rec) {
    towary.SetPosition(row);
    const int old = towary.GetInt(row, colStatus);
    WriteColumns(towary, row, rec);
    towary.SetInt(row, colNrBuf, rec.nr_buf);
    if (int* counter = StatusCounter(*this, old)) --*counter;
    if (int* counter = StatusCounter(*this, rec.status)) ++*counter;
}

void KSExpBuf::CzytajPluRec(int row, char* buffer) {
    towary.SetPosition(row);
    const std::string_view text = towary.TextView(row, colPluRec);
    if (!text.empty()) std::memcpy(buffer, text.data(), text.size());
}

std::string KSExpBuf::CzytajAnsiPluRec(int row) {
    towary.SetPosition(row);
    return towary.GetText(row, colPluRec);
}

int KSExpBuf::CzytajStatus(int row) {
    towary.SetPosition(row);
    return towary.GetInt(row, colStatus);
}

void KSExpBuf::UstawStatus(int row, int status) {
    towary.SetPosition(row);
    towary.SetInt(row, colStatus, status);
}

void KSExpBuf::ResetFlags(bool value) {
    for (int row = 0, n = towary.GetCount(); row < n; ++row) towary.SetInt(row, colFlag, B(value));
}

void KSExpBuf::SetFlag(int row, bool value) {
    towary.SetPosition(row);
    towary.SetInt(row, colFlag, B(value));
}

bool KSExpBuf::Flag(int row) {
    towary.SetPosition(row);
    return towary.GetInt(row, colFlag) != 0;
}

void KSExpBuf::ResetTrOk(bool value) {
    for (int row = 0, n = towary.GetCount(); row < n; ++row) towary.SetInt(row, colTrOk, B(value));
}

void KSExpBuf::SetTrOk(int row, bool value) {
    towary.SetPosition(row);
    towary.SetInt(row, colTrOk, B(value));
}

bool KSExpBuf::TrOk(int row) {
    towary.SetPosition(row);
    return towary.GetInt(row, colTrOk) != 0;
}

void KSExpBuf::AddInPlu(const std::string& code, const std::string& additional) {
    const int row = dodinfo.Append();
    dodinfo.SetText(row, 0, code);
    dodinfo.SetText(row, 1, additional);
}

void KSExpBuf::PrzeliczTowary() {
    const int n = towary.GetCount();
    LiczbaTowarow = n;
    LiczbaDod = LiczbaAkt = LiczbaCen = LiczbaUsu = 0;
    LiczbaOpakowan = 0;
    for (int row = 0; row < n; ++row) {
        if (int* counter = StatusCounter(*this, towary.GetInt(row, colStatus))) ++*counter;
        if (towary.GetInt(row, colOpakowanie) != 0) ++LiczbaOpakowan;
    }
}

void KSExpBuf::CreateIndex() {
    if (index.GetCount() > 0) index.Clear();
    const int n = towary.GetCount();
    index.Reserve(n);
    for (int row = 0; row < n; ++row) index.SetInt(index.Append(), 0, row);
}

int KSExpBuf::SortCompare(int i, int j) {
    return CompareCodes(towary.TextView(index.GetInt(i, 0), colKod),
                        towary.TextView(index.GetInt(j, 0), colKod));
}

int KSExpBuf::ExChange(int i, int j) {
    const int a = index.GetInt(i, 0);
    index.SetInt(i, 0, index.GetInt(j, 0));
    index.SetInt(j, 0, a);
    return 0;
}

int KSExpBuf::FindCompare(int i) {
    return CompareCodes(SzukanyKod, towary.TextView(index.GetInt(i, 0), colKod));
}

int KSExpBuf::FindRec(const std::string& code, int n) {
    if (n <= 0) return -1;
    SzukanyKod = code;
    if (!Sorted) {
        CreateIndex();
        Sort(0, n - 1);
        Sorted = true;
    }
    // The index may hold fewer rows than asked for (goods added after it was built, or a
    // cleared buffer): the search stays within it.
    const int last = std::min(n, index.GetCount()) - 1;
    if (last < 0) return -1;
    const int a = Find(0, last);
    if (a < 0) return -1;
    return index.GetInt(a, 0);
}
