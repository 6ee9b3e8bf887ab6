// The scale settings of one export: every parameter the export needs, read from the host once
// at its start (ReadScaleSettings) and handed to the steps as a plain value.
#pragma once

#include <string>
#include <vector>

class TKSActionBase;

namespace dibal {

struct ScaleSettings {
    // Connection: 0 file only, 1 serial port, 2 TCP/IP, 3 the other network mode.
    int ConnectionType = 0;
    std::string DriverDir;  // DibalCom's directory, ending with a separator
    std::string PortName;
    std::string BaudRate;
    std::string DataBits;
    std::string ScaleAddress;
    std::string IpAddress;
    int MuxChannel = 0;       // 1..8 switch the serial multiplexer first
    bool UserConfig = false;  // the user keeps his own dibctrl.txt
    bool ExitDibalCom = false;

    // Records.
    std::string Series;
    int ScaleGroup = 0;
    int PriceLevel = 0;
    int Capacity = 0;  // goods the scale holds
    bool SendExpiry = false;
    bool SendAddData = false;
    int TextsFrom = 0;
    int CodePage = 0;

    // PLU codes.
    int WeightedCodeMode = 0;
    int ShortCodeFirst = 0;
    int ShortCodeLast = 0;
    std::vector<std::string> CodeTemplates;
    int CodeTemplateCount = 0;
    int SubGroup = -1;
    bool SubGroupOnly = false;
    bool SendGroup = false;  // the group digits go with the code
};

// Reads every setting from the host's parameters. Throws when DibalCom's directory is missing.
ScaleSettings ReadScaleSettings(TKSActionBase& host);

}  // namespace dibal
