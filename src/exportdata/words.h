// TLJWords: cuts one line into words at a one-character separator; no quoting, no trimming.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TLJWords {
public:
    int Split(std::string_view line);
    // The word at `index`; empty for a negative index; empty with OutOfRange set past the end.
    const std::string& Word(int index);
    int Count() const { return count_; }

    std::string Separator;
    bool OutOfRange = false;
    int LastIndex = -1;  // the index of the word asked for last, for error reports

private:
    std::vector<std::string> words_;  // reused between lines; only the first count_ are valid
    int count_ = 0;
};
