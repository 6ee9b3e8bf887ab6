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

    name.assign(goods.nazwa, 0, width);
    Tools.ConvertPolishLetters(name);
}
