// KSImpBuf: the cash register's state, its currency blocks, the "[STAN_KASY]" text, the
// operation parameters and the currency report.
#include "importdata/ksimpbuf.h"

#include <charconv>
#include <cstdint>

#include "importdata/counters.h"
#include "importdata/impformat.h"
#include "runtime/xftools.h"
#include "runtime/xtools.h"

namespace {

// "name=value" entries: the name is everything before the first "=".
std::string_view EntryName(const std::string& entry) {
    std::string_view view(entry);
    return view.substr(0, view.find('='));
}

std::int64_t NumberOrZero(std::string_view text) {
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return 0;
    return value;
}

std::string CurrencyBlock(int i, const std::string& name, long double rate, long double held,
                          long double balance) {
    using impformat::Amount;
    const std::string n = std::to_string(i);
    return impformat::Cat({"KAS_WAL", n, "_NAZWA;", name, "\r\n",                   //
                           "KAS_WAL", n, "_KURS;", Amount(rate), "\r\n",            //
                           "KAS_WAL", n, "_STAN;", Amount(held), "\r\n",            //
                           "KAS_WAL", n, "_BILANS;", Amount(balance), "\r\n"});
}

long double StrictNumber(const std::string& text) {
    return TxfTools(0).FromString(text, 10, true).Value();
}

}  // namespace

void KSWymiany::Add(const KSWymiana& exchange) {
    std::string key = exchange.Waluta + ";" + std::to_string(exchange.Nr);
    for (std::string& entry : entries_) {
        if (EntryName(entry) == key) {
            std::string_view old = std::string_view(entry).substr(key.size() + 1);
            std::int64_t sum = NumberOrZero(old) + exchange.Kwota;
            entry = key + "=" + std::to_string(sum);
            return;
        }
    }
    entries_.push_back(key + "=" + std::to_string(exchange.Kwota));
}

KSImpBuf& KSImpBuf::operator+=(const KSWymiana& exchange) {
    wymiany_.Add(exchange);
    return *this;
}

void KSImpBuf::AddParameter(const std::string& name, const std::string& value) {
    for (auto it = parametry_.begin(); it != parametry_.end(); ++it) {
        if (EntryName(*it) == name) {
            if (value.empty())
                parametry_.erase(it);
            else
                *it = name + "=" + value;
            return;
        }
    }
    if (!value.empty()) parametry_.push_back(name + "=" + value);
}

void KSImpBuf::AddLinieStanuKasy(const std::string& text) { stanKasy_ += text + "\r\n"; }

void KSImpBuf::Kas_Clear() {
    kas_ = KasState();
    waluty_.clear();
    kasjerAktywny_ = false;
}

void KSImpBuf::Kas_SetNrKasjera(int value) { kas_.nrKasjera = value; kas_.hasNrKasjera = true; }
void KSImpBuf::Kas_SetNazwisko(const std::string& value) { kas_.nazwisko = value; kas_.hasNazwisko = true; }
void KSImpBuf::Kas_SetUprawn(int value) { kas_.uprawn = value; kas_.hasUprawn = true; }
void KSImpBuf::Kas_SetZmstart(double value) { kas_.zmstart = value; kas_.hasZmstart = true; }
void KSImpBuf::Kas_SetBiez(double value) { kas_.biez = value; kas_.hasBiez = true; }

// Setter and adder of one optional value; both raise its set flag.
#define SKALNIX_KAS_VALUE(Name, field, Type)                                                \
    void KSImpBuf::Kas_Set##Name(Type value) { kas_.field = value; kas_.has##Name = true; }   \
    void KSImpBuf::Kas_Add##Name(Type value) {                                              \
        impcount::Add(kas_.field, value);                                                   \
        kas_.has##Name = true;                                                              \
    }

SKALNIX_KAS_VALUE(Stankasy, stankasy, long double)
SKALNIX_KAS_VALUE(Karty, karty, long double)
SKALNIX_KAS_VALUE(Bony, bony, long double)
SKALNIX_KAS_VALUE(Czeki, czeki, long double)
SKALNIX_KAS_VALUE(Przelewy, przelewy, long double)
SKALNIX_KAS_VALUE(Dodfplat, dodfplat, long double)
SKALNIX_KAS_VALUE(Innefplat, innefplat, long double)
SKALNIX_KAS_VALUE(Paragonow, paragonow, int)
SKALNIX_KAS_VALUE(IlParAnulowanych, ilParAnulowanych, int)
SKALNIX_KAS_VALUE(WartParAnulowanych, wartParAnulowanych, long double)
SKALNIX_KAS_VALUE(IlStorno, ilStorno, int)
SKALNIX_KAS_VALUE(WartStorno, wartStorno, long double)
#undef SKALNIX_KAS_VALUE

void KSImpBuf::Kas_AddWaluta(const std::string& name, long double rate, long double held,
                             long double balance) {
    const std::string separators = ";\r\n";
    for (std::size_t i = 0; i < waluty_.size(); ++i) {
        int number = static_cast<int>(i) + 1;
        TxTools block(waluty_[i]);
        bool ok = false;
        if (block.SelectWord(0, ok, separators) !=
            impformat::Cat({"KAS_WAL", std::to_string(number), "_NAZWA"}))
            continue;
        if (block.SelectWord(1, ok, separators) != name || !ok) continue;
        long double storedRate = StrictNumber(block.SelectWord(3, ok, separators));
        long double storedHeld = StrictNumber(block.SelectWord(5, ok, separators));
        long double storedBalance = StrictNumber(block.SelectWord(7, ok, separators));
        if (rate > 0) storedRate = rate;
        waluty_[i] = CurrencyBlock(number, name, storedRate, storedHeld + held,
                                   storedBalance + balance);
        return;
    }
    waluty_.push_back(
        CurrencyBlock(static_cast<int>(waluty_.size()) + 1, name, rate, held, balance));
}

void KSImpBuf::MakeStanKasyStr() {
    const KasState& k = kas_;
    std::string& s = stanKasy_;
    s = impformat::Cat({"KAS_NUMER;", impformat::Int(k.numer), "\r\n"});
    if (k.numer == 0) return;
    auto line = [&s](const char* name, const std::string& value) {
        s += name;
        s += value;
        s += "\r\n";
    };
    using impformat::Amount;
    using impformat::DateTime;
    using impformat::Int;
    if (k.hasNrKasjera) line("KAS_NR_KASJERA;", Int(k.nrKasjera));
    if (k.hasNazwisko) line("KAS_NAZWISKO;", k.nazwisko);
    if (k.hasUprawn) line("KAS_UPRAWN;", Int(k.uprawn));
    if (k.hasZmstart) line("KAS_ZMSTART;", DateTime(k.zmstart));
    if (k.hasBiez) line("KAS_BIEZ;", DateTime(k.biez));
    if (k.hasStankasy) line("KAS_STANKASY;", Amount(k.stankasy));
    if (k.hasKarty) line("KAS_KARTY;", Amount(k.karty));
    if (k.hasBony) line("KAS_BONY;", Amount(k.bony));
    if (k.hasCzeki) line("KAS_CZEKI;", Amount(k.czeki));
    if (k.hasPrzelewy) line("KAS_PRZELEWY;", Amount(k.przelewy));
    if (k.hasDodfplat) line("KAS_DODFPLAT;", Amount(k.dodfplat));
    if (k.hasInnefplat) line("KAS_INNEFPLAT;", Amount(k.innefplat));
    if (k.hasParagonow) line("KAS_PARAGONOW;", Int(k.paragonow));
    if (k.hasIlParAnulowanych) line("KAS_IL_PAR_ANULOWANYCH;", Int(k.ilParAnulowanych));
    if (k.hasWartParAnulowanych) line("KAS_WART_PAR_ANULOWANYCH;", Amount(k.wartParAnulowanych));
    if (k.hasIlStorno) line("KAS_IL_STORNO;", Int(k.ilStorno));
    if (k.hasWartStorno) line("KAS_WART_STORNO;", Amount(k.wartStorno));
    for (const std::string& block : waluty_) s += block;
}
