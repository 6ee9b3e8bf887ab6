// Operations on one shared resource take turns across processes; a lock file stands for the
// resource.
#include <gtest/gtest.h>

#include <unistd.h>

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

}  // namespace
}  // namespace host
