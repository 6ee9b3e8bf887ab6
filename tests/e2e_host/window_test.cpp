// The operation window: status column, kinds, in-place replacement and harmless output.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

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

// A clock the test moves by hand.
struct FakeClock {
    std::chrono::steady_clock::time_point now{};
    WindowClock Source() {
        return [this] { return now; };
    }
    void Advance(int ms) { now += std::chrono::milliseconds(ms); }
};

TEST_F(WindowOutput, PlainOutputPrintsAStageOnlyWhenItChangesAndAtMostTwiceASecond) {
    // Each step: milliseconds to wait, then 'A'dd, 'R'eplace or 'F'inish with the text.
    struct Step {
        int waitMs;
        char op;
        int kind;
        const char* text;
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
        std::string expected;
    } cases[] = {
        {"updates within half a second are held; the last one shows when the stage ends",
         {{0, 'A', TARGO_MSG_INFO, "Stage:\x01" "0"},
          {100, 'R', TARGO_MSG_INFO, "Stage:\x01" "1"},
          {100, 'R', TARGO_MSG_INFO, "Stage:\x01" "2"},
          {0, 'A', TARGO_MSG_INFO, "Next"}},
         "  Stage:           0\n  Stage:           2\n  Next\n"},
        {"an update after half a second shows at once; repeating a value shows nothing",
         {{0, 'A', TARGO_MSG_INFO, "Stage:\x01" "0"},
          {600, 'R', TARGO_MSG_INFO, "Stage:\x01" "1"},
          {600, 'R', TARGO_MSG_INFO, "Stage:\x01" "1"},
          {600, 'F', 0, ""}},
         "  Stage:           0\n  Stage:           1\n"},
        {"a new stage or kind in the same line shows at once",
         {{0, 'A', TARGO_MSG_INFO, "Stage:\x01" "0"},
          {10, 'R', TARGO_MSG_INFO, "Other:\x01" "0"},
          {10, 'R', TARGO_MSG_ERROR, "Other"},
          {0, 'F', 0, ""}},
         "  Stage:           0\n  Other:           0\nE Other\n"},
        {"a value that came back to the printed one needs no line",
         {{0, 'A', TARGO_MSG_INFO, "Stage:\x01" "0"},
          {10, 'R', TARGO_MSG_INFO, "Stage:\x01" "1"},
          {10, 'R', TARGO_MSG_INFO, "Stage:\x01" "0"},
          {0, 'F', 0, ""}},
         "  Stage:           0\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::FILE* file = std::tmpfile();
        FakeClock clock;
        OperationWindow w(file, false, false, 20, 80, clock.Source());
        for (const Step& s : c.steps) {
            clock.Advance(s.waitMs);
            if (s.op == 'A') w.Add(s.kind, s.text);
            if (s.op == 'R') w.Replace(s.kind, s.text);
            if (s.op == 'F') w.Finish();
        }
        std::swap(file, file_);
        EXPECT_EQ(Printed(), c.expected);
        std::swap(file, file_);
        std::fclose(file);
    }
}

TEST_F(WindowOutput, AMillionCounterUpdatesToAFileGiveTensOfLines) {
    FakeClock clock;
    OperationWindow w(file_, false, false, 40, 80, clock.Source());
    w.Add(TARGO_MSG_INFO, "Reading:\x01" "0");
    // A million updates spread over ten seconds.
    for (int i = 1; i <= 1000000; ++i) {
        if (i % 100 == 0) clock.Advance(1);
        w.Replace(TARGO_MSG_INFO, "Reading:\x01" + std::to_string(i));
    }
    w.Replace(TARGO_MSG_INFO, "Reading:\x01" "OK");
    w.Finish();
    const std::string printed = Printed();
    const auto lines = std::count(printed.begin(), printed.end(), '\n');
    EXPECT_GE(lines, 15);
    EXPECT_LE(lines, 25);
    EXPECT_EQ(printed.substr(printed.size() - 3), "OK\n");  // the final value is never lost
    ASSERT_EQ(w.Lines().size(), 1u);
    EXPECT_EQ(w.Lines()[0].status, "OK");
}

TEST_F(WindowOutput, TerminalReplacesTheLastLineInPlace) {
    FakeClock clock;
    OperationWindow w(file_, true, false, 20, 10, clock.Source());
    w.Replace(TARGO_MSG_INFO, "first");  // nothing to replace yet: added
    w.Add(TARGO_MSG_INFO, "a line of more than ten");
    w.Replace(TARGO_MSG_WARNING, "short");
    clock.Advance(10);
    w.Replace(TARGO_MSG_WARNING, "short\x01" "1");  // too soon after the last repaint: held
    w.Finish();
    // The 25-column line took three rows of a 10-column screen; the held update is painted
    // over the one-row line at the end.
    EXPECT_EQ(Printed(),
              "  first\n  a line of more than ten\n\r\x1b[3A\x1b[J" "W short\n"
              "\r\x1b[1A\x1b[J" "W short            1\n");
    ASSERT_EQ(w.Lines().size(), 2u);
    EXPECT_EQ(w.ErrorLines(), 0);
}

}  // namespace
}  // namespace host
