// A deterministic generator of the host's export file for benchmarks: goods lines with all 32
// fields, a few VAT and unit lines first, Polish names in Windows-1250.
#pragma once

#include <cstdint>
#include <string>

namespace benchgen {

struct ExportOptions {
    long long goods = 1000;
    int weightedPercent = 0;      // share of goods with 13-digit weighted codes
    std::string prefix = "21";    // first digits of a weighted code
    std::uint64_t seed = 1;
};

// Writes the file; returns its size in bytes. Throws std::runtime_error when it cannot write.
std::uint64_t WriteExportFile(const std::string& path, const ExportOptions& options);

// EAN-13 check digit of the first 12 digits of `code`.
char Ean13CheckDigit(const std::string& twelveDigits);

}  // namespace benchgen
