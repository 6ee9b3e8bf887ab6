#include "importdata/writepause.h"

#include "platform/env.h"

namespace importpause {

// The steady clock: cheap to read after every row, and a change of the wall clock cannot upset
// the measurement.
double NowDays() { return static_cast<double>(platform::env().NowMicros()) / 86400e6; }

void Pause(int milliseconds) { platform::env().SleepMs(milliseconds); }

GoodsThrottle::GoodsThrottle() : start_(NowDays()) {}

void GoodsThrottle::RowDone() {
    ++count_;
    if (period_ == 0) {
        if (NowDays() - start_ > kMeasureDays) period_ = count_;
    } else if (count_ % period_ == 0) {
        Pause(kGoodsPauseMs);
    }
}

}  // namespace importpause
