#include "runtime/mfile.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/exceptions.h"
#include "runtime/scratch_dir.h"

namespace {

std::vector<std::string> ReadAllByLine(const std::string& path) {
    TMFile file;
    file.SetPath(path);
    file.Open();
    std::vector<std::string> lines;
    std::string line;
    while (file.ReadLine(line, "\r\n")) lines.push_back(line);
    EXPECT_FALSE(file.ReadLine(line, "\r\n"));  // stays at the end
    return lines;
}

std::vector<std::string> ReadAllAtOnce(const std::string& path) {
    std::vector<std::string> lines{"kept"};
    TMFile::ReadStringsFromFile(path, lines, 4096);
    EXPECT_EQ(lines.front(), "kept");  // appends
    lines.erase(lines.begin());
    return lines;
}

struct LineCase {
    const char* name;
    std::string content;
    std::vector<std::string> lines;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class LineEnds : public testing::TestWithParam<LineCase> {};

TEST_P(LineEnds, BothReadersSplitAlike) {
    ScratchDir dir;
    const std::string path = dir.Write("f.txt", GetParam().content);
    EXPECT_EQ(ReadAllByLine(path), GetParam().lines);
    EXPECT_EQ(ReadAllAtOnce(path), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LineEnds,
    testing::Values(
        LineCase{"Empty", "", {}},
        LineCase{"CrLf", "a\r\nbb\r\n", {"a", "bb"}},
        LineCase{"Lf", "a\nbb\n", {"a", "bb"}},
        LineCase{"LoneCr", "a\rbb\r", {"a", "bb"}},
        LineCase{"Mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        LineCase{"NoFinalLineEnd", "a\r\nlast", {"a", "last"}},
        LineCase{"EmptyLines", "\r\n\n\r\r\n", {"", "", "", ""}},
        LineCase{"LfCrIsTwoEnds", "a\n\rb", {"a", "", "b"}},
        LineCase{"BinaryBytesKept", std::string("\x01\0\xB3;\t\r\n", 7), {std::string("\x01\0\xB3;\t", 5)}}),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

// A CR ending one block of the readers and its LF starting the next is still one line end.
TEST(LineEndsAcrossBlocks, CrLfSplitByBlockBoundary) {
    ScratchDir dir;
    for (std::size_t block : {std::size_t{64} * 1024, std::size_t{4} * 1024 * 1024}) {
        const std::string longLine(block - 1, 'x');
        const std::string path = dir.Write("big.txt", longLine + "\r\nb\r\n" + longLine + "\r");
        const std::vector<std::string> expected{longLine, "b", longLine};
        EXPECT_EQ(ReadAllByLine(path), expected) << block;
        EXPECT_EQ(ReadAllAtOnce(path), expected) << block;
    }
}

TEST(TMFile, WritableOpenCreatesAppendsAndEmpties) {
    ScratchDir dir;
    const std::string path = dir.File("new.txt");
    {
        TMFile file;
        file.SetPath(path);
        file.SetReadOnly(false);
        file.Open();
        EXPECT_EQ(file.GetSize(), 0);
        file.WriteLine("first", "\r\n");
        EXPECT_EQ(file.GetSize(), 7);  // buffered bytes count
    }
    for (const char* text : {"second", "third"}) {
        TMFile file;
        file.SetPath(path);
        file.SetReadOnly(false);
        file.Open();  // an existing file is kept
        file.SetPointer(file.GetSize());
        file.WriteLine(text);
        file.Close();
    }
    EXPECT_EQ(dir.Read("new.txt"), "first\r\nsecond\r\nthird\r\n");

    TMFile file;
    file.SetPath(path);
    file.SetReadOnly(false);
    file.Open();
    file.SetPointer(0);
    file.SetEof();
    EXPECT_EQ(file.GetSize(), 0);
    file.Write("z", 1);
    file.Close();
    EXPECT_EQ(dir.Read("new.txt"), "z");
}

// Writing after reading goes where the reader stopped, not where its read-ahead ended.
TEST(TMFile, SwitchingBetweenReadingAndWriting) {
    ScratchDir dir;
    const std::string path = dir.Write("rw.txt", "abc\r\ndef\r\nghi\r\n");
    TMFile file;
    file.SetPath(path);
    file.SetReadOnly(false);
    file.Open();
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, "abc");
    file.Write("X");
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, "ef");
    file.SetEof();
    EXPECT_EQ(file.GetSize(), 10);
    ASSERT_FALSE(file.ReadLine(line));
    file.Close();
    EXPECT_EQ(dir.Read("rw.txt"), "abc\r\nXef\r\n");
}

// A block read after a line read starts where the line ended, not where the read-ahead did,
// and a write after it goes where the block read stopped.
TEST(TMFile, BlockReadsContinueLineReads) {
    ScratchDir dir;
    const std::string path = dir.Write("block.txt", "abc\r\ndef\r\nghi");
    TMFile file;
    file.SetPath(path);
    file.SetReadOnly(false);
    file.Open();
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    char buffer[16] = {};
    ASSERT_EQ(file.Read(buffer, 3), 3u);
    EXPECT_EQ(std::string(buffer, 3), "def");
    file.Write("+");
    ASSERT_EQ(file.Read(buffer, sizeof buffer), 4u);
    EXPECT_EQ(std::string(buffer, 4), "\nghi");
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    file.Close();
    EXPECT_EQ(dir.Read("block.txt"), "abc\r\ndef+\nghi");
}

TEST(TMFile, FailuresNameThePath) {
    ScratchDir dir;
    const std::string missing = dir.File("missing.exp");
    TMFile file;
    file.SetPath(missing);
    try {
        file.Open();
        FAIL() << "opened a missing file";
    } catch (const EInOutError& e) {
        EXPECT_NE(e.Message().find(missing), std::string::npos) << e.Message();
    }
    EXPECT_FALSE(file.IsOpen());
    std::string line;
    EXPECT_THROW(file.ReadLine(line), EInOutError);

    std::vector<std::string> lines;
    try {
        TMFile::ReadStringsFromFile(missing, lines);
        FAIL() << "read a missing file";
    } catch (const EInOutError& e) {
        EXPECT_NE(e.Message().find(missing), std::string::npos) << e.Message();
    }

    for (bool readOnly : {true, false}) {
        TMFile directory;
        directory.SetPath(dir.Path());
        directory.SetReadOnly(readOnly);
        EXPECT_THROW(directory.Open(), EInOutError) << readOnly;
    }
    EXPECT_THROW(TMFile::ReadStringsFromFile(dir.Path(), lines), EInOutError);

    TMFile inMissingDir;
    inMissingDir.SetPath(dir.File("no/such/dir.txt"));
    inMissingDir.SetReadOnly(false);
    EXPECT_THROW(inMissingDir.Open(), EInOutError);

    const std::string existing = dir.Write("ro.txt", "keep");
    TMFile readOnly;
    readOnly.SetPath(existing);
    readOnly.Open();
    EXPECT_THROW(readOnly.Write("x"), EInOutError);
    EXPECT_THROW(readOnly.SetEof(), EInOutError);
    readOnly.Close();
    EXPECT_EQ(dir.Read("ro.txt"), "keep");
}

}  // namespace
