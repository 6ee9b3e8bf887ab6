// TLTools byte conversions: bytes to hex digits and back, packed BCD to digits and back. No
// terminating zero is written; the caller sizes the destination. A count below 1 converts nothing.
#include "tools/ltools.h"

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

// Value of one digit character: '0'..'9' as such, anything above '9' counted from 'A' = 10.
int NibbleOf(char c) {
    const int code = static_cast<unsigned char>(c);
    return code <= '9' ? code - 48 : code - 55;
}

}  // namespace

void TLTools::Bin2Hex(const std::uint8_t* source, char* destination, int count) {
    for (int i = 0; i < count; ++i) {
        destination[2 * i] = kHexDigits[source[i] >> 4];
        destination[2 * i + 1] = kHexDigits[source[i] & 0x0F];
    }
}

std::uint8_t TLTools::Hex2BinDigit(const char* twoChars) {
    return static_cast<std::uint8_t>((NibbleOf(twoChars[0]) * 16 + NibbleOf(twoChars[1])) & 0xFF);
}

void TLTools::Hex2Bin(const char* source, std::uint8_t* destination, int count) {
    for (int i = 0; i < count; ++i) destination[i] = Hex2BinDigit(source + 2 * i);
}

std::uint8_t TLTools::Dec2BinDigit(const char* twoChars) {
    const int first = static_cast<unsigned char>(twoChars[0]) - 48;
    const int second = static_cast<unsigned char>(twoChars[1]) - 48;
    return static_cast<std::uint8_t>((first * 16 + second) & 0xFF);
}

void TLTools::Dec2Bin(const char* source, std::uint8_t* destination, int count) {
    // Decimal digits pair up exactly as hex digits do: packed BCD.
    for (int i = 0; i < count; ++i) destination[i] = Hex2BinDigit(source + 2 * i);
}

void TLTools::Bin2Dec(const std::uint8_t* source, char* destination, int count) {
    for (int i = 0; i < count; ++i) {
        destination[2 * i] = static_cast<char>((source[i] >> 4) + 48);
        destination[2 * i + 1] = static_cast<char>((source[i] & 0x0F) + 48);
    }
}
