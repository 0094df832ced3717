#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "encoder/FramePattern.h"
#include "tests/support/ExampleStyles.h"

namespace kv::encoder {
namespace {

using codestyle::CodeStyleNode;
using codestyle::ElementValue;
using codestyle::FieldValue;
using codestyle::MakeTimingValue;
using codestyle::MarkValue;
using codestyle::SpaceValue;
using codestyle::SymbolGroupValue;
using codestyle::TimingKind;
using testsupport::SetLayout;
using testsupport::SetSequence;

using Tables = std::array<std::array<int, 4>, 2>;

struct PatternCase {
    const char* name;
    std::function<void(CodeStyleNode&)> change;
    std::string pattern;
    Tables tables;  // first, second

    friend void PrintTo(const PatternCase& c, std::ostream* out) { *out << c.name; }
};

class FramePattern : public ::testing::TestWithParam<PatternCase> {};

TEST_P(FramePattern, BuildsPatternAndFieldTables) {
    const PatternCase& c = GetParam();
    CodeStyleNode style = testsupport::NecLikeStyle();
    c.change(style);
    // Stale widths from an earlier style must not survive the build.
    FieldTables tables;
    tables.first = {9, 9, 9, 9};
    tables.second = {9, 9, 9, 9};
    EXPECT_EQ(BuildFramePattern(style, tables), c.pattern);
    EXPECT_EQ(tables.first, c.tables[0]);
    EXPECT_EQ(tables.second, c.tables[1]);
}

const std::string kNecFrame = "23281194uuuuuuuuuuuuuuuu0230";
const std::string kNecRepeat = "t0028232808CA0230";
constexpr Tables kNecTables = {{{0, 0, 0, 0}, {8, 0, 0, 0}}};
constexpr Tables kNoTables = {};

void Unchanged(CodeStyleNode&) {}

// Layout 0 of a style reduced to one frame with the given values, no repeat.
std::function<void(CodeStyleNode&)> OneFrame(std::vector<codestyle::TimingValue> values,
                                             int placeholderWidth = 0) {
    return [values, placeholderWidth](CodeStyleNode& style) {
        style.layoutCount = 1;
        SetLayout(style, 0, values);
        SetSequence(style, {ElementValue(TimingKind::kGapElement, 0, 0)});
        style.repeatCount = 0;
        style.placeholderWidth = static_cast<std::uint8_t>(placeholderWidth);
    };
}

const auto kDefineFirst2 = FieldValue(TimingKind::kFirstTableDefinition, 2, 5);
const auto kReferFirst2 = FieldValue(TimingKind::kFirstTableReference, 2, 2);
const auto kPlaceholder = MakeTimingValue(TimingKind::kPlaceholder, 0);

INSTANTIATE_TEST_SUITE_P(
    Styles, FramePattern,
    ::testing::Values(
        PatternCase{"nec_with_repeat", Unchanged, kNecFrame + kNecRepeat + kNecRepeat, kNecTables},
        PatternCase{"nec_without_repeat", [](CodeStyleNode& s) { s.repeatCount = 0; },
                    kNecFrame + kNecRepeat, kNecTables},
        PatternCase{"single_frame_has_no_marker",
                    [](CodeStyleNode& s) {
                        s.sequenceLength = 1;
                        s.repeatCount = 0;
                    },
                    kNecFrame, kNecTables},
        PatternCase{"period_element",
                    [](CodeStyleNode& s) {
                        s.sequence[1] = ElementValue(TimingKind::kPeriodElement, 1, 10800);
                        s.repeatCount = 0;
                    },
                    kNecFrame + "h006C232808CA0230", kNecTables},
        // Element 0 comes round again when every element repeats.
        PatternCase{"repeat_whole_sequence",
                    [](CodeStyleNode& s) {
                        s.sequence[0] = ElementValue(TimingKind::kPeriodElement, 0, 10800);
                        s.repeatCount = 2;
                    },
                    kNecFrame + kNecRepeat + "h006C" + kNecFrame + kNecRepeat, kNecTables},
        // A layout from layoutCount to 5 sends an empty frame.
        PatternCase{"unbuilt_layout",
                    [](CodeStyleNode& s) {
                        s.sequence[1] = ElementValue(TimingKind::kGapElement, 5, 4000);
                        s.repeatCount = 0;
                    },
                    kNecFrame + "t0028", kNecTables},
        PatternCase{"placeholder_width_1", OneFrame({MarkValue(56000), kPlaceholder}, 1), "0230u",
                    kNoTables},
        PatternCase{"placeholder_width_3", OneFrame({MarkValue(56000), kPlaceholder}, 3), "0230uu",
                    kNoTables},
        PatternCase{"placeholder_width_0", OneFrame({MarkValue(56000), kPlaceholder}, 0), "0230",
                    kNoTables},
        PatternCase{"placeholder_width_5", OneFrame({MarkValue(56000), kPlaceholder}, 5), "0230",
                    kNoTables},
        PatternCase{"symbol_group_counts_top_byte", OneFrame({SymbolGroupValue(3, 0xFFFF)}), "uuu",
                    kNoTables},
        PatternCase{"first_table_definition_and_reference",
                    OneFrame({kReferFirst2, kDefineFirst2, MarkValue(56000), kReferFirst2}),
                    "uuuuu0230uuuuu",
                    {{{0, 0, 5, 0}, {0, 0, 0, 0}}}},
        PatternCase{"reference_sees_earlier_layout",
                    [](CodeStyleNode& s) {
                        SetLayout(s, 0, {MarkValue(900000), kDefineFirst2});
                        SetLayout(s, 1, {kReferFirst2, MarkValue(56000)});
                        s.repeatCount = 0;
                    },
                    "2328uuuuut0028uuuuu0230",
                    {{{0, 0, 5, 0}, {0, 0, 0, 0}}}},
        // Kinds without a test of their own fall to the second table and read slot 0.
        PatternCase{"empty_kind_reads_second_slot_0",
                    OneFrame({FieldValue(TimingKind::kSecondTableDefinition, 0, 3),
                              MakeTimingValue(TimingKind::kNoneAfterSpaces, 0x123),
                              MakeTimingValue(static_cast<TimingKind>(0x80), 7)}),
                    "uuuuuuuuu",
                    {{{0, 0, 0, 0}, {3, 0, 0, 0}}}},
        PatternCase{"durations_drop_sign_and_fractions",
                    OneFrame({SpaceValue(56099), MarkValue(6553599)}), "0230FFFF", kNoTables},
        // What would break the token grammar or reach outside the tables gives no pattern.
        PatternCase{"duration_of_65536_us", OneFrame({MarkValue(6553600)}), "", kNoTables},
        PatternCase{"mark_of_70000_us",
                    OneFrame({MakeTimingValue(TimingKind::kMarkMilliseconds, 7000)}), "",
                    kNoTables},
        PatternCase{"definition_slot_4",
                    OneFrame({FieldValue(TimingKind::kSecondTableDefinition, 4, 1)}), "",
                    kNoTables},
        PatternCase{"reference_slot_4",
                    OneFrame({FieldValue(TimingKind::kFirstTableReference, 4, 0)}), "", kNoTables},
        PatternCase{"element_kind_inside_a_layout",
                    OneFrame({ElementValue(TimingKind::kGapElement, 0, 4000)}), "", kNoTables},
        PatternCase{"layout_index_6",
                    [](CodeStyleNode&
                           s) { s.sequence[1] = ElementValue(TimingKind::kGapElement, 6, 4000); },
                    "", kNoTables},
        PatternCase{"space_as_sequence_element",
                    [](CodeStyleNode& s) { s.sequence[1] = SpaceValue(5000000); }, "", kNoTables},
        PatternCase{"repeat_beyond_sequence", [](CodeStyleNode& s) { s.repeatCount = 3; }, "",
                    kNoTables},
        PatternCase{"layout_count_beyond_limit", [](CodeStyleNode& s) { s.layoutCount = 7; }, "",
                    kNoTables}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(PlaceholderLetterCount, MatchesThePatternForEveryWidth) {
    const std::array<int, 7> expected = {0, 1, 2, 2, 2, 0, 0};
    for (int width = 0; width < 7; ++width) {
        EXPECT_EQ(PlaceholderLetterCount(width), expected[static_cast<std::size_t>(width)])
            << width;
    }
    EXPECT_EQ(PlaceholderLetterCount(255), 0);
}

}  // namespace
}  // namespace kv::encoder
