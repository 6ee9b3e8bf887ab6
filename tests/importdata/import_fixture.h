// Helpers of the sales-import and card-code tests.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "importdata/writepause.h"
#include "runtime/dttools.h"
#include "support/file_bytes.h"
#include "support/recording_progress.h"
#include "support/test_host.h"

// The message of whatever `f` throws; "(no exception)" when it does not throw.
template <typename F>
std::string MessageOf(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no exception)";
}

inline double At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return TdtTools::EncodeDate(year, month, day) + TdtTools::EncodeTime(hour, minute, second, 0);
}

// Replaces the writer's sleep and clock while alive: sleeps are recorded, the clock advances
// by `step` days on every reading.
class FakePauses {
public:
    explicit FakePauses(double stepDays = 0) {
        sleeps().clear();
        now() = 0;
        step() = stepDays;
        oldSleep_ = importpause::SetSleep([](int ms) { sleeps().push_back(ms); });
        oldClock_ = importpause::SetClock([] { return now() += step(); });
    }
    ~FakePauses() {
        importpause::SetSleep(oldSleep_);
        importpause::SetClock(oldClock_);
    }
    FakePauses(const FakePauses&) = delete;
    FakePauses& operator=(const FakePauses&) = delete;

    static std::vector<int>& sleeps() {
        static std::vector<int> s;
        return s;
    }

private:
    static double& now() {
        static double n = 0;
        return n;
    }
    static double& step() {
        static double s = 0;
        return s;
    }
    importpause::SleepFunction oldSleep_;
    importpause::ClockFunction oldClock_;
};
