// Number and date texts of the sales import file.
#pragma once

#include <cstdint>
#include <string>

namespace impformat {

// A whole number of minor units: "%.0Lf" (rounded, no decimals), any magnitude.
std::string Amount(long double value);
void AppendAmount(std::string& out, long double value);
// Decimal integers.
inline std::string Int(long long value) { return std::to_string(value); }
// A date-time in the runtime's format 13.
std::string DateTime(double value);

}  // namespace impformat
