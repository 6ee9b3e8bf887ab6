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
    auto add = [this](std::string_view word) {
        // Strings are reused between lines so that reading a file allocates only while the
        // longest line seen so far grows.
        if (count_ == static_cast<int>(words_.size())) words_.emplace_back();
        std::string& w = words_[static_cast<size_t>(count_)];
        w.clear();  // clear + append copies straight into the kept capacity
        w.append(word.data(), word.size());
        ++count_;
    };
    if (Separator.empty()) {
        if (!line.empty()) add(line);
        return count_;
    }
    if (Separator.size() == 1) {
        // One pass over the line: fields are short, so a plain scan beats a search per field.
        const char sep = Separator[0];
        const char* p = line.data();
        const char* const end = p + line.size();
        const char* start = p;
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
                    const char* hit = p + (std::countr_zero(hits) >> 3);
                    add(std::string_view(start, static_cast<size_t>(hit - start)));
                    start = hit + 1;
                    hits &= hits - 1;
                }
            }
        }
        for (; p != end; ++p) {
            if (*p == sep) {
                add(std::string_view(start, static_cast<size_t>(p - start)));
                start = p + 1;
            }
        }
        // A trailing separator adds no empty last word.
        if (start != end) add(std::string_view(start, static_cast<size_t>(end - start)));
        return count_;
    }
    while (!line.empty()) {
        const size_t p = line.find(Separator);
        if (p == std::string_view::npos) {
            add(line);
            break;
        }
        add(line.substr(0, p));
        // The word and one separator character are consumed.
        line.remove_prefix(p + 1);
    }
    return count_;
}

const std::string& TLJWords::Word(int index) {
    LastIndex = index;
    if (index < 0) return kEmptyWord;
    if (index >= count_) {
        OutOfRange = true;
        return kEmptyWord;
    }
    return words_[static_cast<size_t>(index)];
}
