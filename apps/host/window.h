// The operation window in the terminal: the lines the driver posts through the add- and
// replace-message callbacks, with their kind and the right-hand status column.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct WindowLine {
    int kind = 0;          // TARGO_MSG_INFO / WARNING / ERROR
    std::string text;      // UTF-8, the part before the status separator
    std::string status;    // UTF-8, the part after it (empty when there is none)
};

// Splits a Windows-1250 line at the first status separator and converts both parts to UTF-8
// for display; control characters are made harmless for the terminal.
WindowLine DecodeLine(int kind, std::string_view cp1250);

// One display line of `width` columns: a kind marker, the text and the status right-aligned.
// With `color`, ANSI colours mark warnings, errors and an "OK" status.
std::string FormatLine(const WindowLine& line, int width, bool color);

// The window's time source; tests pass their own so they never wait.
using WindowClock = std::function<std::chrono::steady_clock::time_point()>;

class OperationWindow {
public:
    // `terminal`: replace lines in place with cursor movements; otherwise a replacement is
    // printed as a new line. Either way a stage's line is printed again only when what it shows
    // changed, and a stage's updates are held back to a few per second (a terminal repaints
    // more often than a file or pipe gets lines); the last value held back is printed when the
    // stage ends or Finish() is called. `width` is the layout width, `screenColumns` the
    // terminal's.
    OperationWindow(std::FILE* out, bool terminal, bool color, int width, int screenColumns,
                    WindowClock clock = {});

    void Add(int kind, std::string_view cp1250);
    void Replace(int kind, std::string_view cp1250);
    // Prints the update held back, if any; call when the operation ends.
    void Finish();

    // The window's content as the host keeps it (a replacement overwrites the last line).
    const std::vector<WindowLine>& Lines() const { return lines_; }
    int ErrorLines() const { return errors_; }

    // The shortest time between two prints of one stage's updates.
    static constexpr std::chrono::milliseconds kPlainInterval{500};
    static constexpr std::chrono::milliseconds kTerminalInterval{50};

private:
    void Print(const WindowLine& line);
    void PrintLast();

    std::FILE* out_;
    bool terminal_;
    bool color_;
    int width_;
    int screenColumns_;
    WindowClock clock_;
    int lastRows_ = 0;  // terminal rows taken by the last printed line
    int errors_ = 0;
    std::vector<WindowLine> lines_;
    std::string lastRaw_;       // the last line as the driver sent it
    int lastKind_ = 0;
    std::string printedRaw_;    // the last line as it was last printed
    int printedKind_ = 0;
    std::chrono::steady_clock::time_point printedAt_{};
    bool heldBack_ = false;     // the last line changed since it was printed
};

}  // namespace host
