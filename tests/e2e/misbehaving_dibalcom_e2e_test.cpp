// Exports to a DibalCom stand-in that misbehaves: it crashes, spoils the record file after the
// transfer, or ends at once because another one already runs. The export reports only what it
// saw DibalCom do, and never waits without end.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "driver_host.h"

namespace fs = std::filesystem;

namespace {

// Goods 3 lies outside the short-code range and never goes to the scale; the other three
// have one 132-byte record line each.
const std::string kExportFile =
    "PLU;1;0;11;Jab\xB3ka;250;240;230;220;5;1;T;3;F;F;F;;0;0;DOD\r\n"
    "PLU;2;7;12;Gruszki;300;290;280;270;5;1;T;3;F;F;F;;0;0;AKT\r\n"
    "PLU;3;0;5000;Poza zakresem;100;100;100;100;23;1;F;0;F;F;F;;0;0;DOD\r\n"
    "PLU;4;0;13;\x8Cliwki;400;390;380;370;5;1;T;3;F;F;F;;0;0;USU\r\n";

class MisbehavingDibalCom : public ::testing::Test {
protected:
    MisbehavingDibalCom() {
        host.exchangeDir = work.Exchange().string() + "/";
        host.params = DefaultParams(work.Driver());
        host.params["DibalPort"] = "1";
        host.params["DibalExitApp"] = "1";
        WriteAll(work.Exchange() / "kasa.exp", kExportFile);
    }

    Workspace work;
    DriverHost host;
};

TEST_F(MisbehavingDibalCom, CrashDuringTheTransferEndsTheExportNamingTheCommand) {
    work.InstallStandIn("die_on=s\nidle_exit_s=20\n");
    const auto start = std::chrono::steady_clock::now();

    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);

    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(25));
    ASSERT_FALSE(host.Errors().empty());
    EXPECT_EQ(host.Errors().back(),
              Cp1250("DibalCom zakończył pracę i nie przyjął polecenia \"S\""));
    EXPECT_FALSE(fs::exists(work.Exchange() / "wynik.exp"));
    EXPECT_FALSE(fs::exists(work.Driver() / "rozkaz.txt"));
    EXPECT_EQ(work.Commands(), (std::vector<std::string>{"R", "s"}));
}

// The stand-in marks every line, then empties or cuts the record file on "S": only goods
// whose lines are still there, marked, count as sent.
TEST_F(MisbehavingDibalCom, RecordFileSpoiledAfterTheTransferReportsOnlyWhatIsLeft) {
    const struct {
        const char* control;
        const char* result;
        std::size_t rejected;
    } cases[] = {
        {"empty", "PLU;3;0;5000;DOD\r\n", 3},
        {"cut", "PLU;1;0;11;DOD\r\nPLU;3;0;5000;DOD\r\n", 2},  // the first line survives
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        fs::remove(work.Driver() / "dibalcom.log");
        fs::remove(work.Exchange() / "wynik.exp");
        work.InstallStandIn(std::string("on_stop=") + c.control + "\nidle_exit_s=20\n");
        const std::size_t before = host.Errors().size();

        EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);

        EXPECT_EQ(ReadAll(work.Exchange() / "wynik.exp"), c.result);
        const std::vector<std::string> errors = host.Errors();
        std::size_t listed = 0;
        for (std::size_t i = before; i < errors.size(); ++i) listed += errors[i].rfind("...", 0) == 0;
        EXPECT_EQ(listed, c.rejected);
        ASSERT_TRUE(work.WaitForLogLine("exit", 5000));
    }
}

// A DibalCom already runs in the directory; the one the export starts ends at once, and the
// running one takes the commands.
TEST_F(MisbehavingDibalCom, SecondDibalComEndsAtOnceAndTheRunningOneDoesTheWork) {
    work.InstallStandIn("single_instance=1\nidle_exit_s=20\n");
    WriteAll(work.Driver() / "dibctrl.txt", "-t dibal.exp\r\n-c rozkaz.txt\r\n");
    const std::string start = "cd '" + work.Driver().string() + "' && ./dibalcom.exe >/dev/null 2>&1 &";
    ASSERT_EQ(std::system(start.c_str()), 0);
    ASSERT_TRUE(work.WaitForLogLine("command-file rozkaz.txt", 5000));

    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);

    EXPECT_TRUE(host.Errors().empty());
    EXPECT_EQ(ReadAll(work.Exchange() / "wynik.exp"),
              "PLU;1;0;11;DOD\r\nPLU;2;7;12;AKT\r\nPLU;3;0;5000;DOD\r\nPLU;4;0;13;USU\r\n");
    ASSERT_TRUE(work.WaitForLogLine("exit", 5000));
    EXPECT_NE(ReadAll(work.Driver() / "dibalcom.log").find("another instance runs"),
              std::string::npos);
    EXPECT_EQ(work.Commands(), (std::vector<std::string>{"R", "s", "S", "G"}));
}

}  // namespace
