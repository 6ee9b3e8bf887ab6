// The short report after an export: what became of each goods of kasa.exp. A goods is sent to
// the scale when wynik.exp reports it and DibalCom marked its record lines in dibal.exp; it is
// written but not sent when its records wait unmarked (an export to a file); it is done without
// a record when wynik.exp reports it but dibal.exp holds none for it (not for this scale, or
// refused by the driver); otherwise it is not reported.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "window.h"

namespace host {

struct GoodsRef {
    std::string plu, koldod, code;  // as written in the files (Windows-1250)
    std::string name;               // Windows-1250
    std::string action;             // the host's action (DOD/AKT/CEN/USU)
    std::string reason;             // UTF-8: what the driver showed about the goods, if anything
};

// How many goods fell into one outcome, and the first few of them.
struct GoodsGroup {
    size_t count = 0;
    std::vector<GoodsRef> first;
};

// What the summary needs to know of the export's settings and window.
struct SummaryInput {
    std::string_view kasa, wynik, records;  // the texts of kasa.exp, wynik.exp and dibal.exp
    // The files themselves, read a block at a time instead of the texts where a path is given.
    std::string kasaPath, wynikPath, recordsPath;
    bool resultFound = false;               // wynik.exp exists
    bool recordsFound = false;              // dibal.exp exists
    bool oneLinePerGoods = false;           // series A, K and M write one record line a goods
    bool seriesM = false;                   // series M: record 22 with its narrower fields
    const std::vector<WindowLine>* window = nullptr;  // the driver's lines, for the reasons
    size_t listLimit = 5;                   // goods named per outcome
};

struct ExportSummary {
    bool resultFound = false;
    int goodsInExport = 0;             // goods lines of kasa.exp
    int reported = 0;                  // goods lines of wynik.exp
    int perAction[4] = {0, 0, 0, 0};   // DOD, AKT, CEN, USU
    int otherAction = 0;               // wynik.exp lines with another action
    GoodsGroup sent;                   // reported, record lines marked by DibalCom
    GoodsGroup written;                // reported, record lines not marked (file only)
    GoodsGroup withoutRecord;          // reported, no record line for it
    GoodsGroup notReported;            // not in wynik.exp
};

ExportSummary Summarise(const SummaryInput& input);

// Prints the summary in English.
void PrintSummary(std::FILE* out, const ExportSummary& s);

}  // namespace host
