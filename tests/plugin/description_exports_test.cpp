// The exports that describe the driver without a library object: library type, properties,
// parameter catalogue, list texts and the additional window - and the bounded copies into the
// host's buffers that all of them share.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "targodll.h"
#include "support/test_host.h"

namespace {

constexpr const char* kModule = "skalnix_dbaction";

// A host buffer of 301 bytes followed by guard bytes that the driver must never touch.
struct GuardedBuffer {
    static constexpr int kGuard = 19;
    char bytes[TARGODLL_BUFSIZE + kGuard];
    GuardedBuffer() { std::memset(bytes, 'Z', sizeof bytes); }
    char* get() { return bytes; }
    std::string text() const { return std::string(bytes, ::strnlen(bytes, TARGODLL_BUFSIZE)); }
    // Index 300 zero, zeros after the text up to it, guard bytes untouched.
    void ExpectWellFormed() const {
        const std::size_t n = ::strnlen(bytes, TARGODLL_BUFSIZE);
        ASSERT_LE(n, 300u);
        for (std::size_t i = n; i < TARGODLL_BUFSIZE; ++i) EXPECT_EQ(bytes[i], 0) << "index " << i;
        for (std::size_t i = TARGODLL_BUFSIZE; i < sizeof bytes; ++i)
            EXPECT_EQ(bytes[i], 'Z') << "guard byte " << i;
    }
};

std::string Property(int index) {
    GuardedBuffer buf;
    TargoDLLWlasciwosci(buf.get(), index);
    buf.ExpectWellFormed();
    return buf.text();
}

TEST(DescriptionExports, LibraryTypeIsTwo) { EXPECT_EQ(TargoDLLTypBiblioteki(), 2); }

TEST(DescriptionExports, DriverProperties) {
    const struct {
        int index;
        std::string text;
    } cases[] = {
        {1, "Dibal"},
        {2, "Skalnix"},
        {3, "Sterownik: DibalCom 1.25I\r\nTestowano na: Dibal L-865, Dibal K-265, Dibal 500 Series"},
        {105, "1"},
        {0, ""},
        {4, ""},
        {-1, ""},
        {104, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Property(c.index), c.text) << "index " << c.index;
}

TEST(DescriptionExports, PropertyThreeJoinsTwoTranslatedTextsTrimmed) {
    TestHost host;
    host.SetTranslation(kModule, "TKSLibraWlasciworeturn_00002", " \tAb\r\n");
    host.SetTranslation(kModule, "TKSLibraWlasciworeturn_00003", "Cd \r\n");
    EXPECT_EQ(Property(3), "Ab\r\nCd");
}

TEST(DescriptionExports, TextsOver300CharactersAreCut) {
    TestHost host;
    const std::string longText(400, 'x');
    host.SetTranslation(kModule, "TKSLibraWlasciworeturn_00002", longText);
    EXPECT_EQ(Property(3), std::string(300, 'x'));

    host.SetTranslation(kModule, "TKSLibraParametrAOpis_00003", longText);
    GuardedBuffer name, description, value, extra1, extra2;
    EXPECT_EQ(TargoDLLParametr(101, 3, name.get(), description.get(), value.get(), extra1.get(),
                               extra2.get(), nullptr),
              4);
    description.ExpectWellFormed();
    EXPECT_EQ(description.text(), std::string(300, 'x'));

    host.SetTranslation(kModule, "TKSLibraOpisOknareturn", longText);
    GuardedBuffer window;
    EXPECT_EQ(TargoDLLSerKasOpisOkna(window.get(), 0), 1);
    window.ExpectWellFormed();
    EXPECT_EQ(window.text(), std::string(300, 'x'));
}

TEST(DescriptionExports, AdditionalWindowName) {
    GuardedBuffer first, second;
    EXPECT_EQ(TargoDLLSerKasOpisOkna(first.get(), 0), 1);
    first.ExpectWellFormed();
    EXPECT_EQ(first.text(), Cp("Zapisz konfigurację DibalCom"));
    EXPECT_EQ(TargoDLLSerKasOpisOkna(second.get(), 1), 0);
    second.ExpectWellFormed();
    EXPECT_EQ(second.text(), "");

    TestHost host;
    host.SetTranslation(kModule, "TKSLibraOpisOknareturn", "  \r\n");
    GuardedBuffer blank;
    EXPECT_EQ(TargoDLLSerKasOpisOkna(blank.get(), 0), 0) << "a blank name is no window";
    EXPECT_EQ(blank.text(), "");
}

// ---- The parameter catalogue ----

struct ParamRow {
    int group, index, type;
    const char* name;
    const char* defaultValue;
    const char* key;  // null: the description is not translated
    const char* description;
};

const ParamRow kCatalogue[] = {
    {101, 0, 1, "DibalPodgrupaPLU", "", "TKSLibraParametrAOpis", "Skojarzona podgrupa PLU"},
    {101, 1, 7, "DibalSeria", "A", "TKSLibraParametrAOpis_00001", "Seria"},
    {101, 2, 2, "DibalAdres", "00", "TKSLibraParametrAOpis_00002", "Adres (numer) wagi"},
    {101, 3, 4, "DibalGrupa", "0", "TKSLibraParametrAOpis_00003", "Grupa"},
    {101, 4, 7, "DibalPort", "0", "TKSLibraParametrAOpis_00004", "Złącze"},
    {101, 5, 7, "DibalBaudRate", "0", "TKSLibraParametrAOpis_00005", "(RS-232) Prędkość transmisji"},
    {101, 6, 7, "DibalDataBits", "1", "TKSLibraParametrAOpis_00006", "(RS-232) Ilość bitów danych"},
    {101, 7, 7, "DibalMuxChannel", "0", "TKSLibraParametrAOpis_00007",
     "(RS-232) Kanał multipleksera Elzab MUX 8xRS232"},
    {101, 8, 1, "DibalIPAddress", "192.168.0.12", "TKSLibraParametrAOpis_00008",
     "(TCP/IP, UDP) Adres IP"},
    {101, 9, 4, "Pojemnosc", "20479", "TKSLibraParametrAOpis_00009", "Pojemność wagi"},
    {101, 10, 7, "PoziomCen", "0", "TKSLibraParametrAOpis_00010", "Poziom cen"},
    {101, 11, 7, "DibalPluExact", "1", "TKSLibraParametrAOpis_00011",
     "Wysyłaj tylko ze skojarzonej podgrupy"},
    {101, 12, 7, "DibalPluSendGroup", "1", "TKSLibraParametrAOpis_00018",
     "Wysyłać numer skojarzonej podgrupy do PLU (GSSS..)"},
    {101, 13, 7, "DibalAddTextsFrom", "0", "TKSLibraParametrAOpis_00012",
     "Opisy wysyłaj z pola karty towaru (tylko Dibal-L i \"500 Series\")"},
    {101, 14, 7, "DibalSendAddData", "1", "TKSLibraParametrAOpis_00019",
     "Wysyłaj nr klawisza, etykiety, rysunku, numer sekcji z pola Opis2"},
    {101, 15, 7, "DibalSendExpDate", "1", "TKSLibraParametrAOpis_00020",
     "Wysyłaj datę ważności"},
    {101, 16, 7, "DibalExitApp", "0", "TKSLibraParametrAOpis_00021",
     "Zamknij program Dibalcom po wykonaniu eksportu"},
    {101, 17, 7, "DibalUserConfigTxt", "0", "TKSLibraParametrAOpis_00022",
     "Obsługa pliku dibctrl.txt"},
    {102, 0, 6, "DibalKatalogDrv", "C:\\Program Files\\Dibalcom", "TKSLibraParametrAOpis_00013",
     "DIBAL - Katalog sterownika \"Dibalcom\""},
    {102, 1, 7, "DibalKodyKD", "1", "TKSLibraParametrAOpis_00014", "DIBAL - Jako kody ważone"},
    {102, 2, 4, "DibalKodPocz", "0", "TKSLibraParametrAOpis_00015",
     "DIBAL - Kod początkowy zakresu kodów krótkich"},
    {102, 3, 4, "DibalKodKonc", "0", "TKSLibraParametrAOpis_00016",
     "DIBAL - Kod końcowy zakresu kodów krótkich"},
    {102, 4, 7, "DibalPlZnaki", "0", "TKSLibraParametrAOpis_00017",
     "DIBAL - Strona kodowa polskich znaków"},
};

struct Definition {
    int type = -1;
    std::string name, description, defaultValue, extra1, extra2;
    int extraInt = -1;
};

Definition Parametr(int group, int index) {
    GuardedBuffer name, description, value, extra1, extra2;
    Definition d;
    d.type = TargoDLLParametr(group, index, name.get(), description.get(), value.get(),
                              extra1.get(), extra2.get(), &d.extraInt);
    for (const GuardedBuffer* b : {&name, &description, &value, &extra1, &extra2})
        b->ExpectWellFormed();
    d.name = name.text();
    d.description = description.text();
    d.defaultValue = value.text();
    d.extra1 = extra1.text();
    d.extra2 = extra2.text();
    return d;
}

// Every parameter once with its Polish text and once through the host's translation, which
// proves its key; untranslated descriptions keep their text.
TEST(ParameterCatalogue, EveryDefinitionWithDefaultAndTranslatedDescription) {
    for (bool translated : {false, true}) {
        TestHost host;
        if (translated)
            for (const ParamRow& row : kCatalogue)
                if (row.key != nullptr) host.SetTranslation(kModule, row.key, std::string("T:") + row.key);
        for (const ParamRow& row : kCatalogue) {
            SCOPED_TRACE(std::string(row.name) + (translated ? " translated" : ""));
            const Definition d = Parametr(row.group, row.index);
            EXPECT_EQ(d.type, row.type);
            EXPECT_EQ(d.name, row.name);
            EXPECT_EQ(d.defaultValue, row.defaultValue);
            EXPECT_EQ(d.description, translated && row.key != nullptr
                                         ? std::string("T:") + row.key
                                         : Cp(row.description));
            EXPECT_EQ(d.extra1, std::string(row.name) == "DibalGrupa" ? "0" : "");
            EXPECT_EQ(d.extra2, "");
            EXPECT_EQ(d.extraInt, 0);
        }
    }
}

TEST(ParameterCatalogue, NoParameterOutsideTheTwoGroups) {
    const std::pair<int, int> none[] = {{101, 18}, {102, 5}, {101, -1}, {103, 0},
                                        {104, 0},  {105, 0}, {100, 0},  {0, 0}};
    for (const auto& [group, index] : none) {
        const Definition d = Parametr(group, index);
        EXPECT_EQ(d.type, 0) << group << "/" << index;
        EXPECT_EQ(d.name + d.description + d.defaultValue + d.extra1 + d.extra2, "");
        EXPECT_EQ(d.extraInt, 0);
    }
}

TEST(ParameterCatalogue, DescriptionIsCopiedUntrimmedAndNullOutputsAreSkipped) {
    TestHost host;
    host.SetTranslation(kModule, "TKSLibraParametrAOpis_00003", "  Grupa wagi ");
    EXPECT_EQ(Parametr(101, 3).description, "  Grupa wagi ");
    EXPECT_EQ(TargoDLLParametr(101, 3, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 4);
}

// ---- List texts ----

struct ListRow {
    const char* parameter;
    std::vector<std::pair<const char*, const char*>> items;  // (key or null, text)
};

const ListRow kLists[] = {
    {"DibalSeria",
     {{nullptr, "A"}, {nullptr, "K"}, {nullptr, "M"}, {nullptr, "L"},
      {nullptr, "H (500 Series / Record L)"}, {nullptr, "H (500 Series / Record H )"}}},
    {"DibalAdres",
     {{nullptr, "00"}, {nullptr, "02"}, {nullptr, "04"}, {nullptr, "06"}, {nullptr, "08"},
      {nullptr, "10"}, {nullptr, "12"}, {nullptr, "14"}, {nullptr, "16"}, {nullptr, "18"},
      {nullptr, "20"}, {nullptr, "22"}, {nullptr, "24"}, {nullptr, "26"}, {nullptr, "28"},
      {nullptr, "30"}}},
    {"DibalPort",
     {{"TKSLibraTekstLisreturn", "PLIK"}, {nullptr, "COM1"}, {nullptr, "COM2"},
      {nullptr, "COM3"}, {nullptr, "COM4"}, {nullptr, "COM5"}, {nullptr, "COM6"},
      {nullptr, "COM7"}, {nullptr, "COM8"}, {nullptr, "UDP"}, {nullptr, "TCP/IP"}}},
    {"DibalBaudRate",
     {{nullptr, "300"}, {nullptr, "600"}, {nullptr, "1200"}, {nullptr, "2400"},
      {nullptr, "4800"}, {nullptr, "9600"}, {nullptr, "19200"}, {nullptr, "38400"}}},
    {"DibalDataBits",
     {{"TKSLibraTekstLisreturn_00001", "7 bitów"}, {"TKSLibraTekstLisreturn_00002", "8 bitów"}}},
    {"PoziomCen",
     {{"TKSLibraTekstLisreturn_00003", "Detaliczna"}, {"TKSLibraTekstLisreturn_00004", "Hurtowa"},
      {"TKSLibraTekstLisreturn_00005", "Nocna"}, {"TKSLibraTekstLisreturn_00006", "Dodatkowa"}}},
    {"DibalKodyKD",
     {{"TKSLibraTekstLisreturn_00007", "Krótkie z zadanego zakresu(np 123)"},
      {"TKSLibraTekstLisreturn_00008", "Długie z prefixem 21 (np.210123\?\?\?\?\?\?\?)"},
      {"TKSLibraTekstLisreturn_00009", "Długie z prefixem 22 (np.220123\?\?\?\?\?\?\?)"},
      {"TKSLibraTekstLisreturn_00010", "Długie z prefixem 23 (np.230123\?\?\?\?\?\?\?)"},
      {"TKSLibraTekstLisreturn_00011", "Długie z prefixem 24 (np.240123\?\?\?\?\?\?\?)"},
      {"TKSLibraTekstLisreturn_00012", "Długie z prefixem 25 (np.250123\?\?\?\?\?\?\?)"},
      {"TKSLibraTekstLisreturn_00013", "Długie z prefixem 26 (np.260123\?\?\?\?\?\?\?)"},
      {"TKSLibraTekstLisreturn_00014", "Długie z prefixem 27 (np.270123\?\?\?\?\?\?\?)"},
      {"TKSLibraTekstLisreturn_00015", "Długie z prefixem 28 (np.280123\?\?\?\?\?\?\?)"},
      {"TKSLibraTekstLisreturn_00016", "Długie z prefixem 29 (np.290123\?\?\?\?\?\?\?)"},
      {"TKSLibraTekstLisreturn_00017", "Długie w zależności od podgrupy"}}},
    {"DibalPluExact", {{"TKSLibraTekstLisreturn_00018", "Nie"}, {"TKSLibraTekstLisreturn_00019", "Tak"}}},
    {"DibalPluSendGroup",
     {{"TKSLibraTekstLisreturn_00018", "Nie"}, {"TKSLibraTekstLisreturn_00019", "Tak"}}},
    {"DibalSendExpDate",
     {{"TKSLibraTekstLisreturn_00018", "Nie"}, {"TKSLibraTekstLisreturn_00019", "Tak"}}},
    {"DibalExitApp", {{"TKSLibraTekstLisreturn_00018", "Nie"}, {"TKSLibraTekstLisreturn_00019", "Tak"}}},
    {"DibalSendAddData",
     {{"TKSLibraTekstLisreturn_00025", "Nie (domyślne wartości 0)"}, {"TKSLibraTekstLisreturn_00019", "Tak"}}},
    {"DibalPlZnaki", {{nullptr, "Windows"}, {nullptr, "Latin II"}, {nullptr, "ASCII"}}},
    {"DibalAddTextsFrom",
     {{"TKSLibraTekstLisreturn_00020", "(nie wysyłaj opisów)"},
      {"TKSLibraTekstLisreturn_00021", "Opis 1"}, {"TKSLibraTekstLisreturn_00022", "Opis 3"},
      {"TKSLibraTekstLisreturn_00023", "Opis 4"},
      {"TKSLibraTekstLisreturn_00026", "Łączony (Opis 1, Opis 3, Opis 4)"}}},
    {"DibalMuxChannel",
     {{"TKSLibraTekstLisreturn_00024", "Brak multipleksera"}, {nullptr, "CH1"}, {nullptr, "CH2"},
      {nullptr, "CH3"}, {nullptr, "CH4"}, {nullptr, "CH5"}, {nullptr, "CH6"}, {nullptr, "CH7"},
      {nullptr, "CH8"}}},
    {"DibalUserConfigTxt",
     {{"TKSLibraTekstLisreturn_00027", "utwórz na podst. konfiguracji"},
      {"TKSLibraTekstLisreturn_00028", "wykorzystaj istniejący w katalogu sterownika"}}},
    // Parameters without a list.
    {"DibalPodgrupaPLU", {}},
    {"DibalGrupa", {}},
    {"DibalIPAddress", {}},
    {"Pojemnosc", {}},
    {"DibalKatalogDrv", {}},
    {"DibalKodPocz", {}},
    {"DibalKodKonc", {}},
};

int ListText(const char* parameter, int index, std::string& text) {
    GuardedBuffer buf;
    const int result = TargoDLLTekstListyParametru(parameter, index, buf.get());
    buf.ExpectWellFormed();
    text = buf.text();
    return result;
}

// Every list in full, its end, and every key through a translation.
TEST(ParameterLists, EveryListTextWithDefaultAndTranslation) {
    for (bool translated : {false, true}) {
        TestHost host;
        if (translated)
            for (const ListRow& row : kLists)
                for (const auto& [key, text] : row.items)
                    if (key != nullptr) host.SetTranslation(kModule, key, std::string("T:") + key);
        for (const ListRow& row : kLists) {
            for (std::size_t i = 0; i <= row.items.size(); ++i) {
                SCOPED_TRACE(std::string(row.parameter) + " " + std::to_string(i) +
                             (translated ? " translated" : ""));
                std::string text;
                const int result = ListText(row.parameter, static_cast<int>(i), text);
                if (i == row.items.size()) {
                    EXPECT_EQ(result, 0);
                    EXPECT_EQ(text, "");
                    continue;
                }
                const auto& [key, polish] = row.items[i];
                EXPECT_EQ(result, 1);
                EXPECT_EQ(text, translated && key != nullptr ? std::string("T:") + key : Cp(polish));
            }
        }
    }
}

TEST(ParameterLists, NameIsTrimmedAndCaseInsensitive) {
    const struct {
        const char* name;
        int index;
        int result;
        const char* text;
    } cases[] = {
        {"  dibalport \t", 10, 1, "TCP/IP"},
        {"  dibalport \t", 11, 0, ""},
        {"DIBALADRES", 15, 1, "30"},
        {"DibalAdres", 16, 0, ""},
        {"DibalAdres", -1, 0, ""},
        {"", 0, 0, ""},
        {"   ", 0, 0, ""},
        {"Dibal", 0, 0, ""},
        {"DibalPortX", 0, 0, ""},
        {nullptr, 0, 0, ""},
    };
    for (const auto& c : cases) {
        std::string text;
        EXPECT_EQ(ListText(c.name, c.index, text), c.result) << (c.name ? c.name : "null");
        EXPECT_EQ(text, c.text) << (c.name ? c.name : "null");
    }
}

TEST(ParameterLists, TranslatedTextIsTrimmedAndBlankCountsAsNone) {
    TestHost host;
    host.SetTranslation(kModule, "TKSLibraTekstLisreturn", "  Plik \r\n");
    host.SetTranslation(kModule, "TKSLibraTekstLisreturn_00018", " \t ");
    std::string text;
    EXPECT_EQ(ListText("DibalPort", 0, text), 1);
    EXPECT_EQ(text, "Plik");
    EXPECT_EQ(ListText("DibalExitApp", 0, text), 0);
    EXPECT_EQ(text, "");
    EXPECT_EQ(TargoDLLTekstListyParametru("DibalPort", 1, nullptr), 1) << "null buffer skipped";
}

}  // namespace
