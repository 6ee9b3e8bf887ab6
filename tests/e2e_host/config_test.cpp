// Configuration, command line and the bounds of the callbacks' answers.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "callbacks.h"
#include "cli.h"
#include "config.h"
#include "parameters.h"
#include "hostos.h"
#include "deadline.h"
#include "session.h"
#include "suggest.h"
#include "window.h"
#include "unique_temp_file.h"

namespace host {
namespace {

std::vector<ParameterDef> SmallCatalogue() {
    std::vector<ParameterDef> c(7);
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
    c[4].name = "Pojemnosc";
    c[4].type = 4;
    c[4].defaultValue = "20479";
    c[5].name = "DibalSeria";
    c[5].type = 7;
    c[5].defaultValue = "A";
    c[5].listTexts = {"A", "K", "M", "L"};
    c[6].name = "DibalPodgrupaPLU";
    c[6].type = 1;
    return c;
}

std::vector<ConfiguredValue> Set(std::vector<std::pair<std::string, std::string>> pairs) {
    std::vector<ConfiguredValue> out;
    for (auto& [name, value] : pairs) out.push_back({name, value, "--set"});
    return out;
}

TEST(HostConfig, ResolvesDefaultsChoicesAndDirectories) {
    std::map<std::string, ParameterValue> out;
    std::string error;
    ASSERT_TRUE(ResolveParameters(SmallCatalogue(),
                                  {{"dibalport", " com2 ", "a.ini:3"},
                                   {"DibalDataBits", "7 bitów", "a.ini:4"},
                                   {"DibalBaudRate", "1200", "--set"}},
                                  out, error))
        << error;
    EXPECT_EQ(out["DibalPort"].value, "2");
    EXPECT_EQ(out["DibalPort"].origin, "a.ini:3");
    EXPECT_EQ(out["DibalDataBits"].value, "0");  // UTF-8 list text matched
    EXPECT_EQ(out["DibalBaudRate"].value, "2");  // a number that is a text
    EXPECT_EQ(out["Pojemnosc"].value, "20479");
    EXPECT_EQ(out["Pojemnosc"].origin, "driver default");
    // A Windows drive path is no directory name here: the host offers one of this system.
    EXPECT_EQ(out["DibalKatalogDrv"].value, "/opt/dibalcom/");
    EXPECT_EQ(out["DibalKatalogDrv"].origin, "host default");

    ASSERT_TRUE(ResolveParameters(
        SmallCatalogue(),
        Set({{"DibalBaudRate", "2"}, {"DibalKatalogDrv", "rel"}, {"Pojemnosc", " 12 "},
             {"DibalSeria", "h2"}}),
        out, error))
        << error;
    EXPECT_EQ(out["DibalBaudRate"].value, "2");  // a position stays a position
    EXPECT_EQ(out["Pojemnosc"].value, "12");
    EXPECT_EQ(out["DibalSeria"].value, "H2");  // a series letter the driver reads as written
    const std::string dir = out["DibalKatalogDrv"].value;
    EXPECT_TRUE(std::filesystem::path(dir).is_absolute()) << dir;
    EXPECT_EQ(dir.back(), PathSeparator());
    ASSERT_TRUE(ResolveParameters(SmallCatalogue(), Set({{"DibalPort", "File"}}), out, error));
    EXPECT_EQ(out["DibalPort"].value, "0");  // named in the chosen language
}

TEST(HostConfig, RefusesValuesTheParameterCannotTakeNamingItsSourceAndChoices) {
    const struct {
        ConfiguredValue value;
        std::vector<std::string> inMessage;
    } cases[] = {
        {{"DibalPort", "42", "--set"}, {"--set: ", "DibalPort", "42", "FILE (0)", "COM2 (2)"}},
        {{"DibalPort", "COM9", "x.ini:7"}, {"x.ini:7: ", "DibalPort", "COM9"}},
        {{"DibalPort", "-1", "--set"}, {"DibalPort", "-1"}},
        {{"DibalBaudRate", "115200", "--set"}, {"DibalBaudRate", "115200", "1200 (2)"}},
        {{"Pojemnosc", "abc", "x.ini:2"}, {"x.ini:2: ", "Pojemnosc", "abc", "whole number"}},
        {{"Pojemnosc", "99999999999", "--set"}, {"Pojemnosc", "whole number"}},
        {{"Pojemnosc", "", "--set"}, {"Pojemnosc", "whole number"}},
        {{"DibalSeria", "X", "--set"}, {"DibalSeria", "H2"}},
        {{"DibalPodgrupaPLU", std::string(300, '1'), "--set"}, {"DibalPodgrupaPLU", "300 bytes", "at most 299"}},
        {{"DibalPodgrupaPLU", "€→", "--set"}, {"DibalPodgrupaPLU", "Windows-1250"}},
        {{"DibalPortt", "1", "y.ini:9"}, {"y.ini:9: ", "DibalPortt", "did you mean 'DibalPort'"}},
        {{"Nothing", "1", "--set"}, {"Nothing"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.name + "=" + c.value.value.substr(0, 20));
        std::map<std::string, ParameterValue> out;
        std::string error;
        EXPECT_FALSE(ResolveParameters(SmallCatalogue(), {c.value}, out, error));
        for (const auto& part : c.inMessage)
            EXPECT_NE(error.find(part), std::string::npos) << error << " lacks " << part;
    }
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
    EXPECT_EQ(s.values[0], (ConfiguredValue{"DibalSeria", "L", path.string() + ":6"}));
    EXPECT_EQ(s.values[1], (ConfiguredValue{"DibalSeria", "M", "--set"}));
    EXPECT_EQ(s.values[2], (ConfiguredValue{"DibalAdres", " 04", "--set"}));

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
    // A directory is no configuration, not an empty one.
    EXPECT_FALSE(LoadSettings(path.parent_path().string(), {}, "", "", s, error));
    EXPECT_NE(error.find("is a directory"), std::string::npos) << error;
}

TEST(HostCli, ParsesCommandsAndRejectsBadUseWithASuggestion) {
    const struct {
        std::vector<const char*> args;
        bool ok;
        Command command;
        int number;
        const char* errorHas;  // part of the error when refused
    } cases[] = {
        {{"info"}, true, Command::Info, 0, ""},
        {{"export", "--auto", "--set", "A=1", "--config=x.ini"}, true, Command::Export, 0, ""},
        {{"op", "-3"}, true, Command::Op, -3, ""},
        {{"--driver", "d.so", "function", "0"}, true, Command::Function, 0, ""},
        {{"test", "--help"}, true, Command::Test, 0, ""},
        {{"export", "--timeout", "0.5"}, true, Command::Export, 0, ""},
        {{"help", "export"}, true, Command::Help, 0, ""},
        {{"--version"}, true, Command::None, 0, ""},
        {{"function"}, false, Command::Function, 0, "missing argument"},
        {{"function", "x"}, false, Command::Function, 0, "whole number"},
        {{"op", "99999999999"}, false, Command::Op, 0, "whole number"},
        {{"test", "--auto"}, false, Command::Test, 0, "--auto"},
        {{"info", "extra"}, false, Command::Info, 0, "unexpected argument 'extra'"},
        {{"frobnicate"}, false, Command::None, 0, "unknown command 'frobnicate'"},
        {{"exprot"}, false, Command::None, 0, "did you mean 'export'?"},
        {{"info", "--bogus"}, false, Command::None, 0, "unknown option --bogus"},
        {{"export", "--confg", "x.ini"}, false, Command::None, 0, "did you mean '--config'?"},
        {{"export", "--set"}, false, Command::None, 0, "needs a value"},
        {{"help", "nope"}, false, Command::Help, 0, "no help on 'nope'"},
        {{"help", "tset"}, false, Command::Help, 0, "did you mean 'test'?"},
        {{"export", "--timeout", "0"}, false, Command::None, 0, "positive number of seconds"},
        {{"export", "--timeout", "soon"}, false, Command::None, 0, "'soon'"},
        {{"info", "--timeout", "5"}, false, Command::Info, 0, "--timeout"},
        {{}, false, Command::None, 0, "no command"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"skalnix-host"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        Options o;
        std::string error;
        const bool ok = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), o, error);
        std::string line;
        for (const char* a : c.args) line += std::string(a) + " ";
        EXPECT_EQ(ok, c.ok) << line << " " << error;
        if (ok) {
            EXPECT_EQ(o.command, c.command) << line;
            EXPECT_EQ(o.number, c.number) << line;
        } else {
            EXPECT_NE(error.find(c.errorHas), std::string::npos) << line << ": " << error;
        }
    }
    // A close slip gets a suggestion; a word unlike any command gets none.
    EXPECT_EQ(ClosestMatch("DIBALPORT", {"DibalPort", "DibalAdres"}), "DibalPort");
    EXPECT_EQ(ClosestMatch("DibalBuadRate", {"DibalPort", "DibalBaudRate"}), "DibalBaudRate");
    EXPECT_EQ(ClosestMatch("frobnicate", {"info", "export", "test"}), "");
    EXPECT_EQ(ClosestMatch("x", {"op"}), "");
}

TEST(HostCallbacks, BreakQueryAnswersStopOnceTheTimeLimitHasPassedAndNotesTheStage) {
    std::chrono::steady_clock::time_point now{};
    const Deadline deadline(30, [&] { return now; });
    SessionData data;
    data.deadline = &deadline;
    std::FILE* sink = std::tmpfile();
    OperationWindow window(sink, false, false, 40, 80);
    DriverApi api;
    api.RejestrujBiblioteke = [](int, int, int, HTARGOWND) -> HTARGODLLLIB { return nullptr; };
    Session session(api, data, &window);
    window.Add(TARGO_MSG_INFO, " -DibalCom przesy\xB3" "a dane:\x01" "40 %");

    now += std::chrono::seconds(29);
    EXPECT_EQ(OnBreakQuery(kHostContext, 1), 0);
    EXPECT_FALSE(session.Log().timedOut);
    now += std::chrono::seconds(1);
    EXPECT_EQ(OnBreakQuery(kHostContext, 1), 1);
    EXPECT_TRUE(session.Log().timedOut);
    EXPECT_EQ(session.Log().waitingFor, " -DibalCom przesyła dane: 40 %");
    std::fclose(sink);
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
