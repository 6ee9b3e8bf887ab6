// TxTools: text helpers of the runtime, and the modal message box.
#pragma once

#include <string>
#include <string_view>

class TxTools {
public:
    explicit TxTools(std::string text) : text_(std::move(text)) {}
    const std::string& Text() const { return text_; }

    // Word `index` (from 0) of the text split at any of `separators`; a run of separators
    // counts as one and leading separators are skipped. ok is false when there is no such word.
    std::string SelectWord(int index, bool& ok, const std::string& separators) const;
    // As SelectWord, but every separator separates: two in a row give an empty word.
    std::string SelectWordEx(int index, bool& ok, const std::string& separators) const;
    int CountChar(char c) const;
    // Removes every character found in `chars`.
    std::string DelAnyChar(const std::string& chars) const;
    // Keeps only the characters found in `chars`.
    std::string DelAnyOtherChar(const std::string& chars) const;
    // Replaces every character found in `from` by `to`.
    std::string Chars2Char(const std::string& from, char to) const;

private:
    std::string text_;
};

// Leading and trailing characters with codes up to 32 removed.
std::string Trim(std::string_view text);

// A modal message box owned by the host's application window.
int MsgBox(const std::string& text, const std::string& caption, unsigned flags);
