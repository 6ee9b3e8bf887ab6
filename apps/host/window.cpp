#include "window.h"

#include <utility>

#include "targodll.h"
#include "textconv.h"

namespace host {
namespace {

// Line breaks and tabs become blanks; other control bytes become '?', so a driver text can
// never move the cursor or change the terminal's state.
std::string Sanitize(std::string_view cp1250) {
    std::string s(cp1250);
    for (char& c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
        else if (b < 0x20 || b == 0x7F)
            c = '?';
    }
    return Cp1250ToUtf8(s);
}

const char* Marker(int kind) {
    switch (kind) {
        case TARGO_MSG_WARNING: return "W ";
        case TARGO_MSG_ERROR: return "E ";
        default: return "  ";
    }
}

}  // namespace

WindowLine DecodeLine(int kind, std::string_view cp1250) {
    WindowLine line;
    line.kind = kind;
    const size_t sep = cp1250.find(TARGO_STATUS_SEPARATOR);
    line.text = Sanitize(cp1250.substr(0, sep));
    if (sep != std::string_view::npos) line.status = Sanitize(cp1250.substr(sep + 1));
    return line;
}

std::string FormatLine(const WindowLine& line, int width, bool color) {
    std::string out = Marker(line.kind);
    out += line.text;
    if (!line.status.empty()) {
        const long used = static_cast<long>(Utf8Length(out) + Utf8Length(line.status));
        out.append(used < width ? static_cast<size_t>(width - used) : 1, ' ');
        if (color && line.kind == TARGO_MSG_INFO && line.status == "OK")
            out += "\x1b[32m" + line.status + "\x1b[0m";
        else
            out += line.status;
    }
    if (color && line.kind == TARGO_MSG_WARNING) return "\x1b[33m" + out + "\x1b[0m";
    if (color && line.kind == TARGO_MSG_ERROR) return "\x1b[31m" + out + "\x1b[0m";
    return out;
}

OperationWindow::OperationWindow(std::FILE* out, bool terminal, bool color, int width,
                                 int screenColumns, WindowClock clock)
    : out_(out),
      terminal_(terminal),
      color_(color),
      width_(width < 20 ? 20 : width),
      screenColumns_(screenColumns < 1 ? 1 : screenColumns),
      clock_(clock ? std::move(clock) : [] { return std::chrono::steady_clock::now(); }) {}

void OperationWindow::Print(const WindowLine& line) {
    const std::string text = FormatLine(line, width_, color_);
    std::fputs(text.c_str(), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
    const size_t cols = Utf8Length(FormatLine(line, width_, false));
    lastRows_ = cols == 0 ? 1 : static_cast<int>((cols + screenColumns_ - 1) / screenColumns_);
}

void OperationWindow::PrintLast() {
    Print(lines_.back());
    printedRaw_ = lastRaw_;
    printedKind_ = lastKind_;
    printedAt_ = clock_();
    heldBack_ = false;
}

void OperationWindow::Finish() {
    if (!heldBack_) return;
    heldBack_ = false;
    // An update that came back to what is on screen needs no line.
    if (lastRaw_ != printedRaw_ || lastKind_ != printedKind_) {
        if (terminal_ && lastRows_ > 0) std::fprintf(out_, "\r\x1b[%dA\x1b[J", lastRows_);
        PrintLast();
    }
}

void OperationWindow::Add(int kind, std::string_view cp1250) {
    Finish();
    lines_.push_back(DecodeLine(kind, cp1250));
    if (kind == TARGO_MSG_ERROR) ++errors_;
    lastRaw_.assign(cp1250);
    lastKind_ = kind;
    PrintLast();
}

namespace {

// The part of a line before its status column: what names the stage.
std::string_view StagePart(std::string_view cp1250) {
    return cp1250.substr(0, cp1250.find(TARGO_STATUS_SEPARATOR));
}

}  // namespace

void OperationWindow::Replace(int kind, std::string_view cp1250) {
    if (lines_.empty()) {
        Add(kind, cp1250);
        return;
    }
    if (kind == TARGO_MSG_ERROR) ++errors_;
    if (kind == lastKind_ && cp1250 == lastRaw_) return;  // nothing new to show
    lines_.back() = DecodeLine(kind, cp1250);
    lastRaw_.assign(cp1250);
    lastKind_ = kind;
    heldBack_ = true;
    // A new stage or kind in the line is shown at once; a stage's own updates are paced.
    const bool sameStage = kind == printedKind_ && StagePart(cp1250) == StagePart(printedRaw_);
    if (sameStage &&
        clock_() - printedAt_ < (terminal_ ? kTerminalInterval : kPlainInterval))
        return;
    if (terminal_ && lastRows_ > 0) std::fprintf(out_, "\r\x1b[%dA\x1b[J", lastRows_);
    PrintLast();
}

}  // namespace host
