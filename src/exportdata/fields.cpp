// Field conversions of the export file. The fast paths handle the common plain-digit fields
// without touching the runtime; everything else goes through the runtime's conversions so
// that the error texts are the runtime's own.
#include "exportdata/fields.h"

#include <climits>
#include <cmath>
#include <cstdint>

#include "runtime/xftools.h"

namespace exportfields {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Skips leading blanks and one sign; returns the index after them and sets
// `negative` when the sign was a minus.
size_t SkipBlanksAndSign(std::string_view text, bool& negative) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return i;
}

long double PowerOfTen(int e) {
    if (e >= 0 && e <= 27) return detail::kPowersOfTen[e];
    return std::pow(10.0L, static_cast<long double>(e));
}

}  // namespace

namespace detail {

int StrictIntRest(std::string_view text) { return StrToInt(std::string(text)); }

int LenientIntRest(std::string_view text, int fallback) {
    if (text.empty()) return fallback;
    return StrToIntDef(std::string(text), fallback);
}

int PrefixIntRest(std::string_view text) {
    bool negative = false;
    size_t i = SkipBlanksAndSign(text, negative);
    std::int64_t v = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<std::int64_t>(INT_MAX) + 1) v = static_cast<std::int64_t>(INT_MAX) + 1;
    }
    if (negative) return static_cast<int>(-v < INT_MIN ? INT_MIN : -v);
    return static_cast<int>(v > INT_MAX ? INT_MAX : v);
}

}  // namespace detail

long double Number(std::string_view text) {
    bool negative = false;
    size_t i = SkipBlanksAndSign(text, negative);
    // Up to 19 significant digits are kept exactly; further ones only move the exponent.
    std::uint64_t mantissa = 0;
    int significant = 0;
    long exponent = 0;
    bool anyDigit = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        anyDigit = true;
        if (significant < 19) {
            mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
            if (mantissa != 0) ++significant;
        } else {
            ++exponent;
        }
    }
    // A comma is the decimal separator people write in Poland; it can mean nothing else here.
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            anyDigit = true;
            if (significant < 19) {
                mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
                if (mantissa != 0) ++significant;
                --exponent;
            }
        }
    }
    if (!anyDigit || mantissa == 0) return 0;
    if (exponent > 5000) exponent = 5000;
    if (exponent < -5000) exponent = -5000;
    long double value = static_cast<long double>(mantissa);
    const int e = static_cast<int>(exponent);
    value = e < 0 ? value / PowerOfTen(-e) : value * PowerOfTen(e);
    return negative ? -value : value;
}

bool EmptyOrNumber(std::string_view text, bool decimals) {
    text = TrimView(text);
    if (text.empty()) return true;
    size_t i = 0;
    if (text[0] == '+' || text[0] == '-') ++i;
    bool anyDigit = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) anyDigit = true;
    if (decimals && i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i) anyDigit = true;
    }
    return anyDigit && i == text.size();
}

int TruncToInt(long double value) {
    if (!(value == value)) return 0;  // NaN
    if (value >= static_cast<long double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<long double>(INT_MIN)) return INT_MIN;
    // A value that is a double as well is cut by the SSE conversion: cutting the extended type
    // switches the processor's rounding twice, which costs more than the rest of a goods line.
    const double near = static_cast<double>(value);
    if (static_cast<long double>(near) == value) return static_cast<int>(near);
    return static_cast<int>(value);
}

int WrapMul(int a, int b) {
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::int64_t>(a) * b));
}

}  // namespace exportfields
