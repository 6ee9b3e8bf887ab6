// TLTools communication log: a session header, time-stamped lines and hex dumps, each entry
// appended by opening and closing the file again so that it can be read while a driver runs.
#include "runtime/dttools.h"
#include "runtime/lgtools.h"
#include "runtime/mfile.h"
#include "tools/ltools.h"

#include <cstdio>

namespace {

const char kModule[] = "kstools_LTools";
constexpr int kBytesPerLine = 16;
constexpr std::size_t kHexColumn = 48;   // 16 x "XX "
constexpr std::size_t kCharColumn = 16;  // one character per byte
const std::string kNoStamp(12, ' ');     // continuation lines, as wide as a format-5 stamp

void AppendToFile(const std::string& path, const std::string& text) {
    TMFile file;
    file.SetPath(path);
    file.SetReadOnly(false);
    file.Open();
    file.SetPointer(file.GetSize());
    file.Write(text);
    file.Close();
}

}  // namespace

void TLTools::InitDebug(const std::string& path, const TMLgExtTools* lg) {
    const std::string previous = DebugFile;
    DebugFile = path;
    try {
        AppendToFile(DebugFile, GetString(lg, kModule, "oolsInitDebulineAnsiStri", 0,
                                          "\r\n--- [KOMUNIKACJA Z DNIA: ") +
                                    TdtTools::Now().ToString(7) + "] ---\r\n");
        DebugOn = true;
    } catch (...) {
        // A log that cannot be written is not opened. An open log keeps writing to the file
        // that worked, rather than failing every later entry on the new path.
        if (DebugOn) DebugFile = previous;
    }
}

void TLTools::DebugIt(const std::string& first, const std::string& second) {
    if (!DebugOn) return;
    AppendToFile(DebugFile, TdtTools::Now().ToString(5) + " " + first + " " + second + "\r\n");
}

void TLTools::DebugItHex(const std::uint8_t* bytes, int count) {
    if (!DebugOn) return;
    if (bytes == nullptr || count < 0) count = 0;
    const std::string stamp = TdtTools::Now().ToString(5);
    std::string text;
    int done = 0;
    do {
        const int n = count - done < kBytesPerLine ? count - done : kBytesPerLine;
        std::string hex, chars;
        for (int k = 0; k < n; ++k) {
            const std::uint8_t b = bytes[done + k];
            char cell[4];
            std::snprintf(cell, sizeof cell, "%02X ", static_cast<unsigned>(b));
            hex += cell;
            chars += b < 32 ? '.' : static_cast<char>(b);
        }
        hex.resize(kHexColumn, ' ');
        chars.resize(kCharColumn, ' ');
        text += (done == 0 ? stamp : kNoStamp) + "   " + hex + "  " + chars + "\r\n";
        done += n;
    } while (done < count);
    AppendToFile(DebugFile, text);
}
