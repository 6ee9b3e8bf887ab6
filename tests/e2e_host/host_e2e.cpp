// skalnix-host run as a process against the built driver and the DibalCom stand-in, each test
// in a fresh directory holding exchange/kasa.exp and dibalcom/dibalcom.exe.
#include <gtest/gtest.h>

#include <chrono>



#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "process.h"

namespace {

namespace fs = std::filesystem;

const std::string kExamples = SKALNIX_EXAMPLES_DIR;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class HostProcess : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::path(::testing::TempDir()) /
               ("skalnix_host_" + std::string(info->name()) + "_" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "exchange");
        fs::create_directories(dir_ / "dibalcom");
        fs::copy_file(kExamples + "/kasa.exp", dir_ / "exchange" / "kasa.exp");
        fs::copy_file(SKALNIX_DIBALCOM_EXE, dir_ / "dibalcom" / "dibalcom.exe");
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(dir_);
    }

    e2e::RunResult Host(std::vector<std::string> args, e2e::RunRequest request = {}) {
        request.args = {SKALNIX_HOST_EXE};
        request.args.insert(request.args.end(), args.begin(), args.end());
        request.workDir = dir_.string();
        return e2e::Run(request);
    }

    fs::path dir_;
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(HostProcess, InfoListsEveryParameterAndTheAdditionalFunction) {
    const auto r = Host({"info"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* name :
         {"DibalPodgrupaPLU", "DibalSeria", "DibalAdres", "DibalGrupa", "DibalPort",
          "DibalBaudRate", "DibalDataBits", "DibalMuxChannel", "DibalIPAddress", "Pojemnosc",
          "PoziomCen", "DibalPluExact", "DibalPluSendGroup", "DibalAddTextsFrom",
          "DibalSendAddData", "DibalSendExpDate", "DibalExitApp", "DibalUserConfigTxt",
          "DibalKatalogDrv", "DibalKodyKD", "DibalKodPocz", "DibalKodKonc", "DibalPlZnaki"})
        EXPECT_TRUE(Contains(r.out, std::string("  ") + name + " ")) << name;
    EXPECT_TRUE(Contains(r.out, "Library type: 2 (scale driver"));
    EXPECT_TRUE(Contains(r.out, "  105 flag:   1 (set)\n"));
    EXPECT_TRUE(Contains(r.out, "  DibalPort            choice (type 7), default 0 = PLIK\n"));
    EXPECT_FALSE(Contains(r.out, "in effect:"));  // only with a configuration
    EXPECT_TRUE(Contains(r.out, "Długie z prefixem 21 (np.210123"));
    EXPECT_TRUE(Contains(r.out, "Additional functions:\n  0: Zapisz konfigurację DibalCom\n"));
}

TEST_F(HostProcess, DemoExportsWriteTheExpectedFiles) {
    const std::string expectedResult =
        "PLU;1;101;2101001000000;DOD\r\nPLU;2;102;2101002000000;AKT\r\n"
        "PLU;3;103;2200003000000;CEN\r\nPLU;4;104;2101004000000;USU\r\n"
        "PLU;5;105;2101005000000;DOD\r\nPLU;6;106;123;DOD\r\n"
        "PLU;7;107;2900007000000;DOD\r\nPLU;8;108;2101A08000000;AKT\r\n";
    const struct {
        const char* config;
        bool autoExport;
        bool throughDibalCom;
    } cases[] = {{"file-export.ini", false, false},
                 {"file-export.ini", true, false},
                 {"serial-export.ini", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.config) + (c.autoExport ? " --auto" : ""));
        fs::remove(dir_ / "dibalcom" / "dibal.exp");
        fs::remove(dir_ / "exchange" / "wynik.exp");
        std::vector<std::string> args{"export", "--config", kExamples + "/" + c.config};
        if (c.autoExport) args.push_back("--auto");
        const auto r = Host(args);
        EXPECT_TRUE(Contains(r.out, c.autoExport ? "(operation -5," : "(operation -2,"));
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_EQ(ReadFile(dir_ / "exchange" / "wynik.exp"), expectedResult);
        EXPECT_TRUE(Contains(r.out, "goods reported in wynik.exp: 8 (DOD 4, AKT 2, CEN 1, USU 1)"));
        // Five goods have records; three are done without one (code 123 is no long code, 29
        // has no template, 2101A08 holds a letter).
        const char* withRecords =
            c.throughDibalCom ? "  sent to the scale (record lines marked by DibalCom): 5\n"
                              : "  records written to dibal.exp, not sent (no DibalCom): 5\n";
        EXPECT_TRUE(Contains(r.out, withRecords)) << r.out;
        EXPECT_TRUE(Contains(r.out, "    PLU 2  2101002000000  AKT  Kiełbasa śląska\n"));
        EXPECT_TRUE(Contains(r.out, "  reported done without a record: 3\n"
                                    "    PLU 6  123  DOD  Bułka kajzerka  -- not for this scale\n"));
        EXPECT_TRUE(Contains(r.out, "  not reported: 0\n"));
        EXPECT_TRUE(Contains(r.out, "saving the result: stored"));
        EXPECT_TRUE(Contains(r.out, "/dibalcom/dibal.exp\n"));  // among the files written
        // Five goods for the scale in series L: L2 and L3 each, five L4 lines for the three
        // goods with a description.
        std::istringstream records(ReadFile(dir_ / "dibalcom" / "dibal.exp"));
        int lines = 0, marked = 0;
        for (std::string line; std::getline(records, line);) {
            ++lines;
            if (line.size() > 2 && line[2] == '*') ++marked;
        }
        EXPECT_EQ(lines, 25);
        EXPECT_EQ(marked, c.throughDibalCom ? 25 : 0);
        const std::string options = ReadFile(dir_ / "dibalcom" / "dibctrl.txt");
        EXPECT_EQ(!options.empty(), c.throughDibalCom);
        if (c.throughDibalCom) {
            // Choices named by their list texts in the configuration reach the driver.
            EXPECT_TRUE(Contains(options, "-v 9600\r\n-p COM1\r\n-P \r\n-b 8\r\n"));
            EXPECT_TRUE(Contains(options, "-d 00#\r\n-G \r\n-C \r\n"));
        }
        EXPECT_FALSE(fs::exists(dir_ / "dibalcom" / "rozkaz.txt"));
    }
}

// The example configuration without its weighted-code templates: no long code can be read, so
// the seven goods with one go nowhere. The window says so, goods by goods with the reason, and
// they are not reported done, so the host offers them again once the templates are back.
TEST_F(HostProcess, MissingWeightedCodeTemplatesKeepTheGoodsBackWithTheReason) {
    std::istringstream example(ReadFile(kExamples + "/file-export.ini"));
    const fs::path ini = dir_ / "no-templates.ini";
    std::ofstream config(ini);
    for (std::string line; std::getline(example, line);)
        if (line.rfind("templates", 0) != 0) config << line << "\n";
    config.close();

    const auto r = Host({"export", "--config", ini.string()});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    std::vector<std::string> lines;
    std::istringstream out(r.out);
    for (std::string line; std::getline(out, line);) lines.push_back(line);
    const auto stage = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.rfind("  - towary pominięte:", 0) == 0 && l.back() == '7';
    });
    ASSERT_NE(stage, lines.end()) << r.out;
    const char* const keptBack[] = {"1; KOD: 2101001000000", "2; KOD: 2101002000000",
                                    "3; KOD: 2200003000000", "4; KOD: 2101004000000",
                                    "5; KOD: 2101005000000", "7; KOD: 2900007000000",
                                    "8; KOD: 2101A08000000"};
    ASSERT_GE(lines.end() - stage, 8);
    for (std::size_t i = 0; i < std::size(keptBack); ++i)
        EXPECT_EQ(stage[static_cast<std::ptrdiff_t>(i) + 1],
                  std::string("W ...PLU: ") + keptBack[i] +
                      " (brak szablonów kodów ważonych w konfiguracji)");
    EXPECT_FALSE(Contains(r.out, "\nE ")) << r.out;
    EXPECT_TRUE(Contains(r.out, "  - do wysłania:")) << r.out;

    EXPECT_EQ(ReadFile(dir_ / "exchange" / "wynik.exp"), "PLU;6;106;123;DOD\r\n");
    EXPECT_FALSE(fs::exists(dir_ / "dibalcom" / "dibal.exp"));
    EXPECT_TRUE(Contains(r.out, "  reported done without a record: 1\n")) << r.out;
    EXPECT_TRUE(Contains(r.out, "  not reported: 7\n")) << r.out;
    const std::string log = ReadFile(dir_ / "exchange" / "kasa.log");
    EXPECT_TRUE(Contains(log, "PLU: 8; KOD: 2101A08000000 (brak szablon\xF3w kod\xF3w wa\xBFonych "
                              "w konfiguracji)\r\n"))
        << "the whole list is in the log, in Windows-1250";
}

TEST_F(HostProcess, EnglishTranslationReachesTheDriver) {
    const std::string lang = kExamples + "/lang/en.ini";
    const auto test = Host({"test", "--lang", lang});
    ASSERT_EQ(test.exitCode, 0) << test.err;
    EXPECT_TRUE(Contains(test.out, "The scale does not support the connection test!"));

    const auto info = Host({"info", "--lang", lang});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_TRUE(
        Contains(info.out, "Driver: DibalCom 1.25I\n              Tested with: Dibal L-865"));
    EXPECT_TRUE(Contains(info.out, "Scale capacity"));
    EXPECT_TRUE(Contains(info.out, "0: FILE"));
    EXPECT_TRUE(Contains(info.out, "0: Save the DibalCom configuration"));
    EXPECT_FALSE(Contains(info.out, "Pojemność wagi"));

    const auto exported =
        Host({"export", "--lang", lang, "--config", kExamples + "/serial-export.ini", "--set",
              "DibalPort=FILE"});  // a choice named in English
    ASSERT_EQ(exported.exitCode, 0) << exported.out << exported.err;
    EXPECT_TRUE(Contains(exported.out, "Preparing the goods:"));
    EXPECT_FALSE(Contains(exported.out, "towarów"));
    EXPECT_FALSE(Contains(exported.out, "DibalCom.exe"));  // file only: DibalCom not started

    // Texts that used to stay Polish: closing DibalCom after the export, a missing options file.
    const auto serial =
        Host({"export", "--lang", lang, "--config", kExamples + "/serial-export.ini"});
    ASSERT_EQ(serial.exitCode, 0) << serial.out << serial.err;
    EXPECT_TRUE(Contains(serial.out, "-closing the DibalCom program")) << serial.out;
    EXPECT_FALSE(Contains(serial.out, "zatrzymuję")) << serial.out;
    fs::remove(dir_ / "dibalcom" / "dibctrl.txt");
    const auto own = Host({"function", "0", "--lang", lang, "--config",
                           kExamples + "/serial-export.ini", "--set", "DibalUserConfigTxt=1"});
    EXPECT_EQ(own.exitCode, 1);
    EXPECT_TRUE(Contains(own.out, "E No dibctrl.txt file in the driver directory")) << own.out;
}

// Two stations export at once to one DibalCom, which leaves PLU 3 unmarked: they take turns,
// and each result names exactly its own goods that were sent.
TEST_F(HostProcess, TwoHostsExportingToOneDibalComTakeTurns) {
    fs::create_directories(dir_ / "exchange2");
    std::string other;
    for (int plu = 11; plu <= 15; ++plu)
        other += "PLU;" + std::to_string(plu) + ";0;21010" + std::to_string(plu) +
                 "000000;Towar;100;100;100;100;5;1;T;3;T;F;F;;;1;DOD\r\n";
    {
        std::ofstream(dir_ / "exchange2" / "kasa.exp", std::ios::binary) << other;
        // DibalCom outlives the driver's 30 s wait for the mark that never comes.
        std::ofstream(dir_ / "dibalcom" / "dibalcom.test") << "unmarked=3\nidle_exit_s=60\n";
    }
    // Both run as plain processes of one shell, the second started while the first works.
    const std::string host = std::string("'") + SKALNIX_HOST_EXE + "' export --config '" + kExamples +
                             "/serial-export.ini'";
    const std::string script = "cd '" + dir_.string() + "' && (" + host +
                               " > a.out 2>&1; echo \\$? > a.rc) & sleep 0.3; cd '" + dir_.string() +
                               "' && " + host + " --exchange exchange2 > b.out 2>&1; echo \\$? > b.rc; wait";
    ASSERT_EQ(std::system(("timeout 120 sh -c \"" + script + "\"").c_str()), 0);
    const std::string aOut = ReadFile(dir_ / "a.out"), bOut = ReadFile(dir_ / "b.out");
    EXPECT_EQ(ReadFile(dir_ / "a.rc"), "1\n") << aOut;  // PLU 3 listed as not taken
    EXPECT_EQ(ReadFile(dir_ / "b.rc"), "0\n") << bOut;
    EXPECT_EQ(ReadFile(dir_ / "exchange" / "wynik.exp"),
              "PLU;1;101;2101001000000;DOD\r\nPLU;2;102;2101002000000;AKT\r\n"
              "PLU;4;104;2101004000000;USU\r\nPLU;5;105;2101005000000;DOD\r\n"
              "PLU;6;106;123;DOD\r\nPLU;7;107;2900007000000;DOD\r\n"
              "PLU;8;108;2101A08000000;AKT\r\n");
    std::string expected;
    for (int plu = 11; plu <= 15; ++plu)
        expected += "PLU;" + std::to_string(plu) + ";0;21010" + std::to_string(plu) + "000000;DOD\r\n";
    EXPECT_EQ(ReadFile(dir_ / "exchange2" / "wynik.exp"), expected);
    EXPECT_TRUE(Contains(bOut, "waiting for another operation on")) << bOut;
}

// The host hands the driver its paths in Windows-1250; on a POSIX system they must still name
// the directories the user named, in UTF-8, and no second, garbled directory may appear.
TEST_F(HostProcess, DirectoriesNamedWithEveryPolishLetterAreTheOnesUsed) {
    const std::string exchange = "wymiana ąćęłńóśźż", dibalcom = "DibalCom ĄĆĘŁŃÓŚŹŻ";
    fs::rename(dir_ / "exchange", dir_ / exchange);
    fs::rename(dir_ / "dibalcom", dir_ / dibalcom);
    const auto r = Host({"export", "--config", kExamples + "/serial-export.ini", "--exchange",
                         exchange, "--set", "DibalKatalogDrv=" + dibalcom});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_TRUE(Contains(r.out, "goods reported in wynik.exp: 8")) << r.out;
    EXPECT_TRUE(Contains(r.out, "  sent to the scale (record lines marked by DibalCom): 5\n"));
    EXPECT_TRUE(Contains(ReadFile(dir_ / exchange / "wynik.exp"), "PLU;1;101;2101001000000;DOD\r\n"));
    EXPECT_TRUE(fs::exists(dir_ / dibalcom / "dibal.exp"));
    EXPECT_TRUE(fs::exists(dir_ / dibalcom / "dibctrl.txt"));  // written by the driver
    std::vector<std::string> entries;
    for (const auto& entry : fs::directory_iterator(dir_))
        if (entry.path().filename().string()[0] != '.')  // the test's own output files
            entries.push_back(entry.path().filename());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{dibalcom, exchange}));
}

// An export killed at any moment leaves each file it hands on whole or absent: the host never
// finds a torn wynik.exp, DibalCom never a torn dibal.exp.
TEST_F(HostProcess, ExportKilledAnywhereLeavesNoTornFile) {
    std::string kasa;
    for (int plu = 1; plu <= 60000; ++plu) {
        const std::string code = std::to_string(100000 + plu % 900);
        kasa += "PLU;" + std::to_string(plu) + ";0;21" + code + "00000" + ";Towar " +
                std::to_string(plu) + ";1290;1100;1290;1200;8;1;T;3;T;F;F;;;1;DOD\r\n";
    }
    std::ofstream(dir_ / "exchange" / "kasa.exp", std::ios::binary) << kasa;
    const std::string config = kExamples + "/file-export.ini";
    const auto clean = Host({"export", "--config", config, "--set", "Pojemnosc=100000"});
    ASSERT_EQ(clean.exitCode, 0) << clean.out << clean.err;
    const std::string result = ReadFile(dir_ / "exchange" / "wynik.exp");
    const std::string records = ReadFile(dir_ / "dibalcom" / "dibal.exp");
    ASSERT_FALSE(result.empty());
    ASSERT_FALSE(records.empty());
    const std::string command = "cd '" + dir_.string() + "' && timeout -s KILL ";
    for (const char* after : {"0.05", "0.15", "0.3", "0.45", "0.6", "0.8", "1.0", "1.3"}) {
        SCOPED_TRACE(std::string("killed after ") + after + " s");
        fs::remove(dir_ / "exchange" / "wynik.exp");
        fs::remove(dir_ / "dibalcom" / "dibal.exp");
        std::system((command + after + " '" + SKALNIX_HOST_EXE + "' export --config '" + config +
                     "' --set Pojemnosc=100000 > /dev/null 2>&1")
                        .c_str());
        if (fs::exists(dir_ / "exchange" / "wynik.exp")) {
            EXPECT_EQ(ReadFile(dir_ / "exchange" / "wynik.exp"), result);
        }
        if (fs::exists(dir_ / "dibalcom" / "dibal.exp")) {
            EXPECT_EQ(ReadFile(dir_ / "dibalcom" / "dibal.exp"), records);
        }
        EXPECT_EQ(ReadFile(dir_ / "exchange" / "kasa.exp"), kasa);
    }
}

TEST_F(HostProcess, FailuresExitNonZeroWithTheReason) {
    const std::string fileConfig = kExamples + "/file-export.ini";
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* text;  // expected in standard output or error
    } cases[] = {
        {{"function", "1", "--config", fileConfig}, 1, "E Błędny numer funkcji dodatkowej"},
        {{"function", "0", "--config", fileConfig}, 1, "E Niewłaściwy typ złącza!"},
        {{"op", "-3"}, 1, "E Urządzenie nie obsługuje zleconego typu operacji"},
        {{"export", "--refuse-save", "--config", fileConfig},
         1,
         "E Błąd zapisu wyniku eksportu do bazy danych"},
        {{"export", "--exchange", "nowhere"}, 2, "exchange directory"},
        {{"export", "--set", "NoSuchParameter=1"}, 2, "unknown driver parameter"},
        {{"info", "--driver", "missing/libnothing.so"}, 3, "cannot load"},
        {{"launch"}, 2, "unknown command"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : ""));
        const auto r = Host(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out << r.err;
        EXPECT_TRUE(Contains(r.out + r.err, c.text)) << r.out << r.err;
    }
    // The refused save is also named in the summary.
    const auto refused = Host({"export", "--refuse-save", "--config", fileConfig});
    EXPECT_TRUE(Contains(refused.out, "saving the result: refused by the host"));

    // An earlier result that cannot be removed would be summed up as this export's: no export.
    fs::remove(dir_ / "exchange" / "wynik.exp");
    fs::create_directories(dir_ / "exchange" / "wynik.exp" / "held");
    const auto stale = Host({"export", "--config", fileConfig});
    EXPECT_EQ(stale.exitCode, 3) << stale.out << stale.err;
    EXPECT_TRUE(Contains(stale.err, "cannot remove the earlier result file")) << stale.err;
    EXPECT_FALSE(Contains(stale.out, "Summary")) << stale.out;
}

TEST_F(HostProcess, BadValuesAndUsageEndWithStatusTwoBeforeTheDriverRuns) {
    const fs::path ini = dir_ / "bad.ini";
    std::ofstream(ini) << "[host]\nexchange = exchange ; comment\n[driver]\n"
                          "DibalPort = COM1 ; the first port\nDibalKatalogDrv = dibalcom\n"
                          "Pojemnosc = abc\n";
    const std::string config = ini.string();
    // Values longer than the driver's 300-character buffer would reach it cut: a shortened
    // DibalCom directory.
    const std::string longDir = (dir_ / std::string(200, 'l') / std::string(120, 'l')).string();
    const fs::path longIni = dir_ / "long.ini";
    std::ofstream(longIni) << "[host]\nexchange = exchange\n[driver]\nDibalPort = PLIK\n"
                              "DibalKatalogDrv = " << longDir << "\n";
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> inError;
    } cases[] = {
        {{"export", "--config", longIni.string()},
         {longIni.string() + ":5: ", "DibalKatalogDrv", "at most 299"}},
        {{"function", "0", "--set", "DibalKatalogDrv=" + longDir},
         {"--set: ", "DibalKatalogDrv", "at most 299"}},
        {{"export", "--set", "DibalIPAddress=" + std::string(300, '1')},
         {"--set: ", "DibalIPAddress", "300 bytes long"}},
        // The file's comment after COM1 is no part of the value; line 6 is the bad one.
        {{"export", "--config", config}, {config + ":6: ", "Pojemnosc", "abc", "whole number"}},
        {{"export", "--set", "DibalPort=42"}, {"--set: ", "DibalPort", "PLIK (0)", "TCP/IP (10)"}},
        {{"export", "--set", "DibalKodyKD=99"}, {"DibalKodyKD", "(10)"}},
        {{"export", "--set", "DibalPlZnaki=UTF8"}, {"DibalPlZnaki", "Latin II (1)"}},
        {{"export", "--set", "DibalBaudRate=115200"}, {"DibalBaudRate", "38400 (7)"}},
        {{"test", "--set", "DibalBuadRate=9600"}, {"did you mean 'DibalBaudRate'?"}},
        {{"info", "--config", dir_.string()}, {"is a directory"}},
        {{"help", "nope"}, {"no help on 'nope'"}},
        {{"exprot"}, {"did you mean 'export'?"}},
        {{"export", "--refuse-sav"}, {"did you mean '--refuse-save'?"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + (c.args.size() > 1 ? c.args.back() : ""));
        const auto r = Host(c.args);
        EXPECT_EQ(r.exitCode, 2) << r.out << r.err;
        for (const auto& part : c.inError) EXPECT_TRUE(Contains(r.err, part)) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;  // neither help text nor any driver output
        EXPECT_FALSE(fs::exists(dir_ / "exchange" / "kasa.log"));
        EXPECT_FALSE(fs::exists(dir_ / std::string(200, 'l')));
    }
    const auto version = Host({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("skalnix-host ") + SKALNIX_VERSION + "\n");
}

TEST_F(HostProcess, FunctionZeroSaysWhatItWroteAndNeverMakesADrivePathDirectory) {
    const auto r = Host({"function", "0", "--exchange", "exchange", "--set", "DibalPort=COM1",
                         "--set", "DibalKatalogDrv=dibalcom"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_TRUE(Contains(r.out, "additional function 0: the driver reported no errors")) << r.out;
    EXPECT_TRUE(Contains(r.out, "  files written:\n")) << r.out;
    EXPECT_TRUE(Contains(r.out, "    " + (dir_ / "dibalcom" / "dibctrl.txt").string() + "\n"))
        << r.out;

    // Without a configuration the driver's Windows default is replaced by a POSIX directory.
    const auto info = Host({"info", "--set", "DibalPort=1"});
    EXPECT_TRUE(Contains(info.out, "in effect: \"/opt/dibalcom/\"  (host default)")) << info.out;
    Host({"function", "0"});
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_EQ(entry.path().filename().string().find("C:"), std::string::npos);
}

TEST_F(HostProcess, TimeoutAnswersTheStopQuestionAndNamesTheStage) {
    std::ofstream(dir_ / "dibalcom" / "dibalcom.test") << "never_take=1\nidle_exit_s=5\n";
    e2e::RunRequest request;
    request.timeoutMs = 20000;
    const auto r = Host({"export", "--auto", "--timeout", "0.3", "--config",
                         kExamples + "/serial-export.ini"},
                        request);
    ASSERT_FALSE(r.timedOut) << r.out;
    EXPECT_EQ(r.exitCode, 124) << r.out << r.err;
    EXPECT_TRUE(Contains(r.err, "stopped after 0.3 s (--timeout) while the automatic export was "
                                "at: -inicjalizuję DibalCom"))
        << r.err;
    EXPECT_FALSE(fs::exists(dir_ / "exchange" / "wynik.exp"));
}

TEST_F(HostProcess, OutputToAFileGetsAFewLinesForThousandsOfGoods) {
    // 20,000 goods of the sample's first kind, each under its own PLU number.
    const std::string sample = ReadFile(kExamples + "/kasa.exp");
    const size_t goodsStart = sample.find("PLU;1;");
    const size_t goodsEnd = sample.find("\r\n", goodsStart);
    const std::string line = sample.substr(goodsStart, goodsEnd - goodsStart);
    std::string kasa = sample.substr(0, goodsStart);
    for (int i = 1; i <= 20000; ++i)
        kasa += "PLU;" + std::to_string(i) + line.substr(line.find(';', 4)) + "\r\n";
    std::ofstream(dir_ / "exchange" / "kasa.exp", std::ios::binary) << kasa;

    const auto r = Host({"export", "--config", kExamples + "/file-export.ini"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Contains(r.out, "goods in kasa.exp: 20000\n"));
    const auto lines = std::count(r.out.begin(), r.out.end(), '\n');
    EXPECT_LT(lines, 80) << r.out;
    EXPECT_FALSE(Contains(r.out, "\x1b["));  // no cursor movement or colour in a file
    // Each stage ends with its final value.
    EXPECT_TRUE(Contains(r.out, "  Przygotowanie towarów:")) << r.out;
}

TEST_F(HostProcess, TerminalGetsInPlaceProgressAndColoursUnlessNoColorIsSet) {
    for (const bool noColor : {false, true}) {
        SCOPED_TRACE(noColor ? "NO_COLOR" : "colours");
        fs::remove(dir_ / "exchange" / "wynik.exp");
        e2e::RunRequest request;
        request.args = {SKALNIX_HOST_EXE, "export", "--config", kExamples + "/file-export.ini"};
        request.workDir = dir_.string();
        const auto r = e2e::RunInTerminal(request, 90,
                                          noColor ? std::vector<std::string>{"NO_COLOR=1"}
                                                  : std::vector<std::string>{});
        ASSERT_FALSE(r.timedOut) << r.out;
        EXPECT_EQ(r.exitCode, 0) << r.out;
        // A stage's line is painted over: back to the line start, up one row, clear.
        EXPECT_TRUE(Contains(r.out, "\r\x1b[1A\x1b[J")) << r.out;
        EXPECT_EQ(Contains(r.out, "\x1b[32mOK\x1b[0m"), !noColor) << r.out;
        EXPECT_TRUE(Contains(r.out, "sent to the scale") || Contains(r.out, "records written"));
    }
}

TEST_F(HostProcess, EveryCommandHasHelpWithoutTouchingTheDriver) {
    for (const char* command : {"info", "export", "test", "function", "op"}) {
        const auto r = Host({command, "--help", "--driver", "missing/libnothing.so"});
        EXPECT_EQ(r.exitCode, 0) << command << r.err;
        EXPECT_EQ(r.out.rfind(std::string("usage: skalnix-host ") + command, 0), 0u) << r.out;
    }
    const auto r = Host({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(Contains(r.out, "Commands:"));
}

TEST_F(HostProcess, CtrlCWhileDibalComHoldsACommandInterruptsTheExport) {
    std::ofstream(dir_ / "dibalcom" / "dibalcom.test") << "never_take=1\nidle_exit_s=5\n";
    const fs::path command = dir_ / "dibalcom" / "rozkaz.txt";
    e2e::RunRequest request;
    request.timeoutMs = 20000;
    request.interruptWhen = [&] { return fs::exists(command); };
    request.interruptDelayMs = 1500;
    const auto r = Host({"export", "--config", kExamples + "/serial-export.ini"}, request);
    ASSERT_FALSE(r.timedOut) << r.out;
    EXPECT_EQ(r.exitCode, 130) << r.out << r.err;
    EXPECT_TRUE(Contains(r.out, "E Operacja 'eksport' została przerwana")) << r.out;
    EXPECT_TRUE(Contains(r.out, "no result file (wynik.exp) was written"));
    EXPECT_FALSE(fs::exists(dir_ / "exchange" / "wynik.exp"));
}

}  // namespace
