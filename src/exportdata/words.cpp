// TLJWords: splitting one line into words at the separator.
#include "exportdata/words.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace {
const std::string kEmptyWord;
}

int TLJWords::Split(std::string_view line) {
    OutOfRange = false;
    LastIndex = -1;
    count_ = 0;
    line_.assign(line.data(), line.size());
    const std::size_t size = line_.size();
    // A line of n characters has at most n + 1 words: room for them all, so that adding a
    // word needs no check.
    if (spans_.size() < size + 1) spans_.resize(size + 1);
    if (Separator.empty()) {
        if (size != 0) Add(0, size);
        return Made();
    }
    if (Separator.size() == 1) {
        // One pass over the line: fields are short, so a plain scan beats a search per field.
        const char sep = Separator[0];
        const char* const base = line_.data();
        const char* p = base;
        const char* const end = p + size;
        std::size_t start = 0;
        if constexpr (std::endian::native == std::endian::little) {
            // Eight bytes at a time: a mask with the top bit of every byte equal to the
            // separator, then one word per set bit.
            constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
            const std::uint64_t pattern = 0x0101010101010101ull * static_cast<unsigned char>(sep);
            for (; end - p >= 8; p += 8) {
                std::uint64_t x;
                std::memcpy(&x, p, 8);
                x ^= pattern;
                std::uint64_t hits = ~(((x & kLow7) + kLow7) | x | kLow7);
                while (hits) {
                    const std::size_t hit =
                        static_cast<std::size_t>(p - base) + (std::countr_zero(hits) >> 3);
                    Add(start, hit);
                    start = hit + 1;
                    hits &= hits - 1;
                }
            }
        }
        for (; p != end; ++p) {
            if (*p == sep) {
                const std::size_t hit = static_cast<std::size_t>(p - base);
                Add(start, hit);
                start = hit + 1;
            }
        }
        // A trailing separator adds no empty last word.
        if (start != size) Add(start, size);
        return Made();
    }
    std::size_t start = 0;
    while (start < size) {
        const std::size_t p = line_.find(Separator, start);
        if (p == std::string::npos) {
            Add(start, size);
            break;
        }
        Add(start, p);
        // The word and one separator character are consumed.
        start = p + 1;
    }
    return Made();
}

int TLJWords::Made() {
    // Room for every word now, so that a text handed out by Word never moves while the line
    // is in use.
    if (words_.size() < static_cast<std::size_t>(count_)) words_.resize(static_cast<std::size_t>(count_));
    return count_;
}

const std::string& TLJWords::Word(int index) {
    const std::string_view view = View(index);
    if (index < 0 || index >= count_) return kEmptyWord;
    std::string& word = words_[static_cast<std::size_t>(index)];
    word.assign(view.data(), view.size());
    return word;
}
