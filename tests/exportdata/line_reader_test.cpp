// BlockLineReader: line ends and block boundaries.
#include <gtest/gtest.h>

#include "exportdata/line_reader.h"
#include "expbuf_fixture.h"
#include "runtime/exceptions.h"

namespace {

std::vector<std::string> Lines(const std::string& path, size_t block) {
    BlockLineReader reader(path, block);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line)) lines.emplace_back(line);
    return lines;
}

TEST(LineReaderTest, EveryLineEndAndEveryBlockSizeGiveTheSameLines) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\r\nb", {"a", "", "b"}},
        {"abcdefghijklmnopqrstuvwxyz0123456789\r\nx", {"abcdefghijklmnopqrstuvwxyz0123456789", "x"}},
        {std::string("a\0b\r\n\xFF", 6), {std::string("a\0b", 3), "\xFF"}},
        // A lone CR ending the file after a shorter line: the last line must not be read from
        // where it was before the unread bytes moved to the front of the buffer.
        {"a\rbcdefghij\r", {"a", "bcdefghij"}},
        {"[TOWARY]\rPLU;1;101;101;Szynka\r", {"[TOWARY]", "PLU;1;101;101;Szynka"}},
        // Lines longer than a block, ending the file with a CR or with no line end at all.
        {"ab\r" + std::string(40, 'x') + "\r", {"ab", std::string(40, 'x')}},
        {"ab\r" + std::string(40, 'y'), {"ab", std::string(40, 'y')}},
        {std::string(40, 'z') + "\r", {std::string(40, 'z')}},
        {"0123456789abcdef", {"0123456789abcdef"}},  // exactly one 16-byte block, no line end
    };
    TempDir dir;
    const std::string path = dir.File("lines.txt");
    for (const Case& c : cases) {
        WriteBytes(path, c.bytes);
        for (size_t block : {16, 17, 18, 19, 1 << 20}) {
            EXPECT_EQ(Lines(path, block), c.lines) << "block " << block << " bytes " << c.bytes;
            EXPECT_EQ(BlockLineReader::CountLines(path, block), static_cast<int>(c.lines.size()));
        }
    }
}

TEST(LineReaderTest, CrLfSplitAcrossTwoBlocksIsOneLineEnd) {
    TempDir dir;
    const std::string path = dir.File("split.txt");
    // The CR is the 16th byte, the LF the 17th: they meet in different reads.
    WriteBytes(path, std::string(15, 'a') + "\r\n" + "b");
    EXPECT_EQ(Lines(path, 16), (std::vector<std::string>{std::string(15, 'a'), "b"}));
}

TEST(LineReaderTest, AMissingFileIsAFileError) {
    TempDir dir;
    EXPECT_THROW(BlockLineReader(dir.File("missing.exp")), EInOutError);
}

#ifdef __linux__
// A file that opens but cannot be read (the process's own memory at offset 0) fails with the
// runtime's read-error text, as the runtime's own line reading does.
TEST(LineReaderTest, AReadErrorCarriesTheRuntimeText) {
    const std::string path = "/proc/self/mem";
    try {
        Lines(path, 16);
        ADD_FAILURE() << "no error reading " << path;
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), "Cannot read file \"" + path + "\"");
    }
}
#endif

}  // namespace
