#include "runtime/serialport.h"

#include "runtime/exceptions.h"

namespace {

constexpr int kBaudRates[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

}  // namespace

TMSerialPort::TMSerialPort() = default;

TMSerialPort::~TMSerialPort() = default;

void TMSerialPort::SetBufSize(int /*direction*/, int /*size*/) {}

void TMSerialPort::SetTo(int kind, int milliseconds) {
    if (kind >= 0 && kind < 5 && milliseconds >= 0) timeouts_[kind] = milliseconds;
}

void TMSerialPort::SetDTR(bool on) {
    dtr_ = on ? 1 : 0;
    if (IsOpen()) port_->SetDTR(on);  // a port without modem lines still sends
}

void TMSerialPort::SetRTS(bool on) {
    rts_ = on ? 1 : 0;
    if (IsOpen()) port_->SetRTS(on);
}

void TMSerialPort::SetActive(bool active) {
    if (!active) {
        port_.reset();
        return;
    }
    if (IsOpen()) return;
    const int baudCount = static_cast<int>(sizeof kBaudRates / sizeof kBaudRates[0]);
    if (baud_ < 0 || baud_ >= baudCount || byteSize_ < 0 || byteSize_ > 3 || parity_ < 0 ||
        parity_ > 2 || stopBits_ < 0 || stopBits_ > 2)
        throw EInOutError("Invalid settings of serial port \"" + name_ + "\"");
    platform::SerialSettings settings;
    settings.baudRate = kBaudRates[baud_];
    settings.dataBits = 5 + byteSize_;
    settings.parity = parity_;
    settings.stopBits = stopBits_ == 0 ? 1 : 2;
    settings.readTimeoutMs = timeouts_[1];
    settings.writeTimeoutMs = timeouts_[4];
    if (!platform::env().OpenSerialPort(name_, settings, port_))
        throw EInOutError("Cannot open serial port \"" + name_ + "\"");
    if (dtr_ >= 0) port_->SetDTR(dtr_ == 1);
    if (rts_ >= 0) port_->SetRTS(rts_ == 1);
}

void TMSerialPort::Put(std::uint8_t byte, bool /*wait*/) {
    // Every byte is drained before the call returns: the multiplexer needs them in order and
    // complete before the next step.
    if (!IsOpen()) throw EInOutError("Serial port \"" + name_ + "\" is not open");
    if (!port_->PutByte(byte)) throw EInOutError("Cannot write to serial port \"" + name_ + "\"");
}
