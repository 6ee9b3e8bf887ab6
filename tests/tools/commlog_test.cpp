// The communication log: session header, text lines and hex dumps with their exact columns.
#include "platform/platform.h"
#include "support/test_host.h"
#include "tools/ltools.h"
#include "tools_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using tools_test::kDateTimeShape;
using tools_test::kTimeShape;
using tools_test::MaskStamp;

const std::string kHeadStart = "\r\n--- [KOMUNIKACJA Z DNIA: ";
const std::string kHead = kHeadStart + std::string(19, '#') + "] ---\r\n";
const std::string kTime(12, '#');
const std::string kBlank12(12, ' ');

// The log's content with the header's date-time and the line stamps at the starts of the
// given lines (counted from 0, after the header) masked.
std::string MaskedLog(const std::string& path, const std::vector<int>& stampedLines) {
    std::string text = ReadFile(path);
    EXPECT_TRUE(MaskStamp(text, kHeadStart.size(), kDateTimeShape)) << text;
    std::size_t lineStart = kHead.size();
    for (int line = 0; lineStart < text.size(); ++line) {
        if (std::find(stampedLines.begin(), stampedLines.end(), line) != stampedLines.end()) {
            EXPECT_TRUE(MaskStamp(text, lineStart, kTimeShape)) << "line " << line << ": " << text;
        }
        const std::size_t end = text.find("\r\n", lineStart);
        if (end == std::string::npos) break;
        lineStart = end + 2;
    }
    return text;
}

std::string DumpLine(const std::string& prefix, const std::string& hex, const std::string& chars) {
    return prefix + "   " + hex + std::string(48 - hex.size(), ' ') + "  " + chars +
           std::string(16 - chars.size(), ' ') + "\r\n";
}

TEST(CommLog, HeaderAndTextLines) {
    TempDir dir;
    const std::string path = dir.File("komunikacja.log");
    TLTools tools;
    tools.InitDebug(path, nullptr);
    EXPECT_TRUE(tools.DebugOn);
    EXPECT_EQ(tools.DebugFile, path);
    tools.DebugIt("SEND", "ABC \xB9");
    tools.DebugIt("", "");
    EXPECT_EQ(MaskedLog(path, {0, 1}),
              kHead + kTime + " SEND ABC \xB9\r\n" + kTime + "  \r\n");
}

TEST(CommLog, HeaderTextFromTheLanguageServiceAndAppendedSessions) {
    tools_test::Translations()[{"kstools_LTools", "oolsInitDebulineAnsiStri"}] = "\r\nLOG ";
    TempDir dir;
    const std::string path = dir.File("log.txt");
    WriteFile(path, "older\r\n");
    TLTools tools;
    tools.InitDebug(path, tools_test::Language());
    tools_test::Translations().clear();
    std::string text = ReadFile(path);
    EXPECT_TRUE(MaskStamp(text, 13, kDateTimeShape)) << text;
    EXPECT_EQ(text, "older\r\n\r\nLOG " + std::string(19, '#') + "] ---\r\n");
}

TEST(CommLog, HexDumpLayout) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::string lines;  // after the header, stamp masked
        std::vector<int> stamped;
    };
    std::vector<std::uint8_t> sixteen, seventeen;
    for (int k = 0; k < 16; ++k) sixteen.push_back(static_cast<std::uint8_t>(0x30 + k));
    seventeen = sixteen;
    seventeen.push_back(0x41);
    const std::string hex16 = "30 31 32 33 34 35 36 37 38 39 3A 3B 3C 3D 3E 3F ";
    const std::string chars16 = "0123456789:;<=>?";
    const Case cases[] = {
        {{}, DumpLine(kTime, "", ""), {0}},
        {{0x41}, DumpLine(kTime, "41 ", "A"), {0}},
        {sixteen, DumpLine(kTime, hex16, chars16), {0}},
        {seventeen, DumpLine(kTime, hex16, chars16) + DumpLine(kBlank12, "41 ", "A"), {0}},
        // Control bytes as dots, everything from 32 up as it is.
        {{0x0D, 0x0A, 0x00, 0x1F, 0x20, 0xB9, 0xFF, 0x7F},
         DumpLine(kTime, "0D 0A 00 1F 20 B9 FF 7F ", "....\x20\xB9\xFF\x7F"),
         {0}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.File("log.txt");
        TLTools tools;
        tools.InitDebug(path, nullptr);
        tools.DebugItHex(c.bytes.data(), static_cast<int>(c.bytes.size()));
        EXPECT_EQ(MaskedLog(path, c.stamped), kHead + c.lines) << c.bytes.size() << " bytes";
    }
}

TEST(CommLog, HexDumpLinesAreEightyOneColumns) {
    TempDir dir;
    const std::string path = dir.File("log.txt");
    TLTools tools;
    tools.InitDebug(path, nullptr);
    std::vector<std::uint8_t> bytes(40, 0x55);
    tools.DebugItHex(bytes.data(), 40);
    const std::string text = ReadFile(path).substr(kHead.size());
    EXPECT_EQ(text.size(), 3 * (81 + 2u));
    EXPECT_EQ(text.substr(83, 12), kBlank12);
    EXPECT_EQ(text.substr(166, 12), kBlank12);
    EXPECT_EQ(text.substr(166 + 15, 24), "55 55 55 55 55 55 55 55 ");
}

TEST(CommLog, ClosedLogWritesNothing) {
    TempDir dir;
    const std::string path = dir.File("log.txt");
    TLTools tools;
    tools.DebugFile = path;
    const std::uint8_t byte = 0x41;
    tools.DebugIt("a", "b");
    tools.DebugItHex(&byte, 1);
    EXPECT_FALSE(platform::env().PathExists(path));
}

TEST(CommLog, InitDebugInAMissingDirectoryStaysClosed) {
    TempDir dir;
    const std::string path = dir.File("missing/log.txt");
    TLTools tools;
    EXPECT_NO_THROW(tools.InitDebug(path, nullptr));
    EXPECT_FALSE(tools.DebugOn);
    EXPECT_NO_THROW(tools.DebugIt("a", "b"));
    EXPECT_FALSE(platform::env().PathExists(path));
    EXPECT_FALSE(platform::env().PathExists(dir.File("missing")));
}

TEST(CommLog, FailedSecondInitDebugKeepsTheWorkingLog) {
    TempDir dir;
    const std::string path = dir.File("log.txt");
    TLTools tools;
    tools.InitDebug(path, nullptr);
    EXPECT_NO_THROW(tools.InitDebug(dir.File("missing/log.txt"), nullptr));
    EXPECT_TRUE(tools.DebugOn);
    EXPECT_NO_THROW(tools.DebugIt("still", "here"));
    EXPECT_EQ(MaskedLog(path, {0}), kHead + kTime + " still here\r\n");
}

TEST(CommLog, SecondInitDebugMovesToAnotherFile) {
    TempDir dir;
    TLTools tools;
    tools.InitDebug(dir.File("one.log"), nullptr);
    tools.InitDebug(dir.File("two.log"), nullptr);
    tools.DebugIt("x", "y");
    EXPECT_EQ(MaskedLog(dir.File("one.log"), {}), kHead);
    EXPECT_EQ(MaskedLog(dir.File("two.log"), {0}), kHead + kTime + " x y\r\n");
}

TEST(CommLog, WriteFailuresReachTheCaller) {
    TempDir dir;
    const std::string path = dir.File("log.txt");
    TLTools tools;
    tools.InitDebug(path, nullptr);
    // The log file is replaced by a directory: it can no longer be opened.
    ASSERT_TRUE(platform::env().DeleteFile(path));
    ASSERT_TRUE(platform::env().CreateDirectories(path));
    const std::uint8_t byte = 0x41;
    EXPECT_ANY_THROW(tools.DebugIt("a", "b"));
    EXPECT_ANY_THROW(tools.DebugItHex(&byte, 1));
}

TEST(CommLog, NegativeCountDumpsAsEmpty) {
    TempDir dir;
    const std::string path = dir.File("log.txt");
    TLTools tools;
    tools.InitDebug(path, nullptr);
    const std::uint8_t byte = 0x41;
    tools.DebugItHex(&byte, -5);
    tools.DebugItHex(nullptr, 3);
    EXPECT_EQ(MaskedLog(path, {0, 1}), kHead + DumpLine(kTime, "", "") + DumpLine(kTime, "", ""));
}

}  // namespace
