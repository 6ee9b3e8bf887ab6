// The goods, customer and assortment records and their line parsers.
#include <climits>

#include "exportdata/fields.h"
#include "exportdata/goods_line.h"
#include "exportdata/ksexpbuf.h"
#include "exportdata/texts.h"
#include "runtime/exceptions.h"
#include "runtime/xftools.h"
#include "runtime/xtools.h"

using namespace exportfields;

namespace {

// Clearing and appending reuses the room the text has, without assign's overlap checks.
void AssignWord(std::string& to, std::string_view word) {
    to.clear();
    to.append(word.data(), word.size());
}
// A view record keeps the word where it lies.
void AssignWord(std::string_view& to, std::string_view word) { to = word; }

// A boolean field: an empty one is a range error, else its first character decides.
bool BoolField(std::string_view field, bool (*decide)(char, const TMLgExtTools*),
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

// A goods boolean: the common letters decided here, anything else by KSTowRec::Bool (its error).
bool GoodsBool(std::string_view field, const TMLgExtTools* lg) {
    if (field.empty()) ThrowRangeError();
    const char c = field[0];
    if (c == 'T' || c == 't') return true;
    if (c == 'F' || c == 'f') return false;
    return KSTowRec::Bool(c, lg);
}

int ActionStatus(std::string_view action, const TMLgExtTools* lg) {
    if (action == "DOD") return stDod;
    if (action == "AKT") return stAkt;
    if (action == "CEN") return stCen;
    if (action == "USU") return stUsu;
    throw Exception(expbuftext::Get(lg, "KSTowRecFromLineExceptio", expbuftext::kBadFormat));
}

long double ScalePrice(long double price, long double factor) {
    return TxfTools(price * factor).Round(0).Value();
}

// The fields a goods line sets, at their values before the line is read.
template <typename Rec>
void ClearLineFields(Rec& r) {
    r.bad_number_field = 0;
    r.plu = 0;
    r.koldod = 0;
    AssignWord(r.kod, {});
    AssignWord(r.nazwa, {});
    r.cena = r.cena_hurt = r.cena_noc = r.cena_dod = 0;
    r.stawka = 0;
    r.stawka_prec = 0;
    r.jedn = 0;
    r.czy_wazony = false;
    r.precyzja = 0;
    r.wagowo_ilosciowy = false;
    r.opakowanie = false;
    r.cena_otwarta = true;
    AssignWord(r.kod_opakowania, "0");
    r.plu_opakowania = 0;
    r.nr_asort = 0;
    r.status = stNic;
    AssignWord(r.opis1, {});
    AssignWord(r.opis2, {});
    AssignWord(r.opis3, {});
    AssignWord(r.opis4, {});
    r.fd_dod_rabat_tow = 0;
    AssignWord(r.nazwa_pelna, {});
    r.ile_jedn = 0;
    AssignWord(r.org_barcode, {});
    r.org_status = stNic;
}

// The one reading of a goods line, for KSTowRec and for GoodsLineView alike.
template <typename Rec>
void ReadGoodsFields(TLJWords& w, const TMLgExtTools* lg, Rec& r) {
    r.Clear();
    // A number field with other text in it marks the goods instead of yielding part of it or
    // 0; an empty field keeps its default.
    // (The whole-number fields read with a prefix or a fallback keep those readings.)
    auto number = [&r, &w](int field) __attribute__((always_inline)) {
        bool whole;
        const long double value = NumberField(w.View(field), whole);
        if (!whole && r.bad_number_field == 0) r.bad_number_field = field;
        return value;
    };
    // Fields 1-19, in file order: the first bad field decides the error.
    r.plu = StrictInt(w.View(1));
    r.koldod = StrictInt(w.View(2));
    AssignWord(r.kod, w.View(3));
    AssignWord(r.nazwa, w.View(4));
    r.cena = number(5);
    r.cena_hurt = number(6);
    r.cena_noc = number(7);
    r.cena_dod = number(8);
    r.stawka = StrictInt(w.View(9));
    r.jedn = StrictInt(w.View(10));
    r.czy_wazony = GoodsBool(w.View(11), lg);
    r.precyzja = StrictInt(w.View(12));
    r.wagowo_ilosciowy = GoodsBool(w.View(13), lg);
    r.opakowanie = GoodsBool(w.View(14), lg);
    r.cena_otwarta = GoodsBool(w.View(15), lg);
    AssignWord(r.kod_opakowania, w.View(16));
    if (const std::string_view f17 = w.View(17); !f17.empty()) r.plu_opakowania = StrictInt(f17);
    r.nr_asort = StrictInt(w.View(18));
    r.status = ActionStatus(w.View(19), lg);
    r.org_barcode = r.kod;
    r.org_status = r.status;

    // Optional groups: once one is found missing, every later group takes its default.
    auto present = [&w] { return !w.OutOfRange; };
    if (present()) {
        AssignWord(r.opis1, w.View(20));
        AssignWord(r.opis2, w.View(21));
    }
    AssignWord(r.PKWiU, {});
    if (present()) AssignWord(r.PKWiU, w.View(22));
    AssignWord(r.SWW, {});
    if (present()) AssignWord(r.SWW, w.View(23));
    r.TerminW = present() ? PrefixInt(w.View(24)) : 0;
    r.poziom_cen = present() ? LenientInt(w.View(25), -1) : -1;
    r.ile_w_kodzie = present() ? LenientInt(w.View(26), 1000) : 1000;
    if (present()) {
        AssignWord(r.opis3, w.View(27));
        AssignWord(r.opis4, w.View(28));
    }
    if (present()) r.fd_dod_rabat_tow = number(29);
    if (present()) AssignWord(r.nazwa_pelna, w.View(31));
    if (present()) r.ile_jedn = TruncToInt(number(32));

    // Field 30 is decided by the number of fields of the line.
    if (w.Count() >= 31)
        r.stawka_prec = LenientInt(w.View(30), 0);
    else
        r.stawka_prec = r.stawka < 0 ? -1 : WrapMul(r.stawka, 100);

    // The price level picks the selling price (2 additional, 3 night in the file's numbering).
    switch (r.poziom_cen) {
        case 1: r.cena = r.cena_hurt; break;
        case 2: r.cena = r.cena_dod; break;
        case 3: r.cena = r.cena_noc; break;
        default: break;
    }
    if (r.ile_w_kodzie != 1000) {
        const long double f = static_cast<long double>(r.ile_w_kodzie) / 1000;
        r.cena = ScalePrice(r.cena, f);
        r.cena_hurt = ScalePrice(r.cena_hurt, f);
        r.cena_noc = ScalePrice(r.cena_noc, f);
        r.cena_dod = ScalePrice(r.cena_dod, f);
    }
}

}  // namespace

// --- KSTowRec ------------------------------------------------------------------------------

void KSTowRec::Clear() {
    ClearLineFields(*this);
    nr_buf = -1;
    plu_rec.clear();
    tr_ok = false;
    flag = false;
    add_rec = false;
    fd_from_ecr = false;
    fd_tow_z_kontr = false;
}

void GoodsLineView::ClearAll() {
    ClearLineFields(*this);
    // Fields that KSTowRec::Clear leaves alone and the reading always sets.
    PKWiU = SWW = {};
    TerminW = 0;
    poziom_cen = -1;
    ile_w_kodzie = 1000;
}

long double KSTowRec::CenaAkt(int level) const {
    switch (PriceColumnOf(level)) {
        case colCenaHurt: return cena_hurt;
        case colCenaNoc: return cena_noc;
        case colCenaDod: return cena_dod;
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

void KSTowRec::FromLine(TLJWords& w, const TMLgExtTools* lg) { ReadGoodsFields(w, lg, *this); }

void ReadGoodsLine(TLJWords& words, const TMLgExtTools* lg, GoodsLineView& rec) {
    ReadGoodsFields(words, lg, rec);
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
