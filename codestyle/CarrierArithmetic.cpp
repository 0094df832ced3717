#include "codestyle/CarrierArithmetic.h"

#include <algorithm>
#include <cstdlib>

#include "codestyle/Rounding.h"

namespace kv::codestyle {

namespace {

constexpr double kFitTolerance = 0.02;
constexpr int kMinTickRateKHz = 2000;
constexpr int kMaxTickRateKHz = 8000;
// 254 timer ticks of 10^5 / rate hundredths of a microsecond each.
constexpr std::int64_t kNoCarrierUnitLimitFactor = 25400000;
constexpr std::int64_t kMaxMultiplier = 255;

// The distance of `x` from the nearest multiple of `step`, where a remainder above
// `halfWindow` counts from the multiple above.
std::int64_t DistanceFromMultiple(std::int64_t x, std::int64_t step, std::int64_t halfWindow) {
    const std::int64_t remainder = x % step;
    return remainder > halfWindow ? step - remainder : remainder;
}

// With a carrier the unit is a whole number of timer ticks near one sub-period of the carrier,
// and the durations are snapped to the largest multiple of it (up to the divisor) that they all
// sit on, so that the remote can count them in carrier-synchronous steps.
std::int64_t CarrierTimeUnit(std::vector<std::int64_t>& durations, const CodeStyleNode& style,
                             double tickLength) {
    if (style.carrierFrequency <= 0 || style.carrierDivisor == 0) {
        return 0;
    }
    const std::int64_t period = RoundToInteger(1e8 / static_cast<double>(style.carrierFrequency));
    const std::int64_t divisor = style.carrierDivisor;
    const std::int64_t ticks =
        RoundToInteger(static_cast<double>(period) / static_cast<double>(divisor) / tickLength);
    const std::int64_t unit = RoundToInteger(static_cast<double>(ticks) * tickLength);
    if (unit <= 0) {
        return 0;
    }
    const auto stepFits = [&](std::int64_t step) {
        return std::all_of(durations.begin(), durations.end(), [&](std::int64_t x) {
            const std::int64_t magnitude = AbsoluteValue(x);
            return static_cast<double>(DistanceFromMultiple(magnitude, step, period / 2)) <=
                   kFitTolerance * static_cast<double>(magnitude);
        });
    };
    std::int64_t n = divisor;
    while (n >= 2 && !stepFits(n * unit)) {
        --n;
    }
    const double step = static_cast<double>(unit * n);
    for (std::int64_t& x : durations) {
        x = n * RoundToInteger(static_cast<double>(x) / step);
    }
    return unit;
}

// Without a carrier the unit is the common divisor of all durations, taken as coarse as the
// 2 % tolerance allows and small enough to stay within 254 timer ticks.
std::int64_t FreeRunningTimeUnit(std::vector<std::int64_t>& durations, int tickRateKHz) {
    std::int64_t unit = 100;
    if (!durations.empty()) {
        unit = AbsoluteValue(durations.front());
        for (std::size_t i = 1; i < durations.size(); ++i) {
            unit = GreatestCommonDivisor(unit, durations[i]);
        }
        unit = BestDivisor(unit, unit / 2, kFitTolerance);
    }
    unit = BestDivisor(unit, kNoCarrierUnitLimitFactor / tickRateKHz, kFitTolerance);
    if (unit <= 0) {
        return 0;
    }
    for (std::int64_t& x : durations) {
        x = RoundToInteger(static_cast<double>(x) / static_cast<double>(unit));
    }
    return unit;
}

}  // namespace

std::vector<std::int64_t> CollectStyleDurations(const CodeStyleNode& style) {
    std::vector<std::int64_t> durations;
    const int symbols = std::min<int>(style.symbolCount, CodeStyleNode::kMaxSymbols);
    for (int s = 0; s < symbols; ++s) {
        const SymbolShape& shape = style.symbolShapes[s];
        const int count = std::min<int>(shape.count, CodeStyleNode::kMaxShapeCount);
        for (int i = 0; i < count; ++i) {
            durations.push_back(TimingToUnitDuration(shape.values[i], style));
        }
    }
    const int layouts = std::min<int>(style.layoutCount, CodeStyleNode::kMaxLayouts);
    for (int l = 0; l < layouts; ++l) {
        const FrameLayout& layout = style.layouts[l];
        const int count = std::min<int>(layout.count, CodeStyleNode::kMaxLayoutCount);
        for (int i = 0; i < count; ++i) {
            const std::int64_t duration = TimingToUnitDuration(layout.values[i], style);
            if (duration != 0) {
                durations.push_back(duration);
            }
        }
    }
    return durations;
}

std::int64_t ComputeTimeUnit(std::vector<std::int64_t>& durations, const CodeStyleNode& style,
                             int tickRateKHz) {
    const int rate = std::clamp(tickRateKHz, kMinTickRateKHz, kMaxTickRateKHz);
    if (style.noCarrier == 0) {
        return CarrierTimeUnit(durations, style, 1e5 / static_cast<double>(rate));
    }
    return FreeRunningTimeUnit(durations, rate);
}

std::int64_t ComputeUnitTicks(std::int64_t unit, int tickRateKHz) {
    const std::int64_t ticks =
        RoundToInteger(static_cast<double>(unit) * static_cast<double>(tickRateKHz) / 1e5);
    return std::max<std::int64_t>(1, ticks);
}

DurationMultipliers ComputeDurationMultiplier(const std::vector<std::int64_t>& durations) {
    const std::int64_t step =
        std::max<std::int64_t>(2, LargestCommonStep(durations, kMaxMultiplier, kFitTolerance));
    const int multiplier = static_cast<int>(step);
    return {multiplier, multiplier};
}

std::int64_t GreatestCommonDivisor(std::int64_t a, std::int64_t b) {
    std::int64_t dividend = std::max(AbsoluteValue(a), AbsoluteValue(b));
    std::int64_t divisor = std::min(AbsoluteValue(a), AbsoluteValue(b));
    if (divisor == 0) {
        return 0;
    }
    while (divisor != 0) {
        const std::int64_t remainder = dividend % divisor;
        dividend = divisor;
        divisor = remainder;
    }
    return dividend;
}

std::int64_t BestDivisor(std::int64_t a, std::int64_t limit, double tolerance) {
    const std::int64_t magnitude = AbsoluteValue(a);
    if (limit >= magnitude || limit <= 0) {
        return magnitude;
    }
    const std::int64_t allowed =
        RoundToInteger(static_cast<double>(magnitude) * std::min(tolerance, 1.0));
    for (std::int64_t n = limit; n > 1; --n) {
        if (DistanceFromMultiple(magnitude, n, n / 2) <= allowed) {
            return n;
        }
    }
    return 1;
}

std::int64_t LargestCommonStep(const std::vector<std::int64_t>& values, std::int64_t maxStep,
                               double tolerance) {
    if (values.empty()) {
        return 1;
    }
    std::int64_t start = maxStep;
    for (std::int64_t x : values) {
        start = std::min(start, AbsoluteValue(x));
    }
    const double factor = std::min(tolerance, 1.0);
    for (std::int64_t n = start; n > 1; --n) {
        const bool fits = std::all_of(values.begin(), values.end(), [&](std::int64_t x) {
            const std::int64_t magnitude = AbsoluteValue(x);
            return DistanceFromMultiple(magnitude, n, n / 2) <=
                   RoundToInteger(static_cast<double>(magnitude) * factor);
        });
        if (fits) {
            return n;
        }
    }
    return 1;
}

}  // namespace kv::codestyle
