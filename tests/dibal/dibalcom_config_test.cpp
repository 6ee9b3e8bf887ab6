// dibctrl.txt: its exact lines per connection, the user's own file, the file-only mode and a
// multiplexer that cannot be reached.
#include <cstdlib>

#include "flow_fixture.h"
#include "platform/platform.h"
#include "runtime/exceptions.h"

namespace {

// Lines 1-20, the same for every connection but for the baud rate, port, data bits and mode.
std::string Head(const std::string& baud, const std::string& port, const std::string& bits,
                 int mode) {
    return "-t dibal.exp\r\n-r BL0NDDM.TOT\r\n-v " + baud + "\r\n-p " + port + "\r\n-P \r\n-b " +
           bits + "\r\n-a 1\r\n-c rozkaz.txt\r\n-T 04,50\r\n-I 1\r\n-w 0\r\n-f 0\r\n-C 0\r\n"
           "-D 25000\r\n-R 25001\r\n-e 0\r\n-m " +
           std::to_string(mode) + "\r\n-L 1\r\n-S 1\r\n-H 1\r\n";
}

struct ConfigCase {
    const char* name;
    int connection;
    const char* port;
    const char* address;
    const char* muxChannel;
    bool exitApp;
    std::string tail;  // the lines after "-i <DriverDir>"
};

void PrintTo(const ConfigCase& c, std::ostream* out) { *out << c.name; }

class DibctrlContent : public FlowTest, public ::testing::WithParamInterface<ConfigCase> {};

TEST_P(DibctrlContent, WritesTheExactLines) {
    const ConfigCase& c = GetParam();
    SkalnixAction& action = SerialAction();
    action.Settings.ConnectionType = c.connection;
    action.Settings.PortName = c.port;
    action.Settings.ScaleAddress = c.address;
    action.Settings.ExitDibalCom = c.exitApp;
    action.Settings.BaudRate = "19200";
    action.Settings.DataBits = "7";
    host.params["DibalMuxChannel"] = c.muxChannel;
    host.params["DibalIPAddress"] = "10.1.2.3";
    action.Settings.MuxChannel = action.ParamAsInt("DibalMuxChannel");
    action.Settings.IpAddress = action.ParamAsString("DibalIPAddress");

    action.WriteDibalComConfig();

    EXPECT_EQ(ReadFile(driver.File("dibctrl.txt")),
              Head("19200", c.port, "7", c.connection - 1) + "-i " + driver.WithSeparator() +
                  "\r\n" + c.tail);
    EXPECT_FALSE(platform::env().PathExists(driver.File("dibctrl.tmp")));
}

INSTANTIATE_TEST_SUITE_P(
    Connections, DibctrlContent,
    ::testing::Values(
        ConfigCase{"SerialPlain", 1, "COM2", "04", "0", false, "-d 04#\r\n"},
        ConfigCase{"SerialExitApp", 1, "COM1", "00", "0", true, "-d 00#\r\n-G \r\n-C \r\n"},
        ConfigCase{"SerialChannelOutOfRange", 1, "COM1", "00", "9", false, "-d 00#\r\n"},
        ConfigCase{"TcpIp", 2, "", "02", "0", false,
                   "-k 3001,3000\r\n-k 3001,3000\r\n-d 02#10.1.2.3\r\n"},
        // A channel means nothing without a serial port; only DibalExitApp adds the lines.
        ConfigCase{"UdpChannelIgnored", 3, "", "30", "3", false,
                   "-k 3001,3000\r\n-k 3001,3000\r\n-d 30#10.1.2.3\r\n"},
        ConfigCase{"UdpExitApp", 3, "", "30", "0", true,
                   "-k 3001,3000\r\n-k 3001,3000\r\n-d 30#10.1.2.3\r\n-G \r\n-C \r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FlowTest, DibctrlReplacesAnOlderFile) {
    WriteFile(driver.File("dibctrl.txt"), std::string(5000, 'x'));
    SerialAction().WriteDibalComConfig();
    EXPECT_EQ(ReadFile(driver.File("dibctrl.txt")).substr(0, 14), "-t dibal.exp\r\n");
    EXPECT_LT(ReadFile(driver.File("dibctrl.txt")).size(), 5000u);
}

TEST_F(FlowTest, UsersOwnDibctrlIsKeptAsItIs) {
    WriteFile(driver.File("dibctrl.txt"), "-t mine\r\n");
    SkalnixAction& action = SerialAction();
    action.Settings.UserConfig = true;
    action.Settings.ConnectionType = 0;  // not even the file-only mode is an error then
    action.WriteDibalComConfig();
    EXPECT_EQ(ReadFile(driver.File("dibctrl.txt")), "-t mine\r\n");
}

TEST_F(FlowTest, ConfigFailures) {
    struct Case {
        const char* name;
        const char* userConfig;
        int connection;
        std::string message;
    } cases[] = {
        {"user file missing", "1", 1, Cp("Brak pliku dibctrl.txt w katalogu sterownika")},
        {"file-only mode", "0", 0, Cp("Niewłaściwy typ złącza!")},
        {"unknown connection", "0", 4, Cp("Niewłaściwy typ złącza!")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SkalnixAction& action = SerialAction();
        action.Settings.UserConfig = std::string(c.userConfig) == "1";
        action.Settings.ConnectionType = c.connection;
        try {
            action.WriteDibalComConfig();
            ADD_FAILURE() << "no failure";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        EXPECT_FALSE(platform::env().PathExists(driver.File("dibctrl.txt")));
    }
}

TEST_F(FlowTest, UnreachableMultiplexerFailsAfterWritingTheOptions) {
    const std::string missing = driver.File("no-such-port");
    ::setenv("SKALNIX_COM7", missing.c_str(), 1);
    SkalnixAction& action = SerialAction();
    action.Settings.MuxChannel = 3;
    action.Settings.PortName = "COM7";
    try {
        action.WriteDibalComConfig();
        ADD_FAILURE() << "no failure";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), Cp("Nie udało się przestawienie kanału multipleksera. "
                                  "Prawdopodobnie port COM nie istnieje lub zajęty przez "
                                  "Dibalcom.exe"));
    }
    ::unsetenv("SKALNIX_COM7");
    const std::string written = ReadFile(driver.File("dibctrl.txt"));
    EXPECT_NE(written.find("-d 04#\r\n-G \r\n-C \r\n"), std::string::npos) << written;
}

}  // namespace
