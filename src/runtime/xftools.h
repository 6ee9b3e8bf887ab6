// TxfTools: decimal text to number and rounding.
#pragma once

#include <string>
#include <string_view>

class TxfTools {
public:
    explicit TxfTools(long double value = 0) : value_(value) {}
    // Leading blanks are skipped; then an optional sign, digits, and a decimal separator ("."
    // or ",") with more digits, read as far as they form a number. No number gives 0.
    // `base` must be 10; `strict` true throws EConvertError when the text is not entirely a
    // number (surrounding blanks allowed).
    TxfTools& FromString(const std::string& text, int base = 10, bool strict = false);
    // Rounds to `digits` decimal places, halves away from zero.
    TxfTools& Round(int digits);
    long double Value() const { return value_; }

private:
    long double value_;
};

// Strict whole-number conversion: optional blanks around an optional sign and decimal digits
// that fit in 32 bits; anything else throws EConvertError with the runtime's message.
int StrToInt(const std::string& text);
// Lenient whole-number conversion: the strict one, or `fallback` when it would throw.
int StrToIntDef(std::string_view text, int fallback);
