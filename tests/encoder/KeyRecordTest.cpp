#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "codestyle/TimingValue.h"
#include "encoder/FramePattern.h"
#include "encoder/KeyRecord.h"
#include "encoder/LearnedCodeEncoder.h"
#include "tests/encoder/CaseName.h"
#include "tests/encoder/NecStyle.h"

namespace kv::encoder {
namespace {

using codestyle::CodeStyleNode;
using codestyle::ElementValue;
using codestyle::MarkValue;
using codestyle::SpaceValue;
using codestyle::TimingKind;

// The time base every example here uses: 53 ticks a unit, a step of 63 units (3339 ticks).
constexpr int kUnitTicks = 53;
constexpr int kMultiplier = 63;

// A style of one symbol with one duration: its symbol table is "01" "01" and the duration byte.
std::optional<std::string> OneDurationSymbolTable(std::int64_t microseconds) {
    CodeStyleNode style;
    style.symbolCount = 1;
    style.symbolShapes[0].count = 1;
    SymbolTimingTable table;
    table.SetEntry(0, 0, microseconds);
    return BuildSymbolTable(style, table, kUnitTicks, kMultiplier, kMultiplier);
}

TEST(BuildSymbolTable, DurationBytesCarryLevelAndSteps) {
    const struct {
        std::int64_t microseconds;
        std::optional<std::string> table;
    } cases[] = {
        {560, "0101C0"},        // 1.006 steps
        {-560, "010180"},       //
        {-1690, "010182"},      // 3.04 steps
        {9000, "0101CF"},       // 16.17 steps
        {-4500, "010187"},      // 8.09 steps
        {35616, "0101FF"},      // 64 steps, the most a byte holds
        {-35616, "0101BF"},     //
        {36172, std::nullopt},  // 65 steps
        {0, std::nullopt},      // zero steps would read as the neighbouring range
        {200, std::nullopt},    // 0.36 steps round to zero
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OneDurationSymbolTable(c.microseconds), c.table) << c.microseconds;
    }
}

TEST(BuildSymbolTable, OffsetsPointAtEachSymbolsEntry) {
    CodeStyleNode style = testing::NecStyle();
    SymbolTimingTable table;
    FillSymbolTimingTable(style, table);
    EXPECT_EQ(BuildSymbolTable(style, table, kUnitTicks, kMultiplier, kMultiplier),
              "020502C08002C082");
    style.symbolCount = 0;
    EXPECT_EQ(BuildSymbolTable(style, table, kUnitTicks, kMultiplier, kMultiplier), "");
}

TEST(BuildSymbolTable, MissingEntryDoesNotFit) {
    CodeStyleNode style = testing::NecStyle();
    SymbolTimingTable table;  // never filled
    EXPECT_EQ(BuildSymbolTable(style, table, kUnitTicks, kMultiplier, kMultiplier), std::nullopt);
}

struct SequenceCase {
    const char* name;
    TimingKind kind;
    std::uint32_t layout;
    std::uint32_t amount;
    std::optional<std::string> entry;
};

class BuildSequenceTableTest : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(BuildSequenceTableTest, WritesOneEntryForTheSecondElement) {
    const SequenceCase& c = GetParam();
    CodeStyleNode style;
    style.sequenceLength = 2;
    style.sequence[0] = ElementValue(TimingKind::kGapElement, 0, 1);
    style.sequence[1] = ElementValue(c.kind, c.layout, c.amount);
    EXPECT_EQ(BuildSequenceTable(style, kUnitTicks), c.entry);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildSequenceTableTest,
    ::testing::Values(
        // 40 ms: 240000 ticks, 4528 units.
        SequenceCase{"Gap", TimingKind::kGapElement, 1, 4000, "B011C001"},
        SequenceCase{"Period", TimingKind::kPeriodElement, 1, 4000, "B0118001"},
        SequenceCase{"GapOutsideUnit", TimingKind::kGapElementOutsideUnit, 2, 4000, "B011C002"},
        SequenceCase{"LongestTime", TimingKind::kGapElement, 0, 57890, "FFFFC000"},
        // 65536 units do not fit the entry's 16 bits.
        SequenceCase{"TimeTooLong", TimingKind::kGapElement, 0, 57891, std::nullopt},
        // A space value where an element belongs is no time at all.
        SequenceCase{"NegativeElement", TimingKind::kSpaceMicroseconds, 0, 4000, std::nullopt}),
    testing::CaseName());

TEST(BuildSequenceTable, SkipsElementZeroAndAppendsTheTail) {
    CodeStyleNode style;
    style.sequenceLength = 1;
    style.sequence[0] = ElementValue(TimingKind::kGapElement, 0, 4000);
    EXPECT_EQ(BuildSequenceTable(style, kUnitTicks), "");
    style.tailCount = 1;
    style.tail[0] = ElementValue(TimingKind::kPeriodElement, 1, 4000);
    EXPECT_EQ(BuildSequenceTable(style, kUnitTicks), "B0118001");
    EXPECT_EQ(BuildSequenceTable(style, 0), std::nullopt);
}

// The NEC style with its working state set as the encoder sets it for the capture.
class KeyRecordTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FillSymbolTimingTable(style_, state_.symbolTable);
        state_.framePattern = BuildFramePattern(style_, state_.fieldTables);
        state_.unitTicks = kUnitTicks;
        state_.markMultiplier = kMultiplier;
        state_.spaceMultiplier = kMultiplier;
    }

    std::string Record() const { return BuildKeyRecord(style_, merged_, 0x1C, state_); }

    CodeStyleNode style_ = testing::NecStyle();
    EncoderState state_;
    const std::string merged_ = std::string("23281194") + "uuvuuuuuvvuvvvvvuuuvuuuuvvvuvvvv" +
                                "0230h006C" + "232808CA0230h006C" + "232808CA0230";
};

TEST_F(KeyRecordTest, HeaderFirstAndSecondPart) {
    EXPECT_EQ(Record(), testing::kNecRecordKey1C);
}

TEST_F(KeyRecordTest, FirstPartOfADocumentedStyle) {
    // Carrier 38000 Hz, byte A 1, divisor 3; two layouts, a period element of 108 ms for layout
    // 1; repeat 1; symbols 560/560 and 560/1690.
    const std::string record = Record();
    EXPECT_EQ(record.substr(0, 18), "00011CC70A00162000");
    EXPECT_EQ(record.substr(20, 44), "0E16340A3E3E00002210C22F8001020502C08002C082");
}

TEST_F(KeyRecordTest, WithoutCarrierTheCarrierByteIs80) {
    style_.noCarrier = 1;
    style_.carrierByteA = 200;
    EXPECT_EQ(Record().substr(26, 2), "80");
}

TEST_F(KeyRecordTest, OneElementNoTailGivesSymbolTableAtTen) {
    style_.sequenceLength = 1;
    style_.repeatCount = 0;
    const std::string record = Record();
    ASSERT_FALSE(record.empty());
    EXPECT_EQ(record.substr(20, 4), "0A12");  // offset 10, LL = 10 + 8
}

TEST_F(KeyRecordTest, OptionsGoToBytesSixAndSeven) {
    style_.optionHigh = 0xA;
    style_.optionLow = 0x5;
    style_.optionByte = 0x3C;
    EXPECT_EQ(Record().substr(32, 4), "A53C");
}

struct UnfitCase {
    const char* name;
    std::function<void(CodeStyleNode&, EncoderState&, int&)> spoil;
};

class KeyRecordUnfitTest : public KeyRecordTest, public ::testing::WithParamInterface<UnfitCase> {};

TEST_P(KeyRecordUnfitTest, GivesNoRecord) {
    int keyCode = 0x1C;
    GetParam().spoil(style_, state_, keyCode);
    EXPECT_EQ(BuildKeyRecord(style_, merged_, keyCode, state_), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyRecordUnfitTest,
    ::testing::Values(
        UnfitCase{"KeyCodeAboveByte", [](CodeStyleNode&, EncoderState&, int& key) { key = 256; }},
        UnfitCase{"NegativeKeyCode", [](CodeStyleNode&, EncoderState&, int& key) { key = -1; }},
        UnfitCase{"UnitTicksAbove256",
                  [](CodeStyleNode&, EncoderState& state, int&) { state.unitTicks = 257; }},
        UnfitCase{"UnitTicksZero",
                  [](CodeStyleNode&, EncoderState& state, int&) { state.unitTicks = 0; }},
        UnfitCase{"MultiplierAbove256",
                  [](CodeStyleNode&, EncoderState& state, int&) { state.markMultiplier = 300; }},
        UnfitCase{"CarrierByteAbove255",
                  [](CodeStyleNode& style, EncoderState&, int&) { style.carrierByteA = 40; }},
        UnfitCase{"OptionNibbleAbove15",
                  [](CodeStyleNode& style, EncoderState&, int&) { style.optionHigh = 16; }},
        UnfitCase{"SequenceTimeTooLong",
                  [](CodeStyleNode& style, EncoderState&, int&) {
                      style.sequence[1] = ElementValue(TimingKind::kPeriodElement, 1, 60000);
                  }},
        UnfitCase{"SymbolDurationOfZero", [](CodeStyleNode&, EncoderState& state,
                                             int&) { state.symbolTable.SetEntry(1, 1, 0); }},
        // A two-level style of one symbol writes no frame lists, and without a tail no fixed
        // one either: a record without frames would play nothing.
        UnfitCase{"SecondPartWithoutFrames",
                  [](CodeStyleNode& style, EncoderState&, int&) { style.symbolCount = 1; }}),
    testing::CaseName());

// Six layouts of 32 long marks, each written with an extension byte: a second part far above
// 255 bytes.
TEST(BuildKeyRecord, SecondPartAbove255BytesGivesNoRecord) {
    CodeStyleNode style = testing::NecStyle();
    style.layoutCount = 6;
    style.sequenceLength = 6;
    style.repeatCount = 0;
    for (std::uint32_t layout = 0; layout < 6; ++layout) {
        style.layouts[layout].count = 32;
        style.layouts[layout].values.fill(MarkValue(6500000));
        style.sequence[layout] = ElementValue(TimingKind::kGapElement, layout, 4000);
    }
    EncoderState state;
    FillSymbolTimingTable(style, state.symbolTable);
    state.framePattern = BuildFramePattern(style, state.fieldTables);
    state.unitTicks = kUnitTicks;
    state.markMultiplier = kMultiplier;
    state.spaceMultiplier = kMultiplier;
    ASSERT_FALSE(state.framePattern.empty());
    EXPECT_EQ(BuildKeyRecord(style, state.framePattern, 0x1C, state), "");
}

}  // namespace
}  // namespace kv::encoder
