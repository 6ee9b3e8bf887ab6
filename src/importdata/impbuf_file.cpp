// KSImpBuf: the sales import file and the receipt-line text.
#include "importdata/ksimpbuf.h"

#include <memory>

#include "importdata/impformat.h"
#include "importdata/writepause.h"
#include "runtime/exceptions.h"
#include "runtime/lgtools.h"
#include "runtime/mfile.h"
#include "runtime/xtools.h"
#include "tools/ltools.h"

using impformat::AppendAmount;
using impformat::Cat;
using impformat::Int;

namespace {

// Written text is collected and handed to the file in large pieces.
constexpr std::size_t kFlushSize = 1 << 16;

void Flush(std::string& out, TMFile& file) {
    if (out.empty()) return;
    file.Write(out);
    out.clear();
}

void FlushIfFull(std::string& out, TMFile& file) {
    if (out.size() >= kFlushSize) Flush(out, file);
}

void Section(std::string& out, const char* name) {
    out += "\r\n";
    out += name;
    out += "\r\n";
}

void AmountLine(std::string& out, const char* name, long double value) {
    out += name;
    AppendAmount(out, value);
    out += "\r\n";
}

void IntLine(std::string& out, const char* name, long long value) {
    out += name;
    out += Int(value);
    out += "\r\n";
}

// Leading zeros off, one character always left.
std::string_view StripZeros(std::string_view code) {
    while (code.size() > 1 && code.front() == '0') code.remove_prefix(1);
    return code;
}

}  // namespace

int KSImpBuf::ResolveIdentifier(e_identifier identifier, const char* errorUtf8) const {
    int id = static_cast<int>(identifier);
    if (id == 0) return DomyslnyIdent2 ? 2 : 1;
    if (id != 1 && id != 2) throw Exception(FixedText(errorUtf8));
    return id;
}

void KSImpBuf::AddLiniaParEx(const std::string& code, long double amount1, long double amount2,
                             long double amount3, const std::string& text, double when,
                             int number1, int number2, e_identifier identifier) {
    int id = ResolveIdentifier(identifier, "KSExpBuf::AddLiniaParEx() - nieprawidłowy _ident");
    std::string line = "PAR;";
    line += id == 1 ? code : std::string();
    line += ";";
    line += id == 2 ? code : std::string();
    line += ";";
    AppendAmount(line, amount1);
    line += ";";
    AppendAmount(line, amount2);
    line += ";";
    AppendAmount(line, amount3);
    line += Cat({";", text, ";", impformat::DateTime(when), ";"});
    if (number1 >= 0) line += Int(number1);
    line += ";";
    if (number2 >= 0) line += Int(number2);
    line += "\r\n";
    liniePar_ += line;
}

void KSImpBuf::SaveOneParag(const std::string& path) { TLTools().BufToFile(liniePar_, path); }

void KSImpBuf::Save(const std::string& path, bool stripZeros) {
    auto file = std::make_unique<TMFile>();
    file->SetPath(path);
    file->SetReadOnly(false);
    file->Open();
    file->SetPointer(0);
    file->SetEof();
    WriteToFile(*file, stripZeros);
    file->Close();
}

void KSImpBuf::WriteGoods(std::string& out, TMFile& file, bool stripZeros) {
    importpause::GoodsThrottle throttle;
    for (int row = 0, n = towary.GetCount(); row < n; ++row) {
        long double quantity = towary.GetExtended(row, cQuantity_);
        if (towary.GetInt(row, cSave_) != 0 && quantity != 0) {
            int id = ResolveIdentifier(static_cast<e_identifier>(towary.GetInt(row, cIdent_)),
                                       "KSExpBuf::WriteToFile() - nieprawidłowy ident");
            std::string_view code = towary.TextView(row, cPlu_);
            out += "PLU;";
            if (id == 1) out += code;
            out += ";";
            if (id == 2) out += stripZeros ? StripZeros(code) : code;
            out += ";";
            AppendAmount(out, quantity);
            out += ";";
            AppendAmount(out, towary.GetExtended(row, cValue_));
            out += "\r\n";
            FlushIfFull(out, file);
        }
        throttle.RowDone();
    }
}

void KSImpBuf::WriteReceipts(std::string& out, TMFile& file) {
    for (auto& slot : paragony_) {
        if (slot && ZapiszParagony) {
            TargoParagon& receipt = *slot;
            out += targoparag::ReceiptHeader(receipt);
            if (!receipt.Ksk) {
                int written = 0;
                for (const TargoPosition& position : receipt.Pozycje) {
                    out += targoparag::PositionLine(position);
                    if (++written % importpause::kPositionsPerPause == 0) {
                        Flush(out, file);
                        importpause::Pause(importpause::kPositionsPauseMs);
                    }
                }
            }
            for (std::size_t i = 0; i < receipt.Platnosci.size(); ++i) {
                if (i + 1 == receipt.Platnosci.size()) receipt.Platnosci[i].Ostatnia = true;
                out += targoparag::PaymentLine(receipt.Platnosci[i]);
            }
            FlushIfFull(out, file);
        }
        slot.reset();
    }
    for (auto& slot : inneOperacje_) {
        if (slot && ZapiszParagony) {
            out += slot->ToString();
            FlushIfFull(out, file);
        }
        slot.reset();
    }
}

void KSImpBuf::WriteToFile(TMFile& file, bool stripZeros) {
    std::string out;
    out.reserve(kFlushSize + 4096);
    try {
        out += "[TOWAROWE]\r\n";
        WriteGoods(out, file, stripZeros);

        Section(out, "[OPERACJE]");
        for (const std::string& entry : parametry_)
            out += Cat({"KASPAR;", TxTools(entry).Chars2Char("=", ';'), "\r\n"});

        Section(out, "[RAPORT_GODZINOWY]");
        for (int h = 0; h < 24; ++h) {
            if (godzWartosc_[h] == 0) continue;
            out += Cat({"GODZ;", Int(h), ";"});
            AppendAmount(out, godzWartosc_[h]);
            out += Cat({";", Int(godzLicznik1_[h]), ";", Int(godzLicznik2_[h]), "\r\n"});
        }

        Section(out, "[RAPORT_WALUTOWY]");
        for (std::string entry : wymiany_.Entries()) {
            std::size_t eq = entry.find('=');
            if (eq != std::string::npos) entry[eq] = ';';
            out += Cat({"WALUTA;", entry, "\r\n"});
        }

        Section(out, "[FINANSOWE]");
        if (!FiskZPlu) {
            for (int row = 0, n = vat.GetCount(); row < n; ++row) {
                out += Cat({"VAT;", Int(vat.GetInt(row, cTaxNo_)), ";"});
                AppendAmount(out, vat.GetExtended(row, cNetto_));
                out += ";";
                AppendAmount(out, vat.GetExtended(row, cVat_));
                out += ";";
                AppendAmount(out, vat.GetExtended(row, cBrutto_));
                out += "\r\n";
            }
        }
        AmountLine(out, "WPLATY;", wplaty_);
        AmountLine(out, "WYPLATY;", wyplaty_);
        AmountLine(out, "RABATY;", rabaty_);
        AmountLine(out, "ZWROT_OPAKOWAN;", zwrotOpakowan_);
        AmountLine(out, "SPRZEDAZ_OPAKOWAN;", sprzedazOpakowan_);
        AmountLine(out, "FPLATN_BON;", bony_);
        AmountLine(out, "FPLATN_CZEK;", czeki_);
        AmountLine(out, "FPLATN_KARTA;", karty_);
        AmountLine(out, "FPLATN_INNE;", innePlatnosci_);
        IntLine(out, "IL_KOSZYKOW;", koszyki_);
        IntLine(out, "IL_LINII_PAR;", liczbaLiniiPar_);

        if (kasjerAktywny_) MakeStanKasyStr();
        if (!stanKasy_.empty()) {
            Section(out, "[STAN_KASY]");
            std::string_view body(stanKasy_);
            while (!body.empty() && (body.back() == '\r' || body.back() == '\n'))
                body.remove_suffix(1);
            out += body;
            out += "\r\n";
        }

        Section(out, "[FLAGI]");
        out += Cat({"DATA_SPRZEDAZY;", DataSprzedazy.ToString(13), "\r\n"});
        auto flag = [&out](const char* name, bool value) {
            out += name;
            out += value ? "T" : "N";
            out += "\r\n";
        };
        flag("FISK_Z_PLU;", FiskZPlu);
        flag("NADPISZ_FISK;", NadpiszFisk);
        flag("NADPISZ_OPAK;", NadpiszOpak);
        flag("PODSUMUJ_OPAK;", PodsumujOpak);
        flag("NADPISZ_PLU;", NadpiszPlu);
        flag("DOKLEJ_PLU;", DoklejPlu);

        WriteReceipts(out, file);
    } catch (...) {
        // What was made before the failure still reaches the file.
        Flush(out, file);
        throw;
    }
    Flush(out, file);
}
