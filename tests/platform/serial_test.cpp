#include <gtest/gtest.h>

#include <termios.h>

#include <cstdlib>
#include <memory>

#include "platform/platform.h"
#include "platform/pty.h"

namespace {

TEST(SerialPort, SendsBytesUnchangedThroughMappedPort) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ok());
    setenv("SKALNIX_COM7", pty.SlavePath().c_str(), 1);
    std::unique_ptr<platform::SerialPort> port;
    platform::SerialSettings settings;
    settings.baudRate = 19200;
    ASSERT_TRUE(platform::env().OpenSerialPort("COM7", settings, port));
    EXPECT_TRUE(port->IsOpen());
    port->SetRTS(false);  // a pseudo-terminal has no modem lines; the port stays usable
    port->SetDTR(true);
    // 0x0A and 0x0D pass unchanged too: the line is raw.
    for (std::uint8_t b : {0xFE, 0x03, 0x0A, 0x0D}) EXPECT_TRUE(port->PutByte(b));
    EXPECT_EQ(pty.Read(4), "\xFE\x03\x0A\x0D");
    port->Close();
    EXPECT_FALSE(port->IsOpen());
    EXPECT_FALSE(port->PutByte(1));
    unsetenv("SKALNIX_COM7");
}

// The line settings land in the terminal's attributes, which every descriptor of it shares. (A
// pseudo-terminal always reports eight bits without parity, so those two cannot be seen here.)
TEST(SerialPort, AppliesLineSettings) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ok());
    setenv("SKALNIX_COM9", pty.SlavePath().c_str(), 1);
    struct Case {
        int baud, bits, parity, stop;
        speed_t speed;
    } cases[] = {
        {300, 5, 0, 1, B300},     {2400, 6, 1, 2, B2400},    {19200, 7, 2, 1, B19200},
        {38400, 8, 0, 2, B38400}, {115200, 8, 1, 1, B115200},
    };
    for (const Case& c : cases) {
        std::unique_ptr<platform::SerialPort> port;
        platform::SerialSettings s;
        s.baudRate = c.baud;
        s.dataBits = c.bits;
        s.parity = c.parity;
        s.stopBits = c.stop;
        ASSERT_TRUE(platform::env().OpenSerialPort("com9", s, port)) << c.baud;
        const int fd = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        termios tio{};
        ASSERT_EQ(::tcgetattr(fd, &tio), 0);
        ::close(fd);
        EXPECT_EQ(::cfgetospeed(&tio), c.speed) << c.baud;
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.stop == 2) << c.stop;
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);  // raw
        EXPECT_EQ(tio.c_oflag & OPOST, 0u);
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    }
    unsetenv("SKALNIX_COM9");
}

TEST(SerialPort, RefusesWhatItCannotOpen) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ok());
    setenv("SKALNIX_COM8", pty.SlavePath().c_str(), 1);
    std::unique_ptr<platform::SerialPort> port;
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
        EXPECT_FALSE(platform::env().OpenSerialPort(c.name, s, port)) << c.name << " " << c.baud << " " << c.bits;
    }
    setenv("SKALNIX_COM8", "/nonexistent/tty", 1);
    EXPECT_FALSE(platform::env().OpenSerialPort("COM8", platform::SerialSettings{}, port));
    EXPECT_FALSE(port != nullptr && port->IsOpen());
    unsetenv("SKALNIX_COM8");
}

}  // namespace
