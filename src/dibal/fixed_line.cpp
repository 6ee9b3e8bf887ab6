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
// llrint rounds in the current mode without switching the FPU's control word (a switch costs
// more than the rest of a record's formatting); the step after it makes the result right in
// any mode, since a mode's rounding is never more than one away from the nearest.
void RoundPrice(long double value, bool& negative, unsigned long long& magnitude) {
    const long double size = std::fabs(value);
    long long whole = std::llrint(size);
    const long double diff = size - static_cast<long double>(whole);  // exact below the limit
    if (diff > 0.5L || (diff == 0.5L && (whole & 1) != 0))
        ++whole;
    else if (diff < -0.5L || (diff == -0.5L && (whole & 1) != 0))
        --whole;
    magnitude = static_cast<unsigned long long>(whole);
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
    // Written backwards into a small buffer and appended in one go: record fields are narrow.
    char text[64];
    char* p = text + sizeof text;
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const std::size_t used = static_cast<std::size_t>(text + sizeof text - p) + (negative ? 1 : 0);
    std::size_t pad = used < width ? width - used : 0;
    if (fill == '0') {
        for (; pad > 0 && p - 1 > text; --pad) *--p = '0';
        if (pad > 0) {  // wider than any record field: the rest of the zeros go first
            const std::string_view digits(p, static_cast<std::size_t>(text + sizeof text - p));
            if (negative) out_.push_back('-');
            out_.append(pad, '0');
            out_.append(digits);
            return *this;
        }
        if (negative) *--p = '-';
    } else {
        if (negative) *--p = '-';
        out_.append(pad, ' ');
    }
    out_.append(p, static_cast<std::size_t>(text + sizeof text - p));
    return *this;
}

}  // namespace dibal
