// Adding to the buffer's 32-bit counters: they wrap around instead of overflowing, whatever
// numbers a driver hands over.
#pragma once

namespace impcount {

inline void Add(int& total, int n) {
    total = static_cast<int>(static_cast<unsigned>(total) + static_cast<unsigned>(n));
}
inline void Add(long double& total, long double n) { total += n; }

}  // namespace impcount
