// A dataset column's extended numbers in four bytes each while every value so far is a whole
// number that fits 32 bits (prices in grosz, quantities in units are), else in a long double
// each. A million prices take 4 MB instead of 16 MB; every value reads back exactly.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

class TMExtendedCells {
public:
    using value_type = long double;
    std::size_t size() const { return wide_ ? any_.size() : whole_.size(); }
    std::size_t capacity() const { return wide_ ? any_.capacity() : whole_.capacity(); }
    long double operator[](std::size_t i) const {
        return wide_ ? any_[i] : static_cast<long double>(whole_[i]);
    }
    // Cell i as a whole 32-bit number, when the cells are held so; false otherwise.
    bool WholeAt(std::size_t i, std::int32_t& value) const {
        if (wide_) return false;
        value = whole_[i];
        return true;
    }
    void Set(std::size_t i, long double value);
    // Inline for the usual whole value: a long double handed to a call goes through memory,
    // and reading it back costs more than the test.
    void push_back(long double value) {
        std::int32_t whole = 0;
        if (!wide_ && FitsWhole(value, whole)) {
            whole_.push_back(whole);
            return;
        }
        PushBackAny(value);
    }
    void resize(std::size_t n, long double value);
    void assign(std::size_t n, long double value);
    void insert(std::size_t i, long double value);
    void erase(std::size_t i);
    void reserve(std::size_t n);
    void clear();  // back to four bytes a cell, no memory held
    void* data();
    std::size_t bytes() const;

private:
    void PushBackAny(long double value);
    // A value four bytes hold exactly: a whole number in 32-bit range, and not a negative zero,
    // whose sign is part of the value. NaN fails every comparison and so never fits. The range
    // and the truncation are tested in double, which the processor does in a few instructions;
    // the final comparison is with the value itself.
    static bool FitsWhole(long double value, std::int32_t& whole) {
        const double near = static_cast<double>(value);
        if (!(near >= -2147483648.0 && near <= 2147483647.0)) return false;
        const auto truncated = static_cast<std::int32_t>(near);
        if (static_cast<long double>(truncated) != value) return false;
        if (truncated == 0 && std::signbit(value)) return false;
        whole = truncated;
        return true;
    }
    // Widens the column when `value` needs it; true, with `whole` set, when four bytes hold it.
    bool Narrow(long double value, std::int32_t& whole);
    // Widens the column for `value`, then calls f(cells, value as their element type).
    template <typename F>
    void WithRoomFor(long double value, F f);
    std::vector<std::int32_t> whole_;
    std::vector<long double> any_;
    bool wide_ = false;
};
