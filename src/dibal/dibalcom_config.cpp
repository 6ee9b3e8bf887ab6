// DibalCom's option file dibctrl.txt and the switch of the Elzab serial multiplexer.
#include <cstdio>
#include <string>
#include <vector>

#include "dibal/catalogue.h"
#include "dibal/skalnixaction.h"
#include "platform/platform.h"
#include "runtime/exceptions.h"
#include "runtime/lgtools.h"
#include "runtime/serialport.h"

namespace {

bool IsMuxChannel(int channel) { return channel >= 1 && channel <= 8; }

}  // namespace

void SkalnixAction::WriteDibalComConfig() {
    const std::string configPath = DriverFile("dibctrl.txt");
    // The user keeps his own options file: it only has to be there.
    if (Settings.UserConfig) {
        if (!platform::env().FileExists(configPath))
            throw Exception(DriverText("SkalnixAUstawParExceptio_00001",
                                       "Brak pliku dibctrl.txt w katalogu sterownika"));
        return;
    }
    const int muxChannel = Settings.MuxChannel;
    if (Settings.ConnectionType < 1 || Settings.ConnectionType > 3)
        throw Exception(DriverText("SkalnixAUstawParExceptio", "Niewłaściwy typ złącza!"));

    char mode[16];
    std::snprintf(mode, sizeof mode, "-m %d", Settings.ConnectionType - 1);
    std::vector<std::string> lines = {
        "-t dibal.exp", "-r BL0NDDM.TOT", "-v " + Settings.BaudRate, "-p " + Settings.PortName, "-P ",
        "-b " + Settings.DataBits, "-a 1", "-c rozkaz.txt", "-T 04,50", "-I 1", "-w 0", "-f 0", "-C 0",
        "-D 25000", "-R 25001", "-e 0", mode, "-L 1", "-S 1", "-H 1", "-i " + Settings.DriverDir,
    };
    if (Settings.ConnectionType == 1) {
        lines.push_back("-d " + Settings.ScaleAddress + "#");
    } else {
        lines.push_back("-k 3001,3000");
        lines.push_back("-k 3001,3000");
        lines.push_back("-d " + Settings.ScaleAddress + "#" + Settings.IpAddress);
    }
    const bool useMux = Settings.ConnectionType == 1 && IsMuxChannel(muxChannel);
    if (useMux || Settings.ExitDibalCom) {
        lines.push_back("-G ");
        lines.push_back("-C ");
    }

    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    // DibalCom may read the file at any time: it is replaced as a whole.
    ReplaceWithText(text, configPath);

    if (useMux)
        SwitchMuxChannel(Settings.PortName, muxChannel);
}

void SkalnixAction::SwitchMuxChannel(const std::string& portName, int channel) {
    try {
        TMSerialPort port;
        port.SetPortName(portName);
        port.SetBaudRate(6);
        port.SetParity(0);
        port.SetByteSize(3);
        port.SetStopBits(0);
        port.SetBufSize(0, 2048);
        port.SetBufSize(1, 2048);
        const int timeouts[5] = {50, 200, 2000, 200, 200};
        for (int kind = 0; kind < 5; ++kind)
            port.SetTo(kind, timeouts[kind]);
        port.SetActive(true);
        port.SetRTS(false);
        port.SetDTR(false);
        platform::env().SleepMs(300);
        port.SetRTS(true);
        port.SetDTR(true);
        port.Put(0xFE, true);
        port.Put(static_cast<std::uint8_t>(channel), true);
        port.SetActive(false);
    } catch (...) {
        throw Exception(DriverText("SkalnixASetElzabExceptio",
                                   "Nie udało się przestawienie kanału multipleksera. "
                                   "Prawdopodobnie port COM nie istnieje lub zajęty przez "
                                   "Dibalcom.exe"));
    }
}
