// TLTools file operations: whole writes, replacement through a temporary name, the guarded
// rename with its messages, the wildcard test and the list save.
#include "platform/platform.h"
#include "runtime/exceptions.h"
#include "support/test_host.h"
#include "tools/ltools.h"
#include "tools_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Windows-1250 texts of the rename messages.
const std::string kDeleteFailed = "B\xB3\xB9" "d usuni\xEA" "cia pliku ";
const std::string kRenameFailed = "B\xB3\xB9" "d zmiany nazwy pliku";

// A directory that cannot be deleted: it holds a file.
void MakeBusyDirectory(const std::string& path) {
    ASSERT_TRUE(platform::env().CreateDirectories(path));
    WriteFile(path + platform::kPathSeparator + "inside", "x");
}

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.ClassName(), "Exception");
        return e.Message();
    }
    ADD_FAILURE() << "no exception";
    return {};
}

TEST(LToolsFiles, BufToFileReplacesAndBufToAppendFileAppends) {
    TempDir dir;
    const std::string path = dir.File("out.txt");
    TLTools tools;
    tools.BufToFile("first\r\nlonger line\r\n", path);
    tools.BufToFile("abc", path);
    EXPECT_EQ(ReadFile(path), "abc");
    tools.BufToAppendFile("def\r\n", path);
    EXPECT_EQ(ReadFile(path), "abcdef\r\n");
    tools.BufToAppendFile(std::string("\0\xB9", 2), dir.File("new.bin"));
    EXPECT_EQ(ReadFile(dir.File("new.bin")), std::string("\0\xB9", 2));
    EXPECT_THROW(tools.BufToFile("x", dir.File("missing/out.txt")), EInOutError);
}

TEST(LToolsFiles, BufToFileExReplacesThroughTheTemporaryName) {
    struct Case {
        bool append;
        bool targetExists;
        bool staleTemporary;
        std::string result;
    };
    const Case cases[] = {
        {false, false, false, "new"},
        {false, true, false, "new"},
        {false, true, true, "new"},
        {true, false, false, "new"},
        {true, true, false, "old;new"},
        {true, true, true, "old;new"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.File("data.txt");
        const std::string temp = dir.File("data.tmp");
        if (c.targetExists) WriteFile(path, "old;");
        if (c.staleTemporary) WriteFile(temp, "stale content;");
        TLTools tools;
        tools.BufToFileEx("new", path, temp, nullptr, c.append);
        EXPECT_EQ(ReadFile(path), c.result) << "append " << c.append << " exists " << c.targetExists;
        EXPECT_FALSE(platform::env().PathExists(temp)) << "temporary left behind";
    }
}

TEST(LToolsFiles, BufToFileExAppendPicksUpContentLeftByAFailedAppend) {
    // A failed append leaves the old content under the temporary name and no target.
    TempDir dir;
    const std::string path = dir.File("data.txt");
    const std::string temp = dir.File("data.tmp");
    WriteFile(temp, "old;");
    TLTools tools;
    tools.BufToFileEx("new", path, temp, nullptr, true);
    EXPECT_EQ(ReadFile(path), "old;new");
    EXPECT_FALSE(platform::env().PathExists(temp));
}

TEST(LToolsFiles, BufToFileExWithTheTargetAsTemporaryKeepsTheData) {
    for (bool append : {false, true}) {
        TempDir dir;
        const std::string path = dir.File("data.txt");
        WriteFile(path, "old;");
        TLTools tools;
        tools.BufToFileEx("new", path, path, nullptr, append);
        EXPECT_EQ(ReadFile(path), append ? "old;new" : "new");
    }
}

TEST(LToolsFiles, BufToFileExFailureLeavesTheTargetWhole) {
    TempDir dir;
    const std::string path = dir.File("data.txt");
    WriteFile(path, "old");
    TLTools tools;
    // The temporary name lies in a missing directory: nothing can be written.
    EXPECT_THROW(tools.BufToFileEx("new", path, dir.File("no/such/data.tmp"), nullptr, false),
                 EInOutError);
    EXPECT_EQ(ReadFile(path), "old");
}

TEST(LToolsFiles, RenFileMovesAndReplaces) {
    TempDir dir;
    TLTools tools;
    WriteFile(dir.File("a"), "A");
    tools.RenFile(dir.File("a"), dir.File("b"), nullptr);
    EXPECT_FALSE(platform::env().PathExists(dir.File("a")));
    EXPECT_EQ(ReadFile(dir.File("b")), "A");

    WriteFile(dir.File("c"), "C");
    tools.RenFile(dir.File("c"), dir.File("b"), nullptr);
    EXPECT_FALSE(platform::env().PathExists(dir.File("c")));
    EXPECT_EQ(ReadFile(dir.File("b")), "C");
}

TEST(LToolsFiles, RenFileFailuresNameTheTarget) {
    TempDir dir;
    TLTools tools;
    const std::string busy = dir.File("busy");
    MakeBusyDirectory(busy);
    WriteFile(dir.File("a"), "A");

    EXPECT_EQ(MessageOf([&] { tools.RenFile(dir.File("a"), busy, nullptr); }),
              kDeleteFailed + busy);
    EXPECT_EQ(ReadFile(dir.File("a")), "A") << "the source stays when the target cannot go";

    const std::string target = dir.File("target");
    EXPECT_EQ(MessageOf([&] { tools.RenFile(dir.File("missing"), target, nullptr); }),
              kRenameFailed + target);
}

TEST(LToolsFiles, RenFileMessagesComeFromTheLanguageService) {
    tools_test::Translations()[{"kstools_LTools", "sRenFileExceptioAnsiStri"}] = "cannot delete ";
    tools_test::Translations()[{"kstools_LTools", "sRenFileExceptioAnsiStri_00001"}] =
        "cannot rename ";
    TempDir dir;
    TLTools tools;
    const std::string busy = dir.File("busy");
    MakeBusyDirectory(busy);
    WriteFile(dir.File("a"), "A");
    const auto lg = tools_test::Language();
    EXPECT_EQ(MessageOf([&] { tools.RenFile(dir.File("a"), busy, lg); }), "cannot delete " + busy);
    EXPECT_EQ(MessageOf([&] { tools.RenFile(dir.File("none"), dir.File("t"), lg); }),
              "cannot rename " + dir.File("t"));
    tools_test::Translations().clear();
}

TEST(LToolsFiles, IsFileMatchesPlainFilesOnly) {
    TempDir dir;
    WriteFile(dir.File("plain.txt"), "x");
    WriteFile(dir.File(".hidden"), "x");
    ASSERT_TRUE(platform::env().CreateDirectories(dir.File("folder")));
    ASSERT_TRUE(platform::env().CreateDirectories(dir.File("folder.txt")));
    const std::pair<std::string, bool> cases[] = {
        {"plain.txt", true}, {"*.txt", true},   {"pl?in.*", true}, {"missing.txt", false},
        {"folder", false},   {"folder*", false}, {"*.dat", false},
#if !defined(_WIN32)
        {".hidden", false},  // a leading dot hides a file on POSIX
#endif
    };
    TLTools tools;
    for (const auto& [pattern, found] : cases)
        EXPECT_EQ(tools.IsFile(dir.File(pattern)), found) << pattern;
}

TEST(LToolsFiles, SaveListToFile) {
    TempDir dir;
    const std::string path = dir.File("list.txt");
    TLTools tools;

    tools.SaveListToFile(nullptr, path);
    EXPECT_FALSE(platform::env().PathExists(path));

    WriteFile(path, "a much longer old content that must go\r\n");
    const std::vector<std::string> list = {"first", "", "third \xB9"};
    tools.SaveListToFile(&list, path);
    EXPECT_EQ(ReadFile(path), "first\r\n\r\nthird \xB9\r\n");

    const std::vector<std::string> empty;
    tools.SaveListToFile(&empty, path);
    EXPECT_EQ(ReadFile(path), "");

    EXPECT_NO_THROW(tools.SaveListToFile(&list, dir.File("missing/list.txt")));
}

}  // namespace
