// TLJWords: cuts one line into words at a one-character separator; no quoting, no trimming.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TLJWords {
public:
    int Split(std::string_view line);
    // The word at `index`; empty for a negative index; empty with OutOfRange set past the end.
    const std::string& Word(int index);
    // The same word without a copy, valid until the next Split.
    std::string_view View(int index) {
        LastIndex = index;
        if (index < 0) return {};
        if (index >= count_) {
            OutOfRange = true;
            return {};
        }
        const Span span = spans_[static_cast<std::size_t>(index)];
        return std::string_view(line_.data() + span.begin, span.size);
    }
    int Count() const { return count_; }

    std::string Separator;
    bool OutOfRange = false;
    int LastIndex = -1;  // the index of the word asked for last, for error reports

private:
    struct Span {
        std::size_t begin, size;
    };
    void Add(std::size_t begin, std::size_t end) {
        spans_[static_cast<std::size_t>(count_++)] = Span{begin, end - begin};
    }
    int Made();  // the end of Split

    // The line is copied once; words are spans of it, made into texts only when asked for
    // through Word. All three are reused between lines.
    std::string line_;
    std::vector<Span> spans_;
    std::vector<std::string> words_;
    int count_ = 0;
};
