// Discount-card formats: the checks, the sections and the code walk.
#include <gtest/gtest.h>

#include <random>

#include "import_fixture.h"
#include "exportdata/kartarab.h"
#include "runtime/exceptions.h"

namespace {

TKartaRab Card(const std::string& code, int level, int year, int month, int day) {
    TKartaRab card;
    card.KodKarty = code;
    card.PoziomRabatu = level;
    card.TerminWaznosci = TdtTools(TdtTools::EncodeDate(year, month, day));
    return card;
}

TEST(CardFormatTest, RefusalsInTheirOrderWithTheirTexts) {
    struct Case {
        const char* format;
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {"", "TKartaRaSprawdzPExceptio",
         "TKartaRab: jak mam przetwarzać karty klienta, jeśli format nie wprowadzony?"},
        {"kkYy", "TKartaRaSprawdzPExceptio_00001",
         "TKartaRab: w formacie nie mogą występować równocześnie y i Y"},
        {"kkmM-dD", "TKartaRaSprawdzPExceptio_00002",
         "TKartaRab: w formacie nie mogą występować równocześnie m i M"},
        {"kkdD?x", "TKartaRaSprawdzPExceptio_00003",
         "TKartaRab: w formacie nie mogą występować równocześnie d i D"},
        {"kk0x", "TKartaRaSprawdzPExceptio_00004",
         "TKartaRab: cyfra kontrolna EAN13 (literka 'x' w formacie karty) może być tylko na 13 "
         "miejscu, albo wcale"},
        {"kk-mm", "TKartaRaSprawdzPExceptio_00005",
         "TKartaRab: niedopuszczalne znaki w formacie karty - używaj tylko 0-9 oraz skymdYMDrx"},
        {"kkkkkkkkkkkkxx", "TKartaRaSprawdzPExceptio_00004", nullptr},  // second x at 14
        {"kK", "TKartaRaSprawdzPExceptio_00005", nullptr},
        {"k-x", "TKartaRaSprawdzPExceptio_00005", nullptr},  // the first fault from the left
        {"x-k", "TKartaRaSprawdzPExceptio_00004", nullptr},
        {"yymmdd", "TKartaRaSprawdzPExceptio_00006",
         "TKartaRab: format karty musi zawierać sekcję z kodem klienta (\"kkk...\")"},
        {"ssss000000rrx", "TKartaRaSprawdzPExceptio_00006", nullptr},
    };
    TMLgExtTools echo(KeyEchoLanguage);
    for (const Case& c : cases) {
        TKartaRab card;
        EXPECT_EQ(MessageOf([&] { card.SprawdzFormat(c.format, &echo); }),
                  std::string("kstools_KartaRab/") + c.key)
            << c.format;
        EXPECT_EQ(MessageOf([&] { card.UtworzKod(c.format, &echo); }),
                  std::string("kstools_KartaRab/") + c.key)
            << c.format;
        if (c.text != nullptr) {
            EXPECT_EQ(MessageOf([&] { card.SprawdzFormat(c.format, nullptr); }), Cp(c.text))
                << c.format;
        }
    }
}

TEST(CardFormatTest, CodesFromFormats) {
    struct Case {
        const char* format;
        TKartaRab card;
        const char* code;
    };
    const Case cases[] = {
        {"2kkkkkkyymmrx", Card("1234", 5, 2025, 3, 7), "2001234250351"},
        {"kkkkYYYY", Card("1", 0, 2025, 3, 7), "00012025"},
        {"kkkkYY", Card("1", 0, 2025, 3, 7), "000120"},
        {"kkkkyy", Card("1", 0, 2025, 3, 7), "000125"},
        {"kkkk", Card("1234567", 0, 2025, 3, 7), "1234"},           // leftmost kept
        {"kkMMDD", Card("7", 0, 2025, 11, 9), "071109"},
        {"kkm", Card("7", 0, 2025, 12, 9), "072"},                  // rightmost month digit
        {"kkM", Card("7", 0, 2025, 12, 9), "071"},                  // leftmost month digit
        {"kkd", Card("7", 0, 2025, 11, 29), "079"},
        {"kkD", Card("7", 0, 2025, 11, 29), "072"},
        {"sskkrr", Card("AB", 7, 2025, 1, 1), "00AB07"},           // letters stay in a code
        {"rkkk", Card("5", 123, 2025, 1, 1), "1005"},              // level keeps its leftmost
        {"99kkk00", Card("12", 0, 2025, 1, 1), "9901200"},
        {"kkkkkkkkkkkkx", Card("590123412345", 0, 2025, 1, 1), "5901234123457"},
        {"kkkkkkkkkkkkx", Card("A1B2", 0, 2025, 1, 1), "0000000012003"},  // letters dropped
        {"kk1kk", Card("ab", 0, 2025, 1, 1), "ab1ab"},            // every run takes the section
    };
    for (const Case& c : cases) {
        TKartaRab card = c.card;
        EXPECT_EQ(card.UtworzKod(c.format, nullptr), c.code) << c.format;
    }
}

TEST(CardFormatTest, WithoutCheckDigitTheCodeHasTheFormatsLength) {
    const char* formats[] = {"k", "skrYYYYMMDD", "yyyymmddkkkkk", "kkkkkkkkkkkkkkkkkkkkkkkkk"};
    for (const char* format : formats) {
        TKartaRab card = Card("X12345678901234567890123456789", 12, 2031, 12, 31);
        EXPECT_EQ(card.UtworzKod(format, nullptr).size(), std::string(format).size()) << format;
    }
}

TEST(CardFormatTest, ClearKeepsTheExpiryDate) {
    TKartaRab card = Card("9", 4, 2025, 3, 7);
    card.Przedrostek = 3;
    card.Clear();
    EXPECT_EQ(card.Przedrostek, 0);
    EXPECT_EQ(card.PoziomRabatu, 0);
    EXPECT_EQ(card.KodKarty, "");
    EXPECT_EQ(card.TerminWaznosci.Value(), TdtTools::EncodeDate(2025, 3, 7));
}

// Any format is either refused with the runtime's exception or gives a code; a code with a
// check digit is always 13 digits.
TEST(CardFormatTest, AnyFormatIsRefusedOrGivesACode) {
    const std::string alphabet = "0123456789skymdYMDrx-Kz ";
    std::mt19937 random(20250307);
    int made = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string format;
        const int length = static_cast<int>(random() % 20);
        for (int i = 0; i < length; ++i) format += alphabet[random() % alphabet.size()];
        TKartaRab card = Card(std::string(random() % 20, '8'), static_cast<int>(random() % 1000),
                              2000 + static_cast<int>(random() % 100), 1 + random() % 12,
                              1 + random() % 28);
        card.Przedrostek = static_cast<int>(random() % 100) - 50;
        try {
            const std::string code = card.UtworzKod(format, nullptr);
            ++made;
            if (format.find('x') != std::string::npos) {
                EXPECT_EQ(code.size(), 13u) << format;
                EXPECT_EQ(code.find_first_not_of("0123456789"), std::string::npos) << format;
            }
            EXPECT_LE(code.size(), 2 * format.size()) << format;
        } catch (const Exception&) {
        }
    }
    EXPECT_GT(made, 0);
}

}  // namespace
