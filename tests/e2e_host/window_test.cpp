// The operation window: status column, kinds, in-place replacement and harmless output.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "targodll.h"
#include "window.h"

namespace host {
namespace {

TEST(HostWindow, DecodeSplitsAtFirstSeparatorAndNeutralisesControls) {
    const struct {
        std::string cp1250;
        std::string text, status;
    } cases[] = {
        {"Przygotowanie towar\xF3w::\x01" "12 %", "Przygotowanie towarów::", "12 %"},
        {"plain", "plain", ""},
        {"a\x01" "b\x01" "c", "a", "b?c"},
        {"evil\x1b[2J\x01" "OK", "evil?[2J", "OK"},
        {"two\r\nlines\ttab", "two  lines tab", ""},
    };
    for (const auto& c : cases) {
        const WindowLine line = DecodeLine(TARGO_MSG_INFO, c.cp1250);
        EXPECT_EQ(line.text, c.text);
        EXPECT_EQ(line.status, c.status);
    }
}

TEST(HostWindow, FormatRightAlignsStatusAndMarksKinds) {
    const struct {
        WindowLine line;
        int width;
        bool color;
        std::string expected;
    } cases[] = {
        {{TARGO_MSG_INFO, "Zapis:", "OK"}, 12, false, "  Zapis:  OK"},
        {{TARGO_MSG_INFO, "żółw", "5"}, 10, false, "  żółw   5"},  // counted in characters
        {{TARGO_MSG_INFO, "much too long", "7"}, 10, false, "  much too long 7"},
        {{TARGO_MSG_WARNING, "uwaga", ""}, 40, false, "W uwaga"},
        {{TARGO_MSG_ERROR, "zle", ""}, 40, false, "E zle"},
        {{TARGO_MSG_ERROR, "zle", ""}, 40, true, "\x1b[31mE zle\x1b[0m"},
        {{TARGO_MSG_INFO, "a", "OK"}, 6, true, "  a \x1b[32mOK\x1b[0m"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatLine(c.line, c.width, c.color), c.expected) << c.line.text;
}

// Captures what the window prints.
class WindowOutput : public ::testing::Test {
protected:
    void SetUp() override { file_ = std::tmpfile(); }
    void TearDown() override { std::fclose(file_); }
    std::string Printed() {
        std::fflush(file_);
        std::rewind(file_);
        std::string s;
        for (int c; (c = std::fgetc(file_)) != EOF;) s += static_cast<char>(c);
        return s;
    }
    std::FILE* file_ = nullptr;
};

TEST_F(WindowOutput, PlainOutputPrintsEveryReplacementAsALine) {
    OperationWindow w(file_, false, false, 20, 80);
    w.Add(TARGO_MSG_INFO, "Stage:\x01" "0");
    w.Replace(TARGO_MSG_INFO, "Stage:\x01" "1");
    w.Replace(TARGO_MSG_ERROR, "Stage");
    EXPECT_EQ(Printed(), "  Stage:           0\n  Stage:           1\nE Stage\n");
    ASSERT_EQ(w.Lines().size(), 1u);  // the window itself holds only the replaced line
    EXPECT_EQ(w.Lines()[0].kind, TARGO_MSG_ERROR);
    EXPECT_EQ(w.ErrorLines(), 1);
}

TEST_F(WindowOutput, TerminalReplacesTheLastLineInPlace) {
    OperationWindow w(file_, true, false, 20, 10);
    w.Replace(TARGO_MSG_INFO, "first");  // nothing to replace yet: added
    w.Add(TARGO_MSG_INFO, "a line of more than ten");
    w.Replace(TARGO_MSG_WARNING, "short");
    // The 25-column line took three rows of a 10-column screen.
    EXPECT_EQ(Printed(),
              "  first\n  a line of more than ten\n\r\x1b[3A\x1b[J" "W short\n");
    ASSERT_EQ(w.Lines().size(), 2u);
    EXPECT_EQ(w.ErrorLines(), 0);
}

}  // namespace
}  // namespace host
