// The DIBAL record lines, printed with the record formats DibalCom expects. Fields given as
// texts ("%06s" and the like) always receive texts at least as wide as the field, so the
// outcome does not depend on how a C library pads a text with the 0 flag.
#include "dibal/records_layouts.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace dibal {
namespace {

// printf into a string. The formats are this file's constants; some use the 0 flag with %s,
// which compilers warn about, so they are not checked at the call sites.
std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(args);
    return text;
}

bool Fits(int value, int width) { return static_cast<int>(std::to_string(value).size()) <= width; }

// A price prints as the nearest whole number; it must be finite and fit its field.
bool PriceFits(long double value, int width) {
    return std::isfinite(value) && std::snprintf(nullptr, 0, "%.0Lf", value) <= width;
}

bool PricesFit(const RecordFields& f, int width) {
    return PriceFits(f.price, width) && PriceFits(f.priceHurt, width) &&
           PriceFits(f.priceNoc, width);
}

// The address is a two-character field; a shorter one is padded.
bool AddressFits(const RecordFields& f) { return f.address.size() <= 2; }

int Limit(int value, int maximum) { return value > maximum ? 0 : value; }

std::string Expiry(int value) { return Format("%06d", value); }

// The address of L4 and H4 is printed "%02s": a shorter one is padded with zeros.
std::string ZeroPaddedAddress(const std::string& address) {
    return address.size() >= 2 ? address : std::string(2 - address.size(), '0') + address;
}

std::string Field(const std::string& text, std::size_t width) { return text.substr(0, width); }

}  // namespace

bool AppendRecord22(const RecordFields& f, std::string& out) {
    const int key = Limit(f.key, 99);
    if (!AddressFits(f) || !Fits(f.group, 2) || !Fits(key, 2) || !PriceFits(f.price, 5))
        return false;
    out += Format("%2s22%02d%c%5s%02d%-14s%05.0Lf\r\n", f.address.c_str(), f.group, f.action,
                  f.pluCode.c_str(), key, Field(f.name, 14).c_str(), f.price);
    return true;
}

bool AppendRecordX1(const RecordFields& f, std::string& out) {
    const int key = Limit(f.key, 999);
    const int label = Limit(f.label, 99);
    if (!AddressFits(f) || !Fits(key, 3) || !Fits(label, 2) || !Fits(f.section, 4) ||
        !Fits(f.expiry, 6) || !PricesFit(f, 6))
        return false;
    out += Format(
        "%2sX1%02s%c%06s%03d%-24s%-24s%06.0Lf%06.0Lf%06.0Lf%1d%06s%06s%05s%02d%02s%04s%04d%02s%s%s"
        "%s%02s%05s%06s\r\n",
        f.address.c_str(), "00", f.action, f.pluCode.c_str(), key, Field(f.name, 24).c_str(), "",
        f.price,
        f.priceHurt, f.priceNoc, f.piece, Expiry(f.expiry).c_str(), "000000", "00000", label,
        "00", "0000", f.section, "00", "0", "0", "0", "00", "00000", "000000");
    return true;
}

bool AppendRecordL2(const RecordFields& f, std::string& out) {
    const int key = Limit(f.key, 999);
    if (!AddressFits(f) || !Fits(key, 3) || !PricesFit(f, 8)) return false;
    out += Format("%2sL2%02s%c%06s%03d%-24s%-24s%-24s%08.0Lf%08.0Lf%08.0Lf%18s\r\n",
                  f.address.c_str(), "00", f.action, f.pluCode.c_str(), key,
                  Field(f.name, 24).c_str(), "", "", f.price, f.priceHurt, f.priceNoc, "");
    return true;
}

bool AppendRecordL3(const RecordFields& f, std::string& out) {
    const int label = Limit(f.label, 99);
    const int picture = Limit(f.picture, 99);
    if (!Fits(label, 2) || !Fits(picture, 2) || !Fits(f.section, 4) ||
        (f.sendExpiry && !Fits(f.expiry, 6)))
        return false;
    const std::string expiry = f.sendExpiry ? Expiry(f.expiry) : "000000";
    out += Format(
        "%2sL3%02s%06s%01d%06s%06s%06s%05s%02s%02d%02s%02s%04d%02s%01s%02s%02s%02s%02d%04s%01s%3s"
        "\r\n",
        f.address.c_str(), "00", f.pluCode.c_str(), f.piece, expiry.c_str(), "000000", "000000",
        "00000", "00", label, "00", "00", f.section, "00", "0", "00", "00", "00", picture, "0000",
        "0", "");
    return true;
}

bool AppendRecordH2(const RecordFields& f, std::string& out) {
    const int key = Limit(f.key, 999);
    if (!AddressFits(f) || !Fits(key, 3) || !PricesFit(f, 8)) return false;
    out += Format("%2sH2%02s%c%06s%03d%-30s%-30s%08.0Lf%08.0Lf%08.0Lf%3s%9s%18s\r\n",
                  f.address.c_str(), "00", f.action, f.pluCode.c_str(), key,
                  Field(f.name, 24).c_str(), "", f.price, f.priceHurt, f.priceNoc, "", "", "");
    return true;
}

bool AppendRecordH3(const RecordFields& f, std::string& out) {
    const int label = Limit(f.label, 99);
    const int picture = Limit(f.picture, 99);
    if (!Fits(label, 2) || !Fits(picture, 3) || !Fits(f.section, 4) ||
        (f.sendExpiry && !Fits(f.expiry, 6)))
        return false;
    const std::string expiry = f.sendExpiry ? Expiry(f.expiry) : "000000";
    out += Format(
        "%2sH3%02s%06s%01d%01s%06s%06s%06s%05s%02s%02d%02s%02s%04d%02s%03d%02s%03s%01s%03s%01s%13s"
        "%4s%04s%03s%02s%02s%06s%06s%02s%02s%01s%06s%03s%02s%06s%4s\r\n",
        f.address.c_str(), "00", f.pluCode.c_str(), f.piece, "0", expiry.c_str(), "000000",
        "000000", "00000", "00", label, "00", "00", f.section, "00", picture, "00", "000", "0",
        "000", "0", "", "", "0000", "000", "00", "00", "000000", "000000", "00", "00", "0",
        "000000", "000", "00", "000000", "");
    return true;
}

std::string L4Block(const std::string& address, const std::string& pluCode,
                    const std::array<std::string, 10>& lines) {
    const std::string head = ZeroPaddedAddress(address);
    std::string block;
    for (int k = 0; k < 5; ++k) {
        block += Format("%02sL4%02s%06s%1d%-48s%06s%1d%-48s%14s\r\n", head.c_str(), "00",
                        pluCode.c_str(), 2 * k, Field(lines[2 * k], 48).c_str(), pluCode.c_str(),
                        2 * k + 1, Field(lines[2 * k + 1], 48).c_str(), "");
    }
    return block;
}

std::string H4Block(const std::string& address, const std::string& pluCode,
                    const std::array<std::string, 12>& lines) {
    const std::string head = ZeroPaddedAddress(address);
    std::string block;
    for (int m = 0; m < 3; ++m) {
        block += Format("%02sH4%02s%06s%1d%2d%2d%-24s%2d%-24s%2d%-24s%2d%-24s%11s\r\n",
                        head.c_str(), "00", pluCode.c_str(), m == 2 ? 1 : 0, m + 1, 4 * m + 1,
                        Field(lines[4 * m], 24).c_str(), 4 * m + 2,
                        Field(lines[4 * m + 1], 24).c_str(), 4 * m + 3,
                        Field(lines[4 * m + 2], 24).c_str(), 4 * m + 4,
                        Field(lines[4 * m + 3], 24).c_str(), "");
    }
    return block;
}

}  // namespace dibal
