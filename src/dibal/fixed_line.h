// Appends the fields of a fixed-width record line straight into its text, the way the C
// formats of the records print them ("%5s", "%-24s", "%03d", "%2d", "%08.0Lf"), without a
// format string to parse for every field of a million goods.
#pragma once

#include <string>
#include <string_view>

namespace dibal {

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

// How many characters "%.0Lf" prints for the value; 0 when it is not finite or does not fit
// a record field at all.
std::size_t PriceWidth(long double value);

// How many characters "%d" prints for the value.
std::size_t IntWidth(long long value);

}  // namespace dibal
