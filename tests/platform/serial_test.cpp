#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform.h"
#include "platform/pty.h"

namespace {

TEST(SerialPort, SendsBytesUnchangedThroughMappedPort) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ok());
    setenv("SKALNIX_COM7", pty.SlavePath().c_str(), 1);
    platform::SerialPort port;
    platform::SerialSettings settings;
    settings.baudRate = 19200;
    ASSERT_TRUE(port.Open("COM7", settings));
    EXPECT_TRUE(port.IsOpen());
    port.SetRTS(false);  // a pseudo-terminal has no modem lines; the port stays usable
    port.SetDTR(true);
    // 0x0A and 0x0D pass unchanged too: the line is raw.
    for (std::uint8_t b : {0xFE, 0x03, 0x0A, 0x0D}) EXPECT_TRUE(port.PutByte(b));
    EXPECT_EQ(pty.Read(4), "\xFE\x03\x0A\x0D");
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.PutByte(1));
    unsetenv("SKALNIX_COM7");
}

TEST(SerialPort, RefusesWhatItCannotOpen) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ok());
    setenv("SKALNIX_COM8", pty.SlavePath().c_str(), 1);
    platform::SerialPort port;
    struct Case {
        const char* name;
        int baud, bits, parity, stop;
    } cases[] = {
        {"COM8", 12345, 8, 0, 1}, {"COM8", 9600, 4, 0, 1}, {"COM8", 9600, 9, 0, 1},
        {"COM8", 9600, 8, 3, 1},  {"COM8", 9600, 8, 0, 3}, {"LPT1", 9600, 8, 0, 1},
        {"COM", 9600, 8, 0, 1},   {"COM0", 9600, 8, 0, 1}, {"COMx", 9600, 8, 0, 1},
    };
    for (const Case& c : cases) {
        platform::SerialSettings s;
        s.baudRate = c.baud;
        s.dataBits = c.bits;
        s.parity = c.parity;
        s.stopBits = c.stop;
        EXPECT_FALSE(port.Open(c.name, s)) << c.name << " " << c.baud << " " << c.bits;
    }
    setenv("SKALNIX_COM8", "/nonexistent/tty", 1);
    EXPECT_FALSE(port.Open("COM8", platform::SerialSettings{}));
    EXPECT_FALSE(port.IsOpen());
    unsetenv("SKALNIX_COM8");
}

}  // namespace
