#include "dibal/fixed_line.h"

#include <cmath>

namespace dibal {
namespace {

// Prices beyond this never fit a record field, and stay exact in an integer below it.
constexpr long double kPriceLimit = 1e15L;

std::size_t Digits(unsigned long long magnitude) {
    std::size_t n = 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++n;
    }
    return n;
}

unsigned long long Magnitude(long long value) {
    return value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                     : static_cast<unsigned long long>(value);
}

// The nearest whole number of a finite price below the limit, as sign and magnitude: ties go to
// the even number, and a negative price keeps its sign even when it rounds to zero ("-0").
void RoundPrice(long double value, bool& negative, unsigned long long& magnitude) {
    const long double size = std::fabs(value);
    magnitude = static_cast<unsigned long long>(size);
    const long double fraction = size - static_cast<long double>(magnitude);  // exact
    if (fraction > 0.5L || (fraction == 0.5L && (magnitude & 1) != 0)) ++magnitude;
    negative = std::signbit(value);
}

}  // namespace

std::size_t IntWidth(long long value) { return Digits(Magnitude(value)) + (value < 0 ? 1 : 0); }

std::size_t PriceWidth(long double value) {
    // Beyond the limit (or not a number) a price never fits a record field.
    if (!(std::fabs(value) < kPriceLimit)) return 0;
    bool negative = false;
    unsigned long long magnitude = 0;
    RoundPrice(value, negative, magnitude);
    return Digits(magnitude) + (negative ? 1 : 0);
}

FixedLine& FixedLine::Right(std::string_view text, std::size_t width) {
    if (text.size() < width) out_.append(width - text.size(), ' ');
    out_.append(text);
    return *this;
}

FixedLine& FixedLine::Left(std::string_view text, std::size_t width) {
    out_.append(text);
    if (text.size() < width) out_.append(width - text.size(), ' ');
    return *this;
}

FixedLine& FixedLine::ZeroInt(long long value, std::size_t width) {
    return Number(value < 0, Magnitude(value), width, '0');
}

FixedLine& FixedLine::BlankInt(long long value, std::size_t width) {
    return Number(value < 0, Magnitude(value), width, ' ');
}

FixedLine& FixedLine::ZeroPrice(long double value, std::size_t width) {
    bool negative = false;
    unsigned long long magnitude = 0;
    if (std::fabs(value) < kPriceLimit) RoundPrice(value, negative, magnitude);
    return Number(negative, magnitude, width, '0');
}

FixedLine& FixedLine::Number(bool negative, unsigned long long magnitude, std::size_t width,
                             char fill) {
    char digits[24];
    std::size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const std::size_t used = n + (negative ? 1 : 0);
    const std::size_t pad = used < width ? width - used : 0;
    if (fill == ' ') out_.append(pad, ' ');
    if (negative) out_.push_back('-');
    if (fill == '0') out_.append(pad, '0');
    while (n > 0) out_.push_back(digits[--n]);
    return *this;
}

}  // namespace dibal
