#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <filesystem>

#include "platform/platform.h"
#include "runtime/scratch_dir.h"

namespace {

bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (platform::env().FileExists(path)) return true;
        platform::env().SleepMs(10);
    }
    return false;
}

TEST(StartProgram, RunsInWorkDirWithoutOurFilesAndLeavesNoChild) {
    ScratchDir dir;
    ScratchDir work;
    const std::string script = dir.Write(
        "prog.sh",
        "#!/bin/sh\npwd > out.tmp\n"
        "if [ -e /proc/self/fd/50 ]; then echo inherited; else echo closed; fi >> out.tmp\n"
        "mv out.tmp out.txt\n");
    ::chmod(script.c_str(), 0755);
    // An open file of the driver that is not marked close-on-exec.
    const int open = ::open(script.c_str(), O_RDONLY);
    ASSERT_GE(open, 0);
    ASSERT_EQ(::dup2(open, 50), 50);
    const bool started = platform::env().StartProgram(script, work.Path()).ok();
    ::close(50);
    ::close(open);
    ASSERT_TRUE(started);
    ASSERT_TRUE(WaitForFile(work.File("out.txt")));
    EXPECT_EQ(work.Read("out.txt"), std::filesystem::canonical(work.Path()).string() + "\nclosed\n");
    // Nothing of ours is left to reap: the program was handed to init.
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

// A relative program name is found from the driver's current directory, not from workDir.
TEST(StartProgram, RelativeProgramNameBelongsToCurrentDirectory) {
    ScratchDir dir;
    ScratchDir work;
    platform::env().CreateDirectories(dir.File("bin"));
    // The file appears whole: the test must not read it between its creation and its line.
    const std::string script = dir.Write("bin/prog.sh", "#!/bin/sh\necho ran > out.tmp && mv out.tmp out.txt\n");
    ::chmod(script.c_str(), 0755);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    const bool started = platform::env().StartProgram("bin/prog.sh", work.Path()).ok();
    std::filesystem::current_path(previous);
    ASSERT_TRUE(started);
    ASSERT_TRUE(WaitForFile(work.File("out.txt")));
    EXPECT_EQ(work.Read("out.txt"), "ran\n");
}

TEST(StartProgram, ReportsWhatCannotStart) {
    ScratchDir dir;
    const std::string notExecutable = dir.Write("plain.txt", "x");
    EXPECT_FALSE(platform::env().StartProgram(dir.File("missing.exe"), dir.Path()));
    EXPECT_FALSE(platform::env().StartProgram(notExecutable, dir.Path()));
    EXPECT_FALSE(platform::env().StartProgram("/bin/true", dir.File("no-such-dir")));
    EXPECT_FALSE(platform::env().StartProgram("", dir.Path()));
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
}

// The driver asks whether the DibalCom it started still runs; the program belongs to init, so
// the answer must also be right once init has reaped it.
TEST(StartProgram, TellsWhetherTheProgramStillRuns) {
    ScratchDir dir;
    ScratchDir work;
    const std::string script =
        dir.Write("hold.sh", "#!/bin/sh\nwhile [ -e hold ]; do sleep 0.02; done\n");
    ::chmod(script.c_str(), 0755);
    work.Write("hold", "");
    std::unique_ptr<platform::StartedProgram> started;
    ASSERT_TRUE(platform::env().StartProgram(script, work.Path(), &started));
    ASSERT_TRUE(started);
    EXPECT_TRUE(started->Running());
    platform::env().DeleteFile(work.File("hold"));
    bool ended = false;
    for (int i = 0; i < 500 && !ended; ++i) {
        ended = !started->Running();
        if (!ended) platform::env().SleepMs(10);
    }
    EXPECT_TRUE(ended);
    // A program that cannot start gives nothing to ask.
    EXPECT_FALSE(platform::env().StartProgram(dir.File("missing.exe"), work.Path(), &started));
    EXPECT_FALSE(started);
}

TEST(SleepMs, WaitsAtLeastTheTime) {
    const auto start = std::chrono::steady_clock::now();
    platform::env().SleepMs(30);
    platform::env().SleepMs(-5);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

}  // namespace
