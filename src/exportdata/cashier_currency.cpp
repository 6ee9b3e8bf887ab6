// Cashier and currency lines: kept as text, their words read and converted on demand.
#include <cstdio>

#include "exportdata/fields.h"
#include "exportdata/ksexpbuf.h"
#include "exportdata/texts.h"
#include "runtime/exceptions.h"

namespace {

// Runs `read`; any failure of the runtime becomes the getter's own text.
template <typename Read>
auto Guarded(const TMLgExtTools* lg, const char* key, const char* defaultUtf8, Read read)
    -> decltype(read()) {
    try {
        return read();
    } catch (const Exception&) {
        throw Exception(expbuftext::Get(lg, key, defaultUtf8));
    }
}

std::string FiveWords(int number, const std::string& surname, int level,
                      const std::string& identifier, const std::string& cardCode) {
    // "%d;%s;%d;%s;%s" without a length limit on the texts.
    return std::to_string(number) + ";" + surname + ";" + std::to_string(level) + ";" +
           identifier + ";" + cardCode;
}

}  // namespace

// --- KSKasjer ------------------------------------------------------------------------------

KSKasjer::KSKasjer(const std::string& text, const TMLgExtTools* lg) : text_(text), lg_(lg) {
    words_.Separator.assign(1, ';');
    words_.Split(text_);
}

KSKasjer::KSKasjer(int number, const std::string& surname, int level,
                   const std::string& identifier, const std::string& cardCode,
                   const TMLgExtTools* lg)
    : KSKasjer(FiveWords(number, surname, level, identifier, cardCode), lg) {}

int KSKasjer::GetNumer() {
    return Guarded(lg_, "KSKasjerGetNumerExceptio", "Błąd odczytu numeru kasjera",
                   [this] { return exportfields::StrictInt(words_.Word(0)); });
}

std::string KSKasjer::GetNazwisko() {
    return Guarded(lg_, "KSKasjerGetNazwiExceptio", "Błąd odczytu nazwiska kasjera",
                   [this] { return words_.Word(1); });
}

int KSKasjer::GetPoziomUprawnien() {
    return Guarded(lg_, "KSKasjerGetPozioExceptio", "Błąd odczytu poziomu uprawnień kasjera",
                   [this] { return exportfields::StrictInt(words_.Word(2)); });
}

std::string KSKasjer::GetIdentyfikator() {
    return Guarded(lg_, "KSKasjerGetIdentExceptio", "Błąd odczytu identyfikatora kasjera",
                   [this] { return words_.Word(3); });
}

std::string KSKasjer::GetKodKarty() {
    return Guarded(lg_, "KSKasjerGetKodKaExceptio", "Błąd odczytu kodu karty kasjera",
                   [this] { return words_.Word(4); });
}

// --- KSWaluta ------------------------------------------------------------------------------

KSWaluta::KSWaluta(const std::string& text, const TMLgExtTools* lg) : text_(text), lg_(lg) {
    words_.Separator.assign(1, ';');
    words_.Split(text_);
}

std::string KSWaluta::GetKod() {
    return Guarded(lg_, "KSWalutaGetKodExceptio", "Błąd odczytu kodu waluty",
                   [this] { return words_.Word(0); });
}

std::string KSWaluta::GetNazwa() {
    return Guarded(lg_, "KSWalutaGetNazwaExceptio", "Błąd odczytu nazwy waluty",
                   [this] { return words_.Word(1); });
}

int KSWaluta::GetKurs() {
    return Guarded(lg_, "KSWalutaGetKursExceptio", "Błąd odczytu kursu waluty",
                   [this] { return exportfields::StrictInt(words_.Word(2)); });
}

bool KSWaluta::GetCzyDomyslna() {
    return Guarded(lg_, "KSWalutaGetCzyDoExceptio", "Błąd odczytu statusu \"domyślna\" waluty",
                   [this] { return words_.Word(3) == "T"; });
}

bool KSWaluta::GetCzyMoznaWydawacReszte() {
    return Guarded(lg_, "KSWalutaGetCzyMoExceptio",
                   "Błąd odczytu statusu \"czy można wydawać resztę\" waluty",
                   [this] { return words_.Word(4) == "T"; });
}
