// TLJWords: cutting lines into words.
#include <gtest/gtest.h>

#include <random>

#include "exportdata/words.h"

namespace {

struct SplitCase {
    const char* separator;
    std::string line;
    std::vector<std::string> words;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << "\"" << c.line.substr(0, 20) << "\""; }

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, GivesTheWordsInOrder) {
    const SplitCase& c = GetParam();
    TLJWords w;
    w.Separator = c.separator;
    ASSERT_EQ(w.Split(c.line), static_cast<int>(c.words.size()));
    ASSERT_EQ(w.Count(), static_cast<int>(c.words.size()));
    for (size_t i = 0; i < c.words.size(); ++i) EXPECT_EQ(w.Word(static_cast<int>(i)), c.words[i]) << i;
    EXPECT_FALSE(w.OutOfRange);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitTest,
    ::testing::Values(SplitCase{";", "PLU;1;;x", {"PLU", "1", "", "x"}},
                      SplitCase{";", "a;b;", {"a", "b"}},             // trailing separator
                      SplitCase{";", "", {}},                         // empty line
                      SplitCase{";", "abc", {"abc"}},                 // no separator
                      SplitCase{";", ";;;", {"", "", ""}},            // only separators
                      SplitCase{";", ";a", {"", "a"}},
                      SplitCase{";", " a ; b ", {" a ", " b "}},      // blanks kept
                      SplitCase{"", "a;b", {"a;b"}},                  // no separator set
                      SplitCase{",", "1,2,3", {"1", "2", "3"}},
                      // longer lines, separators on and across eight-byte boundaries
                      SplitCase{";", "abcdefg;ijklmnop;q;;rstuvwxyz0123;", {"abcdefg", "ijklmnop", "q", "", "rstuvwxyz0123"}},
                      SplitCase{";", "\xBB\xBB\xBB;\xBB\xBB\xBB\xBB\xBB\xBB\xBB;\x3A\x3C\x7B\x3B", {"\xBB\xBB\xBB", "\xBB\xBB\xBB\xBB\xBB\xBB\xBB", "\x3A\x3C\x7B"}},
                      SplitCase{";", ";;;;;;;;;;;;;;;;x", {"", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "x"}},
                      SplitCase{";", std::string("a\0b;\xE6\xF3", 6), {std::string("a\0b", 3), "\xE6\xF3"}}));

TEST(WordsTest, IndexPastTheEndSetsOutOfRangeAndNegativeLeavesIt) {
    TLJWords w;
    w.Separator = ";";
    w.Split("PLU;1;;x");
    EXPECT_EQ(w.Word(2), "");
    EXPECT_FALSE(w.OutOfRange);
    EXPECT_EQ(w.Word(-1), "");
    EXPECT_FALSE(w.OutOfRange);
    EXPECT_EQ(w.Word(4), "");
    EXPECT_TRUE(w.OutOfRange);
    EXPECT_EQ(w.Word(-1), "");
    EXPECT_TRUE(w.OutOfRange);
    w.Split("a");
    EXPECT_FALSE(w.OutOfRange);
}

TEST(WordsTest, AShorterLineDoesNotShowWordsOfAnEarlierOne) {
    TLJWords w;
    w.Separator = ";";
    w.Split("a;b;c;d");
    ASSERT_EQ(w.Split("x;y"), 2);
    EXPECT_EQ(w.Word(1), "y");
    EXPECT_EQ(w.Word(2), "");
    EXPECT_TRUE(w.OutOfRange);
}

// The word-by-word reading the scan must agree with: a word ends at each separator, a last
// word runs to the end unless the line ends in a separator.
std::vector<std::string> WordsOf(const std::string& line, char sep) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start < line.size()) {
        const size_t p = line.find(sep, start);
        if (p == std::string::npos) {
            words.push_back(line.substr(start));
            break;
        }
        words.push_back(line.substr(start, p - start));
        start = p + 1;
    }
    return words;
}

// Random lines of every length up to a few blocks of the scan, separators anywhere (on, before
// and after every block boundary), bytes above 127 and the separator's neighbours among them.
TEST(WordsTest, RandomLinesSplitAsWordByWord) {
    std::mt19937 random(7);
    const std::string alphabet = std::string("ab;;:<\x3A\xBB\xFF\x80\0 ", 12);
    TLJWords w;
    w.Separator = ";";
    for (int i = 0; i < 5000; ++i) {
        std::string line(random() % 70, ' ');
        for (char& c : line) c = alphabet[random() % alphabet.size()];
        const std::vector<std::string> expected = WordsOf(line, ';');
        ASSERT_EQ(w.Split(line), static_cast<int>(expected.size())) << line;
        for (size_t k = 0; k < expected.size(); ++k) {
            ASSERT_EQ(w.Word(static_cast<int>(k)), expected[k]) << line;
            ASSERT_EQ(w.View(static_cast<int>(k)), expected[k]) << line;
        }
        EXPECT_EQ(w.View(static_cast<int>(expected.size())), "");
        EXPECT_TRUE(w.OutOfRange);
    }
}

}  // namespace
