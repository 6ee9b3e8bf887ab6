// Pauses of the import-file writer. Writing a big file gives the processor away now and then,
// so the host stays responsive; tests replace the clock and the sleep to watch the pauses.
#pragma once

namespace importpause {

using SleepFunction = void (*)(int milliseconds);
using ClockFunction = double (*)();  // now, in days

// The functions the writer uses: platform::SleepMs and a steady clock unless replaced.
SleepFunction Sleep();
ClockFunction Clock();
// Replace them (nullptr restores the real one); each answers the previous function.
SleepFunction SetSleep(SleepFunction function);
ClockFunction SetClock(ClockFunction function);

// Pauses 20 ms after every `period` goods rows, the period being the number of rows written in
// the first tenth of a second.
class GoodsThrottle {
public:
    GoodsThrottle();
    void RowDone();  // after each goods row, written or skipped
    int Period() const { return period_; }

private:
    double start_;
    int count_ = 0;
    int period_ = 0;
};

inline constexpr double kMeasureDays = 1.16e-6;  // about 0.1 s
inline constexpr int kGoodsPauseMs = 20;
inline constexpr int kPositionsPerPause = 100;
inline constexpr int kPositionsPauseMs = 100;

}  // namespace importpause
