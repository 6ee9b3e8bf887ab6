// TMSerialPort: the runtime's serial port, configured with the package's enumeration values.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

class TMSerialPort {
public:
    TMSerialPort();
    ~TMSerialPort();
    TMSerialPort(const TMSerialPort&) = delete;
    TMSerialPort& operator=(const TMSerialPort&) = delete;

    void SetPortName(const std::string& name) { name_ = name; }
    // Package values: baud 0..7 = 300,600,1200,2400,4800,9600,19200,38400 (also 8 = 57600,
    // 9 = 115200); byte size 0..3 = 5..8 bits; parity 0 none, 1 odd, 2 even; stop bits 0 one,
    // 1 one and a half (taken as two), 2 two.
    void SetBaudRate(int value) { baud_ = value; }
    void SetByteSize(int value) { byteSize_ = value; }
    void SetParity(int value) { parity_ = value; }
    void SetStopBits(int value) { stopBits_ = value; }
    void SetBufSize(int direction, int size);  // accepted; the OS buffers are used as they are
    // Time-outs in milliseconds for the package's kinds 0..4.
    void SetTo(int kind, int milliseconds);
    void SetDTR(bool on);
    void SetRTS(bool on);
    // Opens (true) or closes (false) the port; throws EInOutError when it cannot be opened.
    void SetActive(bool active);
    // Sends one byte; with `wait` until it has left. Throws EInOutError on failure.
    void Put(std::uint8_t byte, bool wait);

private:
    std::string name_;
    int baud_ = 5, byteSize_ = 3, parity_ = 0, stopBits_ = 0;
    int timeouts_[5] = {50, 200, 2000, 200, 200};
    int dtr_ = -1, rts_ = -1;  // set before the port opens (-1: left as the port opens)
    bool IsOpen() const { return port_ && port_->IsOpen(); }

    std::unique_ptr<platform::SerialPort> port_;
};
