#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "codestyle/CarrierArithmetic.h"
#include "tests/support/ExampleStyles.h"

namespace kv::codestyle {
namespace {

using Durations = std::vector<std::int64_t>;

CodeStyleNode CarrierStyle(std::int32_t frequency, std::uint8_t divisor) {
    CodeStyleNode style;
    style.carrierFrequency = frequency;
    style.carrierDivisor = divisor;
    return style;
}

CodeStyleNode FreeRunningStyle() {
    CodeStyleNode style;
    style.noCarrier = 1;
    return style;
}

struct TimeUnitCase {
    const char* label;
    CodeStyleNode style;
    int tickRateKHz;
    Durations durations;
    std::int64_t unit;
    Durations rewritten;
};

class TimeUnit : public ::testing::TestWithParam<TimeUnitCase> {};

TEST_P(TimeUnit, ChoosesUnitAndRewritesDurations) {
    const TimeUnitCase& c = GetParam();
    Durations durations = c.durations;
    EXPECT_EQ(ComputeTimeUnit(durations, c.style, c.tickRateKHz), c.unit);
    EXPECT_EQ(durations, c.rewritten);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, TimeUnit,
    ::testing::Values(
        // P = 2632, 53 ticks per sub-period, unit 883; the step 3 x 883 fits all four.
        TimeUnitCase{"carrier_step_of_three",
                     CarrierStyle(38000, 3),
                     6000,
                     {900000, -450000, 56000, 169000},
                     883,
                     {1020, -510, 63, 192}},
        // 39.73 µs sits half a step off 2649 and 441 off 1766, far beyond 2 %: n falls to 1.
        TimeUnitCase{
            "carrier_no_step_fits", CarrierStyle(38000, 3), 6000, {3973, 56000}, 883, {4, 63}},
        // A divisor of 1 never runs the step search.
        TimeUnitCase{"carrier_divisor_one",
                     CarrierStyle(38000, 1),
                     6000,
                     {900000, -450000},
                     2633,
                     {342, -171}},
        // The tick rate is held to 2000..8000 kHz: 10 kHz behaves as 2000.
        TimeUnitCase{"tick_rate_clamped", CarrierStyle(38000, 3), 10, {}, 900, {}},
        TimeUnitCase{"free_running_best_divisor",
                     FreeRunningStyle(),
                     6000,
                     {60000, -120000, 180000},
                     4233,
                     {14, -28, 43}},
        TimeUnitCase{"free_running_halved_gcd",
                     FreeRunningStyle(),
                     6000,
                     {56000, -56000, -169000, 900000, -450000},
                     500,
                     {112, -112, -338, 1800, -900}},
        TimeUnitCase{"free_running_empty", FreeRunningStyle(), 6000, {}, 100, {}},
        // The ways to no unit at all: the caller skips the style, durations untouched.
        TimeUnitCase{"zero_frequency", CarrierStyle(0, 3), 6000, {56000}, 0, {56000}},
        TimeUnitCase{"negative_frequency", CarrierStyle(-38000, 3), 6000, {56000}, 0, {56000}},
        TimeUnitCase{"zero_divisor", CarrierStyle(38000, 0), 6000, {56000}, 0, {56000}},
        TimeUnitCase{
            "sub_period_below_a_tick", CarrierStyle(2000000, 255), 6000, {56000}, 0, {56000}},
        TimeUnitCase{"free_running_zero_duration",
                     FreeRunningStyle(),
                     6000,
                     {56000, 0, 900},
                     0,
                     {56000, 0, 900}}),
    [](const auto& testCase) { return std::string(testCase.param.label); });

TEST(UnitTicks, RoundsAndNeverFallsBelowOne) {
    EXPECT_EQ(ComputeUnitTicks(883, 6000), 53);
    EXPECT_EQ(ComputeUnitTicks(4233, 6000), 254);
    EXPECT_EQ(ComputeUnitTicks(0, 6000), 1);
    // 25 x 0.06 = 1.5 rounds to the even 2, 75 x 0.06 = 4.5 to 4.
    EXPECT_EQ(ComputeUnitTicks(25, 6000), 2);
    EXPECT_EQ(ComputeUnitTicks(75, 6000), 4);
}

TEST(DurationMultiplier, IsTheLargestCommonStepAndAtLeastTwo) {
    EXPECT_EQ(ComputeDurationMultiplier({1020, -510, 63, 192}).markMultiplier, 63);
    EXPECT_EQ(ComputeDurationMultiplier({1020, -510, 63, 192}).spaceMultiplier, 63);
    EXPECT_EQ(ComputeDurationMultiplier({7, 11}).markMultiplier, 2);
    EXPECT_EQ(ComputeDurationMultiplier({}).markMultiplier, 2);
    EXPECT_EQ(ComputeDurationMultiplier({1000, 2000}).markMultiplier, 255);
}

struct GcdCase {
    std::int64_t a, b, gcd;
};

TEST(GreatestCommonDivisor, Cases) {
    const std::vector<GcdCase> cases = {
        {60000, 120000, 60000},
        {120000, 60000, 60000},
        {56000, 169000, 1000},
        {0, 5, 0},
        {5, 0, 0},
        {-12, 18, 6},
        {7, 13, 1},
        {INT64_MIN, 2, 1},
    };
    for (const GcdCase& c : cases) {
        EXPECT_EQ(GreatestCommonDivisor(c.a, c.b), c.gcd) << c.a << ", " << c.b;
    }
}

struct DivisorCase {
    std::int64_t a, limit;
    double tolerance;
    std::int64_t result;
};

TEST(BestDivisor, Cases) {
    const std::vector<DivisorCase> cases = {
        {60000, 30000, 0.02, 30000},
        {30000, 4233, 0.02, 4233},  // 30000 mod 4233 = 369, within 600
        {1000, 500, 0.02, 500},
        {500, 4233, 0.02, 500},  // limit above a
        {7, 3, 0.02, 1},         // t = 0, remainders 1 and 1
        {5, 9, 0.02, 5},
        {-60000, 30000, 0.02, 30000},
        {100, 0, 0.02, 100},  // limit not positive
        {100, -3, 0.02, 100},
        {101, 50, 5.0, 50},  // tolerance capped at 1
        {0, 0, 0.02, 0},
    };
    for (const DivisorCase& c : cases) {
        EXPECT_EQ(BestDivisor(c.a, c.limit, c.tolerance), c.result)
            << c.a << ", " << c.limit << ", " << c.tolerance;
    }
}

struct StepCase {
    Durations values;
    std::int64_t maxStep;
    double tolerance;
    std::int64_t result;
};

TEST(LargestCommonStep, Cases) {
    const std::vector<StepCase> cases = {
        {{1020, 510, 63, 192}, 255, 0.02, 63},
        {{1020, -510, 63, 192}, 255, 0.02, 63},  // signs do not matter
        {{}, 255, 0.02, 1},
        {{0, 100}, 255, 0.02, 1},  // the smallest |x| is 0
        {{100, 200}, 0, 0.02, 1},
        {{1000, 2000}, 255, 0.02, 255},  // 20 and 40 short of 4 and 8 steps
        {{1000, 2000}, 100, 0.0, 100},
        {{7, 11}, 255, 0.02, 1},
    };
    for (const StepCase& c : cases) {
        const Durations before = c.values;
        EXPECT_EQ(LargestCommonStep(c.values, c.maxStep, c.tolerance), c.result);
        EXPECT_EQ(c.values, before);
    }
}

TEST(CollectStyleDurations, KeepsShapeZerosAndDropsLayoutZeros) {
    CodeStyleNode style = testsupport::NecLikeStyle();
    testsupport::SetShape(style, 1, {MarkValue(56000), SpaceValue(0), SpaceValue(169000)});
    // Unused shapes and layouts beyond the counts do not take part.
    testsupport::SetShape(style, 2, {MarkValue(77700)});
    testsupport::SetLayout(style, 2, {MarkValue(77700)});
    EXPECT_EQ(CollectStyleDurations(style), (Durations{56000, -56000, 56000, 0, -169000, 900000,
                                                       -450000, 56000, 900000, -225000, 56000}));
}

TEST(CollectStyleDurations, ElementKindsInLayoutsCountButFieldsDoNot) {
    CodeStyleNode style;
    style.symbolCount = 0;
    style.layoutCount = 1;
    testsupport::SetLayout(
        style, 0,
        {MarkValue(56000), SymbolGroupValue(8, 0), ElementValue(TimingKind::kGapElement, 0, 4000),
         ElementValue(TimingKind::kGapElementOutsideUnit, 0, 4000)});
    EXPECT_EQ(CollectStyleDurations(style), (Durations{56000, 4000}));
}

TEST(CollectStyleDurations, ClampsCountsBeyondTheArrays) {
    CodeStyleNode style;
    style.symbolCount = 200;
    style.layoutCount = 200;
    for (SymbolShape& shape : style.symbolShapes) {
        shape.count = 200;
    }
    style.layouts[5].count = 200;
    EXPECT_EQ(CollectStyleDurations(style).size(), 4U * 6U);
}

}  // namespace
}  // namespace kv::codestyle
