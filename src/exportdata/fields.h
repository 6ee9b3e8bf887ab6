// Conversions of export-file fields. Every function reads only the given text and never
// throws for lack of input beyond what its rule says.
#pragma once

#include <string>
#include <string_view>

class TMLgExtTools;

namespace exportfields {

// Whole decimal number; anything else throws the runtime's conversion error.
int StrictInt(std::string_view text);
// Whole decimal number; an empty or non-numeric text gives `fallback`.
int LenientInt(std::string_view text, int fallback);
// Leading blanks, an optional sign and the digits up to the first other character; no digits
// give 0. A value beyond the int range is held at the nearest bound.
int PrefixInt(std::string_view text);
// Leading blanks, then a decimal number with "." or "," as the decimal point, read as far as
// it forms a number; no number gives 0.
long double Number(std::string_view text);
// The text, blanks trimmed, is empty or a number as a whole: an optional sign, digits and,
// when `decimals`, one "." or "," with more digits.
bool EmptyOrNumber(std::string_view text, bool decimals);
// A floating value cut toward zero to an int, held at the int range (no undefined overflow).
int TruncToInt(long double value);
// A 32-bit product as the host's 32-bit arithmetic gives it (wraps instead of overflowing).
int WrapMul(int a, int b);

// Leading and trailing characters with codes up to 32 removed, without copying.
std::string_view TrimView(std::string_view text);

}  // namespace exportfields
