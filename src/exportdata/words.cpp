// TLJWords: splitting one line into words at the separator.
#include "exportdata/words.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
const std::string kEmptyWord;
}

int TLJWords::Split(std::string_view line) {
    line_.assign(line.data(), line.size());
    return Scan(line_);
}

int TLJWords::SplitInPlace(std::string_view line) { return Scan(line); }

int TLJWords::Scan(std::string_view line) {
    OutOfRange = false;
    LastIndex = -1;
    count_ = 0;
    text_ = line.data();
    const std::size_t size = line.size();
    // A line of n characters has at most n + 1 words: room for all their ends, so that adding
    // one needs no check.
    if (bounds_.size() < size + 2) bounds_.resize(size + 2);
    std::size_t* const first = bounds_.data() + 1;
    std::size_t* out = first;
    bounds_[0] = static_cast<std::size_t>(-1);  // word 0 starts at 0
    if (Separator.empty()) {
        if (size != 0) *out++ = size;
    } else if (Separator.size() == 1) {
        // One pass over the line, noting where each separator is: fields are short, so a scan
        // of the whole line beats a search per field.
        const char sep = Separator[0];
        const char* const base = line.data();
        const char* p = base;
        const char* const end = p + size;
#if defined(__SSE2__)
        // Sixteen bytes at a time: one bit per byte equal to the separator, one end per bit.
        const __m128i pattern = _mm_set1_epi8(sep);
        for (; end - p >= 16; p += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, pattern)));
            const std::size_t at = static_cast<std::size_t>(p - base);
            while (hits) {
                *out++ = at + static_cast<unsigned>(std::countr_zero(hits));
                hits &= hits - 1;
            }
        }
        if (p != end && size >= 16) {
            // The last bytes: the sixteen ending the line, those already looked at masked off.
            const char* const q = end - 16;
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
            unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, pattern)));
            hits &= ~0u << (p - q);
            const std::size_t at = static_cast<std::size_t>(q - base);
            while (hits) {
                *out++ = at + static_cast<unsigned>(std::countr_zero(hits));
                hits &= hits - 1;
            }
            p = end;
        }
#else
        if constexpr (std::endian::native == std::endian::little) {
            // Eight bytes at a time: a mask with the top bit of every byte equal to the
            // separator, then one end per set bit.
            constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
            const std::uint64_t pattern = 0x0101010101010101ull * static_cast<unsigned char>(sep);
            for (; end - p >= 8; p += 8) {
                std::uint64_t x;
                std::memcpy(&x, p, 8);
                x ^= pattern;
                std::uint64_t hits = ~(((x & kLow7) + kLow7) | x | kLow7);
                const std::size_t at = static_cast<std::size_t>(p - base);
                while (hits) {
                    *out++ = at + static_cast<std::size_t>(std::countr_zero(hits) >> 3);
                    hits &= hits - 1;
                }
            }
        }
#endif
        for (; p != end; ++p)
            if (*p == sep) *out++ = static_cast<std::size_t>(p - base);
        // A trailing separator adds no empty last word.
        if (out[-1] + 1 != size) *out++ = size;
    } else {
        std::size_t start = 0;
        while (start < size) {
            const std::size_t p = line.find(Separator, start);
            if (p == std::string_view::npos) {
                *out++ = size;
                break;
            }
            *out++ = p;
            // The word and one separator character are consumed.
            start = p + 1;
        }
    }
    count_ = static_cast<int>(out - first);
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
