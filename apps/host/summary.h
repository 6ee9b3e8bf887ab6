// The short report after an export: which goods wynik.exp reports per action, and which goods
// of kasa.exp it does not report.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct GoodsRef {
    std::string plu, koldod, code;  // as written in the files (Windows-1250)
    std::string name;               // Windows-1250
    std::string action;             // the host's action (DOD/AKT/CEN/USU)
};

struct ExportSummary {
    bool resultFound = false;              // wynik.exp exists
    int goodsInExport = 0;                 // goods lines of kasa.exp
    int reported = 0;                      // goods lines of wynik.exp
    int perAction[4] = {0, 0, 0, 0};       // DOD, AKT, CEN, USU
    int otherAction = 0;                   // wynik.exp lines with another action
    std::vector<GoodsRef> notReported;     // goods of kasa.exp missing from wynik.exp
};

// Builds the summary from the texts of kasa.exp and wynik.exp (either may be empty).
ExportSummary Summarise(std::string_view kasaText, std::string_view wynikText, bool resultFound);

// Reads both files of the exchange directory `dir` (ending with the separator) and summarises.
ExportSummary SummariseExchange(const std::string& dir);

// Prints the summary in English; at most `listLimit` goods not reported are named.
void PrintSummary(std::FILE* out, const ExportSummary& s, size_t listLimit = 10);

}  // namespace host
