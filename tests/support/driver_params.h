// The driver settings most tests start from: one scale on serial port 0, goods sent with their
// groups, extra data and use-by dates, codes 1-999. Header-only, so that the whole-process
// tests can use it without linking the in-process test host.
#pragma once

#include <map>
#include <string>

inline std::map<std::string, std::string> DefaultDriverParams(const std::string& driverDir) {
    return {
        {"DibalPodgrupaPLU", ""},   {"DibalSeria", "A"},        {"DibalAdres", "00"},
        {"DibalGrupa", "0"},        {"DibalPort", "0"},         {"DibalBaudRate", "5"},
        {"DibalDataBits", "1"},     {"DibalMuxChannel", "0"},   {"DibalIPAddress", "192.168.0.12"},
        {"Pojemnosc", "20479"},     {"PoziomCen", "0"},         {"DibalPluExact", "1"},
        {"DibalPluSendGroup", "1"}, {"DibalAddTextsFrom", "0"}, {"DibalSendAddData", "1"},
        {"DibalSendExpDate", "1"},  {"DibalExitApp", "0"},      {"DibalUserConfigTxt", "0"},
        {"DibalKatalogDrv", driverDir},                         {"DibalKodyKD", "0"},
        {"DibalKodPocz", "1"},      {"DibalKodKonc", "999"},    {"DibalPlZnaki", "0"},
    };
}
