// KSImpBuf: what a driver reads from a cash register - sold goods, VAT and payment totals,
// hourly and currency reports, operation parameters, the register's state, flags for the host
// and receipts - collected and written as the host's sales import file.
#pragma once

#include "runtime/api.h"

#include <memory>
#include <string>
#include <vector>

#include "importdata/targoparag.h"
#include "runtime/dataset.h"
#include "runtime/dttools.h"
#include "tools/quicksort.h"

class TMFile;

// Which code column a goods line uses: 1 the first, 2 the second, 0 the buffer's default
// (2 with DomyslnyIdent2, else 1). Any other value is refused when the line is written.
enum e_identifier : int { ident_default = 0, ident_1 = 1, ident_2 = 2 };

// One goods line.
struct SKALNIX_FRAMEWORK_API KSImpTowRec {
    KSImpTowRec() { Clear(); }
    void Clear();  // the identifier is kept

    std::string code;
    long double quantity;
    long double value;
    bool save;
    e_identifier identifier = ident_default;
};

// One exchange of the currency report.
struct SKALNIX_FRAMEWORK_API KSWymiana {
    std::string Waluta;  // currency
    int Nr = 0;          // second part of the key
    int Kwota = 0;       // amount
};

// The currency report: entries "currency;n=amount", amounts summed per key.
class SKALNIX_FRAMEWORK_API KSWymiany {
public:
    void Add(const KSWymiana& exchange);
    const std::vector<std::string>& Entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};

class SKALNIX_FRAMEWORK_API KSImpBuf : public TLQuickSort {
public:
    KSImpBuf();
    ~KSImpBuf() override;
    KSImpBuf(const KSImpBuf&) = delete;
    KSImpBuf& operator=(const KSImpBuf&) = delete;

    // Goods lines.
    void AddPlu(const std::string& code, long double quantity, long double value,
                e_identifier identifier);
    void AddToPlu(const std::string& code, long double quantity, long double value,
                  e_identifier identifier);
    void ExclAddToPlu(const std::string& code, long double quantity, long double value);
    void GetPlu(int row, KSImpTowRec& rec);
    void PutPlu(int row, const KSImpTowRec& rec);
    void SetSaveFlag(int row, bool save);
    int CountPlu() const { return towary.GetCount(); }
    int FindRec(const std::string& code);
    void CreateIndex();
    int SortCompare(int i, int j) override;
    int ExChange(int i, int j) override;
    int FindCompare(int i) override;

    // Totals.
    void AddNetTax(int rate, long double amount);
    void AddVatTax(int rate, long double amount);
    void AddBruTax(int rate, long double amount);
    void AddDiscount(long double amount, bool absolute);
    void AddPayIn(long double amount);
    void AddPayOut(long double amount);
    void AddBottlesTurned(long double amount);
    void AddBottlesSaled(long double amount);
    void AddBony(long double amount);
    void AddCzeki(long double amount);
    void AddKarty(long double amount);
    void AddInne(long double amount);
    void AddKoszyk(int count);
    void AddLiniaPar(int count);
    void AddGodzinowy(int hour, long double value, int count1, int count2);
    long double GetTotalValue();

    // Receipt lines collected as text and written alone by SaveOneParag.
    void AddLiniaParEx(const std::string& code, long double amount1, long double amount2,
                       long double amount3, const std::string& text, double when, int number1,
                       int number2, e_identifier identifier);
    void AddLinieStanuKasy(const std::string& text);
    void AddParameter(const std::string& name, const std::string& value);
    KSImpBuf& operator+=(const KSWymiana& exchange);

    // Receipts (owned by the buffer once added).
    void AddReceipt(TargoParagon* receipt);
    void AddReceiptOtherInfo(TargoOther* other);
    KSImpBuf& operator+=(const TargoPosition& position);
    KSImpBuf& operator+=(const TargoPosition* position);
    KSImpBuf& operator+=(const TargoPayment& payment);
    KSImpBuf& operator+=(const TargoPayment* payment);
    TargoParagon* GetReceipts(int index);
    TargoOther* GetReceiptsOther(int index);
    int GetReceiptsCount() const { return static_cast<int>(paragony_.size()); }
    int GetReceiptsOtherCount() const { return static_cast<int>(inneOperacje_.size()); }

    // Cash-register state.
    void Kas_Clear();
    void Kas_ActiveKasjerSection() { kasjerAktywny_ = true; }
    bool Kas_IsActiveKasjerSection() const { return kasjerAktywny_; }
    void Kas_SetNumer(int value) { kas_.numer = value; }
    void Kas_SetNrKasjera(int value);
    void Kas_SetNazwisko(const std::string& value);
    void Kas_SetUprawn(int value);
    void Kas_SetZmstart(double value);
    void Kas_SetBiez(double value);
    void Kas_SetStankasy(long double value);
    void Kas_AddStankasy(long double value);
    void Kas_SetKarty(long double value);
    void Kas_AddKarty(long double value);
    void Kas_SetBony(long double value);
    void Kas_AddBony(long double value);
    void Kas_SetCzeki(long double value);
    void Kas_AddCzeki(long double value);
    void Kas_SetPrzelewy(long double value);
    void Kas_AddPrzelewy(long double value);
    void Kas_SetDodfplat(long double value);
    void Kas_AddDodfplat(long double value);
    void Kas_SetInnefplat(long double value);
    void Kas_AddInnefplat(long double value);
    void Kas_SetParagonow(int value);
    void Kas_AddParagonow(int value);
    void Kas_SetIlParAnulowanych(int value);
    void Kas_AddIlParAnulowanych(int value);
    void Kas_SetWartParAnulowanych(long double value);
    void Kas_AddWartParAnulowanych(long double value);
    void Kas_SetIlStorno(int value);
    void Kas_AddIlStorno(int value);
    void Kas_SetWartStorno(long double value);
    void Kas_AddWartStorno(long double value);
    void Kas_AddWaluta(const std::string& name, long double rate, long double held,
                       long double balance);
    void MakeStanKasyStr();
    const std::string& StanKasyStr() const { return stanKasy_; }

    void Clear();

    // The import file.
    void Save(const std::string& path, bool stripZeros);
    void WriteToFile(TMFile& file, bool stripZeros);
    void SaveOneParag(const std::string& path);
    const std::string& LiniePar() const { return liniePar_; }

    // Set directly by the driver.
    TdtTools DataSprzedazy;
    bool FiskZPlu = false;
    bool NadpiszFisk = false;
    bool NadpiszOpak = true;
    bool PodsumujOpak = false;
    bool NadpiszPlu = false;
    bool DoklejPlu = false;
    bool DomyslnyIdent2 = false;
    bool SumujParagony = false;
    bool ZapiszParagony = false;

    // Tables: goods ("plu", "quantity", "value", "save", "identifier"), VAT ("taxno", "netto",
    // "vat", "brutto") and the goods rows in code order ("index").
    TMDataSet towary, vat, index;
    std::string SzukanyKod;  // code looked for by FindRec and AddPlu

private:
    struct KasState {
        int numer = 0, nrKasjera = 0, uprawn = 0;
        std::string nazwisko;
        double zmstart = 0, biez = 0;
        long double stankasy = 0, karty = 0, bony = 0, czeki = 0, przelewy = 0, dodfplat = 0,
                    innefplat = 0, wartParAnulowanych = 0, wartStorno = 0;
        int paragonow = 0, ilParAnulowanych = 0, ilStorno = 0;
        bool hasNrKasjera = false, hasNazwisko = false, hasUprawn = false, hasZmstart = false,
             hasBiez = false, hasStankasy = false, hasKarty = false, hasBony = false,
             hasCzeki = false, hasPrzelewy = false, hasDodfplat = false, hasInnefplat = false,
             hasParagonow = false, hasIlParAnulowanych = false, hasWartParAnulowanych = false,
             hasIlStorno = false, hasWartStorno = false;
    };

    void AddTax(int rate, int column, long double amount);
    int ResolveIdentifier(e_identifier identifier, const char* errorUtf8) const;
    void WriteGoods(std::string& out, TMFile& file, bool stripZeros);
    void WriteReceipts(std::string& out, TMFile& file);

    std::vector<std::unique_ptr<TargoParagon>> paragony_;
    std::vector<std::unique_ptr<TargoOther>> inneOperacje_;
    long double rabaty_ = 0, bony_ = 0, czeki_ = 0, karty_ = 0, innePlatnosci_ = 0;
    int koszyki_ = 0, liczbaLiniiPar_ = 0;
    long double godzWartosc_[24];
    int godzLicznik1_[24];
    int godzLicznik2_[24];
    std::string liniePar_;
    KSWymiany wymiany_;
    std::vector<std::string> parametry_;
    std::string stanKasy_;
    long double wplaty_ = 0, wyplaty_ = 0, zwrotOpakowan_ = 0, sprzedazOpakowan_ = 0;
    bool kasjerAktywny_ = false;
    KasState kas_;
    std::vector<std::string> waluty_;  // one four-line block per currency
    // Column indexes of the tables.
    int cPlu_, cQuantity_, cValue_, cSave_, cIdent_, cTaxNo_, cNetto_, cVat_, cBrutto_, cIndex_;
};
