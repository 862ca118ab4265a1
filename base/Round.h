#pragma once
// Rounding as the runtime the layouts were made with rounds: to the nearest integer, halves to even.
#include <cmath>

namespace base {

inline int RoundHalfEven(long double value) {
    return int(std::nearbyint(value));
}

}  // namespace base
