// Number and date texts of the sales import file.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace impformat {

// A whole number of minor units: "%.0Lf" (rounded, no decimals), any magnitude.
std::string Amount(long double value);
void AppendAmount(std::string& out, long double value);
// Decimal integers.
inline std::string Int(long long value) { return std::to_string(value); }
// A date-time in the runtime's format 13.
std::string DateTime(double value);

// The pieces joined into one text.
inline std::string Cat(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (std::string_view piece : pieces) size += piece.size();
    std::string text;
    text.reserve(size);
    for (std::string_view piece : pieces) text += piece;
    return text;
}

}  // namespace impformat
