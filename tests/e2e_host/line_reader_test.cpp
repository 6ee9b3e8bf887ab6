// Lines of a file read a block at a time must be the lines of the same text in memory, however
// the blocks cut it.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "line_reader.h"
#include "unique_temp_file.h"

namespace host {
namespace {

std::vector<std::string> AllLines(LineReader& reader) {
    std::vector<std::string> out;
    std::string_view line;
    while (reader.Next(line)) out.emplace_back(line);
    return out;
}

TEST(LineReader, FileReadInBlocksGivesTheLinesOfTheText) {
    const std::string longLine(300, 'x');
    const std::string texts[] = {
        "",
        "one line without an end",
        "a\nb\r\nc\n",
        "\n\n\r\n",
        "PLU;1;2\r\nPLU;3;4\r\n" + longLine + "\r\nlast",
        longLine + "\n" + longLine,
        "cr only\rstays\n",
    };
    const auto path = UniqueTempFile("lines", ".txt");
    for (const std::string& text : texts) {
        std::ofstream(path, std::ios::binary) << text;
        LineReader inMemory{std::string_view(text)};
        const std::vector<std::string> expected = AllLines(inMemory);
        for (std::size_t block : {1, 2, 3, 7, 64, 1 << 20}) {
            LineReader file(path.string(), block);
            EXPECT_TRUE(file.Found());
            EXPECT_EQ(AllLines(file), expected) << "block " << block << " text " << text;
        }
    }
    std::filesystem::remove(path);
}

TEST(LineReader, UnreadAnswersTheSameLineAgainAcrossABlockEdge) {
    const auto path = UniqueTempFile("unread", ".txt");
    std::ofstream(path, std::ios::binary) << "first\r\nsecond\nthird";
    LineReader reader(path.string(), 4);
    std::string_view line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "first");
    ASSERT_TRUE(reader.Next(line));
    reader.Unread();
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "second");
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "third");
    EXPECT_FALSE(reader.Next(line));
    std::filesystem::remove(path);
}

TEST(LineReader, MissingFileReadsAsEmpty) {
    LineReader reader(UniqueTempFile("missing", ".txt").string());
    EXPECT_FALSE(reader.Found());
    std::string_view line;
    EXPECT_FALSE(reader.Next(line));
}

}  // namespace
}  // namespace host
