// The scale settings, read afresh from the host's parameters at the start of every export and
// of the additional function.
#include <string>

#include "dibal/catalogue.h"
#include "dibal/scale_settings.h"
#include "dibal/skalnixaction.h"
#include "platform/platform.h"
#include "runtime/exceptions.h"
#include "runtime/xftools.h"

namespace {

// DibalSeria by list position; anything else leaves the series empty.
std::string SeriesOfPosition(int position) {
    static const char* const kSeries[] = {"A", "K", "M", "L", "H", "H2"};
    return position >= 0 && position <= 5 ? kSeries[position] : "";
}

// DibalBaudRate by list position; the list offers no other positions, so any other has no
// baud text.
std::string BaudOfPosition(int position) {
    static const char* const kBaud[] = {"300", "600", "1200", "2400", "4800", "9600", "19200",
                                        "38400"};
    return position >= 0 && position <= 7 ? kBaud[position] : "";
}

bool IsWholeNumber(const std::string& text) {
    try {
        StrToInt(text);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

}  // namespace

namespace dibal {

ScaleSettings ReadScaleSettings(TKSActionBase& host) {
    ScaleSettings s;
    s.WeightedCodeMode = host.ParamAsInt("DibalKodyKD");
    s.ShortCodeFirst = host.ParamAsInt("DibalKodPocz");
    s.ShortCodeLast = host.ParamAsInt("DibalKodKonc");
    s.CodeTemplates = host.HostList();
    s.CodeTemplateCount = static_cast<int>(s.CodeTemplates.size());
    s.SubGroup = StrToIntDef(host.ParamAsString("DibalPodgrupaPLU"), -1);
    s.SubGroupOnly = host.ParamAsInt("DibalPluExact") != 0;
    s.CodePage = host.ParamAsInt("DibalPlZnaki");

    s.DriverDir = host.ParamAsDir("DibalKatalogDrv");
    if (s.DriverDir.empty() || !platform::IsPathSeparator(s.DriverDir.back()))
        s.DriverDir += platform::kPathSeparator;
    if (!platform::env().DirectoryExists(s.DriverDir))
        throw Exception(DriverText("SkalnixAReadParaExceptio",
                                   "Brak katalogu sterownika DibalCom\r\n"
                                   "Czy aby sterownik DibalCom jest zainstalowany?"));

    s.PriceLevel = host.ParamAsInt("PoziomCen");

    // A series letter may be stored as text instead of its list position.
    const std::string series = host.ParamAsString("DibalSeria");
    s.Series = IsWholeNumber(series) ? SeriesOfPosition(StrToInt(series)) : series;

    s.ScaleGroup = host.ParamAsInt("DibalGrupa");
    s.ScaleAddress = host.ParamAsString("DibalAdres");

    const int port = StrToInt(host.ParamAsString("DibalPort"));
    if (port == 0) {
        s.ConnectionType = 0;
        s.PortName = DriverText("SkalnixAReadParabuforek", "PLIK");
    } else if (port >= 1 && port <= 8) {
        s.ConnectionType = 1;
        s.PortName = "COM" + std::to_string(port);
    } else if (port == 9) {
        s.ConnectionType = 3;
        s.PortName.clear();
    } else if (port == 10) {
        s.ConnectionType = 2;
        s.PortName.clear();
    } else {
        s.ConnectionType = 0;
        s.PortName.clear();
    }

    s.BaudRate = BaudOfPosition(StrToInt(host.ParamAsString("DibalBaudRate")));
    s.DataBits = std::to_string(static_cast<long long>(host.ParamAsInt("DibalDataBits")) + 7);

    const int textsFrom = host.ParamAsInt("DibalAddTextsFrom");
    s.TextsFrom = textsFrom >= 1 && textsFrom <= 4 ? textsFrom : 0;
    s.ExitDibalCom = host.ParamAsInt("DibalExitApp") != 0;
    s.SendAddData = host.ParamAsInt("DibalSendAddData") != 0;

    s.Capacity = host.ParamAsInt("Pojemnosc");
    s.SendExpiry = host.ParamAsInt("DibalSendExpDate") != 0;
    s.SendGroup = host.ParamAsInt("DibalPluSendGroup") != 0;
    s.MuxChannel = host.ParamAsInt("DibalMuxChannel");
    s.UserConfig = host.ParamAsInt("DibalUserConfigTxt") != 0;
    s.IpAddress = host.ParamAsString("DibalIPAddress");
    return s;
}

}  // namespace dibal

void SkalnixAction::ReadSettings() { Settings = dibal::ReadScaleSettings(*this); }
