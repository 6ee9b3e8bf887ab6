#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/platform.h"
#include "runtime/scratch_dir.h"

namespace {

TEST(FindFiles, MatchesLastComponentOnly) {
    ScratchDir dir;
    for (const char* name : {"a.exp", "B.EXP", ".hidden.exp", "c.txt", "x[1].exp", "noext"})
        dir.Write(name, "x");
    ASSERT_TRUE(platform::env().CreateDirectories(dir.File("sub.exp")));
    struct Case {
        const char* pattern;
        bool plain;
        std::vector<std::string> names;
    } cases[] = {
        {"*.exp", true, {"B.EXP", "a.exp", "x[1].exp"}},
        {"*.exp", false, {".hidden.exp", "B.EXP", "a.exp", "sub.exp", "x[1].exp"}},
        {"?.exp", true, {"B.EXP", "a.exp"}},
        {"x[1].exp", true, {"x[1].exp"}},
        {"*.*", true, {"B.EXP", "a.exp", "c.txt", "noext", "x[1].exp"}},
        {"zzz*", true, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::env().FindFiles(dir.File(c.pattern), c.plain), c.names) << c.pattern;
    }
    EXPECT_TRUE(platform::env().FindFiles(dir.File("missing/*.exp"), true).empty());
}

TEST(FileSystem, CreateRenameDelete) {
    ScratchDir dir;
    const std::string deep = dir.File("a/b/c");
    EXPECT_TRUE(platform::env().CreateDirectories(deep + "/"));
    EXPECT_TRUE(platform::env().DirectoryExists(deep));
    EXPECT_TRUE(platform::env().CreateDirectories(deep));  // already there
    EXPECT_FALSE(platform::env().FileExists(deep));
    EXPECT_TRUE(platform::env().PathExists(deep));

    const std::string file = dir.File("a/new.tmp");
    EXPECT_TRUE(platform::env().CreateNewFile(file, "data"));
    EXPECT_FALSE(platform::env().CreateNewFile(file, "other"));  // never overwrites
    EXPECT_EQ(dir.Read("a/new.tmp"), "data");
    EXPECT_FALSE(platform::env().CreateDirectories(file + "/sub"));  // a file is in the way

    const std::string target = dir.Write("a/final.exp", "old");
    EXPECT_FALSE(platform::env().RenameFile(file, target));  // target exists
    EXPECT_EQ(dir.Read("a/final.exp"), "old");
    EXPECT_TRUE(platform::env().DeleteFile(target));
    EXPECT_FALSE(platform::env().DeleteFile(target));
    EXPECT_TRUE(platform::env().RenameFile(file, target));
    EXPECT_EQ(dir.Read("a/final.exp"), "data");
    EXPECT_FALSE(platform::env().FileExists(file));
    EXPECT_FALSE(platform::env().DeleteFile(deep));  // not a file

    EXPECT_EQ(platform::env().ShortPathName(target), target);
    EXPECT_EQ(platform::env().ShortPathName(file), "");
    EXPECT_TRUE(platform::env().IsWindowsNT());
    EXPECT_TRUE(platform::IsPathSeparator('/'));
}

TEST(FileStreams, SeekTellTruncate) {
    ScratchDir dir;
    std::FILE* f = std::fopen(dir.File("s.bin").c_str(), "w+b");
    ASSERT_NE(f, nullptr);
    std::fputs("0123456789", f);
    EXPECT_EQ(platform::TellFile(f), 10);
    EXPECT_TRUE(platform::SeekFile(f, 4, SEEK_SET));
    EXPECT_TRUE(platform::TruncateFile(f, platform::TellFile(f)));
    EXPECT_TRUE(platform::SeekFile(f, 0, SEEK_END));
    EXPECT_EQ(platform::TellFile(f), 4);
    EXPECT_FALSE(platform::SeekFile(f, -1, SEEK_SET));
    std::fclose(f);
    EXPECT_EQ(dir.Read("s.bin"), "0123");
}

TEST(Clock, NowIsAPlausibleLocalTime) {
    const platform::LocalTime t = platform::env().LocalNow();
    EXPECT_GE(t.year, 2024);
    EXPECT_TRUE(t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31);
    EXPECT_TRUE(t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60);
    EXPECT_TRUE(t.second >= 0 && t.second < 60 && t.millisecond >= 0 && t.millisecond < 1000);
}

TEST(MessageBox, WritesOneLineToStandardError) {
    testing::internal::CaptureStderr();
    const int answer = platform::env().MessageBox("Wyj\xB9tek\r\nw", "Uwaga!!!", 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Uwaga!!!: Wyj\xB9tek  w\n");
    EXPECT_EQ(answer, 1);
    int owner = 0;
    platform::SetOwnerWindow(&owner);
    EXPECT_EQ(platform::OwnerWindow(), &owner);
    platform::SetOwnerWindow(nullptr);
}

}  // namespace
