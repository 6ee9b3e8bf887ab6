// TLTools text helpers: VAT-rate codes, copy up to a delimiter, cut and pad, decimal text to a
// scaled integer, the EAN-13 check digit.
#include "runtime/exceptions.h"
#include "runtime/xftools.h"
#include "runtime/xtools.h"
#include "tools/ltools.h"

#include <cmath>
#include <cstdint>

std::string TLTools::Vat2Str(int rate) {
    if (rate == -1) return "zw";
    return std::to_string(rate);
}

int TLTools::Str2Vat(const std::string& text) {
    if (text == "zw") return -1;
    return StrToInt(text);
}

std::string TLTools::CopyTill(const std::string& source, std::string& destination,
                              const std::string& stopChars, int start) {
    destination.clear();
    // Positions count from 1; one before the first would read outside the text.
    std::size_t pos = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    for (; pos < source.size(); ++pos) {
        if (stopChars.find(source[pos]) != std::string::npos) break;
        destination += source[pos];
    }
    return destination;
}

std::string TLTools::StrMax(const std::string& text, int maximum, bool dots) {
    std::string copy = text;
    const std::size_t max = maximum < 0 ? 0 : static_cast<std::size_t>(maximum);
    if (copy.size() > max) {
        copy.resize(max);
        if (dots && copy.size() > 3) copy.replace(copy.size() - 3, 3, "...");
    }
    return copy;
}

std::string TLTools::StrSize(std::string& text, int size, char fill, e_just padding,
                             e_just cutting) {
    const std::size_t want = size < 0 ? 0 : static_cast<std::size_t>(size);
    if (text.size() > want) {
        if (cutting == just_right)
            text.erase(0, text.size() - want);  // keep the rightmost characters
        else
            text.resize(want);  // keep the leftmost characters
    } else if (text.size() < want) {
        if (padding == just_right)
            text.insert(0, want - text.size(), fill);
        else
            text.append(want - text.size(), fill);
    }
    return text;
}

int TLTools::Str2Int(const std::string& text, unsigned decimals) {
    TxfTools number(0);
    number.FromString(text, 10, false);
    const long double value0 = number.Value();
    TxfTools scaled(value0 == 0 ? 0
                                : value0 * std::pow(10.0L, static_cast<long double>(decimals)));
    scaled.Round(0);
    const long double value = scaled.Value();
    // A value beyond 32 bits has no integer form: report it instead of wrapping around.
    if (!(value >= static_cast<long double>(INT32_MIN) &&
          value <= static_cast<long double>(INT32_MAX)))
        ThrowRangeError();
    return static_cast<int>(value);
}

void TLTools::KorygujCyfreKontrolnaEAN13(std::string& code) {
    code = Trim(TxTools(code).DelAnyOtherChar("0123456789"));
    if (code.size() > 12) code.resize(12);
    while (code.size() < 12) code += '0';
    int sum = 0;
    for (int pos = 12; pos >= 1; --pos) {
        const int digit = code[static_cast<std::size_t>(pos - 1)] - '0';
        sum += (pos % 2 == 0) ? 3 * digit : digit;
    }
    const int check = sum % 10 == 0 ? 0 : 10 - sum % 10;
    code += static_cast<char>('0' + check);
}
