// A clock that jumps instead of waiting: installed as the platform object while alive, it
// answers the steady clock from its own counter, turns every sleep into a jump of the counter
// and records the sleeps. Everything else goes to the real system.
#pragma once

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/env.h"

class FakeClock : public platform::EnvWrapper {
public:
    // `stepMicros`: how far the clock moves on every reading of its own accord.
    explicit FakeClock(std::int64_t stepMicros = 0)
        : EnvWrapper(platform::DefaultEnv()), step_(stepMicros), scope_(*this) {}

    std::int64_t NowMicros() override { return now_ += step_; }
    void SleepMs(int milliseconds) override {
        sleeps_.push_back(milliseconds);
        if (milliseconds > 0) now_ += static_cast<std::int64_t>(milliseconds) * 1000;
        // Another thread of the test (a stand-in for DibalCom) gets a moment to act.
        if (yieldOnSleep_) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }

    // Sleeps also give up the processor for two milliseconds, for tests with a second thread.
    void YieldOnSleep() { yieldOnSleep_ = true; }
    std::int64_t Micros() const { return now_; }
    const std::vector<int>& Sleeps() const { return sleeps_; }
    void ClearSleeps() { sleeps_.clear(); }

private:
    std::int64_t now_ = 0;
    std::int64_t step_;
    bool yieldOnSleep_ = false;
    std::vector<int> sleeps_;
    platform::ScopedEnv scope_;
};
