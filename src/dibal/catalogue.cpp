// The scale driver's description: driver properties, the configuration parameters with their
// list texts, and the name of the additional function. All of it is fixed data.
#include "dibal/catalogue.h"

#include <cctype>
#include <iterator>
#include <span>

#include "plugin/kslibrary.h"
#include "runtime/lgtools.h"
#include "runtime/xtools.h"

namespace {

constexpr const char* kModule = "skalnix_dbaction";

// Description key null: the text is fixed, not translated.
struct ParamDef {
    const char* name;
    int type;
    const char* defaultValue;
    const char* key;
    const char* description;
};

constexpr ParamDef kGroup101[] = {
    {"DibalPodgrupaPLU", 1, "", "TKSLibraParametrAOpis", "Skojarzona podgrupa PLU"},
    {"DibalSeria", 7, "A", "TKSLibraParametrAOpis_00001", "Seria"},
    {"DibalAdres", 2, "00", "TKSLibraParametrAOpis_00002", "Adres (numer) wagi"},
    {"DibalGrupa", 4, "0", "TKSLibraParametrAOpis_00003", "Grupa"},
    {"DibalPort", 7, "0", "TKSLibraParametrAOpis_00004", "Złącze"},
    {"DibalBaudRate", 7, "0", "TKSLibraParametrAOpis_00005", "(RS-232) Prędkość transmisji"},
    {"DibalDataBits", 7, "1", "TKSLibraParametrAOpis_00006", "(RS-232) Ilość bitów danych"},
    {"DibalMuxChannel", 7, "0", "TKSLibraParametrAOpis_00007",
     "(RS-232) Kanał multipleksera Elzab MUX 8xRS232"},
    {"DibalIPAddress", 1, "192.168.0.12", "TKSLibraParametrAOpis_00008", "(TCP/IP, UDP) Adres IP"},
    {"Pojemnosc", 4, "20479", "TKSLibraParametrAOpis_00009", "Pojemność wagi"},
    {"PoziomCen", 7, "0", "TKSLibraParametrAOpis_00010", "Poziom cen"},
    {"DibalPluExact", 7, "1", "TKSLibraParametrAOpis_00011", "Wysyłaj tylko ze skojarzonej podgrupy"},
    {"DibalPluSendGroup", 7, "1", "TKSLibraParametrAOpis_00018",
     "Wysyłać numer skojarzonej podgrupy do PLU (GSSS..)"},
    {"DibalAddTextsFrom", 7, "0", "TKSLibraParametrAOpis_00012",
     "Opisy wysyłaj z pola karty towaru (tylko Dibal-L i \"500 Series\")"},
    {"DibalSendAddData", 7, "1", "TKSLibraParametrAOpis_00019",
     "Wysyłaj nr klawisza, etykiety, rysunku, numer sekcji z pola Opis2"},
    {"DibalSendExpDate", 7, "1", "TKSLibraParametrAOpis_00020", "Wysyłaj datę ważności"},
    {"DibalExitApp", 7, "0", "TKSLibraParametrAOpis_00021",
     "Zamknij program Dibalcom po wykonaniu eksportu"},
    {"DibalUserConfigTxt", 7, "0", "TKSLibraParametrAOpis_00022", "Obsługa pliku dibctrl.txt"},
};

constexpr ParamDef kGroup102[] = {
    {"DibalKatalogDrv", 6, "C:\\Program Files\\Dibalcom", "TKSLibraParametrAOpis_00013",
     "DIBAL - Katalog sterownika \"Dibalcom\""},
    {"DibalKodyKD", 7, "1", "TKSLibraParametrAOpis_00014", "DIBAL - Jako kody ważone"},
    {"DibalKodPocz", 4, "0", "TKSLibraParametrAOpis_00015",
     "DIBAL - Kod początkowy zakresu kodów krótkich"},
    {"DibalKodKonc", 4, "0", "TKSLibraParametrAOpis_00016",
     "DIBAL - Kod końcowy zakresu kodów krótkich"},
    {"DibalPlZnaki", 7, "0", "TKSLibraParametrAOpis_00017", "DIBAL - Strona kodowa polskich znaków"},
};

// Key null: a fixed text.
struct ListItem {
    const char* key;
    const char* text;
};

constexpr ListItem kSeria[] = {{nullptr, "A"},
                               {nullptr, "K"},
                               {nullptr, "M"},
                               {nullptr, "L"},
                               {nullptr, "H (500 Series / Record L)"},
                               {nullptr, "H (500 Series / Record H )"}};
constexpr ListItem kAdres[] = {{nullptr, "00"}, {nullptr, "02"}, {nullptr, "04"}, {nullptr, "06"},
                               {nullptr, "08"}, {nullptr, "10"}, {nullptr, "12"}, {nullptr, "14"},
                               {nullptr, "16"}, {nullptr, "18"}, {nullptr, "20"}, {nullptr, "22"},
                               {nullptr, "24"}, {nullptr, "26"}, {nullptr, "28"}, {nullptr, "30"}};
constexpr ListItem kPort[] = {{"TKSLibraTekstLisreturn", "PLIK"},
                              {nullptr, "COM1"},
                              {nullptr, "COM2"},
                              {nullptr, "COM3"},
                              {nullptr, "COM4"},
                              {nullptr, "COM5"},
                              {nullptr, "COM6"},
                              {nullptr, "COM7"},
                              {nullptr, "COM8"},
                              {nullptr, "UDP"},
                              {nullptr, "TCP/IP"}};
constexpr ListItem kBaudRate[] = {{nullptr, "300"},  {nullptr, "600"},   {nullptr, "1200"},
                                  {nullptr, "2400"}, {nullptr, "4800"},  {nullptr, "9600"},
                                  {nullptr, "19200"}, {nullptr, "38400"}};
constexpr ListItem kDataBits[] = {{"TKSLibraTekstLisreturn_00001", "7 bitów"},
                                  {"TKSLibraTekstLisreturn_00002", "8 bitów"}};
constexpr ListItem kPoziomCen[] = {{"TKSLibraTekstLisreturn_00003", "Detaliczna"},
                                   {"TKSLibraTekstLisreturn_00004", "Hurtowa"},
                                   {"TKSLibraTekstLisreturn_00005", "Nocna"},
                                   {"TKSLibraTekstLisreturn_00006", "Dodatkowa"}};
constexpr ListItem kKodyKD[] = {
    {"TKSLibraTekstLisreturn_00007", "Krótkie z zadanego zakresu(np 123)"},
    {"TKSLibraTekstLisreturn_00008", "Długie z prefixem 21 (np.210123\?\?\?\?\?\?\?)"},
    {"TKSLibraTekstLisreturn_00009", "Długie z prefixem 22 (np.220123\?\?\?\?\?\?\?)"},
    {"TKSLibraTekstLisreturn_00010", "Długie z prefixem 23 (np.230123\?\?\?\?\?\?\?)"},
    {"TKSLibraTekstLisreturn_00011", "Długie z prefixem 24 (np.240123\?\?\?\?\?\?\?)"},
    {"TKSLibraTekstLisreturn_00012", "Długie z prefixem 25 (np.250123\?\?\?\?\?\?\?)"},
    {"TKSLibraTekstLisreturn_00013", "Długie z prefixem 26 (np.260123\?\?\?\?\?\?\?)"},
    {"TKSLibraTekstLisreturn_00014", "Długie z prefixem 27 (np.270123\?\?\?\?\?\?\?)"},
    {"TKSLibraTekstLisreturn_00015", "Długie z prefixem 28 (np.280123\?\?\?\?\?\?\?)"},
    {"TKSLibraTekstLisreturn_00016", "Długie z prefixem 29 (np.290123\?\?\?\?\?\?\?)"},
    {"TKSLibraTekstLisreturn_00017", "Długie w zależności od podgrupy"}};
constexpr ListItem kNieTak[] = {{"TKSLibraTekstLisreturn_00018", "Nie"},
                                {"TKSLibraTekstLisreturn_00019", "Tak"}};
constexpr ListItem kSendAddData[] = {
    {"TKSLibraTekstLisreturn_00025", "Nie (domyślne wartości 0)"},
    {"TKSLibraTekstLisreturn_00019", "Tak"}};
constexpr ListItem kPlZnaki[] = {{nullptr, "Windows"}, {nullptr, "Latin II"}, {nullptr, "ASCII"}};
constexpr ListItem kAddTextsFrom[] = {{"TKSLibraTekstLisreturn_00020", "(nie wysyłaj opisów)"},
                                      {"TKSLibraTekstLisreturn_00021", "Opis 1"},
                                      {"TKSLibraTekstLisreturn_00022", "Opis 3"},
                                      {"TKSLibraTekstLisreturn_00023", "Opis 4"},
                                      {"TKSLibraTekstLisreturn_00026",
                                       "Łączony (Opis 1, Opis 3, Opis 4)"}};
constexpr ListItem kMuxChannel[] = {{"TKSLibraTekstLisreturn_00024", "Brak multipleksera"},
                                    {nullptr, "CH1"},
                                    {nullptr, "CH2"},
                                    {nullptr, "CH3"},
                                    {nullptr, "CH4"},
                                    {nullptr, "CH5"},
                                    {nullptr, "CH6"},
                                    {nullptr, "CH7"},
                                    {nullptr, "CH8"}};
constexpr ListItem kUserConfigTxt[] = {
    {"TKSLibraTekstLisreturn_00027", "utwórz na podst. konfiguracji"},
    {"TKSLibraTekstLisreturn_00028", "wykorzystaj istniejący w katalogu sterownika"}};

struct ParamList {
    const char* name;
    std::span<const ListItem> items;
};

constexpr ParamList kLists[] = {
    {"DibalSeria", kSeria},           {"DibalAdres", kAdres},
    {"DibalPort", kPort},             {"DibalBaudRate", kBaudRate},
    {"DibalDataBits", kDataBits},     {"PoziomCen", kPoziomCen},
    {"DibalKodyKD", kKodyKD},         {"DibalPluExact", kNieTak},
    {"DibalPluSendGroup", kNieTak},   {"DibalSendExpDate", kNieTak},
    {"DibalExitApp", kNieTak},        {"DibalSendAddData", kSendAddData},
    {"DibalPlZnaki", kPlZnaki},       {"DibalAddTextsFrom", kAddTextsFrom},
    {"DibalMuxChannel", kMuxChannel}, {"DibalUserConfigTxt", kUserConfigTxt},
};

std::string Localised(const char* key, const char* text) {
    return key != nullptr ? DriverText(key, text) : FixedText(text);
}

bool SameNameIgnoringCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && b[i] == '\0';
}

}  // namespace

const TMLgExtTools* DriverLgTools() {
    const TKSLibrary* library = TKSLibrary::Current();
    return library != nullptr ? library->LgTools() : nullptr;
}

std::string DriverText(const char* key, const char* defaultUtf8) {
    return GetString(DriverLgTools(), kModule, key, 0, defaultUtf8);
}

ParameterInfo ParameterDefinition(int group, int index) {
    std::span<const ParamDef> table;
    if (group == 101) table = kGroup101;
    if (group == 102) table = kGroup102;
    ParameterInfo info;
    if (index < 0 || static_cast<std::size_t>(index) >= table.size()) return info;
    const ParamDef& def = table[static_cast<std::size_t>(index)];
    info.type = def.type;
    info.name = def.name;
    info.description = Localised(def.key, def.description);
    info.defaultValue = def.defaultValue;
    if (info.name == "DibalGrupa") info.extra1 = "0";
    return info;
}

std::string ParameterListText(const std::string& parameterName, int index) {
    const std::string name = Trim(parameterName);
    if (name.empty() || index < 0) return std::string();
    for (const ParamList& list : kLists) {
        if (!SameNameIgnoringCase(name, list.name)) continue;
        if (static_cast<std::size_t>(index) >= list.items.size()) return std::string();
        const ListItem& item = list.items[static_cast<std::size_t>(index)];
        return Localised(item.key, item.text);
    }
    return std::string();
}

std::string DriverProperty(int index) {
    switch (index) {
        case 1: return "Dibal";
        case 2: return "Skalnix";
        case 3:
            return DriverText("TKSLibraWlasciworeturn_00002", "Sterownik: DibalCom 1.25I\r\n") +
                   DriverText("TKSLibraWlasciworeturn_00003",
                              "Testowano na: Dibal L-865, Dibal K-265, Dibal 500 Series");
        case 105: return "1";
        default: return std::string();
    }
}

std::string AdditionalWindowName(int index) {
    return index == 0 ? DriverText("TKSLibraOpisOknareturn", "Zapisz konfigurację DibalCom")
                      : std::string();
}
