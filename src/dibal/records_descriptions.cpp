// The goods' additional data for the scale: the numbers carried in opis2 and the description
// blocks (L4, H4) built from the descriptive texts.
#include <array>
#include <string>
#include <string_view>

#include "dibal/records_layouts.h"
#include "dibal/skalnixaction.h"
#include "exportdata/ksexpbuf.h"
#include "runtime/xftools.h"

namespace {

// A word's number as StrToIntDef reads it, straight from the view.
int WordNumber(std::string_view text, int fallback = 0) { return StrToIntDef(text, fallback); }

// Calls `take` with every comma-separated word of the text, as TLJWords cuts it: an empty
// text has no words, and a comma at the end adds no empty word. Stops when `take` says false.
template <typename Take>
void ForEachWord(std::string_view text, Take take) {
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(',', start);
        if (end == std::string_view::npos) end = text.size();
        if (!take(text.substr(start, end - start))) return;
        start = end + 1;
    }
}

}  // namespace

namespace dibal {

// The first four words of opis2 as numbers (key, label, picture, section): 0 when additional
// data is off, the word is missing or it is not a number. Words are cut at every comma.
std::array<int, 4> Opis2Numbers(std::string_view opis2, bool sendAddData) {
    std::array<int, 4> numbers{};
    if (!sendAddData) return numbers;
    std::size_t i = 0;
    ForEachWord(opis2, [&](std::string_view word) {
        numbers[i++] = WordNumber(word);
        return i < numbers.size();
    });
    return numbers;
}

}  // namespace dibal

namespace {

// The stored-text numbers of a comma-separated list as lines of "A%04d," entries, `perLine` to
// a line (numbers past the last line are dropped); false unless there is an entry and every
// entry is 0-9999 (read as StrToIntDef(Trim(word), -1) reads it).
template <std::size_t N>
bool NumberLines(std::string_view text, std::size_t perLine, std::array<std::string, N>& lines) {
    for (std::string& line : lines) line.clear();
    bool valid = !text.empty();
    std::size_t i = 0;
    ForEachWord(text, [&](std::string_view word) {
        const int number = WordNumber(word, -1);
        if (number < 0 || number > 9999) {
            valid = false;
            return false;
        }
        if (i / perLine < N) {
            const char entry[6] = {'A',
                                   static_cast<char>('0' + number / 1000),
                                   static_cast<char>('0' + number / 100 % 10),
                                   static_cast<char>('0' + number / 10 % 10),
                                   static_cast<char>('0' + number % 10),
                                   ','};
            lines[i / perLine].append(entry, sizeof entry);
        }
        ++i;
        return true;
    });
    return valid;
}

// The text cut from the front into pieces of 24 characters, one per line; the rest is dropped.
// `spaced` puts a space before every character, as L4 lines carry them.
template <std::size_t N>
void TextLines(std::string_view text, bool spaced, std::array<std::string, N>& lines) {
    for (std::size_t k = 0; k < N; ++k) {
        std::string& line = lines[k];
        line.clear();
        if (24 * k >= text.size()) continue;
        const std::string_view piece = text.substr(24 * k, 24);
        if (!spaced) {
            line.assign(piece);
            continue;
        }
        line.resize(2 * piece.size());
        for (std::size_t j = 0; j < piece.size(); ++j) {
            line[2 * j] = ' ';
            line[2 * j + 1] = piece[j];
        }
    }
}

// The descriptive text chosen by DibalAddTextsFrom; empty when no texts are sent. `joined`
// holds the text when it is made of several.
std::string_view DescriptionText(const KSTowRec& goods, int textsFrom, std::string& joined) {
    switch (textsFrom) {
    case 1: return goods.opis1;
    case 2: return goods.opis3;
    case 3: return goods.opis4;
    case 4:
        joined.assign(goods.opis1).append(" ").append(goods.opis3).append(" ").append(goods.opis4);
        return joined;
    default: return {};
    }
}

bool Blank(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) > 32) return false;
    return true;
}

// The lines of a description block, kept from goods to goods so that their room is reused.
struct DescriptionLines {
    std::string joined;
    std::array<std::string, 10> l4;
    std::array<std::string, 12> h4;
};

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
    DescriptionLines d;
    if (TextsOff(Settings.TextsFrom) ||
        !NumberLines(DescriptionText(goods, Settings.TextsFrom, d.joined), 8, d.l4))
        return {};
    return dibal::L4Block(Settings.ScaleAddress, pluCode, d.l4);
}

std::string SkalnixAction::BuildL4Text(const KSTowRec& goods, const std::string& pluCode) {
    DescriptionLines d;
    const std::string_view text = DescriptionText(goods, Settings.TextsFrom, d.joined);
    if (TextsOff(Settings.TextsFrom) || Blank(text)) return {};
    TextLines(text, true, d.l4);
    return dibal::L4Block(Settings.ScaleAddress, pluCode, d.l4);
}

std::string SkalnixAction::BuildH4Codes(const KSTowRec& goods, const std::string& pluCode) {
    DescriptionLines d;
    if (TextsOff(Settings.TextsFrom) ||
        !NumberLines(DescriptionText(goods, Settings.TextsFrom, d.joined), 4, d.h4))
        return {};
    return dibal::H4Block(Settings.ScaleAddress, pluCode, d.h4);
}

std::string SkalnixAction::BuildH4Text(const KSTowRec& goods, const std::string& pluCode) {
    DescriptionLines d;
    const std::string_view text = DescriptionText(goods, Settings.TextsFrom, d.joined);
    if (TextsOff(Settings.TextsFrom) || Blank(text)) return {};
    TextLines(text, false, d.h4);
    return dibal::H4Block(Settings.ScaleAddress, pluCode, d.h4);
}

bool SkalnixAction::AppendDescription(const KSTowRec& goods, const std::string& pluCode,
                                      bool recordL, std::string& out) {
    if (TextsOff(Settings.TextsFrom)) return false;
    thread_local DescriptionLines d;
    const std::string_view text = DescriptionText(goods, Settings.TextsFrom, d.joined);
    if (recordL) {
        if (!NumberLines(text, 8, d.l4)) {
            if (Blank(text)) return false;
            TextLines(text, true, d.l4);
        }
        dibal::AppendL4Block(Settings.ScaleAddress, pluCode, d.l4, out);
    } else {
        if (!NumberLines(text, 4, d.h4)) {
            if (Blank(text)) return false;
            TextLines(text, false, d.h4);
        }
        dibal::AppendH4Block(Settings.ScaleAddress, pluCode, d.h4, out);
    }
    return true;
}
