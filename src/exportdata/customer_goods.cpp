// KSExpBuf::UtworzTowaryZKontrahentow: every customer of the export buffer becomes a goods
// record whose code is the customer's discount-card code.
#include <cstdint>
#include <cstdio>

#include "exportdata/ksexpbuf.h"
#include "exportdata/kartarab.h"
#include "runtime/exceptions.h"
#include "runtime/lgtools.h"
#include "runtime/xftools.h"
#include "targodll.h"
#include "tools/progress.h"

namespace {

constexpr const char* kModule = "kstools_KSExpBuf";
constexpr int kTraceLimit = 3000;  // customers shown in the trace
constexpr int kProgressStep = 100;

std::string TraceEntry(const TKartaRab& card, const std::string& format, const std::string& code) {
    static const std::string layout = FixedText(
        "%2d(przedrostek) + %10s(termin ważn.) + %1d(poziom rab.) + %13s(kod karty) ---> %13s "
        "(format)\r\n%92s%13s (kod po konwersji)\r\n");
    const std::string expiry = card.TerminWaznosci.ToString(1);
    auto print = [&](char* buffer, std::size_t size) {
        return std::snprintf(buffer, size, layout.c_str(), card.Przedrostek, expiry.c_str(),
                             card.PoziomRabatu, card.KodKarty.c_str(), format.c_str(), "",
                             code.c_str());
    };
    int n = print(nullptr, 0);
    if (n <= 0) return std::string();
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    print(text.data(), text.size());
    text.resize(static_cast<std::size_t>(n));
    return text;
}

}  // namespace

int KSExpBuf::UtworzTowaryZKontrahentow(int offset, const std::string& format,
                                        std::string& trace) {
    TLProgress* op = Operation();
    const TMLgExtTools* lg = LgTools();
    TLStageScope stage(op,
                       GetString(lg, kModule, "ufUtworzToksactionMsgAdd", 0,
                                 "Przygotowanie kart stałego klienta..."),
                       TARGO_STAGE_COUNTER, 100);
    trace = GetString(lg, kModule, "KSExpBufUtworzTo_debug", 0,
                      "----------- [DEBUG KONWERSJI DANYCH KONTRAHENTA NA KOD KARTY RABATOWEJ] "
                      "------------\r\n");
    LiczbaTowZKontr = 0;
    KSKontrRec customer;
    KSTowRec goods;
    TKartaRab card;
    for (int i = 0, n = CountKontrahents(); i < n; ++i) {
        if (op && i % kProgressStep == 0) op->SetProgress(i);
        CzytajRec(i, customer);
        goods.Clear();
        goods.nazwa = customer.Nazwa;
        card.Clear();
        card.TerminWaznosci = customer.TermWaznKarty;
        card.PoziomRabatu = customer.PoziomRabatu;
        card.KodKarty = customer.KodKarty;
        goods.kod = card.UtworzKod(format, lg);
        if (i < kTraceLimit)
            trace += TraceEntry(card, format, goods.kod);
        else if (i == kTraceLimit)
            trace += GetString(lg, kModule, "KSExpBufUtworzTo_debug_00001", 0, "itd...\r\n");
        // Customer numbers near the int limit wrap instead of overflowing.
        goods.plu = static_cast<int>(static_cast<std::uint32_t>(customer.KontrId) +
                                     static_cast<std::uint32_t>(offset));
        long double price = customer.RabatOdbiorcy * 100;
        goods.cena = goods.cena_hurt = goods.cena_noc = goods.cena_dod = price;
        goods.status = stDod;
        goods.fd_tow_z_kontr = true;
        goods.jedn = IdxJednId(0);
        if (StawkiVat.empty())
            throw Exception(GetString(lg, kModule, "KSExpBufUtworzToExceptio", 0,
                                      "Konwersja kontrahentów na towary - błąd stawki VAT"));
        goods.stawka = StrToIntDef(StawkiVat.front(), 0);
        DodajRec(goods);
    }
    return LiczbaTowZKontr;
}
