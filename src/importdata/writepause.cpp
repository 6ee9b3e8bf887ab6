#include "importdata/writepause.h"

#include <chrono>

#include "platform/platform.h"

namespace importpause {
namespace {

void RealSleep(int milliseconds) { platform::SleepMs(milliseconds); }
// A steady clock: cheap to read after every row, and a change of the wall clock cannot upset
// the measurement.
double RealClock() {
    using Days = std::chrono::duration<double, std::ratio<86400>>;
    return std::chrono::duration_cast<Days>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

SleepFunction g_sleep = RealSleep;
ClockFunction g_clock = RealClock;

}  // namespace

SleepFunction Sleep() { return g_sleep; }
ClockFunction Clock() { return g_clock; }

SleepFunction SetSleep(SleepFunction function) {
    SleepFunction previous = g_sleep;
    g_sleep = function ? function : RealSleep;
    return previous;
}

ClockFunction SetClock(ClockFunction function) {
    ClockFunction previous = g_clock;
    g_clock = function ? function : RealClock;
    return previous;
}

GoodsThrottle::GoodsThrottle() : start_(g_clock()) {}

void GoodsThrottle::RowDone() {
    ++count_;
    if (period_ == 0) {
        if (g_clock() - start_ > kMeasureDays) period_ = count_;
    } else if (count_ % period_ == 0) {
        g_sleep(kGoodsPauseMs);
    }
}

}  // namespace importpause
