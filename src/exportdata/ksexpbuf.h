// The export buffer: the host's export file held as in-memory tables, with its records.
#pragma once

#include "runtime/api.h"

#include <bitset>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "exportdata/words.h"
#include "runtime/dataset.h"
#include "runtime/dttools.h"
#include "tools/quicksort.h"

class TLProgress;
class TMLgExtTools;

// Goods status.
enum stTow { stDod = 0, stAkt = 1, stCen = 2, stUsu = 3, stNic = 4 };

// One goods record; field names are the goods table's column names.
struct SKALNIX_FRAMEWORK_API KSTowRec {
    KSTowRec() { Clear(); }
    void Clear();
    long double CenaAkt(int level) const;
    void FromLine(TLJWords& words, const TMLgExtTools* lg);
    void FromLine(const std::string& line, const TMLgExtTools* lg);
    static bool Bool(char c, const TMLgExtTools* lg);

    int plu;
    int koldod;
    std::string kod;
    std::string nazwa;
    long double cena, cena_hurt, cena_noc, cena_dod;
    int stawka;
    int stawka_prec;
    int jedn;
    bool czy_wazony;
    int precyzja;
    bool wagowo_ilosciowy;
    bool opakowanie;
    bool cena_otwarta;
    std::string kod_opakowania;
    int plu_opakowania;
    int nr_asort;
    int status;
    std::string opis1, opis2, opis3, opis4;
    std::string PKWiU, SWW;
    int TerminW = 0;
    int poziom_cen = -1;
    int ile_w_kodzie = 1000;
    long double fd_dod_rabat_tow;
    std::string nazwa_pelna;
    int ile_jedn;
    int nr_buf;
    std::string plu_rec;
    bool tr_ok;
    bool flag;
    bool add_rec;
    std::string org_barcode;
    int org_status;
    int fd_nr_src_buf = 0;
    // The first number field of the line (its field number) that held no number; 0 when all
    // did. Not stored in the goods table: the buffer keeps it by row.
    int bad_number_field = 0;
    bool fd_from_ecr;
    bool fd_tow_z_kontr;
};

// One customer record.
struct SKALNIX_FRAMEWORK_API KSKontrRec {
    KSKontrRec() { Clear(); }
    void Clear();
    void FromLine(const std::string& line, const TMLgExtTools* lg);
    static bool Bool(char c, const TMLgExtTools* lg);

    int KontrId;
    std::string Nazwa, Skrot, Ulica, Kod, Miasto, Telefon, NIP, KodKarty;
    TdtTools TermWaznKarty;
    bool KartaAktywna;
    int PoziomRabatu;
    long double RabatOdbiorcy = 0;
    int IloscPunktow;
    int NrBuf;
};

// One assortment record.
struct SKALNIX_FRAMEWORK_API KSAsort {
    KSAsort() { Clear(); }
    void Clear();
    void FromLine(const std::string& line);
    int as_asno;
    std::string as_name;
};

// A cashier line, kept as text and read on demand.
class SKALNIX_FRAMEWORK_API KSKasjer {
public:
    KSKasjer(const std::string& text, const TMLgExtTools* lg);
    KSKasjer(int number, const std::string& surname, int level, const std::string& identifier,
             const std::string& cardCode, const TMLgExtTools* lg);
    int GetNumer();
    std::string GetNazwisko();
    int GetPoziomUprawnien();
    std::string GetIdentyfikator();
    std::string GetKodKarty();
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    TLJWords words_;
    const TMLgExtTools* lg_;
};

// A currency line, kept as text and read on demand.
class SKALNIX_FRAMEWORK_API KSWaluta {
public:
    KSWaluta(const std::string& text, const TMLgExtTools* lg);
    std::string GetKod();
    std::string GetNazwa();
    int GetKurs();
    bool GetCzyDomyslna();
    bool GetCzyMoznaWydawacReszte();
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    TLJWords words_;
    const TMLgExtTools* lg_;
};

// Column positions of the goods table `towary`.
enum KSTowCol {
    colPlu, colKoldod, colKod, colCena, colCenaHurt, colCenaNoc, colCenaDod, colNazwa, colStawka,
    colStawkaPrec, colJedn, colCzyWazony, colPrecyzja, colWagowoIlosciowy, colOpakowanie,
    colCenaOtwarta, colKodOpakowania, colPluOpakowania, colNrAsort, colStatus, colNrBuf, colPluRec,
    colTrOk, colFlag, colAddRec, colOrgBarcode, colOrgStatus, colOpis1, colOpis2, colPKWiU, colSWW,
    colTerminW, colFdNrSrcBuf, colFdFromEcr, colFdTowZKontr, colOpis3, colOpis4, colPoziomCen,
    colIleWKodzie, colFdDodRabatTow, colNazwaPelna, colIleJedn, kTowColumnCount
};

// The price column of a price level (KSTowRec::CenaAkt): 1 wholesale, 2 night, 3 additional,
// any other the retail price.
inline int PriceColumnOf(int level) {
    switch (level) {
        case 1: return colCenaHurt;
        case 2: return colCenaNoc;
        case 3: return colCenaDod;
        default: return colCena;
    }
}

// A choice of goods columns, for reading only the fields a step needs.
using KSTowColumns = std::bitset<kTowColumnCount>;

class SKALNIX_FRAMEWORK_API KSExpBuf : public TLQuickSort {
public:
    // `operation` reports progress and gives the language service; it may be null.
    explicit KSExpBuf(TLProgress* operation);
    ~KSExpBuf() override;
    KSExpBuf(const KSExpBuf&) = delete;
    KSExpBuf& operator=(const KSExpBuf&) = delete;

    // Reading the export file.
    void ReadFromFile(const std::string& path, bool sort, int archiveKind);

    // Goods bookkeeping.
    void DodajRec(const KSTowRec& rec);
    void DodajRec(const KSKontrRec& rec);
    void CzytajRec(int row, KSTowRec& rec);
    // Only the `wanted` columns (and nr_buf); the record's other fields keep what they hold.
    void CzytajRec(int row, KSTowRec& rec, const KSTowColumns& wanted);
    void CzytajRec(int row, KSKontrRec& rec);
    void ZapiszRec(int row, const KSTowRec& rec);
    void CzytajPluRec(int row, char* buffer);
    std::string CzytajAnsiPluRec(int row);
    int CzytajStatus(int row);
    int PluStatus(int row) { return CzytajStatus(row); }
    void UstawStatus(int row, int status);
    void ResetFlags(bool value);
    void SetFlag(int row, bool value);
    bool Flag(int row);
    void ResetTrOk(bool value);
    void SetTrOk(int row, bool value);
    bool TrOk(int row);
    void AddInPlu(const std::string& code, const std::string& additional);
    void AnalizujCancelBufor(bool stripZeros);
    void ComparePLUSets(bool stripZeros);
    virtual void DodInfo2TowRec(const std::string& additional, KSTowRec& rec);
    virtual void ModifyPLUStatus(KSTowRec& host, KSTowRec& device);
    virtual bool CheckIfDeletePLU(KSTowRec& host, KSTowRec& device);
    void PrzeliczTowary();
    void CreateIndex();
    int FindRec(const std::string& code, int n);
    int SortCompare(int i, int j) override;
    int ExChange(int i, int j) override;
    int FindCompare(int i) override;

    // Result file and lookups.
    void ZapiszWynikEksp(const std::string& path);
    std::string NazwaJedn(int id);
    int IdxJednId(int i);
    int IdxJednPrec(int i);
    std::string IdxJednNazwa(int i);
    int NumerStawki(int rate);
    int NumerStawkiPrec(int rate);
    int CountKasjer() const { return static_cast<int>(Kasjerzy.size()); }
    KSKasjer* GetKasjer(int i);
    KSKasjer* GetKasjerByNumer(int number);
    int CountWaluty() const { return static_cast<int>(Waluty.size()); }
    KSWaluta* GetWaluta(int i);
    void DodajAsort(const KSAsort& rec);
    void CzytajAsort(int row, KSAsort& rec);
    int CountAsort() const { return asortymenty.GetCount(); }
    int CountKontrahents() const { return kontrahenci.GetCount(); }
    void Clear();

    // Discount-card codes: customers turned into goods (implemented with the card codes).
    int UtworzTowaryZKontrahentow(int offset, const std::string& format, std::string& trace);

    TLProgress* Operation() const { return operation_; }
    const TMLgExtTools* LgTools() const { return lg_; }

    TMDataSet towary, dodinfo, index, asortymenty, kontrahenci;
    std::vector<std::unique_ptr<KSKasjer>> Kasjerzy;
    std::vector<std::unique_ptr<KSWaluta>> Waluty;
    std::vector<std::string> StawkiVat, StawkiVatPrec, JednostkiMiary;
    long double KursEuro = 0;
    int LiczbaTowarow = 0, LiczbaDod = 0, LiczbaAkt = 0, LiczbaCen = 0, LiczbaUsu = 0;
    int LiczbaOpakowan = 0, LiczbaKontrahentow = 0, LiczbaTowZKontr = 0, LiczbaZapisanych = 0;
    std::string SzukanyKod;
    // Goods rows whose line held text in a number field, with that field's number.
    std::map<int, int> BadNumberFields;
    // The goods columns DodajRec fills; the others stay empty. A reader that needs only some
    // fields of a large file saves the memory and the time of the rest.
    KSTowColumns KeptColumns = KSTowColumns().set();

private:
    TLProgress* operation_;
    const TMLgExtTools* lg_;
};
