// TKartaRab: one customer's discount-card data and the card format that turns it into a code.
//
// A card format holds one character per position of the code: s prefix, k card code,
// r discount level, y/Y year, m/M month, d/D day, 0-9 a fixed digit, x (13th place only) the
// EAN-13 check digit. A section is as wide as the run of its letters at its first occurrence.
#pragma once

#include "runtime/api.h"

#include <string>

#include "runtime/dttools.h"

class TMLgExtTools;

class SKALNIX_FRAMEWORK_API TKartaRab {
public:
    TKartaRab() { Clear(); }
    void Clear();  // the expiry date is kept

    // Throws Exception with the first fault of the format found.
    void SprawdzFormat(const std::string& format, const TMLgExtTools* lg);
    // The card code built from this card's data by the format (checked first).
    std::string UtworzKod(const std::string& format, const TMLgExtTools* lg);

    int Przedrostek;
    TdtTools TerminWaznosci;
    int PoziomRabatu;
    std::string KodKarty;
};
