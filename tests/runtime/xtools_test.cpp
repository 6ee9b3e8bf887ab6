#include "runtime/xtools.h"

#include <gtest/gtest.h>

namespace {

struct WordCase {
    std::string text;
    std::string separators;
    std::vector<std::string> words;    // SelectWord
    std::vector<std::string> wordsEx;  // SelectWordEx
};

TEST(TxTools, SelectWordMergesSeparatorRunsSelectWordExDoesNot) {
    const WordCase cases[] = {
        {";;a;b;;c;", ";", {"a", "b", "c"}, {"", "", "a", "b", "", "c", ""}},
        {"PLU;1;;x", ";", {"PLU", "1", "x"}, {"PLU", "1", "", "x"}},
        {"a, b;c", ", ;", {"a", "b", "c"}, {"a", "", "b", "c"}},
        {"", ";", {}, {""}},
        {";;", ";", {}, {"", "", ""}},
        {"whole text", "", {"whole text"}, {"whole text"}},
    };
    for (const WordCase& c : cases) {
        const TxTools t(c.text);
        bool ok = false;
        for (std::size_t i = 0; i < c.words.size(); ++i) {
            EXPECT_EQ(t.SelectWord(static_cast<int>(i), ok, c.separators), c.words[i]) << c.text << " #" << i;
            EXPECT_TRUE(ok);
        }
        EXPECT_EQ(t.SelectWord(static_cast<int>(c.words.size()), ok, c.separators), "") << c.text;
        EXPECT_FALSE(ok) << c.text;
        for (std::size_t i = 0; i < c.wordsEx.size(); ++i) {
            EXPECT_EQ(t.SelectWordEx(static_cast<int>(i), ok, c.separators), c.wordsEx[i]) << c.text << " #" << i;
            EXPECT_TRUE(ok);
        }
        EXPECT_EQ(t.SelectWordEx(static_cast<int>(c.wordsEx.size()), ok, c.separators), "") << c.text;
        EXPECT_FALSE(ok) << c.text;
        t.SelectWord(-1, ok, c.separators);
        EXPECT_FALSE(ok);
        t.SelectWordEx(-1, ok, c.separators);
        EXPECT_FALSE(ok);
    }
}

TEST(TxTools, CharacterHelpers) {
    const TxTools t("12-34,5;;6");
    EXPECT_EQ(t.CountChar(';'), 2);
    EXPECT_EQ(t.CountChar('x'), 0);
    EXPECT_EQ(t.DelAnyChar("-,;"), "123456");
    EXPECT_EQ(t.DelAnyOtherChar("0123456789"), "123456");
    EXPECT_EQ(t.Chars2Char(",;", '.'), "12-34.5..6");
    EXPECT_EQ(t.Text(), "12-34,5;;6");
}

TEST(Trim, RemovesControlsAndBlanksAtBothEndsOnly) {
    EXPECT_EQ(Trim(" \t\r\n\x01 a b \x1F "), "a b");
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // a non-breaking space is a character
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(std::string_view("\0x\0", 3)), "x");
}

}  // namespace
