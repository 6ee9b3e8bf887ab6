#include "dibal/fixed_line.h"

#include <cmath>
#include <cstdint>
#include <cstring>

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
void RoundWhole(long double value, bool& negative, unsigned long long& magnitude) {
    const long double size = std::fabs(value);
    negative = std::signbit(value);
    // Prices are nearly always whole numbers of grosz within 32 bits: a conversion to double
    // and one to a 32-bit integer tell, both plain SSE instructions on every build.
    const double near = static_cast<double>(size);
    if (near < 2147483648.0 && static_cast<long double>(near) == size) {
        const auto truncated = static_cast<std::int32_t>(near);
        if (static_cast<double>(truncated) == near) {
            magnitude = static_cast<unsigned long long>(truncated);
            return;
        }
    }
    long long whole = std::llrint(size);
    const long double diff = size - static_cast<long double>(whole);  // exact below the limit
    if (diff > 0.5L || (diff == 0.5L && (whole & 1) != 0))
        ++whole;
    else if (diff < -0.5L || (diff == -0.5L && (whole & 1) != 0))
        --whole;
    magnitude = static_cast<unsigned long long>(whole);
}

}  // namespace

WholePrice RoundPrice(long double value) {
    WholePrice price;
    // Beyond the limit (or not a number) a price never fits a record field.
    if (!(std::fabs(value) < kPriceLimit)) return price;
    RoundWhole(value, price.negative, price.magnitude);
    price.valid = true;
    return price;
}

bool WholePrice::Fits(std::size_t width) const {
    return valid && NumberFits(negative, magnitude, width);
}

std::size_t PriceWidth(long double value) {
    const WholePrice price = RoundPrice(value);
    return price.valid ? Digits(price.magnitude) + (price.negative ? 1 : 0) : 0;
}

std::size_t IntWidth(long long value) { return Digits(Magnitude(value)) + (value < 0 ? 1 : 0); }

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
    if (std::fabs(value) < kPriceLimit) RoundWhole(value, negative, magnitude);
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

void LineWriter::Grow(std::size_t count) {
    const std::size_t used = static_cast<std::size_t>(p_ - out_.data());
    const std::size_t size = out_.size();
    out_.resize(used + count > 2 * size ? used + count : 2 * size);
    p_ = out_.data() + used;
    end_ = out_.data() + out_.size();
}

LineWriter& LineWriter::WideNumber(bool negative, unsigned long long magnitude, std::size_t width,
                                   char fill) {
    const std::size_t used = Digits(magnitude) + (negative ? 1 : 0);
    const std::size_t size = used > width ? used : width;
    char* const at = Room(size);
    // Digits from the right, two at a time.
    char* p = at + size;
    while (magnitude >= 100) {
        const auto pair = static_cast<std::size_t>(magnitude % 100);
        magnitude /= 100;
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * pair, 2);
    }
    if (magnitude >= 10) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * magnitude, 2);
    } else {
        *--p = static_cast<char>('0' + magnitude);
    }
    if (fill == '0') {
        std::memset(at, '0', static_cast<std::size_t>(p - at));
        if (negative) at[0] = '-';
    } else {
        if (negative) *--p = '-';
        std::memset(at, ' ', static_cast<std::size_t>(p - at));
    }
    return *this;
}

}  // namespace dibal
