// The goods, customer and assortment records and their line parsers.
#include <climits>

#include "exportdata/fields.h"
#include "exportdata/ksexpbuf.h"
#include "exportdata/texts.h"
#include "runtime/exceptions.h"
#include "runtime/xftools.h"
#include "runtime/xtools.h"

using namespace exportfields;

namespace {

// A boolean field: an empty one is a range error, else its first character decides.
bool BoolField(const std::string& field, bool (*decide)(char, const TMLgExtTools*),
               const TMLgExtTools* lg) {
    if (field.empty()) ThrowRangeError();
    return decide(field[0], lg);
}

// T/t true, F/f false, anything else fails with the given key's text.
bool DecideBool(char c, const TMLgExtTools* lg, const char* key) {
    if (c == 'T' || c == 't') return true;
    if (c == 'F' || c == 'f') return false;
    throw Exception(expbuftext::Get(lg, key, expbuftext::kBadFormat));
}

int ActionStatus(const std::string& action, const TMLgExtTools* lg) {
    if (action == "DOD") return stDod;
    if (action == "AKT") return stAkt;
    if (action == "CEN") return stCen;
    if (action == "USU") return stUsu;
    throw Exception(expbuftext::Get(lg, "KSTowRecFromLineExceptio", expbuftext::kBadFormat));
}

long double ScalePrice(long double price, long double factor) {
    return TxfTools(price * factor).Round(0).Value();
}

}  // namespace

// --- KSTowRec ------------------------------------------------------------------------------

void KSTowRec::Clear() {
    bad_number_field = 0;
    plu = 0;
    koldod = 0;
    kod.clear();
    nazwa.clear();
    cena = cena_hurt = cena_noc = cena_dod = 0;
    stawka = 0;
    stawka_prec = 0;
    jedn = 0;
    czy_wazony = false;
    precyzja = 0;
    wagowo_ilosciowy = false;
    opakowanie = false;
    cena_otwarta = true;
    kod_opakowania.assign(1, '0');
    plu_opakowania = 0;
    nr_asort = 0;
    status = stNic;
    opis1.clear();
    opis2.clear();
    opis3.clear();
    opis4.clear();
    fd_dod_rabat_tow = 0;
    nazwa_pelna.clear();
    ile_jedn = 0;
    nr_buf = -1;
    plu_rec.clear();
    tr_ok = false;
    flag = false;
    add_rec = false;
    org_barcode.clear();
    org_status = stNic;
    fd_from_ecr = false;
    fd_tow_z_kontr = false;
}

long double KSTowRec::CenaAkt(int level) const {
    switch (level) {
        case 1: return cena_hurt;
        case 2: return cena_noc;
        case 3: return cena_dod;
        default: return cena;
    }
}

bool KSTowRec::Bool(char c, const TMLgExtTools* lg) {
    return DecideBool(c, lg, "KSTowRecBoolExceptio");
}

void KSTowRec::FromLine(const std::string& line, const TMLgExtTools* lg) {
    TLJWords words;
    words.Separator.assign(1, ';');
    words.Split(line);
    FromLine(words, lg);
}

void KSTowRec::FromLine(TLJWords& w, const TMLgExtTools* lg) {
    Clear();
    // A number field with other text in it marks the goods instead of yielding part of it or
    // 0; an empty field keeps its default.
    // (The whole-number fields read with a prefix or a fallback keep those readings.)
    auto checkNumber = [this, &w](int field) {
        const bool outOfRange = w.OutOfRange;  // the check must not end the optional groups
        if (bad_number_field == 0 && !EmptyOrNumber(w.Word(field), true))
            bad_number_field = field;
        w.OutOfRange = outOfRange;
    };
    // Fields 1-19, in file order: the first bad field decides the error.
    plu = StrictInt(w.Word(1));
    koldod = StrictInt(w.Word(2));
    kod = w.Word(3);
    nazwa = w.Word(4);
    for (int field = 5; field <= 8; ++field) checkNumber(field);
    cena = Number(w.Word(5));
    cena_hurt = Number(w.Word(6));
    cena_noc = Number(w.Word(7));
    cena_dod = Number(w.Word(8));
    stawka = StrictInt(w.Word(9));
    jedn = StrictInt(w.Word(10));
    czy_wazony = BoolField(w.Word(11), &KSTowRec::Bool, lg);
    precyzja = StrictInt(w.Word(12));
    wagowo_ilosciowy = BoolField(w.Word(13), &KSTowRec::Bool, lg);
    opakowanie = BoolField(w.Word(14), &KSTowRec::Bool, lg);
    cena_otwarta = BoolField(w.Word(15), &KSTowRec::Bool, lg);
    kod_opakowania = w.Word(16);
    if (const std::string& f17 = w.Word(17); !f17.empty()) plu_opakowania = StrictInt(f17);
    nr_asort = StrictInt(w.Word(18));
    status = ActionStatus(w.Word(19), lg);
    org_barcode = kod;
    org_status = status;

    // Optional groups: once one is found missing, every later group takes its default.
    auto present = [&w] { return !w.OutOfRange; };
    if (present()) {
        opis1 = w.Word(20);
        opis2 = w.Word(21);
    }
    PKWiU.clear();
    if (present()) PKWiU = w.Word(22);
    SWW.clear();
    if (present()) SWW = w.Word(23);
    TerminW = present() ? PrefixInt(w.Word(24)) : 0;
    poziom_cen = present() ? LenientInt(w.Word(25), -1) : -1;
    ile_w_kodzie = present() ? LenientInt(w.Word(26), 1000) : 1000;
    if (present()) {
        opis3 = w.Word(27);
        opis4 = w.Word(28);
    }
    if (present()) checkNumber(29);
    if (present()) fd_dod_rabat_tow = Number(w.Word(29));
    if (present()) nazwa_pelna = w.Word(31);
    if (present()) checkNumber(32);
    if (present()) ile_jedn = TruncToInt(Number(w.Word(32)));

    // Field 30 is decided by the number of fields of the line.
    if (w.Count() >= 31)
        stawka_prec = LenientInt(w.Word(30), 0);
    else
        stawka_prec = stawka < 0 ? -1 : WrapMul(stawka, 100);

    // The price level picks the selling price (2 additional, 3 night in the file's numbering).
    switch (poziom_cen) {
        case 1: cena = cena_hurt; break;
        case 2: cena = cena_dod; break;
        case 3: cena = cena_noc; break;
        default: break;
    }
    if (ile_w_kodzie != 1000) {
        const long double f = static_cast<long double>(ile_w_kodzie) / 1000;
        cena = ScalePrice(cena, f);
        cena_hurt = ScalePrice(cena_hurt, f);
        cena_noc = ScalePrice(cena_noc, f);
        cena_dod = ScalePrice(cena_dod, f);
    }
}

// --- KSKontrRec ----------------------------------------------------------------------------

void KSKontrRec::Clear() {
    KontrId = 0;
    Nazwa.clear();
    Skrot.clear();
    Ulica.clear();
    Kod.clear();
    Miasto.clear();
    Telefon.clear();
    NIP.clear();
    KodKarty.clear();
    KartaAktywna = false;
    PoziomRabatu = 0;
    IloscPunktow = 0;
    NrBuf = -1;
}

bool KSKontrRec::Bool(char c, const TMLgExtTools* lg) {
    return DecideBool(c, lg, "KSKontrRBoolExceptio");
}

void KSKontrRec::FromLine(const std::string& line, const TMLgExtTools* lg) {
    TLJWords w;
    w.Separator.assign(1, ';');
    w.Split(line);
    Clear();
    KontrId = StrictInt(w.Word(1));
    Nazwa = w.Word(2);
    Skrot = w.Word(3);
    Ulica = w.Word(4);
    Kod = w.Word(5);
    Miasto = w.Word(6);
    Telefon = w.Word(7);
    NIP = w.Word(8);
    KodKarty = w.Word(9);
    TermWaznKarty.FromString(w.Word(10), 13);
    KartaAktywna = BoolField(w.Word(11), &KSKontrRec::Bool, lg);
    RabatOdbiorcy = Number(w.Word(12));
    PoziomRabatu = StrictInt(w.Word(13));
    if (!w.OutOfRange) IloscPunktow = LenientInt(w.Word(14), 0);
}

// --- KSAsort -------------------------------------------------------------------------------

void KSAsort::Clear() {
    as_asno = 0;
    as_name.clear();
}

void KSAsort::FromLine(const std::string& line) {
    Clear();
    TxTools t(line);
    bool ok = false;
    as_asno = StrToInt(t.SelectWordEx(1, ok, ";"));
    as_name = t.SelectWordEx(2, ok, ";");
}
