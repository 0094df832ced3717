#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "codestyle/CodeStyleNode.h"
#include "codestyle/TimingValue.h"

namespace kv::codestyle {
namespace {

CodeStyleNode CarrierStyle(std::int32_t frequency, std::uint8_t noCarrier = 0) {
    CodeStyleNode style;
    style.carrierFrequency = frequency;
    style.noCarrier = noCarrier;
    return style;
}

struct ConversionCase {
    const char* label;
    TimingValue value;
    CodeStyleNode style;
    std::int64_t duration;
    std::int64_t unitDuration;
};

class TimingConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(TimingConversion, GivesDurationAndUnitDuration) {
    const ConversionCase& c = GetParam();
    EXPECT_EQ(TimingToDuration(c.value, c.style), c.duration);
    EXPECT_EQ(TimingToUnitDuration(c.value, c.style), c.unitDuration);
}

constexpr TimingValue Value(std::uint32_t kind, std::uint32_t magnitude) {
    return (kind << 24) | magnitude;
}

const CodeStyleNode k38k = CarrierStyle(38000);
const CodeStyleNode kNoCarrier = CarrierStyle(38000, 1);
const CodeStyleNode kZeroFrequency = CarrierStyle(0);
const CodeStyleNode kNegativeFrequency = CarrierStyle(-38000);

INSTANTIATE_TEST_SUITE_P(
    Kinds, TimingConversion,
    ::testing::Values(
        ConversionCase{"space_us", Value(0x00, 0x1234), k38k, -4660, -4660},
        ConversionCase{"space_ms", Value(0x01, 50), k38k, -50000, -50000},
        ConversionCase{"space_cycles", Value(0x02, 2100), k38k, -55263, -55263},
        ConversionCase{"none_3", Value(0x03, 0x1234), k38k, 0, 0},
        ConversionCase{"mark_us", Value(0x04, 0x1234), k38k, 4660, 4660},
        ConversionCase{"mark_ms", Value(0x05, 0x32), k38k, 50000, 50000},
        ConversionCase{"mark_cycles", Value(0x06, 2100), k38k, 55263, 55263},
        ConversionCase{"none_7", Value(0x07, 0x1234), k38k, 0, 0},
        ConversionCase{"mark_ms_largest", Value(0x05, 0xFFFFFF), k38k, 16777215000LL,
                       16777215000LL},
        ConversionCase{"cycles_no_carrier", Value(0x06, 2100), kNoCarrier, 0, 0},
        ConversionCase{"space_cycles_no_carrier", Value(0x02, 2100), kNoCarrier, 0, 0},
        ConversionCase{"cycles_zero_frequency", Value(0x06, 2100), kZeroFrequency, 0, 0},
        ConversionCase{"cycles_negative_frequency", Value(0x06, 2100), kNegativeFrequency, 0, 0},
        ConversionCase{"first_definition", Value(0x08, 0x18), k38k, 0x18, 0},
        ConversionCase{"first_reference", Value(0x09, 0x11), k38k, 0x11, 0},
        ConversionCase{"first_reference_alt", Value(0x0A, 0x22), k38k, 0x22, 0},
        ConversionCase{"placeholder", Value(0x0B, 0x22), k38k, 0, 0},
        ConversionCase{"second_definition", Value(0x0C, 0x08), k38k, 0x08, 0},
        ConversionCase{"second_reference", Value(0x0D, 0x08), k38k, 0x08, 0},
        ConversionCase{"second_reference_alt", Value(0x0E, 0), k38k, 0, 0},
        ConversionCase{"symbol_group", Value(0x0F, 0x040123), k38k, 0x040123, 0},
        ConversionCase{"gap_element", Value(0x10, 3 * 1048576 + 4000), k38k, 3 * 1048576 + 4000,
                       3 * 1048576 + 4000},
        ConversionCase{"period_element", Value(0x19, 10800), k38k, 10800, 10800},
        ConversionCase{"gap_outside_unit", Value(0x1D, 3 * 1048576 + 4000), k38k,
                       3 * 1048576 + 4000, 0},
        ConversionCase{"unknown_0x11", Value(0x11, 500), k38k, 0, 0},
        ConversionCase{"unknown_0x80", Value(0x80, 500), k38k, 0, 0},
        ConversionCase{"unknown_0xFF", Value(0xFF, 0xFFFFFF), k38k, 0, 0}),
    [](const auto& testCase) { return std::string(testCase.param.label); });

TEST(TimingValueBuilders, PackKindAndMagnitude) {
    EXPECT_EQ(MarkValue(900000), 0x040DBBA0U);
    EXPECT_EQ(SpaceValue(450000), 0x0006DDD0U);
    EXPECT_EQ(FieldValue(TimingKind::kSecondTableDefinition, 2, 8), 0x0C000028U);
    EXPECT_EQ(SymbolGroupValue(4, 0x0123), 0x0F040123U);
    EXPECT_EQ(ElementValue(TimingKind::kPeriodElement, 1, 10800), 0x19102A30U);
    EXPECT_EQ(TimingKindOf(0x1D123456U), 0x1D);
    EXPECT_EQ(TimingMagnitude(0x1D123456U), 0x123456U);
    // A magnitude wider than 24 bits must not spill into the kind.
    EXPECT_EQ(MarkValue(0x01000005), 0x04000005U);
}

TEST(TimingKindTests, HoldExactlyForTheirKinds) {
    using KindPredicate = bool (*)(TimingValue);
    struct KindTest {
        const char* name;
        KindPredicate test;
        std::vector<std::uint32_t> kinds;
    };
    const std::vector<KindTest> tests = {
        {"IsDurationKind", IsDurationKind, {0x00, 0x01, 0x02, 0x04, 0x05, 0x06}},
        {"IsPlaceholderKind", IsPlaceholderKind, {0x0B}},
        {"IsFirstTableKind", IsFirstTableKind, {0x08, 0x09, 0x0A}},
        {"IsFirstTableDefinition", IsFirstTableDefinition, {0x08}},
        {"IsSecondTableDefinition", IsSecondTableDefinition, {0x0C}},
        {"IsSymbolGroupKind", IsSymbolGroupKind, {0x0F}},
        {"IsPeriodElement", IsPeriodElement, {0x19}},
    };
    for (const KindTest& t : tests) {
        for (std::uint32_t kind = 0; kind <= 0xFF; ++kind) {
            const bool expected = std::find(t.kinds.begin(), t.kinds.end(), kind) != t.kinds.end();
            EXPECT_EQ(t.test(Value(kind, 0x123456)), expected)
                << t.name << " of kind 0x" << std::hex << kind;
        }
    }
}

}  // namespace
}  // namespace kv::codestyle
