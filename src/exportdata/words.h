// TLJWords: cuts one line into words at a one-character separator; no quoting, no trimming.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TLJWords {
public:
    int Split(std::string_view line);
    // As Split, but the words are views of `line` itself, which must stay unchanged while
    // they are used: no copy of the line.
    int SplitInPlace(std::string_view line);
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
        // Word i runs from one past the end of word i - 1 (bounds_[i]) to bounds_[i + 1];
        // bounds_[0] is one before the line, so that word 0 starts at 0.
        const std::size_t* const b = bounds_.data() + index;
        const std::size_t begin = b[0] + 1;
        return std::string_view(text_ + begin, b[1] - begin);
    }
    int Count() const { return count_; }

    std::string Separator;
    bool OutOfRange = false;
    int LastIndex = -1;  // the index of the word asked for last, for error reports

private:
    int Scan(std::string_view line);  // finds the words of `line`, which becomes text_
    int Made();  // the end of Split

    // The line is copied once; words are spans of it, made into texts only when asked for
    // through Word. All three are reused between lines.
    std::string line_;
    const char* text_ = nullptr;  // the line the words are in: line_ or the caller's
    std::vector<std::size_t> bounds_;  // the end of every word, after one word's end of -1
    std::vector<std::string> words_;
    int count_ = 0;
};
