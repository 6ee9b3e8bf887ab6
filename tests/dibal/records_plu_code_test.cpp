// FormatPluCode: short codes from a range and long weighted codes read through the host's
// templates, with the rejections and the failures that end the export.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "records_fixture.h"
#include "runtime/exceptions.h"

namespace {

struct CodeCase {
    const char* name;
    const char* series;
    int mode;                 // DibalKodyKD
    int subGroup;             // DibalPodgrupaPLU, -1 any
    bool subGroupOnly;        // DibalPluExact
    const char* sendGroup;    // DibalPluSendGroup
    const char* kod;
    const char* code;         // null: not for the scale
    std::string rejection;    // the RejectedList line, empty: none
};
void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.name; }

class PluCodes : public RecordsTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(PluCodes, Decide) {
    const CodeCase& c = GetParam();
    SkalnixAction& action = Action();
    action.Settings.Series = c.series;
    action.Settings.WeightedCodeMode = c.mode;
    action.Settings.ShortCodeFirst = 1;
    action.Settings.ShortCodeLast = 500;
    action.Settings.SubGroup = c.subGroup;
    action.Settings.SubGroupOnly = c.subGroupOnly;
    action.Settings.CodeTemplates = {"20SSSSSWWWWWC", "21GGSSSSWWWWC", "23GSSSSSWWWWC", "21SSSSSSWWWWC",
                            "24SSSSSSWWWWC", "25WWWWWWWWWWC", "26SSSSSSSSSSSSSSSS", "x",
                            "27GGGGGGGGGGGGGGGGSSSS"};
    action.Settings.SendGroup = std::string(c.sendGroup) != "0";
    std::string code = "unchanged";
    const bool sent = action.FormatPluCode(Goods(7, c.kod), code);
    EXPECT_EQ(sent, c.code != nullptr);
    EXPECT_EQ(code, c.code != nullptr ? c.code : "unchanged");
    const std::vector<std::string> expected =
        c.rejection.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.rejection};
    EXPECT_EQ(action.RejectedList, expected);
}

const std::string kBadDigits =
    Cp(" (towar opatrzony kodem kreskowym niezgodnym z konfiguracją kodów ważonych)");
const std::string kConflict =
    Cp(" (kody o tym formacie nie mogą być przesane do wagi - konflikt formatów)");

INSTANTIATE_TEST_SUITE_P(
    Cases, PluCodes,
    ::testing::Values(
        // Short codes: digits only, at most the code width, within the range.
        CodeCase{"ShortM", "M", 0, -1, true, "1", "123", "00123", ""},
        CodeCase{"ShortA", "A", 0, -1, true, "1", "123", "000123", ""},
        CodeCase{"ShortRangeEdges", "A", 0, -1, true, "1", "500", "000500", ""},
        CodeCase{"ShortLeadingZeros", "M", 0, -1, true, "1", "00001", "00001", ""},
        CodeCase{"ShortBelowRange", "A", 0, -1, true, "1", "0", nullptr, ""},
        CodeCase{"ShortAboveRange", "A", 0, -1, true, "1", "501", nullptr, ""},
        CodeCase{"ShortTooLongA", "A", 0, -1, true, "1", "0000001", nullptr, ""},
        CodeCase{"ShortTooLongM", "M", 0, -1, true, "1", "000001", nullptr, ""},
        CodeCase{"ShortNotDigits", "A", 0, -1, true, "1", "12a", nullptr, ""},
        CodeCase{"ShortSign", "A", 0, -1, true, "1", "+12", nullptr, ""},
        // Weighted codes: prefix 21..29 by mode, template by prefix, sub-group digits.
        CodeCase{"GroupAndArticle", "A", 1, 1, true, "1", "2101234500000", "012345", ""},
        CodeCase{"ArticleOnly", "A", 1, 1, true, "0", "2101234500000", "002345", ""},
        CodeCase{"OtherSubGroup", "A", 1, 2, true, "1", "2101234500000", nullptr, ""},
        CodeCase{"AnySubGroup", "A", 1, -1, true, "1", "2102234500000", "022345", ""},
        CodeCase{"OtherPrefix", "A", 2, -1, true, "1", "2101234500000", nullptr, ""},
        CodeCase{"Mode10AnyPrefix", "A", 10, 0, true, "1", "2301234500000", "012345", ""},
        CodeCase{"Mode10NoTemplate", "A", 10, -1, true, "1", "2201234500000", nullptr, ""},
        CodeCase{"NotThirteen", "A", 1, -1, true, "1", "210123450000", nullptr, ""},
        CodeCase{"FourteenDigits", "A", 1, -1, true, "1", "21012345000000", nullptr, ""},
        // No sub-group digits in the template (first template of prefix 24).
        CodeCase{"NoGroupDigitsExact", "A", 4, 3, true, "1", "2412345600000", nullptr, ""},
        CodeCase{"NoGroupDigitsNotExact", "A", 4, 3, false, "1", "2412345600000", "123456", ""},
        CodeCase{"NoGroupDigitsAny", "A", 4, -1, true, "0", "2400000700000", "000007", ""},
        // Rejections: code part not digits, code part above the series' upper value.
        CodeCase{"CodePartNotDigits", "A", 1, 1, true, "1", "21012A4500000", nullptr,
                 "PLU: 7" + Cp("; KOD: ") + "21012A4500000" + kBadDigits},
        CodeCase{"AboveUpperM", "M", 4, -1, true, "1", "2412345600000", nullptr,
                 "PLU: 7; KOD: 2412345600000" + kConflict},
        CodeCase{"UpperM", "M", 4, -1, true, "1", "2409999900000", "99999", ""},
        // Templates without code digits or with more digits than the code has.
        CodeCase{"NoCodeDigits", "A", 5, -1, true, "1", "2512345678901", nullptr,
                 "PLU: 7; KOD: 2512345678901" + kBadDigits},
        CodeCase{"ElevenCodeDigits", "A", 6, -1, true, "1", "2698765432109", nullptr,
                 "PLU: 7; KOD: 2698765432109" + kConflict},
        CodeCase{"ElevenZeros", "A", 6, -1, true, "1", "2600000000001", "000001", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
    const char* name;
    int mode;
    int subGroup;
    const char* kod;
};
void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class PluCodeErrors : public RecordsTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(PluCodeErrors, EndTheExportWithConversionError) {
    const ErrorCase& c = GetParam();
    Action().Settings.WeightedCodeMode = c.mode;
    Action().Settings.SubGroup = c.subGroup;
    Action().Settings.CodeTemplates = {"21GGSSSSWWWWC", "27GGGGGGGGGGGGGGGGSSSS"};
    std::string code;
    EXPECT_THROW(Action().FormatPluCode(Goods(7, c.kod), code), EConvertError);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PluCodeErrors,
    ::testing::Values(ErrorCase{"EmptyShortCode", 0, -1, ""},
                      ErrorCase{"SubGroupNotDigits", 1, 1, "21A1234500000"},
                      // More sub-group digits than a whole number holds.
                      ErrorCase{"SubGroupTooLong", 7, 1, "2712345678901"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordsTest, RejectionKeysOfTheTwoCodeRejections) {
    host.SetTranslation("skalnix_dbaction", "matujerror_loAddIntToStr_00001", "|K1|");
    host.SetTranslation("skalnix_dbaction", "tujerror_loAdd_towreckod_00001", "|bad|");
    host.SetTranslation("skalnix_dbaction", "matujerror_loAddIntToStr_00002", "|K2|");
    host.SetTranslation("skalnix_dbaction", "tujerror_loAdd_towreckod_00002", "|big|");
    Action().Settings.Series = "M";
    Action().Settings.WeightedCodeMode = 10;
    Action().Settings.CodeTemplates = {"21GGSSSSWWWWC", "22SSSSSSWWWWC"};
    std::string code;
    EXPECT_FALSE(Action().FormatPluCode(Goods(1, "21x1234500000"), code));
    EXPECT_FALSE(Action().FormatPluCode(Goods(2, "2212345600000"), code));
    EXPECT_EQ(Action().RejectedList,
              (std::vector<std::string>{"PLU: 1|K1|21x1234500000|bad|",
                                        "PLU: 2|K2|2212345600000|big|"}));
}

TEST_F(RecordsTest, SendGroupDecidesForEveryWeightedCode) {
    Action().Settings.WeightedCodeMode = 1;
    Action().Settings.CodeTemplates = {"21GGSSSSWWWWC"};
    Action().Settings.SendGroup = true;
    std::string code;
    EXPECT_TRUE(Action().FormatPluCode(Goods(1, "2101234500000"), code));
    EXPECT_EQ(code, "012345");
    Action().Settings.SendGroup = false;
    EXPECT_TRUE(Action().FormatPluCode(Goods(3, "2101234500000"), code));
    EXPECT_EQ(code, "002345");
}

}  // namespace

// Goods of one export under several templates, in turns, and templates changed between goods:
// each code is read by the template its prefix names at that moment.
TEST_F(RecordsTest, EachGoodsTakesTheTemplateOfItsPrefix) {
    Action().Settings.WeightedCodeMode = 10;
    Action().Settings.SendGroup = false;
    Action().Settings.CodeTemplates = {"21GGSSSSWWWWC", "23GSSSSSWWWWC"};
    std::string code;
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(Action().FormatPluCode(Goods(1, "2101234500000"), code));
        EXPECT_EQ(code, "002345");
        EXPECT_TRUE(Action().FormatPluCode(Goods(2, "2312345600000"), code));
        EXPECT_EQ(code, "023456");
    }
    Action().Settings.CodeTemplates = {"21SSSSSSWWWWC"};
    EXPECT_TRUE(Action().FormatPluCode(Goods(3, "2101234500000"), code));
    EXPECT_EQ(code, "012345");
}
