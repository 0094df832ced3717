#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "encoder/FramePattern.h"
#include "encoder/PulseTrainEncoding.h"
#include "tests/support/ExampleStyles.h"

namespace kv::encoder {
namespace {

using codestyle::CodeStyleNode;
using codestyle::ElementValue;
using codestyle::MakeTimingValue;
using codestyle::MarkValue;
using codestyle::SpaceValue;
using codestyle::SymbolGroupValue;
using codestyle::TimingKind;
using codestyle::TimingValue;
using testsupport::SetLayout;
using testsupport::SetSequence;

std::string Spaced(const std::string& hex) {
    std::string text;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        text += (i == 0 ? "" : " ") + hex.substr(i, 2);
    }
    return text;
}

// A step of 53 x 63 = 3339 ticks, 556.5 µs, throughout.
EncoderState StepState(const CodeStyleNode& style) {
    EncoderState state;
    state.unitTicks = 53;
    state.markMultiplier = 63;
    state.spaceMultiplier = 63;
    BuildFramePattern(style, state.fieldTables);
    return state;
}

TimingValue MarkOfSteps(double steps) {
    return MarkValue(static_cast<std::uint32_t>(steps * 55650));
}

// A style whose sequence sends the given layouts, each once, with 40 ms gaps.
CodeStyleNode StyleOf(const std::vector<std::vector<TimingValue>>& layouts, int symbolCount = 2) {
    CodeStyleNode style;
    style.carrierFrequency = 38000;
    style.carrierDivisor = 3;
    style.symbolCount = static_cast<std::uint8_t>(symbolCount);
    style.layoutCount = static_cast<std::uint8_t>(layouts.size());
    std::vector<TimingValue> sequence;
    for (std::size_t l = 0; l < layouts.size(); ++l) {
        SetLayout(style, static_cast<int>(l), layouts[l]);
        sequence.push_back(
            ElementValue(TimingKind::kGapElement, static_cast<std::uint32_t>(l), 4000));
    }
    SetSequence(style, sequence);
    return style;
}

enum class Encoding { kFourLevel, kTwoLevel };

struct SecondPartCase {
    const char* name;
    std::function<CodeStyleNode()> style;
    Encoding encoding;
    std::string merged;
    std::string expected;  // spaced bytes; empty when the style does not fit

    friend void PrintTo(const SecondPartCase& c, std::ostream* out) { *out << c.name; }
};

class SecondPart : public ::testing::TestWithParam<SecondPartCase> {};

TEST_P(SecondPart, EncodesTheFramesOfTheMergedText) {
    const SecondPartCase& c = GetParam();
    const CodeStyleNode style = c.style();
    const EncoderState state = StepState(style);
    const std::string part = c.encoding == Encoding::kFourLevel
                                 ? EncodeSecondPartFourLevel(style, c.merged, state)
                                 : EncodeSecondPartTwoLevel(style, c.merged, state);
    EXPECT_EQ(Spaced(part), c.expected);
}

const std::string kNecMerged = "23281194uvuvuvuvvuvuvuvu0230t0028232808CA0230t0028";
const auto kPlaceholder = MakeTimingValue(TimingKind::kPlaceholder, 0);
const auto kOneSymbol = SymbolGroupValue(1, 0);

CodeStyleNode PlaceholderStyle(int width, int symbolCount) {
    CodeStyleNode style = StyleOf({{kPlaceholder, kOneSymbol}}, symbolCount);
    style.placeholderWidth = static_cast<std::uint8_t>(width);
    style.placeholderParam1 = 2;
    style.placeholderParam2 = 1;
    return style;
}

CodeStyleNode TailStyle(int symbolCount) {
    CodeStyleNode style = StyleOf({{MarkValue(56000)}}, symbolCount);
    style.layoutCount = 3;
    SetLayout(style, 2, {MarkValue(56000), SymbolGroupValue(4, 0x0123)});
    style.tailCount = 1;
    return style;
}

INSTANTIATE_TEST_SUITE_P(
    Styles, SecondPart,
    ::testing::Values(
        SecondPartCase{"nec_two_level", testsupport::NecLikeStyle, Encoding::kTwoLevel, kNecMerged,
                       "02 0A 05 CF 87 47 55 47 AA C0 03 CF 83 C0"},
        SecondPartCase{"nec_four_level", testsupport::NecLikeStyle, Encoding::kFourLevel,
                       kNecMerged, "02 0A 05 CF 87 57 11 57 44 C0 03 CF 83 C0"},
        // Durations beyond 64 steps take extension bytes, each counted as an item.
        SecondPartCase{"mark_of_72_steps", [] { return StyleOf({{MarkOfSteps(72)}}); },
                       Encoding::kTwoLevel, "0000", "01 02 FF C7"},
        SecondPartCase{"mark_of_65_steps", [] { return StyleOf({{MarkOfSteps(65)}}); },
                       Encoding::kTwoLevel, "0000", "01 02 FF C0"},
        SecondPartCase{"mark_of_64_steps", [] { return StyleOf({{MarkOfSteps(64)}}); },
                       Encoding::kTwoLevel, "0000", "01 01 FF"},
        SecondPartCase{"space_of_130_steps", [] { return StyleOf({{SpaceValue(130 * 55650)}}); },
                       Encoding::kFourLevel, "0000", "01 03 BF BF 81"},
        SecondPartCase{"placeholder_four_level", [] { return PlaceholderStyle(1, 4); },
                       Encoding::kFourLevel, "xv", "01 02 74 90 50 40"},
        SecondPartCase{"placeholder_two_level", [] { return PlaceholderStyle(1, 2); },
                       Encoding::kTwoLevel, "uv", "01 02 70 40 80"},
        // Wider placeholders consume the two letters the pattern gave them and write nothing,
        // but still count as an item.
        SecondPartCase{"placeholder_width_2", [] { return PlaceholderStyle(2, 4); },
                       Encoding::kFourLevel, "xxv", "01 02 50 40"},
        SecondPartCase{"placeholder_width_3", [] { return PlaceholderStyle(3, 4); },
                       Encoding::kFourLevel, "xxv", "01 02 50 40"},
        SecondPartCase{"placeholder_width_5", [] { return PlaceholderStyle(5, 4); },
                       Encoding::kFourLevel, "v", "01 02 50 40"},
        SecondPartCase{"layouts_written_once",
                       [] {
                           CodeStyleNode style = StyleOf(
                               {{MarkValue(56000), kOneSymbol}, {MarkValue(900000), kOneSymbol}});
                           SetSequence(style, {ElementValue(TimingKind::kGapElement, 0, 0),
                                               ElementValue(TimingKind::kGapElement, 1, 4000),
                                               ElementValue(TimingKind::kGapElement, 1, 4000),
                                               ElementValue(TimingKind::kGapElement, 0, 4000)});
                           return style;
                       },
                       Encoding::kTwoLevel, "0230vt00282328ut00282328vt00280230u",
                       "02 06 02 C0 40 80 02 CF 40 00"},
        // A frame ending in a gap followed by one ending in a period: each list is built from
        // its own frame.
        SecondPartCase{"gap_then_period_frames",
                       [] {
                           CodeStyleNode style = StyleOf({{MarkValue(56000), kOneSymbol},
                                                          {MarkValue(900000), kOneSymbol},
                                                          {MarkValue(56000), kOneSymbol}});
                           style.sequence[2] = ElementValue(TimingKind::kPeriodElement, 2, 10800);
                           return style;
                       },
                       Encoding::kTwoLevel, "0230vt00282328uh006C0230u",
                       "03 07 0B 02 C0 40 80 02 CF 40 00 02 C0 40 00"},
        SecondPartCase{"fixed_tail_four_level", [] { return TailStyle(4); }, Encoding::kFourLevel,
                       "0230", "03 05 01 C0 02 C0 53 1B"},
        SecondPartCase{"fixed_tail_two_level", [] { return TailStyle(2); }, Encoding::kTwoLevel,
                       "0230", "03 05 01 C0 02 C0 41 40"},
        // Two-level styles of fewer than two symbols carry the fixed layout only.
        SecondPartCase{"fixed_tail_one_symbol", [] { return TailStyle(1); }, Encoding::kTwoLevel,
                       "0230", "03 02 C0 41 40"},
        SecondPartCase{"no_symbols_no_tail", [] { return StyleOf({{MarkValue(56000)}}, 0); },
                       Encoding::kTwoLevel, "0230", ""},
        // What the record cannot carry gives no second part.
        SecondPartCase{"zero_steps", [] { return StyleOf({{MarkValue(10000)}}); },
                       Encoding::kTwoLevel, "0064", ""},
        SecondPartCase{"fixed_duration_beyond_64_steps",
                       [] {
                           CodeStyleNode style = TailStyle(4);
                           SetLayout(style, 2, {MarkOfSteps(65)});
                           return style;
                       },
                       Encoding::kFourLevel, "0230", ""},
        SecondPartCase{"tail_without_layouts",
                       [] {
                           CodeStyleNode style = TailStyle(4);
                           style.layoutCount = 0;
                           style.sequenceLength = 0;
                           return style;
                       },
                       Encoding::kFourLevel, "", ""},
        SecondPartCase{"two_level_value_above_255",
                       [] { return StyleOf({{SymbolGroupValue(2, 0)}}); }, Encoding::kTwoLevel,
                       "wu", ""},
        SecondPartCase{"group_of_17_symbols", [] { return StyleOf({{SymbolGroupValue(17, 0)}}); },
                       Encoding::kFourLevel, std::string(17, 'u'), ""},
        SecondPartCase{"item_count_above_255",
                       [] {
                           // 32 durations of 600 steps: 9 extension bytes each.
                           const auto longMark =
                               MakeTimingValue(TimingKind::kMarkMilliseconds, 33400);
                           return StyleOf({std::vector<TimingValue>(32, longMark)});
                       },
                       Encoding::kFourLevel, "", ""},
        SecondPartCase{"part_above_255_bytes",
                       [] {
                           const std::vector<TimingValue> layout(32, MarkOfSteps(100));
                           return StyleOf({layout, layout, layout, layout});
                       },
                       Encoding::kFourLevel, "", ""},
        SecondPartCase{"layout_index_6",
                       [] {
                           CodeStyleNode style = StyleOf({{MarkValue(56000)}});
                           style.sequence[0] = ElementValue(TimingKind::kGapElement, 6, 0);
                           return style;
                       },
                       Encoding::kFourLevel, "0230", ""},
        SecondPartCase{"style_beyond_limits",
                       [] {
                           CodeStyleNode style = testsupport::NecLikeStyle();
                           style.repeatCount = 5;
                           return style;
                       },
                       Encoding::kTwoLevel, kNecMerged, ""}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(SecondPartUnit, RefusesUnitTicksOutsideTheRecordByte) {
    const CodeStyleNode style = StyleOf({{MarkValue(56000)}});
    EncoderState state = StepState(style);
    for (const int ticks : {0, -1, 257}) {
        state.unitTicks = ticks;
        EXPECT_EQ(EncodeSecondPartFourLevel(style, "0230", state), "") << ticks;
        EXPECT_EQ(EncodeSecondPartTwoLevel(style, "0230", state), "") << ticks;
    }
    state.unitTicks = 256;
    state.markMultiplier = 2;
    // A step of 512 ticks: 560 µs is 6.56 steps, rounded to 7.
    EXPECT_EQ(EncodeSecondPartFourLevel(style, "0230", state), "0101C6");
    state.unitTicks = 53;
    state.markMultiplier = 0;
    EXPECT_EQ(EncodeSecondPartFourLevel(style, "0230", state), "");
}

struct PackCase {
    const char* letters;
    std::string fourLevel;
    std::string twoLevel;
};

TEST(PackSymbols, Cases) {
    const std::vector<PackCase> cases = {
        {"uvwx", "531B", "43B0"},
        {"uvwxv", "541B", "44B8"},
        {"wu", "5180", ""},  // "w" weighs 2 in the first bit: 256
        {"", "4F00", "3F00"},
        {"vuuuuuuv", "5740", "4781"},
        {"v", "5040", "4080"},
        {"uuuuuuux", "5700", "4703"},   // an "x" in the last bit still fits two-level
        {"u?vx", "5307", ""},           // a non-letter counts 0 four-level and 10 two-level
        {"uuuuuuuuv", "5800", "4800"},  // the ninth letter is counted but not stored
        {"uuuuuuuuuuuuuuuu", "5F00", "4F00"},
        {"uuuuuuuuuuuuuuuuu", "", ""},
    };
    for (const PackCase& c : cases) {
        EXPECT_EQ(PackFourLevelSymbols(c.letters), c.fourLevel) << c.letters;
        EXPECT_EQ(PackTwoLevelSymbols(c.letters), c.twoLevel) << c.letters;
    }
}

}  // namespace
}  // namespace kv::encoder
