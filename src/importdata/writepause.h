// Pauses of the import-file writer. Writing a big file gives the processor away now and then,
// so the host stays responsive. The clock and the sleep are the platform object's, so tests
// replace them there.
#pragma once

namespace importpause {

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

// Now on the steady clock, in days.
double NowDays();
void Pause(int milliseconds);

inline constexpr double kMeasureDays = 1.16e-6;  // about 0.1 s
inline constexpr int kGoodsPauseMs = 20;
inline constexpr int kPositionsPerPause = 100;
inline constexpr int kPositionsPauseMs = 100;

}  // namespace importpause
