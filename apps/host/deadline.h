// The time limit of an unattended run (--timeout): once it has passed, the host answers the
// driver's break question with stop.
#pragma once

#include <chrono>
#include <functional>

namespace host {

class Deadline {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // `seconds` <= 0: no limit. The time counts from construction.
    explicit Deadline(double seconds, Clock clock = {});

    bool Passed() const;
    double Seconds() const { return seconds_; }

private:
    double seconds_;
    Clock clock_;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace host
