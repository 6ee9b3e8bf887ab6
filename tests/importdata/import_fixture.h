// Helpers of the sales-import and card-code tests.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "importdata/writepause.h"
#include "support/fake_clock.h"
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
    explicit FakePauses(double stepDays = 0)
        : clock_(static_cast<std::int64_t>(stepDays * 86400e6 + 0.5)) {
        current() = this;
    }
    ~FakePauses() { current() = nullptr; }
    FakePauses(const FakePauses&) = delete;
    FakePauses& operator=(const FakePauses&) = delete;

    static const std::vector<int>& sleeps() { return current()->clock_.Sleeps(); }

private:
    static FakePauses*& current() {
        static FakePauses* pauses = nullptr;
        return pauses;
    }
    FakeClock clock_;
};
