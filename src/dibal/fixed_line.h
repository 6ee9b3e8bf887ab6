// Appends the fields of a fixed-width record line straight into its text, the way the C
// formats of the records print them ("%5s", "%-24s", "%03d", "%2d", "%08.0Lf"), without a
// format string to parse for every field of a million goods.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace dibal {

// Powers of ten up to the largest below 2^64.
inline constexpr unsigned long long kPowersOfTen[20] = {
    1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL, 10000000ULL, 100000000ULL,
    1000000000ULL, 10000000000ULL, 100000000000ULL, 1000000000000ULL, 10000000000000ULL,
    100000000000000ULL, 1000000000000000ULL, 10000000000000000ULL, 100000000000000000ULL,
    1000000000000000000ULL, 10000000000000000000ULL};

// "00" to "99".
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Whether a number of this sign and magnitude takes at most `width` characters.
inline bool NumberFits(bool negative, unsigned long long magnitude, std::size_t width) {
    if (width <= (negative ? 1U : 0U)) return false;
    const std::size_t room = width - (negative ? 1 : 0);
    return room >= 20 || magnitude < kPowersOfTen[room];
}

// Whether "%d" of the value takes at most `width` characters (IntWidth(value) <= width).
inline bool IntFits(long long value, std::size_t width) {
    return NumberFits(value < 0,
                      value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                : static_cast<unsigned long long>(value),
                      width);
}

// A price as "%.0Lf" prints it: the nearest whole number (ties to even) and its sign ("-0"
// kept). `valid` is false when the price is not finite or does not fit a record field at all;
// the digits are then 0.
struct WholePrice {
    bool negative = false;
    bool valid = false;
    unsigned long long magnitude = 0;
    // Whether "%.0Lf" of the price takes at most `width` characters.
    bool Fits(std::size_t width) const;
};
WholePrice RoundPrice(long double value);
// A price that is a whole number already.
inline WholePrice WholePriceOf(std::int32_t value) {
    WholePrice price;
    price.negative = value < 0;
    price.valid = true;
    price.magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                : static_cast<unsigned long long>(value);
    return price;
}

class FixedLine {
public:
    explicit FixedLine(std::string& out) : out_(out) {}

    // Bytes as they are: the record tags, constant fields and the line end.
    FixedLine& Raw(std::string_view text) {
        out_.append(text);
        return *this;
    }
    FixedLine& Char(char c) {
        out_.push_back(c);
        return *this;
    }
    // "%Ns" (and "%0Ns", which pads with blanks as well): right-aligned, never cut.
    FixedLine& Right(std::string_view text, std::size_t width);
    // "%-Ns": left-aligned, padded with blanks, never cut.
    FixedLine& Left(std::string_view text, std::size_t width);
    // "%0Nd": the sign first, then zeros up to the width.
    FixedLine& ZeroInt(long long value, std::size_t width);
    // "%Nd": right-aligned with blanks.
    FixedLine& BlankInt(long long value, std::size_t width);
    // "%0N.0Lf": the nearest whole number (ties to even, "-0" kept), then as ZeroInt. Only for
    // values PriceFits accepted.
    FixedLine& ZeroPrice(long double value, std::size_t width);

private:
    FixedLine& Number(bool negative, unsigned long long magnitude, std::size_t width, char fill);

    std::string& out_;
};

// The same fields as FixedLine, written with plain stores into room made at the end of the text
// once per line instead of an append per field. Room for `expected` characters is made at the
// start and more only when the fields need it; Done (or the end of the writer) cuts the text to
// what was written, so nothing else may change the text while the writer is in use.
class LineWriter {
public:
    LineWriter(std::string& out, std::size_t expected) : out_(out) {
        const std::size_t used = out.size();
        out_.resize(used + expected);
        p_ = out_.data() + used;
        end_ = out_.data() + out_.size();
    }
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;
    ~LineWriter() { Done(); }

    void Done() {
        if (p_ == nullptr) return;
        out_.resize(static_cast<std::size_t>(p_ - out_.data()));
        p_ = end_ = nullptr;
    }

    LineWriter& Raw(std::string_view text) {
        std::memcpy(Room(text.size()), text.data(), text.size());
        return *this;
    }
    LineWriter& Char(char c) {
        *Room(1) = c;
        return *this;
    }
    LineWriter& Blanks(std::size_t count) {
        std::memset(Room(count), ' ', count);
        return *this;
    }
    // As FixedLine's fields of the same names.
    // The whole field is blanked first: its width is a constant where the records call these.
    LineWriter& Right(std::string_view text, std::size_t width) {
        if (text.size() >= width) return Raw(text);
        char* at = Room(width);
        std::memset(at, ' ', width);
        std::memcpy(at + (width - text.size()), text.data(), text.size());
        return *this;
    }
    LineWriter& Left(std::string_view text, std::size_t width) {
        if (text.size() >= width) return Raw(text);
        char* at = Room(width);
        std::memset(at, ' ', width);
        std::memcpy(at, text.data(), text.size());
        return *this;
    }
    LineWriter& ZeroInt(long long value, std::size_t width) {
        return Number(value < 0, Magnitude(value), width, '0');
    }
    LineWriter& BlankInt(long long value, std::size_t width) {
        return Number(value < 0, Magnitude(value), width, ' ');
    }
    // "%0N.0Lf" of a price already rounded by RoundPrice.
    LineWriter& ZeroPrice(const WholePrice& price, std::size_t width) {
        return Number(price.negative, price.magnitude, width, '0');
    }

private:
    static unsigned long long Magnitude(long long value) {
        return value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                         : static_cast<unsigned long long>(value);
    }
    // Room for `count` characters, with at least kSlack more behind them that a field may
    // fill ahead of time: what lies past the field is written over by the next one or cut.
    static constexpr std::size_t kSlack = 8;
    char* Room(std::size_t count) {
        if (static_cast<std::size_t>(end_ - p_) < count + kSlack) Grow(count + kSlack);
        char* at = p_;
        p_ += count;
        return at;
    }
    void Grow(std::size_t count);
    // The digits of a number that fills its field exactly, the field's fill ahead of them;
    // a wider number goes to WideNumber.
    LineWriter& Number(bool negative, unsigned long long magnitude, std::size_t width, char fill) {
        if (width > 8 || !NumberFits(negative, magnitude, width))
            return WideNumber(negative, magnitude, width, fill);
        char* const at = Room(width);
        // The whole field in one store; Room leaves the slack for it.
        static_assert(kSlack >= 8);
        std::memcpy(at, fill == '0' ? "00000000" : "        ", 8);
        // At most eight digits: 32-bit arithmetic, two digits a step.
        auto rest = static_cast<unsigned>(magnitude);
        char* p = at + width;
        for (; rest >= 100; rest /= 100) {
            p -= 2;
            std::memcpy(p, kDigitPairs + 2 * (rest % 100), 2);
        }
        if (rest >= 10) {
            p -= 2;
            std::memcpy(p, kDigitPairs + 2 * rest, 2);
        } else {
            *--p = static_cast<char>('0' + rest);
        }
        if (negative) {
            if (fill == '0')
                at[0] = '-';
            else
                p[-1] = '-';
        }
        return *this;
    }
    LineWriter& WideNumber(bool negative, unsigned long long magnitude, std::size_t width,
                           char fill);

    std::string& out_;
    char* p_ = nullptr;
    char* end_ = nullptr;
};

// How many characters "%.0Lf" prints for the value; 0 when it is not finite or does not fit
// a record field at all.
std::size_t PriceWidth(long double value);

// How many characters "%d" prints for the value.
std::size_t IntWidth(long long value);

}  // namespace dibal
