#include "runtime/extended_cells.h"

#include <cmath>

namespace {

template <class T>
void Release(std::vector<T>& v) {
    std::vector<T>().swap(v);
}

}  // namespace

bool TMExtendedCells::Narrow(long double value, std::int32_t& whole) {
    if (wide_) return false;
    if (FitsWhole(value, whole)) return true;
    // The wider vector keeps the capacity planned for the column.
    any_.reserve(whole_.capacity());
    any_.assign(whole_.begin(), whole_.end());
    Release(whole_);
    wide_ = true;
    return false;
}

template <typename F>
void TMExtendedCells::WithRoomFor(long double value, F f) {
    std::int32_t whole = 0;
    if (Narrow(value, whole))
        f(whole_, whole);
    else
        f(any_, value);
}

void TMExtendedCells::Set(std::size_t i, long double value) {
    WithRoomFor(value, [i](auto& cells, auto v) { cells[i] = v; });
}

void TMExtendedCells::PushBackAny(long double value) {
    WithRoomFor(value, [](auto& cells, auto v) { cells.push_back(v); });
}

void TMExtendedCells::resize(std::size_t n, long double value) {
    WithRoomFor(value, [n](auto& cells, auto v) { cells.resize(n, v); });
}

void TMExtendedCells::assign(std::size_t n, long double value) {
    WithRoomFor(value, [n](auto& cells, auto v) { cells.assign(n, v); });
}

void TMExtendedCells::insert(std::size_t i, long double value) {
    WithRoomFor(value, [i](auto& cells, auto v) {
        cells.insert(cells.begin() + static_cast<std::ptrdiff_t>(i), v);
    });
}

void TMExtendedCells::erase(std::size_t i) {
    const auto at = static_cast<std::ptrdiff_t>(i);
    if (wide_)
        any_.erase(any_.begin() + at);
    else
        whole_.erase(whole_.begin() + at);
}

void TMExtendedCells::reserve(std::size_t n) {
    if (wide_)
        any_.reserve(n);
    else
        whole_.reserve(n);
}

void TMExtendedCells::clear() {
    Release(whole_);
    Release(any_);
    wide_ = false;
}

void* TMExtendedCells::data() {
    return wide_ ? static_cast<void*>(any_.data()) : static_cast<void*>(whole_.data());
}

std::size_t TMExtendedCells::bytes() const {
    return wide_ ? any_.capacity() * sizeof(long double) : whole_.capacity() * sizeof(std::int32_t);
}
