// The answer of a platform call: success, or the operating system's own error text with the
// path it concerned.
#pragma once

#include <string>
#include <utility>

namespace platform {

class Status {
public:
    Status() = default;  // success
    static Status Error(std::string message, bool targetInTheWay = false) {
        Status s;
        s.ok_ = false;
        s.message_ = std::move(message);
        s.targetInTheWay_ = targetInTheWay;
        return s;
    }

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    // "<what> \"<path>\": <the system's text>"; empty on success.
    const std::string& message() const { return message_; }
    // A replacement failed because the file at the target could not be removed or overwritten.
    bool TargetInTheWay() const { return targetInTheWay_; }

private:
    bool ok_ = true;
    bool targetInTheWay_ = false;
    std::string message_;
};

}  // namespace platform
