// Exports through the built driver with the DibalCom stand-in as a real process.
#include <gtest/gtest.h>

#include <chrono>

#include "driver_host.h"

namespace fs = std::filesystem;

namespace {

// Goods 3 lies outside the short-code range 1-999 and never goes to the scale.
const std::string kExportFile =
    "# eksport\r\n"
    "PLU;1;0;11;Jab\xB3ka;250;240;230;220;5;1;T;3;F;F;F;;0;0;DOD\r\n"
    "PLU;2;7;12;Gruszki;300;290;280;270;5;1;T;3;F;F;F;;0;0;AKT\r\n"
    "PLU;3;0;5000;Poza zakresem;100;100;100;100;23;1;F;0;F;F;F;;0;0;DOD\r\n"
    "PLU;4;0;13;\x8Cliwki;400;390;380;370;5;1;T;3;F;F;F;;0;0;USU\r\n";
const std::string kAllDone =
    "PLU;1;0;11;DOD\r\nPLU;2;7;12;AKT\r\nPLU;3;0;5000;DOD\r\nPLU;4;0;13;USU\r\n";

std::string OptionsHead(const std::string& port, int mode) {
    return "-t dibal.exp\r\n-r BL0NDDM.TOT\r\n-v 9600\r\n-p " + port +
           "\r\n-P \r\n-b 8\r\n-a 1\r\n-c rozkaz.txt\r\n-T 04,50\r\n-I 1\r\n-w 0\r\n-f 0\r\n"
           "-C 0\r\n-D 25000\r\n-R 25001\r\n-e 0\r\n-m " +
           std::to_string(mode) + "\r\n-L 1\r\n-S 1\r\n-H 1\r\n";
}

class ExportE2E : public ::testing::Test {
protected:
    ExportE2E() {
        host.exchangeDir = work.Exchange().string() + "/";
        host.params = DefaultParams(work.Driver());
        WriteAll(work.Exchange() / "kasa.exp", kExportFile);
    }
    std::string DriverDir() const { return work.Driver().string() + "/"; }

    Workspace work;
    DriverHost host;
};

TEST_F(ExportE2E, FileOnlyWritesRecordsAndResultWithoutDibalCom) {
    work.InstallStandIn("idle_exit_s=2\n");
    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);

    EXPECT_TRUE(host.Errors().empty());
    EXPECT_EQ(ReadAll(work.Exchange() / "wynik.exp"), kAllDone);
    const std::string records = ReadAll(work.Driver() / "dibal.exp");
    EXPECT_EQ(records.size(), 3u * 132u);
    EXPECT_EQ(records.substr(0, 13), "00X100M000011");
    EXPECT_FALSE(fs::exists(work.Driver() / "dibctrl.txt"));
    EXPECT_FALSE(fs::exists(work.Driver() / "dibalcom.log"));  // never started
    EXPECT_FALSE(fs::exists(work.Driver() / "rozkaz.txt"));
}

TEST_F(ExportE2E, SerialExportRunsTheWholeHandshake) {
    host.params["DibalPort"] = "2";
    host.params["DibalAdres"] = "04";
    host.params["DibalExitApp"] = "1";
    work.InstallStandIn("idle_exit_s=20\n");

    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);

    EXPECT_TRUE(host.Errors().empty());
    EXPECT_EQ(ReadAll(work.Driver() / "dibctrl.txt"),
              OptionsHead("COM2", 0) + "-i " + DriverDir() + "\r\n-d 04#\r\n-G \r\n-C \r\n");
    ASSERT_TRUE(work.WaitForLogLine("exit", 5000));
    EXPECT_EQ(work.Commands(), (std::vector<std::string>{"R", "s", "S", "G"}));
    EXPECT_FALSE(fs::exists(work.Driver() / "rozkaz.txt"));
    EXPECT_FALSE(fs::exists(work.Driver() / "rozkaz.tmp"));
    EXPECT_EQ(ReadAll(work.Exchange() / "wynik.exp"), kAllDone);
    const std::string records = ReadAll(work.Driver() / "dibal.exp");
    EXPECT_EQ(records.substr(0, 13), "04*100M000011");
}

TEST_F(ExportE2E, TcpIpExportLeavesDibalComRunning) {
    host.params["DibalPort"] = "10";
    host.params["DibalIPAddress"] = "127.0.0.1";
    work.InstallStandIn("idle_exit_s=2\n");

    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);

    EXPECT_TRUE(host.Errors().empty());
    EXPECT_EQ(ReadAll(work.Driver() / "dibctrl.txt"),
              OptionsHead("", 1) + "-i " + DriverDir() +
                  "\r\n-k 3001,3000\r\n-k 3001,3000\r\n-d 00#127.0.0.1\r\n");
    ASSERT_TRUE(work.WaitForLogLine("command S", 5000));
    EXPECT_EQ(work.Commands(), (std::vector<std::string>{"R", "s", "S"}));
    EXPECT_EQ(ReadAll(work.Exchange() / "wynik.exp"), kAllDone);
    EXPECT_TRUE(work.WaitForLogLine("idle exit", 10000));
}

TEST_F(ExportE2E, SlowMarksAreFollowedToTheLastOne) {
    host.params["DibalPort"] = "1";
    host.params["DibalExitApp"] = "1";
    work.InstallStandIn("mark_delay_ms=1200\nidle_exit_s=20\n");

    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);

    EXPECT_TRUE(host.Errors().empty());
    EXPECT_EQ(ReadAll(work.Exchange() / "wynik.exp"), kAllDone);
    // "S" comes only once every record line carries its mark.
    ASSERT_TRUE(work.WaitForLogLine("exit", 5000));
    const std::string log = ReadAll(work.Driver() / "dibalcom.log");
    EXPECT_NE(log.find("command S\nmarked 3\n"), std::string::npos) << log;
}

TEST_F(ExportE2E, UsersStopWhileACommandIsPending) {
    host.params["DibalPort"] = "1";
    work.InstallStandIn("never_take=1\nidle_exit_s=3\n");
    const fs::path command = work.Driver() / "rozkaz.txt";
    auto pendingSince = std::chrono::steady_clock::time_point::max();
    host.breakQuery = [&] {
        if (!fs::exists(command))
            return false;
        const auto now = std::chrono::steady_clock::now();
        if (pendingSince == std::chrono::steady_clock::time_point::max())
            pendingSince = now;
        return now - pendingSince > std::chrono::milliseconds(1500);
    };

    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);

    ASSERT_FALSE(host.Errors().empty());
    EXPECT_EQ(host.Errors().back(), Cp1250("Operacja 'eksport' została przerwana"));
    // The command nobody took is taken back, so that no DibalCom carries it out later.
    EXPECT_FALSE(fs::exists(command));
    EXPECT_FALSE(fs::exists(work.Exchange() / "wynik.exp"));
    EXPECT_TRUE(work.WaitForLogLine("idle exit", 10000));
    EXPECT_TRUE(work.Commands().empty());
}

}  // namespace
