// The archive of exchanged files: the appended copy with its header and kind line, and the
// shift of numbered generations.
#include "platform/platform.h"
#include "support/test_host.h"
#include "tools/ltools.h"
#include "tools_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using tools_test::kDateTimeShape;
using tools_test::MaskStamp;

const std::string kExportHead = "\r\n----------- [EKSPORT WYKONANY DNIA: ";
const std::string kImportHead = "\r\n------------ [IMPORT WYKONANY DNIA: ";
const std::string kStamp(19, '#');
const std::string kHeadEnd = "] ------------\r\n";
const std::string kSource = "PLU;1;Chleb\r\nPLU;2;Mas\xB3o\nlast line";
const std::string kSourceLines = "PLU;1;Chleb\r\nPLU;2;Mas\xB3o\r\nlast line\r\n";

// The archive's content with the date-time of the header at `position` masked.
std::string Masked(const std::string& path, std::size_t position) {
    std::string text = ReadFile(path);
    EXPECT_TRUE(MaskStamp(text, position, kDateTimeShape)) << text;
    return text;
}

TEST(Archive, HeaderAndKindLines) {
    struct Case {
        bool isExport;
        int kind;
        std::string extra;
        std::string head;  // what precedes the file's lines; the stamp as '#'
    };
    const std::string exportHead = kExportHead + kStamp + kHeadEnd;
    const Case cases[] = {
        {true, 0, "", exportHead + "OTWARTA ZM. FISK.\r\n"},
        {true, 1, "", exportHead + "ZAMKNIETA ZM. FISK.\r\n"},
        {true, 2, "", exportHead + "WSZYSTKIE\r\n"},
        {true, 3, "", exportHead + "ZMIANA LISTY\r\n"},
        {true, 7, "", exportHead},
        {true, -1, "", exportHead},
        {true, 2, "extra; line", exportHead + "WSZYSTKIE\r\nextra; line\r\n"},
        {false, 1, "", kImportHead + kStamp + kHeadEnd},
        {false, 7, "x", kImportHead + kStamp + kHeadEnd + "x\r\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        WriteFile(dir.File("kasa.exp"), kSource);
        TLTools tools;
        tools.ArchiveFile(dir.File("kasa.exp"), dir.File("ARCH2.EXP"), nullptr, c.isExport, c.kind,
                          true, c.extra);
        const std::size_t stampAt = (c.isExport ? kExportHead : kImportHead).size();
        EXPECT_EQ(Masked(dir.File("ARCH2.EXP"), stampAt), c.head + kSourceLines)
            << "export " << c.isExport << " kind " << c.kind;
        EXPECT_EQ(ReadFile(dir.File("kasa.exp")), kSource) << "the archived file is not changed";
    }
}

TEST(Archive, WithoutHeader) {
    const std::pair<std::string, std::string> cases[] = {
        {"", kSourceLines},
        {"extra", "extra\r\n" + kSourceLines},
    };
    for (const auto& [extra, content] : cases) {
        TempDir dir;
        WriteFile(dir.File("kasa.exp"), kSource);
        TLTools tools;
        tools.ArchiveFile(dir.File("kasa.exp"), dir.File("ARCH2.EXP"), nullptr, true, 1, false,
                          extra);
        EXPECT_EQ(ReadFile(dir.File("ARCH2.EXP")), content);
    }
}

TEST(Archive, LargeFileIsCopiedWhole) {
    // Several megabytes of lines with every kind of line end, so the copy spans many writes.
    std::string source, expected;
    const char* ends[] = {"\r\n", "\n", "\r"};
    for (int i = 0; i < 200000; ++i) {
        const std::string line = "PLU;" + std::to_string(i) + ";Towar " + std::string(i % 40, 'x');
        source += line + ends[i % 3];
        expected += line + "\r\n";
    }
    TempDir dir;
    WriteFile(dir.File("kasa.exp"), source);
    TLTools tools;
    tools.ArchiveFile(dir.File("kasa.exp"), dir.File("ARCH2.EXP"), nullptr, true, 1, false, "");
    EXPECT_TRUE(ReadFile(dir.File("ARCH2.EXP")) == expected);
}

// Line ends falling on the edge of the copy's 1 MiB read blocks: a CR LF split between two
// blocks is one line end, a CR ending a block before another line is a line end of its own,
// and a file ending without a line end gets one. The expected archive comes from a plain
// character-by-character rewrite.
TEST(Archive, LineEndsAtReadBlockEdges) {
    auto withCrLf = [](const std::string& text) {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                out += "\r\n";
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            } else {
                out += text[i];
            }
        }
        if (!text.empty() && text.back() != '\r' && text.back() != '\n') out += "\r\n";
        return out;
    };
    const std::size_t block = 1 << 20;
    const struct {
        const char* name;
        std::size_t fill;  // bytes before the tail
        std::string tail;
    } cases[] = {
        {"CR LF split by the edge", block - 1, "\r\nnext\r\n"},
        {"CR LF ending the block", block - 2, "\r\nnext"},
        {"lone CR ending the block", block - 1, "\rnext\r\n"},
        {"lone CR ending the file on the edge", block - 1, "\r"},
        {"lone LF starting a block", block, "\nnext"},
        {"CR CR LF across the edge", block - 1, "\r\r\nx"},
        {"no line end at all", 3 * block / 2, ""},
        {"empty file", 0, ""},
        {"only line ends", 0, "\r\r\n\n\r"},
    };
    for (const auto& c : cases) {
        std::string source;
        for (std::size_t i = 0; source.size() < c.fill; ++i)
            source += i % 50 == 49 ? '\n' : static_cast<char>('a' + i % 26);
        source.resize(c.fill);
        source += c.tail;
        TempDir dir;
        WriteFile(dir.File("kasa.exp"), source);
        TLTools tools;
        tools.ArchiveFile(dir.File("kasa.exp"), dir.File("ARCH2.EXP"), nullptr, true, 1, false, "");
        EXPECT_TRUE(ReadFile(dir.File("ARCH2.EXP")) == withCrLf(source)) << c.name;
    }
}

TEST(Archive, AppendsToWhatIsThere) {
    TempDir dir;
    WriteFile(dir.File("kasa.exp"), "one\r\n");
    WriteFile(dir.File("ARCH2.EXP"), "earlier\r\n");
    TLTools tools;
    tools.ArchiveFile(dir.File("kasa.exp"), dir.File("ARCH2.EXP"), nullptr, true, 3, true, "");
    tools.ArchiveFile(dir.File("kasa.exp"), dir.File("ARCH2.EXP"), nullptr, false, 0, false, "");
    const std::string head = kExportHead + kStamp + kHeadEnd;
    EXPECT_EQ(Masked(dir.File("ARCH2.EXP"), 9 + kExportHead.size()),
              "earlier\r\n" + head + "ZMIANA LISTY\r\none\r\none\r\n");
}

// An archive past its size limit becomes generation 0001 (older generations move up one) before
// the next copy starts a new archive; one at the limit is still appended to; nothing is lost.
TEST(Archive, FullArchiveMovesToGenerationOne) {
    for (const long long size : {TLTools::kArchiveLimitBytes, TLTools::kArchiveLimitBytes + 1}) {
        SCOPED_TRACE(size);
        TempDir dir;
        const std::string full(static_cast<std::size_t>(size), 'x');
        WriteFile(dir.File("kasa.exp"), "one\r\n");
        WriteFile(dir.File("ARCH2.EXP"), full);
        WriteFile(dir.File("ARCH2_0001.EXP"), "older\r\n");
        TLTools tools;
        tools.ArchiveFile(dir.File("kasa.exp"), dir.File("ARCH2.EXP"), nullptr, true, 1, false, "");
        if (size > TLTools::kArchiveLimitBytes) {
            EXPECT_EQ(ReadFile(dir.File("ARCH2.EXP")), "one\r\n");
            EXPECT_TRUE(ReadFile(dir.File("ARCH2_0001.EXP")) == full);
            EXPECT_EQ(ReadFile(dir.File("ARCH2_0002.EXP")), "older\r\n");
        } else {
            EXPECT_TRUE(ReadFile(dir.File("ARCH2.EXP")) == full + "one\r\n");
            EXPECT_EQ(ReadFile(dir.File("ARCH2_0001.EXP")), "older\r\n");
            EXPECT_FALSE(platform::env().PathExists(dir.File("ARCH2_0002.EXP")));
        }
    }
}

TEST(Archive, HeaderTextsComeFromTheLanguageService) {
    auto& t = tools_test::Translations();
    t[{"kstools_LTools", "oolsArchiveFlineAnsiStri"}] = "EXPORT ";
    t[{"kstools_LTools", "oolsArchiveFlineAnsiStri_00001"}] = "IMPORT ";
    t[{"kstools_LTools", "sArchiveFto_fileWriteLin"}] = "kind 0";
    t[{"kstools_LTools", "sArchiveFto_fileWriteLin_00001"}] = "kind 1";
    t[{"kstools_LTools", "sArchiveFto_fileWriteLin_00002"}] = "kind 2";
    t[{"kstools_LTools", "sArchiveFto_fileWriteLin_00003"}] = "kind 3";
    TempDir dir;
    WriteFile(dir.File("f"), "");
    TLTools tools;
    std::string expected;
    for (int kind = 0; kind < 4; ++kind) {
        tools.ArchiveFile(dir.File("f"), dir.File("a"), tools_test::Language(), true, kind, true,
                          "");
        expected += "EXPORT " + kStamp + kHeadEnd + "kind " + std::to_string(kind) + "\r\n";
    }
    tools.ArchiveFile(dir.File("f"), dir.File("a"), tools_test::Language(), false, 0, true, "");
    expected += "IMPORT " + kStamp + kHeadEnd;
    t.clear();

    std::string text = ReadFile(dir.File("a"));
    for (std::size_t at = 0; (at = text.find(" 20", at)) != std::string::npos; ++at)
        MaskStamp(text, at + 1, kDateTimeShape);
    EXPECT_EQ(text, expected);
}

TEST(Archive, MissingFileChangesNothing) {
    TempDir dir;
    TLTools tools;
    tools.ArchiveFile(dir.File("none.exp"), dir.File("ARCH2.EXP"), nullptr, true, 1, true, "x");
    EXPECT_FALSE(platform::env().PathExists(dir.File("ARCH2.EXP")));
    ASSERT_TRUE(platform::env().CreateDirectories(dir.File("folder")));
    tools.ArchiveFile(dir.File("folder"), dir.File("ARCH2.EXP"), nullptr, true, 1, true, "x");
    EXPECT_FALSE(platform::env().PathExists(dir.File("ARCH2.EXP")));
}

TEST(Archive, FileArchivedIntoItselfIsCopiedOnce) {
    TempDir dir;
    WriteFile(dir.File("log"), "a\r\nb\r\n");
    TLTools tools;
    tools.ArchiveFile(dir.File("log"), dir.File("log"), nullptr, true, 0, false, "");
    EXPECT_EQ(ReadFile(dir.File("log")), "a\r\nb\r\na\r\nb\r\n");
}

TEST(Archive, UnwritableArchiveThrows) {
    TempDir dir;
    WriteFile(dir.File("kasa.exp"), "x");
    TLTools tools;
    EXPECT_ANY_THROW(tools.ArchiveFile(dir.File("kasa.exp"), dir.File("no/ARCH2.EXP"), nullptr,
                                       true, 0, true, ""));
}

// Generations: the names present before, and each name with its content afterwards.
struct GenerationCase {
    std::string archive;
    std::vector<std::string> before;
    std::vector<std::pair<std::string, std::string>> after;  // name, the name it was before
};

TEST(Archive, GenerationsShiftUpByOne) {
    const GenerationCase cases[] = {
        {"ARCH2.EXP",
         {"ARCH2.EXP", "ARCH2_0001.EXP", "ARCH2_0002.EXP"},
         {{"ARCH2.EXP", "ARCH2.EXP"}, {"ARCH2_0002.EXP", "ARCH2_0001.EXP"},
          {"ARCH2_0003.EXP", "ARCH2_0002.EXP"}}},
        {"ARCH2.EXP", {"ARCH2_9999.EXP"}, {{"ARCH2_10000.EXP", "ARCH2_9999.EXP"}}},
        {"ARCH2.EXP",
         {"ARCH2_9999.EXP", "ARCH2_10000.EXP"},
         {{"ARCH2_10000.EXP", "ARCH2_9999.EXP"}, {"ARCH2_10001.EXP", "ARCH2_10000.EXP"}}},
        {"ARCH2.EXP",
         {"ARCH2_0001.EXP", "ARCH2_0003.EXP"},
         {{"ARCH2_0002.EXP", "ARCH2_0001.EXP"}, {"ARCH2_0004.EXP", "ARCH2_0003.EXP"}}},
        // A base with its own underscore is numbered after base + "_".
        {"kasa_a.exp",
         {"kasa_a_0001.exp", "kasa_a_0002.exp"},
         {{"kasa_a_0002.exp", "kasa_a_0001.exp"}, {"kasa_a_0003.exp", "kasa_a_0002.exp"}}},
        // Only base_<digits>.ext counts.
        {"ARCH2.EXP",
         {"ARCH2_abcd.EXP", "ARCH2_0001x.EXP", "ARCH2_.EXP", "ARCH2_0001.EXP.bak",
          "ARCH2_x_0001.EXP", "ARCH2_0001.TXT"},
         {{"ARCH2_abcd.EXP", "ARCH2_abcd.EXP"}, {"ARCH2_0001x.EXP", "ARCH2_0001x.EXP"},
          {"ARCH2_.EXP", "ARCH2_.EXP"}, {"ARCH2_0001.EXP.bak", "ARCH2_0001.EXP.bak"},
          {"ARCH2_x_0001.EXP", "ARCH2_x_0001.EXP"}, {"ARCH2_0001.TXT", "ARCH2_0001.TXT"}}},
        {"a.b.c", {"a_0001.b.c"}, {{"a_0002.b.c", "a_0001.b.c"}}},  // extension after first "."
        {"ARCH2.EXP", {}, {}},
    };
    for (const GenerationCase& c : cases) {
        TempDir dir;
        for (const std::string& name : c.before) WriteFile(dir.File(name), "content of " + name);
        TLTools tools;
        tools.ArchiveFileUpdateFileNames(dir.File(c.archive));
        std::vector<std::string> names = platform::env().FindFiles(dir.File("*"), false);
        std::sort(names.begin(), names.end());
        std::vector<std::string> expected;
        for (const auto& [name, was] : c.after) {
            expected.push_back(name);
            if (platform::env().FileExists(dir.File(name))) {
                EXPECT_EQ(ReadFile(dir.File(name)), "content of " + was) << name;
            }
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected) << c.archive << " with " << c.before.size() << " files";
    }
}

TEST(Archive, GenerationsInAMissingDirectoryThrowNothing) {
    TempDir dir;
    TLTools tools;
    EXPECT_NO_THROW(tools.ArchiveFileUpdateFileNames(dir.File("none/ARCH2.EXP")));
}

}  // namespace
