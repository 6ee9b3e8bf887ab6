// Receipts read from a cash register and the register's other cash operations. A driver fills
// them, hands them to KSImpBuf (which owns them from then on) and the buffer writes them as
// blocks at the end of the sales import file.
#pragma once

#include "runtime/api.h"

#include <cstdint>
#include <string>
#include <vector>

// One sold (or returned) goods line of a receipt.
struct SKALNIX_FRAMEWORK_API TargoPosition {
    int NrTowaru = -1;           // goods number; -1 when the code identifies the goods
    std::string Kod;             // goods code (trimmed when summed); empty when NrTowaru is used
    int Ilosc = 0;               // quantity
    std::int64_t Wartosc = 0;    // value in grosz
    int Liczba1 = 0;             // 5th field of the position line
    int Liczba2 = 0;             // 6th field
    double DataCzas = 0;         // time of the sale; its hour feeds the hourly report
    int RodzajOpakowania = 0;    // 1 container sale, 2 container return, else ordinary goods
};

// One payment of a receipt.
struct SKALNIX_FRAMEWORK_API TargoPayment {
    int Forma = 0;               // 1 voucher, 2 cheque, 3 card, 4 other; others are not summed
    std::int64_t Kwota = 0;      // amount
    int Kurs = 100;              // the summed value is amount x rate / 100
    int Liczba1 = 0, Liczba2 = 0, Liczba3 = 0;  // fields 4 to 6
    bool Ostatnia = false;       // set by the writer on the receipt's last payment
    bool Flaga = false;          // 8th field
    std::string Tekst;           // 9th field
    double DataCzas = 0;         // 10th field
    int DodNumer = -1;           // -1: no extra fields; else fields 11 to 14 are written
    std::string DodTekst;        // 12th field
    int DodLiczba1 = 0, DodLiczba2 = 0;  // 13th and 14th fields
};

class SKALNIX_FRAMEWORK_API TargoParagon {
public:
    TargoParagon() = default;
    TargoParagon(const TargoParagon&) = default;
    TargoParagon& operator=(const TargoParagon&) = default;

    // Takes the receipt number and the date-time from `other` where this receipt lacks them.
    virtual void UzupelnijZ(const TargoParagon& other);
    // Hooks for derived receipts; nothing in the base.
    virtual void Rezerwa1() {}
    virtual void Rezerwa2() {}
    virtual void Rezerwa3() {}
    virtual ~TargoParagon();
    // Called by KSImpBuf::AddReceipt before anything else; nothing in the base.
    virtual void Przygotuj() {}

    bool Ksk = false;            // "KSK;" receipt without position lines, else "TRN;"
    int Liczba1 = 0;             // 1st field
    int NrParagonu = -1;         // title line and 2nd field; -1 until known
    int Opcja1 = -1;             // 5th field, empty when -1
    int Opcja2 = -1;             // 6th field, empty when -1
    std::string Tekst;           // 7th field
    std::string Nip;             // "NIP;" line; "-1" or empty means none
    int Opcja3 = -1;             // 8th field, empty when -1
    double DataCzas = 0;         // 9th field; its hour feeds the hourly report
    int Rabat = 0;               // 10th field; added to the buffer's discounts
    int LiczbaOstatnia = 0;      // 11th field
    std::vector<TargoPosition> Pozycje;
    std::vector<TargoPayment> Platnosci;
};

// A cash operation other than a receipt.
class SKALNIX_FRAMEWORK_API TargoOther {
public:
    enum { opWplata = 0, opWyplata = 1, opStorno = 2, opAnulowanie = 3, opOtwarcieZmiany = 4,
           opZamkniecieZmiany = 5 };

    std::vector<TargoPosition> Pozycje;
    std::vector<TargoPayment> Platnosci;
    int TypOperacji = 0;         // 0-5, see the enumeration
    std::string Tekst1, Tekst2;  // 1st and 2nd fields after the prefix
    std::string Tekst3;          // last field
    int Liczba1 = 0, Liczba2 = 0;  // 5th and 6th fields
    double DataCzas = 0;         // 9th field

    // The block of the import file; throws for a type outside 0-5.
    std::string ToString() const;
};

// Lines of the import file's receipt blocks.
namespace targoparag {
// "ZAW;" line, ended by a line feed alone.
std::string PositionLine(const TargoPosition& position);
// "PMT;" line, ended by a line feed alone.
std::string PaymentLine(const TargoPayment& payment);
// The title, receipt line and optional NIP line of a receipt, at most kHeaderLimit characters.
inline constexpr std::size_t kHeaderLimit = 255;
std::string ReceiptHeader(const TargoParagon& receipt);
}  // namespace targoparag
