#pragma once

#include <cstdint>
#include <vector>

#include "codestyle/CodeStyleNode.h"

namespace kv::codestyle {

// The durations that decide a style's time unit, in hundredths of a microsecond: every symbol
// shape value (zeros included), then every non-zero layout value.
std::vector<std::int64_t> CollectStyleDurations(const CodeStyleNode& style);

// The time unit of the style in hundredths of a microsecond; rewrites `durations` in that unit.
// Returns 0, leaving `durations` as they were, when the style gives no usable unit (a carrier
// style with frequency or divisor 0, a unit that rounds to 0, or a style without a carrier whose
// durations include a 0): the caller then skips the style.
std::int64_t ComputeTimeUnit(std::vector<std::int64_t>& durations, const CodeStyleNode& style,
                             int tickRateKHz);

// The unit in ticks of the key record's time base: max(1, R(unit * rate / 10^5)). The key record
// carries it less one in one byte, so values above kMaxUnitTicks do not fit.
std::int64_t ComputeUnitTicks(std::int64_t unit, int tickRateKHz);
inline constexpr std::int64_t kMaxUnitTicks = 256;

struct DurationMultipliers {
    int markMultiplier = 2;
    int spaceMultiplier = 2;
};

// The largest step (at least 2, at most 255) that fits every unit duration within 2 %.
DurationMultipliers ComputeDurationMultiplier(const std::vector<std::int64_t>& durations);

// Euclid on the magnitudes; 0 when either argument is 0.
std::int64_t GreatestCommonDivisor(std::int64_t a, std::int64_t b);

// The largest n from `limit` down to 1 that divides |a| within R(|a| * tolerance); |a| itself
// when `limit` is at least |a| or not positive.
std::int64_t BestDivisor(std::int64_t a, std::int64_t limit, double tolerance);

// The largest step from min(maxStep, smallest |x|) down to 1 that divides every value within
// R(|x| * tolerance); 1 when none is larger or the list is empty.
std::int64_t LargestCommonStep(const std::vector<std::int64_t>& values, std::int64_t maxStep,
                               double tolerance);

}  // namespace kv::codestyle
