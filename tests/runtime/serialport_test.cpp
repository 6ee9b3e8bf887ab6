#include "runtime/serialport.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/pty.h"
#include "runtime/exceptions.h"

namespace {

// The settings the multiplexer switch uses, then its byte pair.
TEST(TMSerialPort, OpensWithPackageValuesAndSendsBytes) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ok());
    setenv("SKALNIX_COM5", pty.SlavePath().c_str(), 1);
    TMSerialPort port;
    port.SetPortName("COM5");
    port.SetBaudRate(6);
    port.SetParity(0);
    port.SetByteSize(3);
    port.SetStopBits(0);
    port.SetBufSize(0, 2048);
    port.SetBufSize(1, 2048);
    const int timeouts[] = {50, 200, 2000, 200, 200};
    for (int kind = 0; kind < 5; ++kind) port.SetTo(kind, timeouts[kind]);
    port.SetActive(true);
    port.SetRTS(false);
    port.SetDTR(false);
    port.SetRTS(true);
    port.SetDTR(true);
    port.Put(0xFE, true);
    port.Put(0x03, true);
    EXPECT_EQ(pty.Read(2), "\xFE\x03");
    port.SetActive(false);
    EXPECT_THROW(port.Put(0x01, true), EInOutError);
    unsetenv("SKALNIX_COM5");
}

TEST(TMSerialPort, OpenFailuresThrowNamingThePort) {
    setenv("SKALNIX_COM6", "/nonexistent/tty", 1);
    TMSerialPort port;
    port.SetPortName("COM6");
    try {
        port.SetActive(true);
        FAIL() << "opened a missing port";
    } catch (const EInOutError& e) {
        EXPECT_NE(e.Message().find("COM6"), std::string::npos) << e.Message();
    }
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ok());
    setenv("SKALNIX_COM6", pty.SlavePath().c_str(), 1);
    for (auto [baud, size, parity, stop] : {std::tuple{10, 3, 0, 0}, {-1, 3, 0, 0}, {5, 4, 0, 0},
                                             {5, 3, 3, 0}, {5, 3, 0, 3}}) {
        TMSerialPort bad;
        bad.SetPortName("COM6");
        bad.SetBaudRate(baud);
        bad.SetByteSize(size);
        bad.SetParity(parity);
        bad.SetStopBits(stop);
        EXPECT_THROW(bad.SetActive(true), EInOutError) << baud << size << parity << stop;
    }
    unsetenv("SKALNIX_COM6");
}

}  // namespace
