// Discount-card codes from card formats.
#include "exportdata/kartarab.h"

#include <string_view>

#include "runtime/exceptions.h"
#include "runtime/lgtools.h"
#include "tools/ltools.h"

namespace {

constexpr const char* kModule = "kstools_KartaRab";
constexpr std::string_view kAllowed = "0123456789skymdYMDrx";
constexpr std::size_t kCheckDigitPlace = 13;  // 1-based

[[noreturn]] void Fail(const TMLgExtTools* lg, const char* key, const char* defaultUtf8) {
    throw Exception(GetString(lg, kModule, key, 0, defaultUtf8));
}

bool Has(const std::string& format, char c) { return format.find(c) != std::string::npos; }

bool IsSection(char c, char section) {
    switch (section) {
        case 'y': return c == 'y' || c == 'Y';
        case 'm': return c == 'm' || c == 'M';
        case 'd': return c == 'd' || c == 'D';
        default: return c == section;
    }
}

// Run length of the section's letters at their first occurrence; 0 when absent.
int Width(const std::string& format, char section) {
    std::size_t i = 0;
    while (i < format.size() && !IsSection(format[i], section)) ++i;
    int width = 0;
    while (i < format.size() && IsSection(format[i], section)) {
        ++width;
        ++i;
    }
    return width;
}

// The value fitted to the width with leading zeros; a longer value keeps its leftmost
// characters, or its rightmost ones when keepRight is set.
std::string Fit(std::string value, int width, bool keepRight) {
    return TLTools::StrSize(value, width, '0', TLTools::just_right,
                            keepRight ? TLTools::just_right : TLTools::just_left);
}

}  // namespace

void TKartaRab::Clear() {
    Przedrostek = 0;
    PoziomRabatu = 0;
    KodKarty.clear();
}

void TKartaRab::SprawdzFormat(const std::string& format, const TMLgExtTools* lg) {
    if (format.empty())
        Fail(lg, "TKartaRaSprawdzPExceptio",
             "TKartaRab: jak mam przetwarzać karty klienta, jeśli format nie wprowadzony?");
    if (Has(format, 'y') && Has(format, 'Y'))
        Fail(lg, "TKartaRaSprawdzPExceptio_00001",
             "TKartaRab: w formacie nie mogą występować równocześnie y i Y");
    if (Has(format, 'm') && Has(format, 'M'))
        Fail(lg, "TKartaRaSprawdzPExceptio_00002",
             "TKartaRab: w formacie nie mogą występować równocześnie m i M");
    if (Has(format, 'd') && Has(format, 'D'))
        Fail(lg, "TKartaRaSprawdzPExceptio_00003",
             "TKartaRab: w formacie nie mogą występować równocześnie d i D");
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c == 'x' && i + 1 != kCheckDigitPlace)
            Fail(lg, "TKartaRaSprawdzPExceptio_00004",
                 "TKartaRab: cyfra kontrolna EAN13 (literka 'x' w formacie karty) może być "
                 "tylko na 13 miejscu, albo wcale");
        if (kAllowed.find(c) == std::string_view::npos)
            Fail(lg, "TKartaRaSprawdzPExceptio_00005",
                 "TKartaRab: niedopuszczalne znaki w formacie karty - używaj tylko 0-9 oraz "
                 "skymdYMDrx");
    }
    if (!Has(format, 'k'))
        Fail(lg, "TKartaRaSprawdzPExceptio_00006",
             "TKartaRab: format karty musi zawierać sekcję z kodem klienta (\"kkk...\")");
}

std::string TKartaRab::UtworzKod(const std::string& format, const TMLgExtTools* lg) {
    SprawdzFormat(format, lg);

    int year = 0, month = 0, day = 0;
    TdtTools::DecodeDate(TerminWaznosci.Value(), year, month, day);
    // Lower-case date letters keep the rightmost digits (yy: 25 for 2025), upper-case the
    // leftmost (YY: 20).
    const std::string prefix = Fit(std::to_string(Przedrostek), Width(format, 's'), false);
    const std::string card = Fit(KodKarty, Width(format, 'k'), false);
    const std::string level = Fit(std::to_string(PoziomRabatu), Width(format, 'r'), false);
    const std::string yearText = Fit(std::to_string(year), Width(format, 'y'), Has(format, 'y'));
    const std::string monthText = Fit(std::to_string(month), Width(format, 'm'), Has(format, 'm'));
    const std::string dayText = Fit(std::to_string(day), Width(format, 'd'), Has(format, 'd'));

    // Walk the format: a section letter appends the whole section and the walk goes on just
    // after the code's new length, so the rest of that section's letters are skipped.
    std::string code;
    std::size_t p = 0;  // 0-based position in the format
    while (p < format.size()) {
        const std::string* section = nullptr;
        switch (format[p]) {
            case 's': section = &prefix; break;
            case 'k': section = &card; break;
            case 'r': section = &level; break;
            case 'y': case 'Y': section = &yearText; break;
            case 'm': case 'M': section = &monthText; break;
            case 'd': case 'D': section = &dayText; break;
            default: break;
        }
        if (section != nullptr) {
            code += *section;
            p = code.size();
        } else {
            if (format[p] != 'x') code += format[p];
            ++p;
        }
    }
    if (Has(format, 'x')) TLTools::KorygujCyfreKontrolnaEAN13(code);
    return code;
}
