// Configuration, command line and the bounds of the callbacks' answers.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "callbacks.h"
#include "cli.h"
#include "config.h"
#include "hostos.h"
#include "session.h"
#include "unique_temp_file.h"

namespace host {
namespace {

std::vector<ParameterDef> SmallCatalogue() {
    std::vector<ParameterDef> c(4);
    c[0].name = "DibalPort";
    c[0].type = 7;
    c[0].defaultValue = "0";
    c[0].listTexts = {"PLIK", "COM1", "COM2"};
    c[0].translatedListTexts = {"FILE", "COM1", "COM2"};
    c[1].name = "DibalKatalogDrv";
    c[1].type = 6;
    c[1].defaultValue = "C:\\Program Files\\Dibalcom";
    c[2].name = "DibalDataBits";
    c[2].type = 7;
    c[2].defaultValue = "1";
    c[2].listTexts = {"7 bit\xF3w", "8 bit\xF3w"};
    c[3].name = "DibalBaudRate";
    c[3].type = 7;
    c[3].defaultValue = "0";
    c[3].listTexts = {"300", "600", "1200"};
    return c;
}

TEST(HostConfig, ResolvesDefaultsChoicesAndDirectories) {
    std::map<std::string, std::string> out;
    std::string error;
    ASSERT_TRUE(ResolveParameters(SmallCatalogue(),
                                  {{"dibalport", " com2 "}, {"DibalDataBits", "7 bitów"},
                                   {"DibalBaudRate", "1200"}},
                                  out, error))
        << error;
    EXPECT_EQ(out["DibalPort"], "2");
    EXPECT_EQ(out["DibalDataBits"], "0");                          // UTF-8 list text matched
    EXPECT_EQ(out["DibalBaudRate"], "2");                          // a number that is a text
    EXPECT_EQ(out["DibalKatalogDrv"], "C:\\Program Files\\Dibalcom");  // default kept as is

    ASSERT_TRUE(ResolveParameters(SmallCatalogue(),
                                  {{"DibalBaudRate", "2"}, {"DibalPort", "COM9"},
                                   {"DibalKatalogDrv", "rel"}},
                                  out, error));
    EXPECT_EQ(out["DibalBaudRate"], "2");  // a position stays a position
    EXPECT_EQ(out["DibalPort"], "COM9");   // an unknown text is passed on as written
    const std::string dir = out["DibalKatalogDrv"];
    EXPECT_TRUE(std::filesystem::path(dir).is_absolute()) << dir;
    EXPECT_EQ(dir.back(), PathSeparator());
    ASSERT_TRUE(ResolveParameters(SmallCatalogue(), {{"DibalPort", "File"}}, out, error));
    EXPECT_EQ(out["DibalPort"], "0");  // named in the chosen language

    EXPECT_FALSE(ResolveParameters(SmallCatalogue(), {{"DibalPortt", "1"}}, out, error));
    EXPECT_NE(error.find("DibalPortt"), std::string::npos);
}

TEST(HostConfig, LoadsFileAndCommandLineOverrides) {
    const auto path = UniqueTempFile("host_config", ".ini");
    std::ofstream(path) << "[host]\nexchange = ex\ntemplates = 21GGSSSSWWWWC, 22SSSSSWWWWWC\n"
                           "template = 23SSSSSWWWWWC\n[driver]\nDibalSeria = L\n";
    HostSettings s;
    std::string error;
    ASSERT_TRUE(LoadSettings(path.string(), {"DibalSeria=M", "DibalAdres = 04"}, "", "en.ini", s,
                             error))
        << error;
    EXPECT_EQ(s.exchangeDir, "ex");
    EXPECT_EQ(s.templates,
              (std::vector<std::string>{"21GGSSSSWWWWC", "22SSSSSWWWWWC", "23SSSSSWWWWWC"}));
    EXPECT_EQ(s.langPath, "en.ini");
    ASSERT_EQ(s.values.size(), 3u);
    EXPECT_EQ(s.values[1], (std::pair<std::string, std::string>{"DibalSeria", "M"}));
    EXPECT_EQ(s.values[2], (std::pair<std::string, std::string>{"DibalAdres", " 04"}));

    const struct {
        const char* file;
        std::vector<std::string> sets;
    } bad[] = {
        {"[host]\nunknown = 1\n", {}},
        {"[other]\nx = 1\n", {}},
        {"", {"NoEquals"}},
        {"", {"=value"}},
    };
    for (const auto& b : bad) {
        std::ofstream(path) << b.file;
        EXPECT_FALSE(LoadSettings(path.string(), b.sets, "", "", s, error)) << b.file;
    }
    EXPECT_FALSE(LoadSettings("/nonexistent/config.ini", {}, "", "", s, error));
}

TEST(HostCli, ParsesCommandsAndRejectsBadUse) {
    const struct {
        std::vector<const char*> args;
        bool ok;
        Command command;
        int number;
    } cases[] = {
        {{"info"}, true, Command::Info, 0},
        {{"export", "--auto", "--set", "A=1", "--config=x.ini"}, true, Command::Export, 0},
        {{"op", "-3"}, true, Command::Op, -3},
        {{"--driver", "d.so", "function", "0"}, true, Command::Function, 0},
        {{"test", "--help"}, true, Command::Test, 0},
        {{"function"}, false, Command::Function, 0},
        {{"function", "x"}, false, Command::Function, 0},
        {{"op", "99999999999"}, false, Command::Op, 0},
        {{"test", "--auto"}, false, Command::Test, 0},
        {{"info", "extra"}, false, Command::Info, 0},
        {{"frobnicate"}, false, Command::None, 0},
        {{"info", "--bogus"}, false, Command::None, 0},
        {{"export", "--set"}, false, Command::None, 0},
        {{}, false, Command::None, 0},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"skalnix-host"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        Options o;
        std::string error;
        const bool ok = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), o, error);
        const std::string line = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(ok, c.ok) << line << " " << error;
        if (ok) {
            EXPECT_EQ(o.command, c.command) << line;
            EXPECT_EQ(o.number, c.number) << line;
        }
    }
}

TEST(HostCallbacks, AnswersStayInsideTheDriverBuffers) {
    SessionData data;
    data.parameters["DibalSeria"] = std::string(400, 'x');
    data.templates = {"21GGSSSSWWWWC"};
    data.exchangeDir = std::string(300, 'd');
    DriverApi api;  // a registration that creates no library: only the callbacks are tried
    api.RejestrujBiblioteke = [](int, int, int, HTARGOWND) -> HTARGODLLLIB { return nullptr; };
    Session session(api, data, nullptr);

    char value[TARGODLL_BUFSIZE + 8];
    std::memset(value, 'Z', sizeof value);
    OnParameterValue(kHostContext, 1, "dibalseria", value);
    EXPECT_EQ(std::strlen(value), 300u);
    EXPECT_EQ(value[TARGODLL_BUFSIZE], 'Z');
    OnParameterValue(kHostContext, 1, "Unknown", value);
    EXPECT_STREQ(value, "");

    char item[TARGODLL_BUFSIZE];
    EXPECT_EQ(OnListItem(kHostContext, 1, 0, item), 1);
    EXPECT_STREQ(item, "21GGSSSSWWWWC");
    EXPECT_EQ(OnListItem(kHostContext, 1, 1, item), 0);
    EXPECT_EQ(OnListItem(kHostContext, 1, -1, item), 0);

    char t1[TARGODLL_BUFSIZE], t2[TARGODLL_BUFSIZE], dir[TARGODLL_DIRSIZE + 8];
    std::memset(dir, 'Z', sizeof dir);
    int v1 = -1, v2 = 0;
    OnOperationInfo(kHostContext, 1, &v1, &v2, t1, t2, dir);
    EXPECT_EQ(std::strlen(dir), 260u);
    EXPECT_EQ(dir[TARGODLL_DIRSIZE], 'Z');
}

}  // namespace
}  // namespace host
