#include "deadline.h"

#include <utility>

namespace host {

Deadline::Deadline(double seconds, Clock clock)
    : seconds_(seconds),
      clock_(clock ? std::move(clock) : [] { return std::chrono::steady_clock::now(); }),
      start_(clock_()) {}

bool Deadline::Passed() const {
    if (seconds_ <= 0) return false;
    return std::chrono::duration<double>(clock_() - start_).count() >= seconds_;
}

}  // namespace host
