// Conversions of export-file fields. Every function reads only the given text and never
// throws for lack of input beyond what its rule says.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TMLgExtTools;

namespace exportfields {

namespace detail {
// The readings of anything but the plain forms handled inline below.
int StrictIntRest(std::string_view text);
int LenientIntRest(std::string_view text, int fallback);
int PrefixIntRest(std::string_view text);

// An optional minus and one to nine plain digits (always fits an int): nearly every field of
// a file.
inline bool PlainDigits(std::string_view text, int& value) {
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.size() > 9) return false;
    int v = 0;
    for (char c : text) {
        const unsigned d = static_cast<unsigned char>(c) - static_cast<unsigned>('0');
        if (d > 9) return false;
        v = v * 10 + static_cast<int>(d);
    }
    value = negative ? -v : v;
    return true;
}

// Exact powers of ten up to 10^27 are representable in the extended type.
inline constexpr long double kPowersOfTen[] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
    1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
    1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
}  // namespace detail

// Whole decimal number; anything else throws the runtime's conversion error.
inline int StrictInt(std::string_view text) {
    int value;
    if (detail::PlainDigits(text, value)) return value;
    return detail::StrictIntRest(text);
}
// Whole decimal number; an empty or non-numeric text gives `fallback`.
inline int LenientInt(std::string_view text, int fallback) {
    int value;
    if (detail::PlainDigits(text, value)) return value;
    return detail::LenientIntRest(text, fallback);
}
// Leading blanks, an optional sign and the digits up to the first other character; no digits
// give 0. A value beyond the int range is held at the nearest bound.
inline int PrefixInt(std::string_view text) {
    int value;
    if (detail::PlainDigits(text, value)) return value;
    return detail::PrefixIntRest(text);
}
// Leading blanks, then a decimal number with "." or "," as the decimal point, read as far as
// it forms a number; no number gives 0.
long double Number(std::string_view text);
// The text, blanks trimmed, is empty or a number as a whole: an optional sign, digits and,
// when `decimals`, one "." or "," with more digits.
bool EmptyOrNumber(std::string_view text, bool decimals);

// Number(text), and in `whole` EmptyOrNumber(text, true), read in one pass. The plain forms
// of a file (digits, at most one "." or "," among them, at most 18 digits) are read here; the
// rest goes to the two functions above.
inline long double NumberField(std::string_view text, bool& whole) {
    whole = true;
    if (text.empty()) return 0;
    const std::size_t n = text.size();
    if (n <= 19) {
        std::uint64_t mantissa = 0;
        std::size_t i = 0;
        for (; i < n; ++i) {
            const unsigned d = static_cast<unsigned char>(text[i]) - static_cast<unsigned>('0');
            if (d > 9) break;
            mantissa = mantissa * 10 + d;
        }
        int decimals = 0;
        bool plain = i > 0 && i <= 18;
        if (plain && i < n) {
            if (text[i] == '.' || text[i] == ',') {
                const std::size_t point = i++;
                for (; i < n; ++i) {
                    const unsigned d = static_cast<unsigned char>(text[i]) - static_cast<unsigned>('0');
                    if (d > 9) break;
                    mantissa = mantissa * 10 + d;
                }
                decimals = static_cast<int>(i - point - 1);
                plain = i == n;  // at most 18 digits beside the point
            } else {
                plain = false;
            }
        }
        if (plain) {
            if (mantissa == 0) return 0;
            // At most 18 digits: the value fits the signed type, whose conversion is exact.
            const long double value = static_cast<long double>(static_cast<std::int64_t>(mantissa));
            return decimals == 0 ? value : value / detail::kPowersOfTen[decimals];
        }
    }
    whole = EmptyOrNumber(text, true);
    return Number(text);
}
// A floating value cut toward zero to an int, held at the int range (no undefined overflow).
int TruncToInt(long double value);
// A 32-bit product as the host's 32-bit arithmetic gives it (wraps instead of overflowing).
int WrapMul(int a, int b);

// Leading and trailing characters with codes up to 32 removed, without copying.
inline std::string_view TrimView(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    return text.substr(b, e - b);
}

}  // namespace exportfields
