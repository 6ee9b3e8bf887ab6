// Lookups drivers need while building device records (units, VAT numbers, cashiers,
// currencies, assortments) and releasing the buffer's content.
#include <cstdint>

#include "exportdata/fields.h"
#include "exportdata/ksexpbuf.h"
#include "exportdata/texts.h"
#include "runtime/exceptions.h"
#include "runtime/xftools.h"
#include "runtime/xtools.h"

namespace {

// The last question and answer of each lookup, shared by every buffer of the program.
struct RememberedUnit {
    int id = -1;
    std::string name;
};
struct RememberedRate {
    int rate;
    int number = 1;
};
RememberedUnit gUnit;
RememberedRate gRate{9999};
RememberedRate gRatePrec{99999};

std::string UnitWord(const std::string& entry, int word) {
    bool ok = false;
    return TxTools(entry).SelectWordEx(word, ok, ";");
}

// Entry i of a list; a position past the end fails with `key`'s text, a negative one with
// the range error.
template <typename T>
const T& Entry(const std::vector<T>& list, int i, const TMLgExtTools* lg, const char* key,
               const char* defaultUtf8) {
    if (static_cast<std::int64_t>(i) + 1 > static_cast<std::int64_t>(list.size()))
        throw Exception(expbuftext::Get(lg, key, defaultUtf8));
    if (i < 0) ThrowRangeError();
    return list[static_cast<size_t>(i)];
}

int NumberOfRate(const std::vector<std::string>& list, int rate, RememberedRate& remembered) {
    if (rate == remembered.rate) return remembered.number;
    remembered.rate = rate;
    for (size_t i = 0; i < list.size(); ++i)
        if (StrToInt(list[i]) == rate) remembered.number = static_cast<int>(i) + 1;
    return remembered.number;
}

constexpr const char* kUnitIndexText = "Indeks jednostki miary poza zakresem";

}  // namespace

std::string KSExpBuf::NazwaJedn(int id) {
    if (id == gUnit.id) return gUnit.name;
    for (const std::string& entry : JednostkiMiary) {
        if (StrToInt(UnitWord(entry, 0)) == id) {
            gUnit.id = id;
            gUnit.name = UnitWord(entry, 2);
            return gUnit.name;
        }
    }
    return "szt.";
}

int KSExpBuf::IdxJednId(int i) {
    const std::string& e =
        Entry(JednostkiMiary, i, lg_, "KSExpBufIdxJednIExceptio", kUnitIndexText);
    return StrToIntDef(UnitWord(e, 0), 1);
}

int KSExpBuf::IdxJednPrec(int i) {
    const std::string& e =
        Entry(JednostkiMiary, i, lg_, "KSExpBufIdxJednPExceptio", kUnitIndexText);
    return StrToIntDef(UnitWord(e, 1), 0);
}

std::string KSExpBuf::IdxJednNazwa(int i) {
    const std::string& e =
        Entry(JednostkiMiary, i, lg_, "KSExpBufIdxJednNExceptio", kUnitIndexText);
    return UnitWord(e, 2);
}

int KSExpBuf::NumerStawki(int rate) { return NumberOfRate(StawkiVat, rate, gRate); }

int KSExpBuf::NumerStawkiPrec(int rate) { return NumberOfRate(StawkiVatPrec, rate, gRatePrec); }

KSKasjer* KSExpBuf::GetKasjer(int i) {
    return Entry(Kasjerzy, i, lg_, "KSExpBufGetKasjeExceptio", "Nieprawidłowy numer kasjera")
        .get();
}

KSKasjer* KSExpBuf::GetKasjerByNumer(int number) {
    for (const auto& cashier : Kasjerzy)
        if (cashier->GetNumer() == number) return cashier.get();
    return nullptr;
}

KSWaluta* KSExpBuf::GetWaluta(int i) {
    return Entry(Waluty, i, lg_, "KSExpBufGetWalutExceptio", "Nieprawidłowy numer waluty").get();
}

void KSExpBuf::DodajAsort(const KSAsort& rec) {
    const int row = asortymenty.Append();
    asortymenty.SetInt(row, 0, rec.as_asno);
    asortymenty.SetText(row, 1, rec.as_name);
}

void KSExpBuf::CzytajAsort(int row, KSAsort& rec) {
    asortymenty.SetPosition(row);
    rec.as_asno = asortymenty.GetInt(row, 0);
    rec.as_name = asortymenty.GetText(row, 1);
}

void KSExpBuf::Clear() {
    towary.Clear();
    dodinfo.Clear();
    index.Clear();
    asortymenty.Clear();
    kontrahenci.Clear();
    StawkiVat.clear();
    StawkiVatPrec.clear();
    JednostkiMiary.clear();
    Kasjerzy.clear();
    Waluty.clear();
    BadNumberFields.clear();
    LiczbaTowarow = LiczbaDod = LiczbaAkt = LiczbaCen = LiczbaUsu = LiczbaOpakowan = 0;
}
