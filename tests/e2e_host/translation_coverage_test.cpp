// The English translation file covers every text the driver looks up, and nothing else.
#include <gtest/gtest.h>

#include <set>
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
         {"TKSLibraWeryfikuExceptio", "TKSActioOstateczstr", "TKSActioOstateczstr_00001",
          "TKSActioOstateczstr_00002", "TKSActioOstateczstr_00003", "TKSActioOstateczstr_00004",
          "TKSActioOstateczstr_00005", "TKSActioOperacjaExceptio", "TKSActioZapiszWyExceptio",
          "TKSActioParamAsDstr", "TKSActioParamAsDstrdir", "TKSActioParamAsDstr_00001",
          "TKSActioParamAsDstr_00002", "TKSActioParamAsDstrdir_00001"}},
        {"kstools_KSAction",
         {"KSActionLogujOdrMsgAdd", "KSActionLogujOdrMsgAdd_00001", "LogujOdrDodajKomAnsiStri",
          "LogujOdrDodajKomAnsiStri_00001", "KSActionLogujOdrheader",
          "LogujOdrheaderdtDateTime"}},
        {"kstools_KSExpBuf",
         {"ufReadFromksactionMsgAdd", "ufReadFromksactionMsgAdd_00001",
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
          "TKSLibraParametrAOpis_00017", "TKSLibraTekstLisreturn",
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
          "SkalnixAReadParabuforek", "SkalnixAReadParaExceptio", "SkalnixAMakePluRMsgAdd",
          "tujerror_loAdd_towreckod_00001", "tujerror_loAdd_towreckod_00002",
          "PluRerror_loAddtowreckod", "matujerror_loAddIntToStr_00001",
          "matujerror_loAddIntToStr_00002", "ePluRerror_loAddIntToStr", "SkalnixAPrepareGstr",
          "SkalnixAPrepareGstr_00001",
          "SkalnixAFormatujExceptio", "SkalnixAUstawParExceptio", "SkalnixASetElzabExceptio",
          "SkalnixASendPluRMsgAdd", "SkalnixASendPluRMsgAdd_00001",
          "SkalnixASendPluRMsgAdd_00002", "SkalnixASendPluRMsgAdd_00003",
          "SkalnixASendPluRMsgAdd_00004", "SkalnixASendPluRMsgAdd_00005",
          "SkalnixASendPluRMsgAdd_00006", "UruchomDExceptioAnsiStri",
          "SkalnixAUruchomDExceptio", "SkalnixAExecuteExceptio", "ARenFileExceptioAnsiStri",
          "ARenFileExceptioAnsiStri_00001", "SkalnixASprawdzEMsgAdd", "SkalnixASprawdzEheader",
          "SprawdzEheaderdtDateTime", "SkalnixASprawdzEMsgAdd_00001", "SkalnixATestConnMsgAdd",
          "SkalnixADodFuncEExceptio", "SkalnixAPrepareDExceptio", "SkalnixAEksportMsgAdd",
          "AEksportDodajKomTargoDLL_Z"}},
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

}  // namespace
}  // namespace host
