// The platform object: replacement in one step, failures that carry the system's text and the
// path, and a wrapper that replaces part of it.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/env.h"
#include "runtime/scratch_dir.h"
#include "support/fake_clock.h"

namespace {

TEST(ReplaceFile, MovesOverAnExistingTargetAndSaysWhoseFaultAFailureIs) {
    ScratchDir dir;
    platform::Env& os = platform::env();
    const std::string target = dir.Write("dibctrl.txt", "old and longer");
    ASSERT_TRUE(os.ReplaceFile(dir.Write("dibctrl.tmp", "new"), target));
    EXPECT_EQ(dir.Read("dibctrl.txt"), "new");
    EXPECT_FALSE(os.PathExists(dir.File("dibctrl.tmp")));

    // A non-empty directory at the target cannot be replaced: the target is in the way.
    ASSERT_TRUE(os.CreateDirectories(dir.File("blocked/inner")));
    const platform::Status blocked = os.ReplaceFile(dir.Write("a.tmp", "x"), dir.File("blocked"));
    EXPECT_FALSE(blocked);
    EXPECT_TRUE(blocked.TargetInTheWay());
    EXPECT_EQ(dir.Read("a.tmp"), "x");  // the source stays where it was

    // A missing source is not the target's fault.
    const platform::Status missing = os.ReplaceFile(dir.File("gone.tmp"), target);
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing.TargetInTheWay());
    EXPECT_EQ(dir.Read("dibctrl.txt"), "new");
}

TEST(PlatformFailures, CarryThePathAndTheSystemsText) {
    ScratchDir dir;
    platform::Env& os = platform::env();
    const std::string missing = dir.File("missing.exe");
    std::unique_ptr<platform::SerialPort> port;
    const platform::Status failures[] = {
        os.DeleteFile(missing),
        os.StartProgram(missing, dir.Path()),
        os.RenameFile(missing, dir.File("b")),
        os.ReplaceFile(missing, dir.File("b")),
        os.CreateNewFile(dir.File("no-dir/new.txt"), "x"),
    };
    for (const platform::Status& failure : failures) {
        SCOPED_TRACE(failure.message());
        EXPECT_FALSE(failure.ok());
#if !defined(_WIN32)
        EXPECT_NE(failure.message().find(std::strerror(ENOENT)), std::string::npos);
#endif
        EXPECT_NE(failure.message().find(dir.Path()), std::string::npos);
    }
    EXPECT_TRUE(platform::Status().message().empty());
}

TEST(EnvWrapper, ReplacesOnlyWhatItOverridesWhileInstalled) {
    ScratchDir dir;
    const std::string file = dir.Write("here.txt", "x");
    {
        FakeClock clock(5);
        EXPECT_EQ(&platform::env(), &clock);
        platform::env().SleepMs(30000);  // returns at once
        EXPECT_EQ(platform::env().NowMicros(), 30000005);
        EXPECT_EQ(clock.Sleeps(), std::vector<int>{30000});
        EXPECT_TRUE(platform::env().FileExists(file));  // the real system underneath
    }
    EXPECT_EQ(&platform::env(), &platform::DefaultEnv());
    const std::int64_t before = platform::env().NowMicros();
    platform::env().SleepMs(2);
    EXPECT_GE(platform::env().NowMicros() - before, 2000);
}

}  // namespace
