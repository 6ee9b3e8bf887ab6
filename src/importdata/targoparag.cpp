// Receipts and other cash operations: their lines in the import file.
#include "importdata/targoparag.h"

#include "importdata/impformat.h"
#include "runtime/exceptions.h"
#include "runtime/lgtools.h"

using impformat::Cat;
using impformat::DateTime;
using impformat::Int;

namespace {

std::string Optional(int value) { return value == -1 ? std::string() : Int(value); }

const char* const kOtherPrefixes[] = {"OP_WPL;",    "OP_WYPL;",   "OP_STORNO;",
                                      "OP_ANUL;",   "OP_OTW_ZW;", "OP_ZAMK_ZM;"};

}  // namespace

void TargoParagon::UzupelnijZ(const TargoParagon& other) {
    if (NrParagonu == -1) NrParagonu = other.NrParagonu;
    if (DataCzas == 0) DataCzas = other.DataCzas;
}

TargoParagon::~TargoParagon() = default;

namespace targoparag {

std::string PositionLine(const TargoPosition& p) {
    return Cat({"ZAW;", Optional(p.NrTowaru), ";", p.Kod, ";", Int(p.Ilosc), ";", Int(p.Wartosc),
                ";", Int(p.Liczba1), ";", Int(p.Liczba2), ";", DateTime(p.DataCzas), "\n"});
}

std::string PaymentLine(const TargoPayment& p) {
    std::string line = Cat({"PMT;", Int(p.Forma), ";", Int(p.Kwota), ";", Int(p.Kurs), ";",
                            Int(p.Liczba1), ";", Int(p.Liczba2), ";", Int(p.Liczba3), ";",
                            p.Ostatnia ? "1" : "0", ";", p.Flaga ? "1" : "0", ";", p.Tekst, ";",
                            DateTime(p.DataCzas)});
    if (p.DodNumer != -1) {
        line += Cat({";", Int(p.DodNumer), ";", p.DodTekst, ";", Int(p.DodLiczba1), ";",
                     Int(p.DodLiczba2)});
    }
    line += "\n";
    return line;
}

std::string ReceiptHeader(const TargoParagon& r) {
    const std::string title = Cat({"\r\n[Paragon nr ", Int(r.NrParagonu), "]\r\n"});
    const std::string before =
        Cat({r.Ksk ? "KSK;" : "TRN;", Int(r.Liczba1), ";", Int(r.NrParagonu), ";",
             Int(static_cast<long long>(r.Pozycje.size())), ";",
             Int(static_cast<long long>(r.Platnosci.size())), ";", Optional(r.Opcja1), ";",
             Optional(r.Opcja2), ";"});
    const std::string after = Cat({";", Optional(r.Opcja3), ";", DateTime(r.DataCzas), ";",
                                   Int(r.Rabat), ";", Int(r.LiczbaOstatnia), "\r\n"});
    const bool hasNip = !r.Nip.empty() && r.Nip != "-1";
    const std::string_view nipLine[] = {"NIP;", "\r\n"};
    // The header holds at most kHeaderLimit characters. Rather than cutting a line end off
    // (which would run the next line into this one), the free texts are shortened: first the
    // receipt's text, then, if still needed, the NIP.
    const std::size_t fixed = title.size() + before.size() + after.size() +
                              (hasNip ? nipLine[0].size() + nipLine[1].size() : 0);
    std::size_t room = fixed < kHeaderLimit ? kHeaderLimit - fixed : 0;
    std::string_view nip = r.Nip;
    if (hasNip) {
        nip = nip.substr(0, room);
        room -= nip.size();
    }
    const std::string_view text = std::string_view(r.Tekst).substr(0, room);
    std::string header = Cat({title, before, text, after});
    if (hasNip) header += Cat({nipLine[0], nip, nipLine[1]});
    return header;
}

}  // namespace targoparag

std::string TargoOther::ToString() const {
    if (TypOperacji < 0 || TypOperacji > 5)
        throw Exception(FixedText("TargoOther::ToString() - nieobsługiwany tyoOperacji"));
    std::string block =
        Cat({"\n[INNA_OPER]\n", kOtherPrefixes[TypOperacji], Tekst1, ";", Tekst2, ";",
             Int(static_cast<long long>(Pozycje.size())), ";",
             Int(static_cast<long long>(Platnosci.size())), ";", Int(Liczba1), ";", Int(Liczba2),
             ";", ";", "0;", DateTime(DataCzas), ";", ";", Tekst3, "\r\n"});
    for (const TargoPosition& p : Pozycje) block += targoparag::PositionLine(p);
    for (const TargoPayment& p : Platnosci) block += targoparag::PaymentLine(p);
    return block;
}
