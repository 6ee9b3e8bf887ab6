// The goods' additional data for the scale: the numbers carried in opis2 and the description
// blocks (L4, H4) built from the descriptive texts.
#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "dibal/records_layouts.h"
#include "dibal/skalnixaction.h"
#include "exportdata/ksexpbuf.h"
#include "exportdata/words.h"
#include "runtime/xftools.h"
#include "runtime/xtools.h"

namespace {

// StrToIntDef(text, 0) of a word, without making it a string: blanks (any byte up to the
// space) around an optional sign and the digits, nothing else, within the range of int.
int WordNumber(std::string_view text) {
    const std::size_t n = text.size();
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t pos = 0;
    while (pos < n && blank(text[pos])) ++pos;
    bool negative = false;
    if (pos < n && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    const std::size_t first = pos;
    long long value = 0;
    const long long limit = negative ? 2147483648LL : 2147483647LL;
    while (pos < n && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        if (value > limit) return 0;
        ++pos;
    }
    if (pos == first) return 0;
    while (pos < n && blank(text[pos])) ++pos;
    if (pos != n) return 0;
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

namespace dibal {

// The first four words of opis2 as numbers (key, label, picture, section): 0 when additional
// data is off, the word is missing or it is not a number. Words are cut at every comma.
std::array<int, 4> Opis2Numbers(std::string_view opis2, bool sendAddData) {
    std::array<int, 4> numbers{};
    if (!sendAddData) return numbers;
    std::size_t start = 0;
    for (std::size_t i = 0; i < numbers.size() && start < opis2.size(); ++i) {
        std::size_t end = opis2.find(',', start);
        if (end == std::string_view::npos) end = opis2.size();
        numbers[i] = WordNumber(opis2.substr(start, end - start));
        start = end + 1;
    }
    return numbers;
}

}  // namespace dibal

namespace {

// The stored-text numbers of a comma-separated list; false unless every entry is 0-9999.
bool ReadTextNumbers(const std::string& text, std::vector<int>& numbers) {
    TLJWords words;
    words.Separator = ",";
    const int count = words.Split(text);
    if (count == 0) return false;
    for (int i = 0; i < count; ++i) {
        const int number = StrToIntDef(Trim(words.Word(i)), -1);
        if (number < 0 || number > 9999) return false;
        numbers.push_back(number);
    }
    return true;
}

// "A%04d," per number, `perLine` numbers to a line; numbers past the last line are dropped.
template <std::size_t N>
std::array<std::string, N> NumberLines(const std::vector<int>& numbers, std::size_t perLine) {
    std::array<std::string, N> lines;
    for (std::size_t i = 0; i < numbers.size() && i / perLine < N; ++i) {
        char entry[16];
        std::snprintf(entry, sizeof entry, "A%04d,", numbers[i]);
        lines[i / perLine] += entry;
    }
    return lines;
}

// The text cut from the front into pieces of 24 characters, one per line; the rest is dropped.
// `spaced` puts a space before every character, as L4 lines carry them.
template <std::size_t N>
std::array<std::string, N> TextLines(const std::string& text, bool spaced) {
    std::array<std::string, N> lines;
    for (std::size_t k = 0; k < N && 24 * k < text.size(); ++k) {
        const std::string piece = text.substr(24 * k, 24);
        if (!spaced) {
            lines[k] = piece;
            continue;
        }
        for (char c : piece) {
            lines[k] += ' ';
            lines[k] += c;
        }
    }
    return lines;
}

// The descriptive text chosen by DibalAddTextsFrom; empty when no texts are sent.
std::string DescriptionText(const KSTowRec& goods, int textsFrom) {
    switch (textsFrom) {
    case 1: return goods.opis1;
    case 2: return goods.opis3;
    case 3: return goods.opis4;
    case 4: return goods.opis1 + " " + goods.opis3 + " " + goods.opis4;
    default: return {};
    }
}

bool TextsOff(int textsFrom) { return textsFrom < 1 || textsFrom > 4; }

}  // namespace

std::array<int, 4> SkalnixAction::Opis2Numbers(const KSTowRec& goods) {
    return dibal::Opis2Numbers(goods.opis2, Settings.SendAddData);
}
int SkalnixAction::KeyNumber(const KSTowRec& goods) { return Opis2Numbers(goods)[0]; }
int SkalnixAction::LabelNumber(const KSTowRec& goods) { return Opis2Numbers(goods)[1]; }
int SkalnixAction::PictureNumber(const KSTowRec& goods) { return Opis2Numbers(goods)[2]; }
int SkalnixAction::SectionNumber(const KSTowRec& goods) { return Opis2Numbers(goods)[3]; }

std::string SkalnixAction::BuildL4Codes(const KSTowRec& goods, const std::string& pluCode) {
    std::vector<int> numbers;
    if (TextsOff(Settings.TextsFrom) || !ReadTextNumbers(DescriptionText(goods, Settings.TextsFrom), numbers))
        return {};
    return dibal::L4Block(Settings.ScaleAddress, pluCode, NumberLines<10>(numbers, 8));
}

std::string SkalnixAction::BuildL4Text(const KSTowRec& goods, const std::string& pluCode) {
    const std::string text = DescriptionText(goods, Settings.TextsFrom);
    if (TextsOff(Settings.TextsFrom) || Trim(text).empty()) return {};
    return dibal::L4Block(Settings.ScaleAddress, pluCode, TextLines<10>(text, true));
}

std::string SkalnixAction::BuildH4Codes(const KSTowRec& goods, const std::string& pluCode) {
    std::vector<int> numbers;
    if (TextsOff(Settings.TextsFrom) || !ReadTextNumbers(DescriptionText(goods, Settings.TextsFrom), numbers))
        return {};
    return dibal::H4Block(Settings.ScaleAddress, pluCode, NumberLines<12>(numbers, 4));
}

std::string SkalnixAction::BuildH4Text(const KSTowRec& goods, const std::string& pluCode) {
    const std::string text = DescriptionText(goods, Settings.TextsFrom);
    if (TextsOff(Settings.TextsFrom) || Trim(text).empty()) return {};
    return dibal::H4Block(Settings.ScaleAddress, pluCode, TextLines<12>(text, false));
}
