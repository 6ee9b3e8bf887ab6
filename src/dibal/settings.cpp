// SkalnixAction::ReadSettings: the scale settings, read afresh from the host's parameters at
// the start of every export and of the additional function.
#include <string>

#include "dibal/catalogue.h"
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

void SkalnixAction::ReadSettings() {
    WeightedCodeMode = ParamAsInt("DibalKodyKD");
    ShortCodeFirst = ParamAsInt("DibalKodPocz");
    ShortCodeLast = ParamAsInt("DibalKodKonc");
    CodeTemplates = HostList();
    CodeTemplateCount = static_cast<int>(CodeTemplates.size());
    SubGroup = StrToIntDef(ParamAsString("DibalPodgrupaPLU"), -1);
    SubGroupOnly = ParamAsInt("DibalPluExact") != 0;
    CodePage = ParamAsInt("DibalPlZnaki");

    DriverDir = ParamAsDir("DibalKatalogDrv");
    if (DriverDir.empty() || !platform::IsPathSeparator(DriverDir.back()))
        DriverDir += platform::kPathSeparator;
    if (!platform::env().DirectoryExists(DriverDir))
        throw Exception(DriverText("SkalnixAReadParaExceptio",
                                   "Brak katalogu sterownika DibalCom\r\n"
                                   "Czy aby sterownik DibalCom jest zainstalowany?"));

    PriceLevel = ParamAsInt("PoziomCen");

    // A series letter may be stored as text instead of its list position.
    const std::string series = ParamAsString("DibalSeria");
    Series = IsWholeNumber(series) ? SeriesOfPosition(StrToInt(series)) : series;

    ScaleGroup = ParamAsInt("DibalGrupa");
    ScaleAddress = ParamAsString("DibalAdres");

    const int port = StrToInt(ParamAsString("DibalPort"));
    if (port == 0) {
        ConnectionType = 0;
        PortName = DriverText("SkalnixAReadParabuforek", "PLIK");
    } else if (port >= 1 && port <= 8) {
        ConnectionType = 1;
        PortName = "COM" + std::to_string(port);
    } else if (port == 9) {
        ConnectionType = 3;
        PortName.clear();
    } else if (port == 10) {
        ConnectionType = 2;
        PortName.clear();
    } else {
        ConnectionType = 0;
        PortName.clear();
    }

    BaudRate = BaudOfPosition(StrToInt(ParamAsString("DibalBaudRate")));
    DataBits = std::to_string(static_cast<long long>(ParamAsInt("DibalDataBits")) + 7);

    const int textsFrom = ParamAsInt("DibalAddTextsFrom");
    TextsFrom = textsFrom >= 1 && textsFrom <= 4 ? textsFrom : 0;
    ExitDibalCom = ParamAsInt("DibalExitApp") != 0;
    SendAddData = ParamAsInt("DibalSendAddData") != 0;
}
