// FormatujNazwe: the goods name cut to the series' width and re-coded for the scale.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "records_fixture.h"
#include "runtime/exceptions.h"
#include "tools/ltools.h"

namespace {

struct NameCase {
    const char* name;
    const char* series;
    int codePage;
    std::string nazwa;
    std::string expected;
};
void PrintTo(const NameCase& c, std::ostream* os) { *os << c.name; }

class Names : public RecordsTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(Names, CutAndRecoded) {
    const NameCase& c = GetParam();
    Action().Settings.Series = c.series;
    Action().Settings.CodePage = c.codePage;
    EXPECT_EQ(Action().FormatujNazwe(Goods(1, "1", c.nazwa)), c.expected);
}

const std::string kLetters = Cp("ĄĆĘŁŃÓŚŻŹąćęłńóśżź");

INSTANTIATE_TEST_SUITE_P(
    Cases, Names,
    ::testing::Values(
        NameCase{"SeriesMCutTo14", "M", 0, Cp("Ser żółty z Mazur 123"), Cp("Ser żółty z Ma")},
        NameCase{"OthersCutTo24", "A", 0, "abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrstuvwx"},
        NameCase{"H2CutTo24", "H2", 0, "abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrstuvwx"},
        NameCase{"ShortNotPadded", "L", 0, "Ser", "Ser"},
        NameCase{"EmptyName", "M", 1, "", ""},
        NameCase{"WindowsUnchanged", "A", 0, kLetters, kLetters},
        NameCase{"LatinII", "A", 1, kLetters,
                 "\xA4\x8F\xA8\x9D\xE3\xE0\x97\xBD\x8D\xA5\x86\xA9\x88\xE4\xA2\x98\xBE\xAB"},
        NameCase{"LatinIIExample", "A", 1, Cp("ąŚ"), "\xA5\x97"},
        NameCase{"Ascii", "A", 2, kLetters, "ACELNOSZZacelnoszz"},
        NameCase{"AsciiWords", "A", 2, Cp("Łosoś ze źródła, żółty"), "Losos ze zrodla, zolty"},
        // Other bytes stay, also the code-852 bytes of letters already converted.
        NameCase{"OtherBytesKept", "A", 2, "\xA4\x88 x\x01\xFF", "\xA4\x88 x\x01\xFF"},
        // The cut counts the host's characters, before the conversion.
        NameCase{"CutBeforeConversion", "M", 2, Cp("abcdefghijklmŁó"), "abcdefghijklmL"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordsTest, InvalidCodePageFailsWithItsText) {
    for (int codePage : {3, -1}) {
        Action().Settings.CodePage = codePage;
        try {
            Action().FormatujNazwe(Goods(1, "1", "Ser"));
            ADD_FAILURE() << codePage;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(),
                      Cp("SkalnixAction::FormatujNazwe(): Nieprawidłowa strona kodowa"));
        }
    }
    host.SetTranslation("skalnix_dbaction", "SkalnixAFormatujExceptio", "bad page");
    try {
        Action().FormatujNazwe(Goods(1, "1", "Ser"));
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "bad page");
    }
}

// The byte table the names are converted with against the letter conversion of the tools, for
// every byte, every code-page setting and every source row (those outside the table too).
TEST_F(RecordsTest, NamesConvertAsTheToolsConvertEveryByte) {
    std::string bytes;
    for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
    for (const char* series : {"A", "M"}) {
        for (int codePage : {0, 1, 2}) {
            for (int from = -1; from <= 14; ++from) {
                Action().Settings.Series = series;
                Action().Settings.CodePage = codePage;
                Action().Tools.CodePageFrom = from;
                const std::size_t width = std::string(series) == "M" ? 14 : 24;
                for (std::size_t at = 0; at < bytes.size(); at += 10) {
                    const std::string nazwa = bytes.substr(at) + bytes.substr(0, at);
                    const std::string got = Action().FormatujNazwe(Goods(1, "1", nazwa));
                    TLTools tools;
                    tools.CodePageFrom = from;
                    tools.CodePageTo = Action().Tools.CodePageTo;
                    std::string expected = nazwa.substr(0, width);
                    tools.plstring(expected);
                    ASSERT_EQ(got, expected) << series << " page " << codePage << " from "
                                             << from << " at " << at;
                }
            }
        }
    }
}

TEST_F(RecordsTest, CodePageRowIsKeptInTools) {
    Action().Settings.CodePage = 1;
    Action().FormatujNazwe(Goods(1, "1"));
    EXPECT_EQ(Action().Tools.CodePageTo, 0);
    EXPECT_EQ(Action().Tools.CodePageFrom, 2);
    Action().Settings.CodePage = 2;
    Action().FormatujNazwe(Goods(1, "1"));
    EXPECT_EQ(Action().Tools.CodePageTo, 6);
    Action().Settings.CodePage = 0;
    Action().FormatujNazwe(Goods(1, "1"));
    EXPECT_EQ(Action().Tools.CodePageTo, 2);
}

}  // namespace
