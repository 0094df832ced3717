#pragma once

#include <cstdint>
#include <optional>

namespace kv::encoder {

// The tolerance factors of the decoders, as the extended-precision values nearest the decimals.
struct ToleranceFactors {
    long double high;
    long double low;
};
inline constexpr ToleranceFactors kNarrowTolerance{1.35L, 0.65L};
inline constexpr ToleranceFactors kWideTolerance{1.4L, 0.6L};

// The open window (lo, hi) in which a captured duration passes for a table duration of
// magnitude m µs. Short durations get a proportional window, long ones a fixed 200 µs either
// side. The stored 0.65 lies just below 0.65, so m = 190 gives lo = 123, not 124: the receiver's
// shortest marks are kept that way.
struct DurationWindow {
    std::int64_t lo;
    std::int64_t hi;

    bool Contains(std::int64_t x) const { return lo < x && x < hi; }
};

// Rounds a non-negative extended-precision value to the nearest integer, halves to even. The
// products here are small and exact in the 64-bit significand, so truncation and the fraction
// decide it without a trip through the floating-point environment.
inline std::int64_t RoundHalfEvenNonNegative(long double value) {
    const auto whole = static_cast<std::int64_t>(value);
    const long double fraction = value - static_cast<long double>(whole);
    if (fraction > 0.5L || (fraction == 0.5L && (whole % 2) != 0)) {
        return whole + 1;
    }
    return whole;
}

inline DurationWindow WindowFor(std::int64_t m, ToleranceFactors factors) {
    if (m >= 600) {
        return {m - 200, m + 200};
    }
    const long double magnitude = static_cast<long double>(m);
    return {RoundHalfEvenNonNegative(magnitude * factors.low),
            RoundHalfEvenNonNegative(magnitude * factors.high)};
}

// True when `value` lies strictly between low × reference and high × reference. The products are
// taken in extended precision with the factors nearest the decimals, and the comparisons are
// then exact; where the stored factor misses its decimal a few exact products fall the other way.
inline bool InsideOpenBand(long double reference, long double value, long double low,
                           long double high) {
    return low * reference < value && value < high * reference;
}

// A table duration may stand where the parity counter expects a mark (even) or a space (odd);
// 0 passes for either.
inline bool LevelAgrees(std::int64_t tableValue, std::int64_t parity) {
    const bool spaceDue = parity % 2 != 0;
    return spaceDue ? tableValue <= 0 : tableValue >= 0;
}

}  // namespace kv::encoder
