#include "importdata/impformat.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "runtime/dttools.h"

namespace impformat {

void AppendAmount(std::string& out, long double value) {
    // Whole amounts (nearly all of them) are printed without the printf machinery; the text
    // is the same.
    // One conversion decides: a value that comes back unchanged from a whole number is one
    // (a single truncation instead of trunc's own rounding-mode switches on x87).
    constexpr long double kLimit = 9.0e18L;
    if (value > -kLimit && value < kLimit) {
        const auto whole = static_cast<long long>(value);
        if (static_cast<long double>(whole) == value && !(whole == 0 && std::signbit(value))) {
            char digits[24];
            auto result = std::to_chars(digits, digits + sizeof digits, whole);
            out.append(digits, result.ptr);
            return;
        }
    }
    char small[64];
    int n = std::snprintf(small, sizeof small, "%.0Lf", value);
    if (n < 0) return;
    if (static_cast<std::size_t>(n) < sizeof small) {
        out.append(small, static_cast<std::size_t>(n));
        return;
    }
    // Very large values need more room than the usual amount.
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), "%.0Lf", value);
    big.resize(static_cast<std::size_t>(n));
    out += big;
}

std::string Amount(long double value) {
    std::string text;
    AppendAmount(text, value);
    return text;
}

std::string DateTime(double value) { return TdtTools(value).ToString(13); }

}  // namespace impformat
