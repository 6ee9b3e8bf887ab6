// KSImpBuf: construction, goods lines with their sorted index, VAT rows and money totals.
#include "importdata/ksimpbuf.h"

#include <cmath>
#include <string_view>

#include "importdata/counters.h"

void KSImpTowRec::Clear() {
    code.clear();
    quantity = 0;
    value = 0;
    save = true;
}

KSImpBuf::KSImpBuf() {
    cPlu_ = towary.AddField("plu", ftString);
    cQuantity_ = towary.AddField("quantity", ftExtended);
    cValue_ = towary.AddField("value", ftExtended);
    cSave_ = towary.AddField("save", ftInteger);
    cIdent_ = towary.AddField("identifier", ftInteger);
    towary.Open();
    cTaxNo_ = vat.AddField("taxno", ftInteger);
    cNetto_ = vat.AddField("netto", ftExtended);
    cVat_ = vat.AddField("vat", ftExtended);
    cBrutto_ = vat.AddField("brutto", ftExtended);
    vat.Open();
    cIndex_ = index.AddField("index", ftInteger);
    index.Open();
    Clear();
}

KSImpBuf::~KSImpBuf() {
    try {
        paragony_.clear();
        inneOperacje_.clear();
    } catch (...) {
    }
}

namespace {

int CompareBytes(std::string_view a, std::string_view b) {
    int c = a.compare(b);  // char_traits<char>::compare orders bytes as unsigned
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

int KSImpBuf::SortCompare(int i, int j) {
    return CompareBytes(towary.TextView(index.GetInt(i, cIndex_), cPlu_),
                        towary.TextView(index.GetInt(j, cIndex_), cPlu_));
}

int KSImpBuf::ExChange(int i, int j) {
    int a = index.GetInt(i, cIndex_);
    index.SetInt(i, cIndex_, index.GetInt(j, cIndex_));
    index.SetInt(j, cIndex_, a);
    return 0;
}

int KSImpBuf::FindCompare(int i) {
    return CompareBytes(SzukanyKod, towary.TextView(index.GetInt(i, cIndex_), cPlu_));
}

void KSImpBuf::CreateIndex() {
    // A fresh index is in row order, not code order.
    Sorted = false;
    index.Clear();
    int n = towary.GetCount();
    index.Reserve(n);
    for (int row = 0; row < n; ++row) index.SetInt(index.Append(), cIndex_, row);
}

void KSImpBuf::AddPlu(const std::string& code, long double quantity, long double value,
                      e_identifier identifier) {
    int row = towary.Append();
    towary.SetText(row, cPlu_, code);
    towary.SetExtended(row, cQuantity_, quantity);
    towary.SetExtended(row, cValue_, value);
    towary.SetInt(row, cSave_, 1);
    towary.SetInt(row, cIdent_, static_cast<int>(identifier));
    if (!Sorted) return;
    // Keep the sorted index in step with the new row.
    int n = index.GetCount();
    int place = n;
    if (n > 0) {
        SzukanyKod = code;
        place = FindInsertPlace(0, n - 1);
        if (place < 0) {
            // The code is there already: the new row goes right after an equal one.
            place = Find(0, n - 1) + 1;
        }
    }
    if (place >= n) {
        index.SetInt(index.Append(), cIndex_, row);
    } else {
        index.Insert(place);
        index.SetInt(place, cIndex_, row);
    }
}

int KSImpBuf::FindRec(const std::string& code) {
    int n = towary.GetCount();
    if (n == 0) return -1;
    SzukanyKod = code;
    if (!Sorted || index.GetCount() != n) {
        CreateIndex();
        Sort(0, n - 1);
        Sorted = true;
    }
    int a = Find(0, n - 1);
    return a < 0 ? -1 : index.GetInt(a, cIndex_);
}

void KSImpBuf::AddToPlu(const std::string& code, long double quantity, long double value,
                        e_identifier identifier) {
    int row = FindRec(code);
    if (row >= 0 && towary.GetInt(row, cIdent_) != identifier) {
        // The same code may hold one line per identifier: look for the one of this identifier.
        row = -1;
        for (int r = 0, n = towary.GetCount(); r < n; ++r) {
            if (towary.TextView(r, cPlu_) == code && towary.GetInt(r, cIdent_) == identifier) {
                row = r;
                break;
            }
        }
    }
    if (row < 0) {
        AddPlu(code, quantity, value, identifier);
        return;
    }
    towary.SetExtended(row, cQuantity_, towary.GetExtended(row, cQuantity_) + quantity);
    towary.SetExtended(row, cValue_, towary.GetExtended(row, cValue_) + value);
}

void KSImpBuf::ExclAddToPlu(const std::string& code, long double quantity, long double value) {
    int row = FindRec(code);
    if (row < 0) return;
    towary.SetExtended(row, cQuantity_, towary.GetExtended(row, cQuantity_) + quantity);
    towary.SetExtended(row, cValue_, towary.GetExtended(row, cValue_) + value);
}

void KSImpBuf::GetPlu(int row, KSImpTowRec& rec) {
    rec.code = towary.GetText(row, cPlu_);
    rec.quantity = towary.GetExtended(row, cQuantity_);
    rec.value = towary.GetExtended(row, cValue_);
    rec.save = towary.GetInt(row, cSave_) != 0;
    rec.identifier = static_cast<e_identifier>(towary.GetInt(row, cIdent_));
}

void KSImpBuf::PutPlu(int row, const KSImpTowRec& rec) {
    Sorted = false;
    towary.SetText(row, cPlu_, rec.code);
    towary.SetExtended(row, cQuantity_, rec.quantity);
    towary.SetExtended(row, cValue_, rec.value);
    towary.SetInt(row, cSave_, rec.save ? 1 : 0);
    towary.SetInt(row, cIdent_, static_cast<int>(rec.identifier));
}

void KSImpBuf::SetSaveFlag(int row, bool save) { towary.SetInt(row, cSave_, save ? 1 : 0); }

void KSImpBuf::AddTax(int rate, int column, long double amount) {
    for (int row = 0, n = vat.GetCount(); row < n; ++row) {
        if (vat.GetInt(row, cTaxNo_) == rate) {
            vat.SetExtended(row, column, vat.GetExtended(row, column) + amount);
            return;
        }
    }
    int row = vat.Append();
    vat.SetInt(row, cTaxNo_, rate);
    vat.SetExtended(row, column, amount);
}

void KSImpBuf::AddNetTax(int rate, long double amount) { AddTax(rate, cNetto_, amount); }
void KSImpBuf::AddVatTax(int rate, long double amount) { AddTax(rate, cVat_, amount); }
void KSImpBuf::AddBruTax(int rate, long double amount) { AddTax(rate, cBrutto_, amount); }

void KSImpBuf::AddDiscount(long double amount, bool absolute) {
    rabaty_ += absolute ? std::fabs(amount) : amount;
}
void KSImpBuf::AddPayIn(long double amount) { wplaty_ += amount; }
void KSImpBuf::AddPayOut(long double amount) { wyplaty_ += amount; }
void KSImpBuf::AddBottlesTurned(long double amount) { zwrotOpakowan_ += std::fabs(amount); }
void KSImpBuf::AddBottlesSaled(long double amount) { sprzedazOpakowan_ += std::fabs(amount); }
void KSImpBuf::AddBony(long double amount) { bony_ += amount; }
void KSImpBuf::AddCzeki(long double amount) { czeki_ += amount; }
void KSImpBuf::AddKarty(long double amount) { karty_ += amount; }
void KSImpBuf::AddInne(long double amount) { innePlatnosci_ += amount; }
void KSImpBuf::AddKoszyk(int count) { impcount::Add(koszyki_, count); }
void KSImpBuf::AddLiniaPar(int count) { impcount::Add(liczbaLiniiPar_, count); }

void KSImpBuf::AddGodzinowy(int hour, long double value, int count1, int count2) {
    if (hour < 0 || hour > 23) return;
    godzWartosc_[hour] += value;
    impcount::Add(godzLicznik1_[hour], count1);
    impcount::Add(godzLicznik2_[hour], count2);
}

long double KSImpBuf::GetTotalValue() {
    long double total = 0;
    if (FiskZPlu) {
        for (int row = 0, n = towary.GetCount(); row < n; ++row)
            if (towary.GetInt(row, cSave_) != 0) total += towary.GetExtended(row, cValue_);
    } else {
        for (int row = 0, n = vat.GetCount(); row < n; ++row)
            total += vat.GetExtended(row, cBrutto_);
    }
    return total;
}

void KSImpBuf::Clear() {
    towary.Clear();
    vat.Clear();
    index.Clear();
    wplaty_ = wyplaty_ = rabaty_ = zwrotOpakowan_ = sprzedazOpakowan_ = 0;
    bony_ = czeki_ = karty_ = innePlatnosci_ = 0;
    koszyki_ = liczbaLiniiPar_ = 0;
    for (int h = 0; h < 24; ++h) {
        godzWartosc_[h] = 0;
        godzLicznik1_[h] = 0;
        godzLicznik2_[h] = 0;
    }
    liniePar_.clear();
    Kas_Clear();
}
