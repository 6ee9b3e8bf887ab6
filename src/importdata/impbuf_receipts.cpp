// KSImpBuf: receipts handed over by the driver and their sums.
#include "importdata/ksimpbuf.h"

#include <cstdint>

#include "runtime/exceptions.h"
#include "runtime/xtools.h"

namespace {

int HourOf(double when) { return TdtTools(when).Hour(); }

}  // namespace

void KSImpBuf::AddReceipt(TargoParagon* receipt) {
    if (receipt == nullptr) return;
    std::unique_ptr<TargoParagon> owned(receipt);
    receipt->Przygotuj();
    if (SumujParagony) {
        for (const TargoPosition& position : receipt->Pozycje) *this += position;
        for (const TargoPayment& payment : receipt->Platnosci) *this += payment;
        AddGodzinowy(HourOf(receipt->DataCzas), 0, 1, static_cast<int>(receipt->Pozycje.size()));
        AddDiscount(receipt->Rabat, true);
    }
    paragony_.push_back(std::move(owned));
}

void KSImpBuf::AddReceiptOtherInfo(TargoOther* other) {
    if (other == nullptr) return;
    inneOperacje_.emplace_back(other);
}

KSImpBuf& KSImpBuf::operator+=(const TargoPosition& position) {
    std::string code = Trim(position.Kod);
    if (code.empty())
        AddToPlu(std::to_string(position.NrTowaru), position.Ilosc, position.Wartosc, ident_1);
    else
        AddToPlu(code, position.Ilosc, position.Wartosc, ident_2);
    AddGodzinowy(HourOf(position.DataCzas), position.Wartosc, 0, 0);
    if (position.RodzajOpakowania == 1)
        AddBottlesSaled(position.Wartosc);
    else if (position.RodzajOpakowania == 2)
        AddBottlesTurned(position.Wartosc);
    return *this;
}

KSImpBuf& KSImpBuf::operator+=(const TargoPosition* position) {
    return position ? *this += *position : *this;
}

KSImpBuf& KSImpBuf::operator+=(const TargoPayment& payment) {
    // 64-bit arithmetic that wraps instead of overflowing; the division truncates toward zero.
    auto product = static_cast<std::int64_t>(static_cast<std::uint64_t>(payment.Kwota) *
                                             static_cast<std::uint64_t>(payment.Kurs));
    std::int64_t sum = product / 100;
    switch (payment.Forma) {
        case 1: AddBony(sum); break;
        case 2: AddCzeki(sum); break;
        case 3: AddKarty(sum); break;
        case 4: AddInne(sum); break;
        default: break;
    }
    return *this;
}

KSImpBuf& KSImpBuf::operator+=(const TargoPayment* payment) {
    return payment ? *this += *payment : *this;
}

TargoParagon* KSImpBuf::GetReceipts(int index) {
    if (index < 0 || index >= GetReceiptsCount()) ThrowRangeError();
    return paragony_[static_cast<std::size_t>(index)].get();
}

TargoOther* KSImpBuf::GetReceiptsOther(int index) {
    if (index < 0 || index >= GetReceiptsOtherCount()) ThrowRangeError();
    return inneOperacje_[static_cast<std::size_t>(index)].get();
}
