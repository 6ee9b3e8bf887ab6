#include "runtime/xftools.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "runtime/exceptions.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

long double PowerOfTen(int n) {
    long double p = 1.0L;
    for (int i = 0; i < n; ++i) p *= 10.0L;  // exact up to 10^27
    return p;
}

}  // namespace

// The digits are gathered into a 64-bit integer and scaled once by a power of ten, so the usual
// amounts convert exactly and no locale setting of the host can change the decimal separator.
TxfTools& TxfTools::FromString(const std::string& text, int base, bool strict) {
    if (base != 10) throw EConvertError(QuotedValue(text) + " is not a valid floating point value");
    const std::size_t n = text.size();
    std::size_t pos = 0;
    while (pos < n && IsBlank(text[pos])) ++pos;
    bool negative = false;
    if (pos < n && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';

    std::uint64_t mantissa = 0;
    int significant = 0;  // digits held in mantissa (leading zeros not counted)
    int exponent = 0;
    bool anyDigit = false;
    auto take = [&](char c, bool fraction) {
        anyDigit = true;
        if (significant < 19) {
            if (mantissa != 0 || c != '0') ++significant;
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            if (fraction) --exponent;
        } else if (!fraction) {
            ++exponent;  // integer digits beyond the 19th only scale
        }
    };
    while (pos < n && IsDigit(text[pos])) take(text[pos++], false);
    if (pos < n && (text[pos] == '.' || text[pos] == ',')) {
        const bool digitsFollow = pos + 1 < n && IsDigit(text[pos + 1]);
        if (anyDigit || digitsFollow) {
            ++pos;
            while (pos < n && IsDigit(text[pos])) take(text[pos++], true);
        }
    }
    if (strict) {
        std::size_t rest = pos;
        while (rest < n && IsBlank(text[rest])) ++rest;
        if (!anyDigit || rest != n)
            throw EConvertError(QuotedValue(text) + " is not a valid floating point value");
    }
    if (!anyDigit) {
        value_ = 0;
        return *this;
    }
    long double value = static_cast<long double>(mantissa);
    if (exponent > 0) value *= PowerOfTen(exponent);
    if (exponent < 0) value /= PowerOfTen(-exponent);
    value_ = negative && value != 0 ? -value : value;  // "-0" is a plain zero
    return *this;
}

// A value lying within a few units of double rounding of a half is taken as that half, so
// 1.005 (stored as 1.00499999...) rounds to 1.01 as written.
TxfTools& TxfTools::Round(int digits) {
    if (!std::isfinite(value_) || digits > 18 || digits < -18) return *this;
    const long double scale = PowerOfTen(digits < 0 ? -digits : digits);
    const long double scaled = digits >= 0 ? value_ * scale : value_ / scale;
    const long double magnitude = std::fabs(scaled);
    const long double whole = std::floor(magnitude);
    const long double tolerance = 4.0L * DBL_EPSILON * (magnitude > 1.0L ? magnitude : 1.0L);
    long double rounded = magnitude - whole >= 0.5L - tolerance ? whole + 1.0L : whole;
    if (scaled < 0) rounded = -rounded;
    value_ = digits >= 0 ? rounded / scale : rounded * scale;
    if (value_ == 0) value_ = 0;  // no negative zero
    return *this;
}

namespace {

// The strict whole-number form; false for anything else.
bool ParseInt(std::string_view text, int& result) {
    const std::size_t n = text.size();
    std::size_t pos = 0;
    while (pos < n && IsBlank(text[pos])) ++pos;
    bool negative = false;
    if (pos < n && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    const std::size_t first = pos;
    std::int64_t value = 0;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    while (pos < n && IsDigit(text[pos])) {
        value = value * 10 + (text[pos] - '0');
        if (value > limit) return false;
        ++pos;
    }
    if (pos == first) return false;
    while (pos < n && IsBlank(text[pos])) ++pos;
    if (pos != n) return false;
    result = static_cast<int>(negative ? -value : value);
    return true;
}

}  // namespace

int StrToInt(const std::string& text) {
    int value = 0;
    if (!ParseInt(text, value)) ThrowConvertError(text);
    return value;
}

int StrToIntDef(std::string_view text, int fallback) {
    int value = 0;
    return ParseInt(text, value) ? value : fallback;
}
