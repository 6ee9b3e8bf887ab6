// The operation window in the terminal: the lines the driver posts through the add- and
// replace-message callbacks, with their kind and the right-hand status column.
#pragma once

#include <cstdio>
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

class OperationWindow {
public:
    // `terminal`: replace lines in place with cursor movements; otherwise every replacement
    // is printed as a new line. `width` is the layout width, `screenColumns` the terminal's.
    OperationWindow(std::FILE* out, bool terminal, bool color, int width, int screenColumns);

    void Add(int kind, std::string_view cp1250);
    void Replace(int kind, std::string_view cp1250);

    // The window's content as the host keeps it (a replacement overwrites the last line).
    const std::vector<WindowLine>& Lines() const { return lines_; }
    int ErrorLines() const { return errors_; }

private:
    void Print(const WindowLine& line);

    std::FILE* out_;
    bool terminal_;
    bool color_;
    int width_;
    int screenColumns_;
    int lastRows_ = 0;  // terminal rows taken by the last printed line
    int errors_ = 0;
    std::vector<WindowLine> lines_;
};

}  // namespace host
