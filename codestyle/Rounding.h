#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace kv::codestyle {

// Rounds to the nearest integer with halves going to the even neighbour, the rounding every
// stored time and step count is made with (std::nearbyint in the default rounding mode).
// Values outside the 64-bit range saturate, and NaN gives 0, so that a wild style value can
// never turn into undefined behaviour on the conversion.
inline std::int64_t RoundToInteger(double value) {
    const double rounded = std::nearbyint(value);
    if (std::isnan(rounded)) {
        return 0;
    }
    // 2^63 is exactly representable; everything at or above it does not fit.
    constexpr double kLimit = 9223372036854775808.0;
    if (rounded >= kLimit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (rounded < -kLimit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(rounded);
}

// |value| without the overflow of std::abs on the most negative value.
inline std::int64_t AbsoluteValue(std::int64_t value) {
    if (value == std::numeric_limits<std::int64_t>::min()) {
        return std::numeric_limits<std::int64_t>::max();
    }
    return value < 0 ? -value : value;
}

}  // namespace kv::codestyle
