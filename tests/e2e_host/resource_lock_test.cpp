// Operations on one shared resource take turns across processes; a lock file stands for the
// resource.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "resource_lock.h"

namespace host {
namespace {

constexpr std::chrono::milliseconds kPoll{1};

TEST(ResourceLock, SecondTakerWaitsUntilTheFirstIsDoneOrGivesUp) {
    const std::string name = "/dibalcom/of/test " + std::to_string(getpid());
    auto first = std::make_unique<ResourceLock>();
    int waited = 0;
    ASSERT_TRUE(first->Take(name, [&] { ++waited; }, [] { return true; }));
    EXPECT_EQ(waited, 0);

    ResourceLock second;
    int polls = 0;
    EXPECT_FALSE(second.Take(name, [&] { ++waited; }, [&] { return ++polls == 2; }, kPoll));
    EXPECT_EQ(waited, 1);  // told once, however long the wait

    // The first is done while the second waits.
    polls = 0;
    EXPECT_TRUE(second.Take(name, [&] { ++waited; }, [&] {
        if (++polls == 2) first.reset();
        return polls > 5;
    }, kPoll));
    EXPECT_EQ(polls, 2);

    // Another name, or none, never waits.
    ResourceLock other, none;
    EXPECT_TRUE(other.Take(name + "x", [] { ADD_FAILURE(); }, [] { return true; }));
    EXPECT_TRUE(none.Take("", [] { ADD_FAILURE(); }, [] { return true; }));
    EXPECT_NE(ResourceLock::PathFor(name), ResourceLock::PathFor(name + "x"));
}

TEST(ResourceLock, EverySpellingOfOneDirectoryIsOneResource) {
    namespace fs = std::filesystem;
    const fs::path base = fs::path(testing::TempDir()) / ("skalnix_lock_" + std::to_string(getpid()));
    fs::create_directories(base / "dibalcom");
    fs::create_directories(base / "other");
    const std::string dir = (base / "dibalcom").string();
    const std::string lock = ResourceLock::PathFor(dir);
    for (const std::string& spelling :
         {dir + "/", dir + "//", (base / "other" / ".." / "dibalcom").string() + "/",
          (base / "." / "dibalcom").string()})
        EXPECT_EQ(ResourceLock::PathFor(spelling), lock) << spelling;
    // Relative to the working directory, as the driver reads it.
    const fs::path before = fs::current_path();
    fs::current_path(base);
    EXPECT_EQ(ResourceLock::PathFor("dibalcom"), lock);
    EXPECT_EQ(ResourceLock::PathFor("./dibalcom/"), lock);
    fs::current_path(before);
    EXPECT_NE(ResourceLock::PathFor((base / "other").string()), lock);
    EXPECT_EQ(ResourceLock::CanonicalName("COM1"), "COM1");  // no directory: as it is
    fs::remove_all(base);
}

}  // namespace
}  // namespace host
