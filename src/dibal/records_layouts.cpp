// The DIBAL record lines in the layouts DibalCom expects, field by field. The C formats they
// follow pad "%06s"-style text fields with blanks; such fields always receive texts at least as
// wide as the field.
#include "dibal/records_layouts.h"

#include <string_view>

#include "dibal/fixed_line.h"

namespace dibal {
namespace {

constexpr std::string_view kEnd = "\r\n";

bool Fits(int value, std::size_t width) { return IntFits(value, width); }

// Room made at once for one record line: every record line is shorter.
constexpr std::size_t kLineRoom = 256;

// A goods' three prices print as the nearest whole numbers; each must be finite and fit its
// field.
bool PricesFit(const RecordFields& f, std::size_t width) {
    return f.price.Fits(width) && f.priceHurt.Fits(width) && f.priceNoc.Fits(width);
}
LineWriter& WritePrices(LineWriter& line, const RecordFields& f, std::size_t width) {
    return line.ZeroPrice(f.price, width).ZeroPrice(f.priceHurt, width).ZeroPrice(f.priceNoc, width);
}

// The address is a two-character field; a shorter one is padded.
bool AddressFits(const RecordFields& f) { return f.address.size() <= 2; }

int Limit(int value, int maximum) { return value > maximum ? 0 : value; }

std::string_view Field(const std::string& text, std::size_t width) {
    return std::string_view(text).substr(0, width);
}

// The address of L4 and H4 is printed "%02s": a shorter one is padded with zeros.
LineWriter& ZeroPaddedAddress(LineWriter& line, const std::string& address) {
    if (address.size() < 2) line.Raw(std::string_view("00", 2 - address.size()));
    return line.Raw(address);
}

}  // namespace

bool AppendRecord22(const RecordFields& f, std::string& out) {
    const int key = Limit(f.key, 99);
    const WholePrice& price = f.price;
    if (!AddressFits(f) || !Fits(f.group, 2) || !Fits(key, 2) || !price.Fits(5))
        return false;
    LineWriter(out, kLineRoom)
        .Right(f.address, 2).Raw("22").ZeroInt(f.group, 2).Char(f.action).Right(f.pluCode, 5)
        .ZeroInt(key, 2).Left(Field(f.name, 14), 14).ZeroPrice(price, 5).Raw(kEnd);
    return true;
}

bool AppendRecordX1(const RecordFields& f, std::string& out) {
    const int key = Limit(f.key, 999);
    const int label = Limit(f.label, 99);
    if (!AddressFits(f) || !Fits(key, 3) || !Fits(label, 2) || !Fits(f.section, 4) ||
        !Fits(f.expiry, 6) || !PricesFit(f, 6))
        return false;
    LineWriter line(out, kLineRoom);
    line.Right(f.address, 2).Raw("X100").Char(f.action).Right(f.pluCode, 6).ZeroInt(key, 3)
        .Left(Field(f.name, 24), 24).Blanks(24);
    WritePrices(line, f, 6)
        .BlankInt(f.piece, 1).ZeroInt(f.expiry, 6).Raw("000000" "00000").ZeroInt(label, 2)
        .Raw("00" "0000").ZeroInt(f.section, 4).Raw("00" "0" "0" "0" "00" "00000" "000000")
        .Raw(kEnd);
    return true;
}

bool AppendRecordL2(const RecordFields& f, std::string& out) {
    const int key = Limit(f.key, 999);
    if (!AddressFits(f) || !Fits(key, 3) || !PricesFit(f, 8)) return false;
    LineWriter line(out, kLineRoom);
    line.Right(f.address, 2).Raw("L200").Char(f.action).Right(f.pluCode, 6).ZeroInt(key, 3)
        .Left(Field(f.name, 24), 24).Blanks(48);
    WritePrices(line, f, 8).Blanks(18).Raw(kEnd);
    return true;
}

bool AppendRecordL3(const RecordFields& f, std::string& out) {
    const int label = Limit(f.label, 99);
    const int picture = Limit(f.picture, 99);
    if (!Fits(label, 2) || !Fits(picture, 2) || !Fits(f.section, 4) ||
        (f.sendExpiry && !Fits(f.expiry, 6)))
        return false;
    LineWriter line(out, kLineRoom);
    line.Right(f.address, 2).Raw("L300").Right(f.pluCode, 6).ZeroInt(f.piece, 1);
    if (f.sendExpiry)
        line.ZeroInt(f.expiry, 6);
    else
        line.Raw("000000");
    line.Raw("000000" "000000" "00000" "00").ZeroInt(label, 2).Raw("00" "00")
        .ZeroInt(f.section, 4).Raw("00" "0" "00" "00" "00").ZeroInt(picture, 2)
        .Raw("0000" "0" "   ").Raw(kEnd);
    return true;
}

bool AppendRecordH2(const RecordFields& f, std::string& out) {
    const int key = Limit(f.key, 999);
    if (!AddressFits(f) || !Fits(key, 3) || !PricesFit(f, 8)) return false;
    LineWriter line(out, kLineRoom);
    line.Right(f.address, 2).Raw("H200").Char(f.action).Right(f.pluCode, 6).ZeroInt(key, 3)
        .Left(Field(f.name, 24), 30).Blanks(30);
    WritePrices(line, f, 8).Blanks(3 + 9 + 18).Raw(kEnd);
    return true;
}

bool AppendRecordH3(const RecordFields& f, std::string& out) {
    const int label = Limit(f.label, 99);
    const int picture = Limit(f.picture, 99);
    if (!Fits(label, 2) || !Fits(picture, 3) || !Fits(f.section, 4) ||
        (f.sendExpiry && !Fits(f.expiry, 6)))
        return false;
    LineWriter line(out, kLineRoom);
    line.Right(f.address, 2).Raw("H300").Right(f.pluCode, 6).ZeroInt(f.piece, 1).Raw("0");
    if (f.sendExpiry)
        line.ZeroInt(f.expiry, 6);
    else
        line.Raw("000000");
    line.Raw("000000" "000000" "00000" "00").ZeroInt(label, 2).Raw("00" "00")
        .ZeroInt(f.section, 4).Raw("00").ZeroInt(picture, 3)
        .Raw("00" "000" "0" "000" "0").Blanks(13 + 4)
        .Raw("0000" "000" "00" "00" "000000" "000000" "00" "00" "0" "000000" "000" "00" "000000")
        .Blanks(4).Raw(kEnd);
    return true;
}

std::string L4Block(const std::string& address, const std::string& pluCode,
                    const std::array<std::string, 10>& lines) {
    std::string block;
    AppendL4Block(address, pluCode, lines, block);
    return block;
}

std::string H4Block(const std::string& address, const std::string& pluCode,
                    const std::array<std::string, 12>& lines) {
    std::string block;
    AppendH4Block(address, pluCode, lines, block);
    return block;
}

void AppendL4Block(const std::string& address, const std::string& pluCode,
                   const std::array<std::string, 10>& lines, std::string& out) {
    LineWriter line(out, 5 * kLineRoom);
    for (int k = 0; k < 5; ++k) {
        ZeroPaddedAddress(line, address).Raw("L400").Right(pluCode, 6).ZeroInt(2 * k, 1)
            .Left(Field(lines[2 * k], 48), 48).Right(pluCode, 6).ZeroInt(2 * k + 1, 1)
            .Left(Field(lines[2 * k + 1], 48), 48).Blanks(14).Raw(kEnd);
    }
}

void AppendH4Block(const std::string& address, const std::string& pluCode,
                   const std::array<std::string, 12>& lines, std::string& out) {
    LineWriter line(out, 3 * kLineRoom);
    for (int m = 0; m < 3; ++m) {
        ZeroPaddedAddress(line, address).Raw("H400").Right(pluCode, 6).BlankInt(m == 2 ? 1 : 0, 1)
            .BlankInt(m + 1, 2);
        for (int i = 0; i < 4; ++i)
            line.BlankInt(4 * m + i + 1, 2).Left(Field(lines[4 * m + i], 24), 24);
        line.Blanks(11).Raw(kEnd);
    }
}

}  // namespace dibal
