// The English translation file covers every text the driver looks up, and nothing else.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ini.h"
#include "textconv.h"
#include "translations.h"

namespace host {
namespace {

struct ModuleKeys {
    const char* module;
    std::vector<const char*> keys;
};

const std::vector<ModuleKeys>& DriverKeys() {
    static const std::vector<ModuleKeys> keys = {
        {"kstools_KSLib",
         {"TKSLibraWeryfikuExceptio", "SerKasOperacjaNazwa_test", "SerKasOperacjaNazwa_eksport",
          "SerKasOperacjaNazwa_import", "SerKasOperacjaNazwa_paragon",
          "SerKasOperacjaNazwa_eksportauto", "SerKasOperacjaNazwa_importauto",
          "SerKasOperacjaNazwa_nasluch", "SerKasOperacjaNazwa_licznik", "SerKasOperacjaNazwa_inna",
          "SerKasOperacjaNazwa_sesja", "SerKasOperacjaSesjaMsgAdd", "SerKasOperacjaMsgBox",
          "SerKasOperacjaMsgBox_00001", "WlasciwosciUrzadzeniaNazwa", "JakSzukacParagonuNazwa",
          "JakSzukacParagonuNazwa_00001", "PokazOknoNazwa", "NazwaZasobuDzielonegoNazwa",
          "TKSActioOstateczstr", "TKSActioOstateczstr_00001",
          "TKSActioOstateczstr_00002", "TKSActioOstateczstr_00003", "TKSActioOstateczstr_00004",
          "TKSActioOstateczstr_00005", "TKSActioOperacjaExceptio", "TKSActioZapiszWyExceptio",
          "TKSActioParamAsDstr", "TKSActioParamAsDstrdir", "TKSActioParamAsDstr_00001",
          "TKSActioParamAsDstr_00002", "TKSActioParamAsDstrdir_00001",
          "TKSActioParamAsSExceptio"}},
        {"kstools_KSAction",
         {"KSActionLogujOdrMsgAdd", "KSActionLogujOdrMsgAdd_00001", "LogujOdrDodajKomAnsiStri",
          "LogujOdrDodajKomAnsiStri_00001", "KSActionLogujOdrheader",
          "LogujOdrheaderdtDateTime"}},
        {"kstools_KSExpBuf",
         {"ufReadFromksactionMsgAdd", "ufReadFromksactionMsgAdd_00001",
          "ReadFromFileLineNumber", "ReadFromFileFieldNumber",
          "KSTowRecFromLineExceptio", "KSTowRecBoolExceptio", "KSKontrRBoolExceptio",
          "KSKasjerGetNumerExceptio", "KSKasjerGetNazwiExceptio", "KSKasjerGetPozioExceptio",
          "KSKasjerGetIdentExceptio", "KSKasjerGetKodKaExceptio", "KSWalutaGetKodExceptio",
          "KSWalutaGetNazwaExceptio", "KSWalutaGetKursExceptio", "KSWalutaGetCzyDoExceptio",
          "KSWalutaGetCzyMoExceptio", "ufZapiszWyksactionMsgAdd", "KSExpBufIdxJednIExceptio",
          "KSExpBufIdxJednPExceptio", "KSExpBufIdxJednNExceptio", "KSExpBufGetKasjeExceptio",
          "KSExpBufGetWalutExceptio", "ufUtworzToksactionMsgAdd", "KSExpBufUtworzTo_debug",
          "KSExpBufUtworzTo_debug_00001", "KSExpBufUtworzToExceptio"}},
        {"kstools_LTools",
         {"oolsInitDebulineAnsiStri", "oolsArchiveFlineAnsiStri",
          "oolsArchiveFlineAnsiStri_00001", "sArchiveFto_fileWriteLin",
          "sArchiveFto_fileWriteLin_00001", "sArchiveFto_fileWriteLin_00002",
          "sArchiveFto_fileWriteLin_00003", "sRenFileExceptioAnsiStri",
          "sRenFileExceptioAnsiStri_00001"}},
        {"kstools_KartaRab",
         {"TKartaRaSprawdzPExceptio", "TKartaRaSprawdzPExceptio_00001",
          "TKartaRaSprawdzPExceptio_00002", "TKartaRaSprawdzPExceptio_00003",
          "TKartaRaSprawdzPExceptio_00004", "TKartaRaSprawdzPExceptio_00005",
          "TKartaRaSprawdzPExceptio_00006"}},
        {"skalnix_dbaction",
         {"TKSLibraOpisOknareturn", "TKSLibraWlasciworeturn_00002",
          "TKSLibraWlasciworeturn_00003", "alPokazOknstrcpyop_nazwa",
          "TKSLibraParametrAOpis", "TKSLibraParametrAOpis_00001", "TKSLibraParametrAOpis_00002",
          "TKSLibraParametrAOpis_00003", "TKSLibraParametrAOpis_00004",
          "TKSLibraParametrAOpis_00005", "TKSLibraParametrAOpis_00006",
          "TKSLibraParametrAOpis_00007", "TKSLibraParametrAOpis_00008",
          "TKSLibraParametrAOpis_00009", "TKSLibraParametrAOpis_00010",
          "TKSLibraParametrAOpis_00011", "TKSLibraParametrAOpis_00012",
          "TKSLibraParametrAOpis_00013", "TKSLibraParametrAOpis_00014",
          "TKSLibraParametrAOpis_00015", "TKSLibraParametrAOpis_00016",
          "TKSLibraParametrAOpis_00017", "TKSLibraParametrAOpis_00018",
          "TKSLibraParametrAOpis_00019", "TKSLibraParametrAOpis_00020",
          "TKSLibraParametrAOpis_00021", "TKSLibraParametrAOpis_00022", "TKSLibraTekstLisreturn",
          "TKSLibraTekstLisreturn_00001", "TKSLibraTekstLisreturn_00002",
          "TKSLibraTekstLisreturn_00003", "TKSLibraTekstLisreturn_00004",
          "TKSLibraTekstLisreturn_00005", "TKSLibraTekstLisreturn_00006",
          "TKSLibraTekstLisreturn_00007", "TKSLibraTekstLisreturn_00008",
          "TKSLibraTekstLisreturn_00009", "TKSLibraTekstLisreturn_00010",
          "TKSLibraTekstLisreturn_00011", "TKSLibraTekstLisreturn_00012",
          "TKSLibraTekstLisreturn_00013", "TKSLibraTekstLisreturn_00014",
          "TKSLibraTekstLisreturn_00015", "TKSLibraTekstLisreturn_00016",
          "TKSLibraTekstLisreturn_00017", "TKSLibraTekstLisreturn_00018",
          "TKSLibraTekstLisreturn_00019", "TKSLibraTekstLisreturn_00020",
          "TKSLibraTekstLisreturn_00021", "TKSLibraTekstLisreturn_00022",
          "TKSLibraTekstLisreturn_00023", "TKSLibraTekstLisreturn_00024",
          "TKSLibraTekstLisreturn_00025", "TKSLibraTekstLisreturn_00026",
          "TKSLibraTekstLisreturn_00027", "TKSLibraTekstLisreturn_00028",
          "SkalnixAReadParabuforek", "SkalnixAReadParaExceptio", "SkalnixAMakePluRMsgAdd",
          "tujerror_loAdd_towreckod_00001", "tujerror_loAdd_towreckod_00002",
          "PluRerror_loAddtowreckod", "matujerror_loAddIntToStr_00001",
          "matujerror_loAddIntToStr_00002", "ePluRerror_loAddIntToStr", "SkalnixAPrepareGstr",
          "SkalnixAPrepareGstr_00001", "SkalnixAPrepareGExceptio", "SkalnixAUstawParExceptio_00001",
          "SkalnixASendPluRMsgAdd_00007",
          "SkalnixAFormatujExceptio", "SkalnixAUstawParExceptio", "SkalnixASetElzabExceptio",
          "SkalnixASendPluRMsgAdd", "SkalnixASendPluRMsgAdd_00001",
          "SkalnixASendPluRMsgAdd_00002", "SkalnixASendPluRMsgAdd_00003",
          "SkalnixASendPluRMsgAdd_00004", "SkalnixASendPluRMsgAdd_00005",
          "SkalnixASendPluRMsgAdd_00006", "UruchomDExceptioAnsiStri",
          "SkalnixAUruchomDExceptio", "SkalnixAExecuteExceptio", "ARenFileExceptioAnsiStri",
          "SkalnixALockExceptio", "SkalnixALockWaitMsgAdd", "SkalnixADibalComGoneExceptio",
          "SkalnixAAutoLimitExceptio", "SkalnixAAutoLimitMsgAdd",
          "ARenFileExceptioAnsiStri_00001", "SkalnixASprawdzEMsgAdd", "SkalnixASprawdzEheader",
          "SprawdzEheaderdtDateTime", "SkalnixASprawdzEMsgAdd_00001", "SkalnixATestConnMsgAdd",
          "SkalnixADodFuncEExceptio", "SkalnixAPrepareDExceptio", "SkalnixAEksportMsgAdd",
          "AEksportDodajKomTargoDLL_Z", "SkalnixAOdrzuconeMsgAdd", "SkalnixAOdrzuconeDalej",
          "SkalnixAOdrzuconeheader", "OdrzuconeheaderdtDateTime", "SkalnixAPrepareNstr", "SkalnixABrakTowarow", "SkalnixAUtf8Nazwy",
          "SkalnixAPrepareNstr_00001", "SkalnixAPrepareNstr_00002", "SkalnixABrakSzablonuKod",
          "SkalnixABrakSzablonu"}},
    };
    return keys;
}

const std::string kEnglish = std::string(SKALNIX_EXAMPLES_DIR) + "/lang/en.ini";

TEST(EnglishTexts, EveryDriverKeyHasAWindows1250Text) {
    Translations t;
    std::string error;
    ASSERT_TRUE(t.Load(kEnglish, error)) << error;
    size_t total = 0;
    for (const auto& m : DriverKeys()) {
        for (const char* key : m.keys) {
            ++total;
            const std::string* text = t.Find(m.module, key);
            ASSERT_NE(text, nullptr) << m.module << " " << key;
            EXPECT_FALSE(Trim(*text).empty()) << key;
            bool lossless = false;
            Utf8ToCp1250(*text, &lossless);
            EXPECT_TRUE(lossless) << key << " has a character without a Windows-1250 form";
        }
    }
    EXPECT_EQ(t.Size(), total) << "the file holds texts the driver never looks up";
}

TEST(EnglishTexts, KeepsTheOuterBlanksAndLineBreaksTheDriverJoinsWith) {
    Translations t;
    std::string error;
    ASSERT_TRUE(t.Load(kEnglish, error)) << error;
    const struct {
        const char* module;
        const char* key;
        bool leadingBlank, trailingBlank;
    } cases[] = {
        {"skalnix_dbaction", "SkalnixASendPluRMsgAdd_00002", true, false},
        {"skalnix_dbaction", "SkalnixASprawdzEMsgAdd", true, true},
        {"skalnix_dbaction", "ARenFileExceptioAnsiStri", false, true},
        {"skalnix_dbaction", "matujerror_loAddIntToStr_00001", false, true},
        {"kstools_KSAction", "KSActionLogujOdrMsgAdd", true, false},
        {"kstools_KSLib", "TKSActioOstateczstr", false, false},
    };
    for (const auto& c : cases) {
        const std::string* text = t.Find(c.module, c.key);
        ASSERT_NE(text, nullptr) << c.key;
        EXPECT_EQ(text->front() == ' ', c.leadingBlank) << c.key;
        EXPECT_EQ(text->back() == ' ', c.trailingBlank) << c.key;
    }
    EXPECT_EQ(*t.Find("skalnix_dbaction", "TKSLibraWlasciworeturn_00002"),
              "Driver: DibalCom 1.25I\r\n");
    EXPECT_EQ(*t.Find("kstools_KSLib", "TKSActioOstateczstr_00005"),
              "' an error occurred:\r\n");
}

// Every key the driver's sources look up, in the forms its lookups take: a key-shaped literal
// followed by the Polish default (a literal or a named constant, maybe after the unused
// argument 0), or handed on right after the language tools or a message kind. Comments and
// module names, which precede the key in the same way, are left out.
std::set<std::string> KeysInSources() {
    namespace fs = std::filesystem;
    static const std::regex beforeDefault(
        R"re("([A-Za-z][A-Za-z0-9_]{5,})"\s*,\s*(?:0\s*,\s*)?(?="|k\w*Text\b|expbuftext::k))re");
    static const std::regex afterTools(
        R"re((?:\blg_?|\bmsg[A-Z]\w*)\s*,\s*"([A-Za-z][A-Za-z0-9_]{5,})")re");
    static const std::regex comment(R"re((^|\s)//[^\n]*)re");
    std::set<std::string> modules;
    for (const auto& m : DriverKeys()) modules.insert(m.module);
    std::set<std::string> keys;
    for (const auto& entry : fs::recursive_directory_iterator(SKALNIX_SOURCE_DIR "/src")) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const std::string source = std::regex_replace(text.str(), comment, "$1");
        for (const auto* form : {&beforeDefault, &afterTools}) {
            for (std::sregex_iterator it(source.begin(), source.end(), *form), end; it != end;
                 ++it)
                if (!modules.count((*it)[1].str())) keys.insert((*it)[1].str());
        }
    }
    return keys;
}

TEST(EnglishTexts, TheKeyListHoldsEveryKeyTheSourcesLookUp) {
    std::set<std::string> listed;
    for (const auto& m : DriverKeys())
        for (const char* key : m.keys) listed.insert(key);
    const std::set<std::string> found = KeysInSources();
    // The scan must see the lookups at all: every listed key is among them, and the other way
    // round.
    for (const auto& key : listed) EXPECT_TRUE(found.count(key)) << key << " not in the sources";
    for (const auto& key : found) EXPECT_TRUE(listed.count(key)) << key << " missing from the list";
}

}  // namespace
}  // namespace host
