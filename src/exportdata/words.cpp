// TLJWords: splitting one line into words at the separator.
#include "exportdata/words.h"


namespace {
const std::string kEmptyWord;
}

int TLJWords::Split(std::string_view line) {
    OutOfRange = false;
    count_ = 0;
    auto add = [this](std::string_view word) {
        // Strings are reused between lines so that reading a file allocates only while the
        // longest line seen so far grows.
        if (count_ == static_cast<int>(words_.size())) words_.emplace_back();
        words_[static_cast<size_t>(count_)].assign(word.data(), word.size());
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
    if (index < 0) return kEmptyWord;
    if (index >= count_) {
        OutOfRange = true;
        return kEmptyWord;
    }
    return words_[static_cast<size_t>(index)];
}
