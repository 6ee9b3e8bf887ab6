// Goods and customer rows: adding, reading, writing back, per-status counters, row flags,
// the code index and the search by code.
#include <algorithm>
#include <cstring>
#include <string_view>

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

// Every column but nr_buf, which the callers set themselves.
void WriteColumns(TMDataSet& t, int row, const KSTowRec& r) {
    t.SetInt(row, colPlu, r.plu);
    t.SetInt(row, colKoldod, r.koldod);
    t.SetText(row, colKod, r.kod);
    t.SetExtended(row, colCena, r.cena);
    t.SetExtended(row, colCenaHurt, r.cena_hurt);
    t.SetExtended(row, colCenaNoc, r.cena_noc);
    t.SetExtended(row, colCenaDod, r.cena_dod);
    t.SetText(row, colNazwa, r.nazwa);
    t.SetInt(row, colStawka, r.stawka);
    t.SetInt(row, colStawkaPrec, r.stawka_prec);
    t.SetInt(row, colJedn, r.jedn);
    t.SetInt(row, colCzyWazony, B(r.czy_wazony));
    t.SetInt(row, colPrecyzja, r.precyzja);
    t.SetInt(row, colWagowoIlosciowy, B(r.wagowo_ilosciowy));
    t.SetInt(row, colOpakowanie, B(r.opakowanie));
    t.SetInt(row, colCenaOtwarta, B(r.cena_otwarta));
    t.SetText(row, colKodOpakowania, r.kod_opakowania);
    t.SetInt(row, colPluOpakowania, r.plu_opakowania);
    t.SetInt(row, colNrAsort, r.nr_asort);
    t.SetInt(row, colStatus, r.status);
    t.SetText(row, colPluRec, r.plu_rec);
    t.SetInt(row, colTrOk, B(r.tr_ok));
    t.SetInt(row, colFlag, B(r.flag));
    t.SetInt(row, colAddRec, B(r.add_rec));
    t.SetText(row, colOrgBarcode, r.org_barcode);
    t.SetInt(row, colOrgStatus, r.org_status);
    t.SetText(row, colOpis1, r.opis1);
    t.SetText(row, colOpis2, r.opis2);
    t.SetText(row, colPKWiU, r.PKWiU);
    t.SetText(row, colSWW, r.SWW);
    t.SetInt(row, colTerminW, r.TerminW);
    t.SetInt(row, colFdNrSrcBuf, r.fd_nr_src_buf);
    t.SetInt(row, colFdFromEcr, B(r.fd_from_ecr));
    t.SetInt(row, colFdTowZKontr, B(r.fd_tow_z_kontr));
    t.SetText(row, colOpis3, r.opis3);
    t.SetText(row, colOpis4, r.opis4);
    t.SetInt(row, colPoziomCen, r.poziom_cen);
    t.SetInt(row, colIleWKodzie, r.ile_w_kodzie);
    t.SetExtended(row, colFdDodRabatTow, r.fd_dod_rabat_tow);
    t.SetText(row, colNazwaPelna, r.nazwa_pelna);
    t.SetInt(row, colIleJedn, r.ile_jedn);
}

void AssignText(std::string& to, std::string_view from) { to.assign(from.data(), from.size()); }

// Byte order of unsigned 8-bit texts, a prefix first; -1, 0 or 1.
int CompareCodes(std::string_view a, std::string_view b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

void KSExpBuf::DodajRec(const KSTowRec& rec) {
    const int row = towary.Append();
    WriteColumns(towary, row, rec);
    ++LiczbaTowarow;
    if (int* counter = StatusCounter(*this, rec.status)) ++*counter;
    if (rec.opakowanie) ++LiczbaOpakowan;
    if (rec.fd_tow_z_kontr) ++LiczbaTowZKontr;
    towary.SetInt(row, colNrBuf, row);
}

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
    r.plu = t.GetInt(row, colPlu);
    r.koldod = t.GetInt(row, colKoldod);
    AssignText(r.kod, t.TextView(row, colKod));
    r.cena = t.GetExtended(row, colCena);
    r.cena_hurt = t.GetExtended(row, colCenaHurt);
    r.cena_noc = t.GetExtended(row, colCenaNoc);
    r.cena_dod = t.GetExtended(row, colCenaDod);
    AssignText(r.nazwa, t.TextView(row, colNazwa));
    r.stawka = t.GetInt(row, colStawka);
    r.stawka_prec = t.GetInt(row, colStawkaPrec);
    r.jedn = t.GetInt(row, colJedn);
    r.czy_wazony = t.GetInt(row, colCzyWazony) != 0;
    r.precyzja = t.GetInt(row, colPrecyzja);
    r.wagowo_ilosciowy = t.GetInt(row, colWagowoIlosciowy) != 0;
    r.opakowanie = t.GetInt(row, colOpakowanie) != 0;
    r.cena_otwarta = t.GetInt(row, colCenaOtwarta) != 0;
    AssignText(r.kod_opakowania, t.TextView(row, colKodOpakowania));
    r.plu_opakowania = t.GetInt(row, colPluOpakowania);
    r.nr_asort = t.GetInt(row, colNrAsort);
    r.status = t.GetInt(row, colStatus);
    r.nr_buf = t.GetInt(row, colNrBuf);
    AssignText(r.plu_rec, t.TextView(row, colPluRec));
    r.tr_ok = t.GetInt(row, colTrOk) != 0;
    r.flag = t.GetInt(row, colFlag) != 0;
    r.add_rec = t.GetInt(row, colAddRec) != 0;
    AssignText(r.org_barcode, t.TextView(row, colOrgBarcode));
    r.org_status = t.GetInt(row, colOrgStatus);
    AssignText(r.opis1, t.TextView(row, colOpis1));
    AssignText(r.opis2, t.TextView(row, colOpis2));
    AssignText(r.PKWiU, t.TextView(row, colPKWiU));
    AssignText(r.SWW, t.TextView(row, colSWW));
    r.TerminW = t.GetInt(row, colTerminW);
    r.fd_nr_src_buf = t.GetInt(row, colFdNrSrcBuf);
    r.fd_from_ecr = t.GetInt(row, colFdFromEcr) != 0;
    r.fd_tow_z_kontr = t.GetInt(row, colFdTowZKontr) != 0;
    AssignText(r.opis3, t.TextView(row, colOpis3));
    AssignText(r.opis4, t.TextView(row, colOpis4));
    r.poziom_cen = t.GetInt(row, colPoziomCen);
    r.ile_w_kodzie = t.GetInt(row, colIleWKodzie);
    r.fd_dod_rabat_tow = t.GetExtended(row, colFdDodRabatTow);
    AssignText(r.nazwa_pelna, t.TextView(row, colNazwaPelna));
    r.ile_jedn = t.GetInt(row, colIleJedn);
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
