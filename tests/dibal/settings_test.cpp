// ReadSettings: the order of the reads, the number, text and directory reads, the lenient and
// strict conversions and the tables that turn parameters into the scale settings.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "records_fixture.h"
#include "runtime/exceptions.h"

namespace {

TEST_F(RecordsTest, DefaultsInReadOrder) {
    host.list = {"21GGSSSSWWWWC", "22SSSSSSWWWWC"};
    host.parameterQueries.clear();
    SkalnixAction& action = Action();
    action.ReadSettings();
    EXPECT_EQ(host.parameterQueries,
              (std::vector<std::string>{"DibalKodyKD", "DibalKodPocz", "DibalKodKonc",
                                        "DibalPodgrupaPLU", "DibalPluExact", "DibalPlZnaki",
                                        "DibalKatalogDrv", "PoziomCen", "DibalSeria",
                                        "DibalGrupa", "DibalAdres", "DibalPort", "DibalBaudRate",
                                        "DibalDataBits", "DibalAddTextsFrom", "DibalExitApp",
                                        "DibalSendAddData", "Pojemnosc", "DibalSendExpDate",
                                        "DibalPluSendGroup", "DibalMuxChannel",
                                        "DibalUserConfigTxt", "DibalIPAddress"}));
    EXPECT_EQ(action.Settings.CodeTemplates, host.list);
    EXPECT_EQ(action.Settings.CodeTemplateCount, 2);
    EXPECT_EQ(action.Settings.WeightedCodeMode, 1);
    EXPECT_EQ(action.Settings.ShortCodeFirst, 0);
    EXPECT_EQ(action.Settings.ShortCodeLast, 0);
    EXPECT_EQ(action.Settings.SubGroup, -1);
    EXPECT_TRUE(action.Settings.SubGroupOnly);
    EXPECT_EQ(action.Settings.CodePage, 0);
    EXPECT_EQ(action.Settings.DriverDir, driver.WithSeparator());
    EXPECT_EQ(action.Settings.PriceLevel, 0);
    EXPECT_EQ(action.Settings.Series, "A");
    EXPECT_EQ(action.Settings.ScaleGroup, 0);
    EXPECT_EQ(action.Settings.ScaleAddress, "00");
    EXPECT_EQ(action.Settings.ConnectionType, 0);
    EXPECT_EQ(action.Settings.PortName, "PLIK");
    EXPECT_EQ(action.Settings.BaudRate, "300");
    EXPECT_EQ(action.Settings.DataBits, "8");
    EXPECT_EQ(action.Settings.TextsFrom, 0);
    EXPECT_FALSE(action.Settings.ExitDibalCom);
    EXPECT_TRUE(action.Settings.SendAddData);
}

struct SettingCase {
    const char* parameter;
    const char* value;
    std::function<std::string(const SkalnixAction&)> read;
    std::string expected;
};
void PrintTo(const SettingCase& c, std::ostream* os) { *os << c.parameter << "=\"" << c.value << "\""; }

std::string Num(int n) { return std::to_string(n); }

const auto kSeries = [](const SkalnixAction& a) { return a.Settings.Series; };
const auto kPort = [](const SkalnixAction& a) { return Num(a.Settings.ConnectionType) + "|" + a.Settings.PortName; };
const auto kBaud = [](const SkalnixAction& a) { return a.Settings.BaudRate; };
const auto kSubGroup = [](const SkalnixAction& a) { return Num(a.Settings.SubGroup); };
const auto kTexts = [](const SkalnixAction& a) { return Num(a.Settings.TextsFrom); };

class Settings : public RecordsTest, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(Settings, Interpreted) {
    const SettingCase& c = GetParam();
    host.params[c.parameter] = c.value;
    Action().ReadSettings();
    EXPECT_EQ(c.read(Action()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Series, Settings,
    ::testing::Values(SettingCase{"DibalSeria", "0", kSeries, "A"},
                      SettingCase{"DibalSeria", "1", kSeries, "K"},
                      SettingCase{"DibalSeria", "2", kSeries, "M"},
                      SettingCase{"DibalSeria", "3", kSeries, "L"},
                      SettingCase{"DibalSeria", "4", kSeries, "H"},
                      SettingCase{"DibalSeria", "5", kSeries, "H2"},
                      SettingCase{"DibalSeria", " 5 ", kSeries, "H2"},
                      SettingCase{"DibalSeria", "L", kSeries, "L"},
                      SettingCase{"DibalSeria", "A", kSeries, "A"},
                      SettingCase{"DibalSeria", "H2", kSeries, "H2"},
                      SettingCase{"DibalSeria", "9", kSeries, ""},
                      SettingCase{"DibalSeria", "-1", kSeries, ""},
                      SettingCase{"DibalSeria", "Xyz", kSeries, "Xyz"},
                      SettingCase{"DibalSeria", "", kSeries, ""}));

INSTANTIATE_TEST_SUITE_P(
    Port, Settings,
    ::testing::Values(SettingCase{"DibalPort", "0", kPort, "0|PLIK"},
                      SettingCase{"DibalPort", "1", kPort, "1|COM1"},
                      SettingCase{"DibalPort", "6", kPort, "1|COM6"},
                      SettingCase{"DibalPort", "8", kPort, "1|COM8"},
                      SettingCase{"DibalPort", "9", kPort, "3|"},
                      SettingCase{"DibalPort", "10", kPort, "2|"},
                      SettingCase{"DibalPort", "11", kPort, "0|"},
                      SettingCase{"DibalPort", "-1", kPort, "0|"},
                      SettingCase{"DibalPort", " 6 ", kPort, "1|COM6"}));

INSTANTIATE_TEST_SUITE_P(
    BaudRate, Settings,
    ::testing::Values(SettingCase{"DibalBaudRate", "0", kBaud, "300"},
                      SettingCase{"DibalBaudRate", "1", kBaud, "600"},
                      SettingCase{"DibalBaudRate", "2", kBaud, "1200"},
                      SettingCase{"DibalBaudRate", "3", kBaud, "2400"},
                      SettingCase{"DibalBaudRate", "4", kBaud, "4800"},
                      SettingCase{"DibalBaudRate", "5", kBaud, "9600"},
                      SettingCase{"DibalBaudRate", "6", kBaud, "19200"},
                      SettingCase{"DibalBaudRate", "7", kBaud, "38400"},
                      SettingCase{"DibalBaudRate", "8", kBaud, ""}));

INSTANTIATE_TEST_SUITE_P(
    Others, Settings,
    ::testing::Values(
        SettingCase{"DibalPodgrupaPLU", "3", kSubGroup, "3"},
        SettingCase{"DibalPodgrupaPLU", " 12 ", kSubGroup, "12"},
        SettingCase{"DibalPodgrupaPLU", "x", kSubGroup, "-1"},
        SettingCase{"DibalPodgrupaPLU", "", kSubGroup, "-1"},
        SettingCase{"DibalDataBits", "0", [](const SkalnixAction& a) { return a.Settings.DataBits; }, "7"},
        SettingCase{"DibalDataBits", "x", [](const SkalnixAction& a) { return a.Settings.DataBits; }, "7"},
        SettingCase{"DibalAddTextsFrom", "1", kTexts, "1"},
        SettingCase{"DibalAddTextsFrom", "4", kTexts, "4"},
        SettingCase{"DibalAddTextsFrom", "7", kTexts, "0"},
        SettingCase{"DibalAddTextsFrom", "-1", kTexts, "0"},
        SettingCase{"DibalKodyKD", "10", [](const SkalnixAction& a) { return Num(a.Settings.WeightedCodeMode); }, "10"},
        SettingCase{"DibalKodPocz", " 5", [](const SkalnixAction& a) { return Num(a.Settings.ShortCodeFirst); }, "5"},
        SettingCase{"DibalKodKonc", "900", [](const SkalnixAction& a) { return Num(a.Settings.ShortCodeLast); }, "900"},
        SettingCase{"DibalPluExact", "0", [](const SkalnixAction& a) { return Num(a.Settings.SubGroupOnly); }, "0"},
        SettingCase{"DibalPlZnaki", "7", [](const SkalnixAction& a) { return Num(a.Settings.CodePage); }, "7"},
        SettingCase{"PoziomCen", "2", [](const SkalnixAction& a) { return Num(a.Settings.PriceLevel); }, "2"},
        SettingCase{"DibalGrupa", "12a", [](const SkalnixAction& a) { return Num(a.Settings.ScaleGroup); }, "0"},
        SettingCase{"DibalGrupa", "5", [](const SkalnixAction& a) { return Num(a.Settings.ScaleGroup); }, "5"},
        SettingCase{"DibalAdres", " 4", [](const SkalnixAction& a) { return a.Settings.ScaleAddress; }, " 4"},
        SettingCase{"DibalExitApp", "1", [](const SkalnixAction& a) { return Num(a.Settings.ExitDibalCom); }, "1"},
        SettingCase{"DibalSendAddData", "0", [](const SkalnixAction& a) { return Num(a.Settings.SendAddData); }, "0"}));

TEST_F(RecordsTest, DriverDirGetsOneSeparator) {
    for (const std::string& stored : {driver.Path(), driver.WithSeparator()}) {
        host.params["DibalKatalogDrv"] = stored;
        Action().ReadSettings();
        EXPECT_EQ(Action().Settings.DriverDir, driver.Path() + platform::kPathSeparator) << stored;
    }
}

TEST_F(RecordsTest, FileOnlyPortNameIsTranslated) {
    host.SetTranslation("skalnix_dbaction", "SkalnixAReadParabuforek", "FILE");
    Action().ReadSettings();
    EXPECT_EQ(Action().Settings.PortName, "FILE");
}

struct StrictCase {
    const char* parameter;
    const char* value;
};
void PrintTo(const StrictCase& c, std::ostream* os) { *os << c.parameter << "=\"" << c.value << "\""; }

class StrictSettings : public RecordsTest, public ::testing::WithParamInterface<StrictCase> {};

// Port and baud rate are list positions; any other text ends the operation where it is read.
TEST_P(StrictSettings, NotAWholeNumberEndsWithConversionError) {
    const StrictCase& c = GetParam();
    host.params[c.parameter] = c.value;
    host.parameterQueries.clear();
    EXPECT_THROW(Action().ReadSettings(), EConvertError);
    ASSERT_FALSE(host.parameterQueries.empty());
    EXPECT_EQ(host.parameterQueries.back(), c.parameter);
}

INSTANTIATE_TEST_SUITE_P(Cases, StrictSettings,
                         ::testing::Values(StrictCase{"DibalPort", "x"}, StrictCase{"DibalPort", ""},
                                           StrictCase{"DibalPort", "1.5"},
                                           StrictCase{"DibalPort", "COM1"},
                                           StrictCase{"DibalPort", "99999999999"},
                                           StrictCase{"DibalBaudRate", "x"},
                                           StrictCase{"DibalBaudRate", ""}));

TEST_F(RecordsTest, SettingsAreReadAfreshEveryTime) {
    Action().ReadSettings();
    host.params["DibalSeria"] = "2";
    host.params["DibalPort"] = "10";
    Action().ReadSettings();
    EXPECT_EQ(Action().Settings.Series, "M");
    EXPECT_EQ(Action().Settings.ConnectionType, 2);
    EXPECT_EQ(Action().Settings.PortName, "");
}

}  // namespace
