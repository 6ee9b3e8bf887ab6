#include "runtime/xtools.h"

#include <algorithm>

#include "platform/platform.h"

namespace {

bool IsSeparator(const std::string& separators, char c) {
    return separators.find(c) != std::string::npos;
}

}  // namespace

std::string TxTools::SelectWord(int index, bool& ok, const std::string& separators) const {
    ok = false;
    if (index < 0) return {};
    const std::size_t n = text_.size();
    std::size_t pos = 0;
    for (int word = 0;; ++word) {
        while (pos < n && IsSeparator(separators, text_[pos])) ++pos;
        if (pos == n) return {};
        const std::size_t start = pos;
        while (pos < n && !IsSeparator(separators, text_[pos])) ++pos;
        if (word == index) {
            ok = true;
            return text_.substr(start, pos - start);
        }
    }
}

std::string TxTools::SelectWordEx(int index, bool& ok, const std::string& separators) const {
    ok = false;
    if (index < 0) return {};
    const std::size_t n = text_.size();
    std::size_t start = 0;
    for (int word = 0;; ++word) {
        std::size_t end = start;
        while (end < n && !IsSeparator(separators, text_[end])) ++end;
        if (word == index) {
            ok = true;
            return text_.substr(start, end - start);
        }
        if (end == n) return {};
        start = end + 1;
    }
}

int TxTools::CountChar(char c) const {
    return static_cast<int>(std::count(text_.begin(), text_.end(), c));
}

std::string TxTools::DelAnyChar(const std::string& chars) const {
    std::string out;
    out.reserve(text_.size());
    for (char c : text_) {
        if (!IsSeparator(chars, c)) out.push_back(c);
    }
    return out;
}

std::string TxTools::DelAnyOtherChar(const std::string& chars) const {
    std::string out;
    out.reserve(text_.size());
    for (char c : text_) {
        if (IsSeparator(chars, c)) out.push_back(c);
    }
    return out;
}

std::string TxTools::Chars2Char(const std::string& from, char to) const {
    std::string out = text_;
    for (char& c : out) {
        if (IsSeparator(from, c)) c = to;
    }
    return out;
}

std::string Trim(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    return std::string(text.substr(b, e - b));
}

int MsgBox(const std::string& text, const std::string& caption, unsigned flags) {
    return platform::env().MessageBox(text, caption, flags);
}
