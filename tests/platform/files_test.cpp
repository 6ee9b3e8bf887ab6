#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>

#include "platform/cp1250_text.h"
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

TEST(OpenFile, ModesAndFailuresNameThePath) {
    ScratchDir dir;
    platform::Env& os = platform::env();
    std::unique_ptr<platform::File> file;
    const std::string path = dir.File("f.bin");
    const platform::Status missing = os.OpenFile(path, platform::FileMode::Read, file);
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.message().find("Cannot open file \"" + path + "\""), std::string::npos);
    EXPECT_FALSE(os.OpenFile(path, platform::FileMode::ReadWrite, file));
    EXPECT_FALSE(os.OpenFile(dir.File(""), platform::FileMode::Read, file));  // a directory
    EXPECT_EQ(file, nullptr);

    ASSERT_TRUE(os.OpenFile(path, platform::FileMode::ReadWriteCreate, file));
    EXPECT_TRUE(file->Write("0123456789", 10));
    EXPECT_EQ(file->Tell(), 10);
    EXPECT_TRUE(file->Truncate(6));
    EXPECT_TRUE(file->Close());
    ASSERT_TRUE(os.OpenFile(path, platform::FileMode::ReadWriteCreate, file));  // not cut
    char buffer[16];
    std::size_t got = 99;
    EXPECT_TRUE(file->Read(buffer, sizeof buffer, got));
    EXPECT_EQ(std::string(buffer, got), "012345");
    EXPECT_TRUE(file->Read(buffer, sizeof buffer, got));
    EXPECT_EQ(got, 0u);  // the end
    EXPECT_TRUE(file->Seek(2, SEEK_SET));
    EXPECT_TRUE(file->Write("ab", 2));
    EXPECT_FALSE(file->Seek(-1, SEEK_SET));
    EXPECT_TRUE(file->Close());
    EXPECT_EQ(dir.Read("f.bin"), "01ab45");
}

TEST(Cp1250Text, EveryByteSurvivesTheWayToUtf8AndBack) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(platform::FileNameFromUtf8(platform::Cp1250ToUtf8(all)), all);
    EXPECT_EQ(platform::Cp1250ToUtf8("\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF"
                                     "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF"),
              "ĄĆĘŁŃÓŚŹŻąćęłńóśźż");
    EXPECT_EQ(platform::Cp1250ToUtf8("\x81"), "\xC2\x81");  // unassigned: the control character
    EXPECT_EQ(platform::FileNameFromUtf8("ж\xFF"), "??");
}

#if !defined(_WIN32)
// Paths are Windows-1250 inside the driver; the file system sees the same names in UTF-8.
TEST(FileSystem, Windows1250NamesAreUtf8OnDisk) {
    ScratchDir dir;
    platform::Env& os = platform::env();
    const std::string letters = "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF"
                                "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF";  // all eighteen
    const std::string sub = dir.File(letters), file = sub + "/" + letters + ".exp";
    const std::string utf8Sub = dir.File("ĄĆĘŁŃÓŚŹŻąćęłńóśźż");
    ASSERT_TRUE(os.CreateDirectories(sub));
    EXPECT_TRUE(os.DirectoryExists(sub));
    struct stat st;
    EXPECT_EQ(::stat(utf8Sub.c_str(), &st), 0);
    ASSERT_TRUE(os.CreateNewFile(file, "x"));
    EXPECT_EQ(dir.Read("ĄĆĘŁŃÓŚŹŻąćęłńóśźż/ĄĆĘŁŃÓŚŹŻąćęłńóśźż.exp"), "x");
    EXPECT_EQ(os.FindFiles(sub + "/*.exp", true), std::vector<std::string>{letters + ".exp"});
    EXPECT_EQ(os.FindFiles(sub + "/\xA5*", true), std::vector<std::string>{letters + ".exp"});
    std::unique_ptr<platform::File> open;
    EXPECT_TRUE(os.OpenFile(file, platform::FileMode::Read, open));
    std::unique_ptr<platform::FileLock> lock;
    EXPECT_TRUE(os.TryLockFile(sub + "/\xB3.lck", lock));
    EXPECT_TRUE(lock != nullptr);
    EXPECT_EQ(::stat((utf8Sub + "/ł.lck").c_str(), &st), 0);
    EXPECT_TRUE(os.RenameFile(file, sub + "/\xBF.exp"));
    EXPECT_TRUE(os.CreateNewFile(file, "y"));
    EXPECT_TRUE(os.ReplaceFile(file, sub + "/\xBF.exp"));
    EXPECT_EQ(dir.Read("ĄĆĘŁŃÓŚŹŻąćęłńóśźż/ż.exp"), "y");
    EXPECT_TRUE(os.DeleteFile(sub + "/\xBF.exp"));
    EXPECT_FALSE(os.PathExists(sub + "/\xBF.exp"));
}
#endif

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
