// The fixed-width DIBAL record lines DibalCom sends to the scales, one builder per record type.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "dibal/fixed_line.h"

namespace dibal {

// What the record lines of one goods carry.
struct RecordFields {
    std::string address;  // ScaleAddress
    std::string pluCode;  // 5 digits for series M, 6 otherwise
    std::string name;     // cut and re-coded already
    char action = 'M';
    int group = 0;  // ScaleGroup, record 22 only
    // opis2 numbers as read; every builder applies the limits of its own record family.
    int key = 0, label = 0, picture = 0, section = 0;
    int piece = 0;            // 1 when the goods is sold by the piece
    int expiry = 0;           // TerminW
    bool sendExpiry = false;  // DibalSendExpDate, for L3 and H3
    // Prices rounded to whole numbers (RoundPrice, or WholePriceOf for a whole one).
    WholePrice price = WholePriceOf(0), priceHurt = WholePriceOf(0), priceNoc = WholePriceOf(0);
};

// Each builder appends its line (CR LF included) to `out`. A number or an address wider than
// its field would shift the rest of the line and corrupt the record, so then nothing is
// appended and the builder answers false.
bool AppendRecord22(const RecordFields& f, std::string& out);
bool AppendRecordX1(const RecordFields& f, std::string& out);
bool AppendRecordL2(const RecordFields& f, std::string& out);
bool AppendRecordL3(const RecordFields& f, std::string& out);
bool AppendRecordH2(const RecordFields& f, std::string& out);
bool AppendRecordH3(const RecordFields& f, std::string& out);

// The first four comma-separated words of opis2 as numbers (key, label, picture, section), each
// read as StrToIntDef(word, 0) reads it; all 0 when additional data is not sent.
std::array<int, 4> Opis2Numbers(std::string_view opis2, bool sendAddData);

// Description blocks: five L4 records with text lines 0-9 (48 characters each) and three H4
// records with text lines 1-12 (24 characters each). Longer lines are cut to their field.
std::string L4Block(const std::string& address, const std::string& pluCode,
                    const std::array<std::string, 10>& lines);
std::string H4Block(const std::string& address, const std::string& pluCode,
                    const std::array<std::string, 12>& lines);
// The same blocks appended to `out`.
void AppendL4Block(const std::string& address, const std::string& pluCode,
                   const std::array<std::string, 10>& lines, std::string& out);
void AppendH4Block(const std::string& address, const std::string& pluCode,
                   const std::array<std::string, 12>& lines, std::string& out);

}  // namespace dibal
