// SkalnixAction::FormatujNazwe: the goods name for the scale record, cut to the series' width
// and with its Polish letters re-coded for the scale's character set.
#include "dibal/catalogue.h"
#include "dibal/skalnixaction.h"
#include "exportdata/ksexpbuf.h"
#include "runtime/exceptions.h"

std::string SkalnixAction::FormatujNazwe(const KSTowRec& goods) {
    std::string name;
    FormatName(goods, name);
    return name;
}

void SkalnixAction::FormatName(const KSTowRec& goods, std::string& name) {
    const std::size_t width = Settings.Series == "M" ? 14 : 24;

    // DibalPlZnaki -> row of the Polish-letter table: Windows-1250, code page 852, plain letters.
    switch (Settings.CodePage) {
    case 0: Tools.CodePageTo = 2; break;
    case 1: Tools.CodePageTo = 0; break;
    case 2: Tools.CodePageTo = 6; break;
    default:
        throw Exception(DriverText("SkalnixAFormatujExceptio",
                                   "SkalnixAction::FormatujNazwe(): Nieprawidłowa strona kodowa"));
    }

    // The conversion of Tools.plstring as a byte table: a letter of the `from` row becomes the
    // letter in the same column of the `to` row (the first column where a byte repeats); every
    // other byte, and every byte for a row outside the table, stays as it is.
    if (letterMap_.from != Tools.CodePageFrom || letterMap_.to != Tools.CodePageTo) {
        constexpr int kRows = 14, kLetters = 18;
        for (int b = 0; b < 256; ++b) letterMap_.byte[b] = static_cast<unsigned char>(b);
        const int from = Tools.CodePageFrom, to = Tools.CodePageTo;
        if (from >= 0 && from < kRows && to >= 0 && to < kRows)
            for (int k = kLetters - 1; k >= 0; --k)
                letterMap_.byte[TLTools::PolishLetters[from][k]] = TLTools::PolishLetters[to][k];
        letterMap_.from = from;
        letterMap_.to = to;
    }

    name.assign(goods.nazwa, 0, width);
    for (char& c : name) c = static_cast<char>(letterMap_.byte[static_cast<unsigned char>(c)]);
}
