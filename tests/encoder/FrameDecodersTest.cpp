#include <gtest/gtest.h>

#include <string>

#include "encoder/DurationWindow.h"
#include "encoder/FrameDecoders.h"
#include "tests/encoder/CaseName.h"
#include "tests/encoder/SymbolTables.h"

namespace kv::encoder {
namespace {

using testing::MakeSymbolTable;
using testing::WriteSymbols;

using Decoder = std::string (*)(std::string_view, const SymbolTimingTable&);

struct WindowCase {
    std::int64_t magnitude;
    ToleranceFactors factors;
    std::int64_t lo;
    std::int64_t hi;
};

TEST(WindowFor, FollowsExtendedPrecisionProducts) {
    const WindowCase cases[] = {
        // The stored 0.65 lies below 0.65: these three round down where decimals round up.
        {190, kNarrowTolerance, 123, 256},  {350, kNarrowTolerance, 227, 472},
        {390, kNarrowTolerance, 253, 526},  {560, kNarrowTolerance, 364, 756},
        {560, kWideTolerance, 336, 784},    {599, kWideTolerance, 359, 839},
        {600, kNarrowTolerance, 400, 800},  {600, kWideTolerance, 400, 800},
        {9000, kWideTolerance, 8800, 9200}, {0, kWideTolerance, 0, 0},
    };
    for (const auto& c : cases) {
        const DurationWindow window = WindowFor(c.magnitude, c.factors);
        EXPECT_EQ(window.lo, c.lo) << c.magnitude;
        EXPECT_EQ(window.hi, c.hi) << c.magnitude;
    }
}

TEST(LevelAgrees, ZeroPassesForEitherLevelAndNegativeCountersAreOddByMagnitude) {
    EXPECT_TRUE(LevelAgrees(560, 0));
    EXPECT_FALSE(LevelAgrees(-560, 0));
    EXPECT_TRUE(LevelAgrees(-560, 1));
    EXPECT_FALSE(LevelAgrees(560, 1));
    EXPECT_TRUE(LevelAgrees(-560, -1));
    EXPECT_TRUE(LevelAgrees(560, -2));
    EXPECT_TRUE(LevelAgrees(0, 0));
    EXPECT_TRUE(LevelAgrees(0, 1));
}

struct DecodeCase {
    const char* name;
    Decoder decoder;
    std::vector<std::vector<std::int64_t>> symbols;
    const char* frameRest;
    const char* decoded;
};

class FrameDecoderTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(FrameDecoderTest, Decodes) {
    const DecodeCase& c = GetParam();
    EXPECT_EQ(c.decoder(c.frameRest, MakeSymbolTable(c.symbols)), c.decoded);
}

const std::vector<std::vector<std::int64_t>> kPulseDistance = {{560, -560}, {560, -1690}};
const std::vector<std::vector<std::int64_t>> kBiphase = {{889, -889}, {-889, 889}};
const std::vector<std::vector<std::int64_t>> kSpaceLed = {{-560, 560}, {-1690, 560}};

constexpr const char* kNecLikeRest = "0226023002300690023A022B0226069A0226FEFE0027EDED";
constexpr const char* kBiphaseRest = "0379037906F20379037906F20379FEFE0059EDED";

INSTANTIATE_TEST_SUITE_P(
    DocumentedFrames, FrameDecoderTest,
    ::testing::Values(
        // The last symbol, cut short by the gap, writes the table's 560, not the captured 550.
        DecodeCase{"MarkFirstCutShortByGap", DecodeFrameMarkFirst, kPulseDistance, kNecLikeRest,
                   "uvuv0230h0027"},
        DecodeCase{"SpaceFirstOffByOne", DecodeFrameSpaceFirst, kPulseDistance, kNecLikeRest,
                   "0226u0690023Au069A0226h0027"},
        DecodeCase{"SplitMarkFirstSplitsLongSpaces", DecodeSplitFrameMarkFirst, kPulseDistance,
                   kNecLikeRest, "uu0460uu046Auh0027"},
        // 2500 starts no symbol; the mark after it then meets a space due and is copied too.
        DecodeCase{"MarkFirstCopiesUnknownDuration", DecodeFrameMarkFirst, kPulseDistance,
                   "0226023009C40230FEFE0027EDED", "u09C40230h0027"},
        DecodeCase{"MarkFirstBareTerminator", DecodeFrameMarkFirst, kPulseDistance,
                   "022602300230069AEDED", "uv"},
        // Each 1778 is split into two halves of 889.
        DecodeCase{"SplitSpaceFirstBiphase", DecodeSplitFrameSpaceFirst, kBiphase, kBiphaseRest,
                   "vvuuvh0059"},
        DecodeCase{"MarkFirstBiphase", DecodeFrameMarkFirst, kBiphase, kBiphaseRest,
                   "u06F2v06F20379h0059"},
        // After a space the gap group is read as the symbol's last mark and split.
        DecodeCase{"SplitSpaceFirstSplitsGapGroup", DecodeSplitFrameSpaceFirst, kSpaceLed,
                   "02300230FEFE0027EDED", "uuFCCE0027"},
        DecodeCase{"SpaceFirstGapGroup", DecodeFrameSpaceFirst, kSpaceLed, "02300230FEFE0027EDED",
                   "uh0027"},
        DecodeCase{
            "MarkFirstNarrowLowBound", DecodeFrameMarkFirst, {{190, -190}}, "007C00BEEDED", "u"},
        DecodeCase{"MarkFirstBelowNarrowLowBound",
                   DecodeFrameMarkFirst,
                   {{190, -190}},
                   "007B00BEEDED",
                   "007B00BE"}),
    kv::encoder::testing::CaseName());

INSTANTIATE_TEST_SUITE_P(
    Degenerate, FrameDecoderTest,
    ::testing::Values(
        DecodeCase{"ShortRestMarkFirst", DecodeFrameMarkFirst, kPulseDistance, "023", ""},
        DecodeCase{"ShortRestSpaceFirst", DecodeFrameSpaceFirst, kPulseDistance, "EDE", ""},
        DecodeCase{"ShortRestSplitSpaceFirst", DecodeSplitFrameSpaceFirst, kPulseDistance, "023",
                   ""},
        DecodeCase{"ShortRestSplitMarkFirst", DecodeSplitFrameMarkFirst, kPulseDistance, "", ""},
        DecodeCase{"NoSymbolsMarkFirst", DecodeFrameMarkFirst, {}, kNecLikeRest, ""},
        DecodeCase{"NoSymbolsSplitSpaceFirst", DecodeSplitFrameSpaceFirst, {}, kNecLikeRest, ""},
        DecodeCase{"NoDurationsSpaceFirst", DecodeFrameSpaceFirst, {{}}, kNecLikeRest, ""},
        DecodeCase{"NoDurationsSplitMarkFirst", DecodeSplitFrameMarkFirst, {{}}, kNecLikeRest, ""},
        // A group that is not hexadecimal fits nothing and is copied like an unknown duration.
        DecodeCase{"NotHexCopiedMarkFirst", DecodeFrameMarkFirst, kPulseDistance,
                   "0226ZZZZ0230EDED", "0226ZZZZ0230"},
        DecodeCase{"NotHexCopiedSplitMarkFirst", DecodeSplitFrameMarkFirst, kPulseDistance,
                   "0226ZZZZ0230EDED", "0226ZZZZ0230"},
        // Without a terminator the last symbol runs out of text; the plain decoders stop there.
        DecodeCase{"RunsOutMarkFirst", DecodeFrameMarkFirst, kPulseDistance, "022602300226", "u"},
        // A last duration of 0 splits nothing off; after a fitted mark the scan still moves on.
        DecodeCase{"ZeroLastDurationAfterFitMovesOn",
                   DecodeSplitFrameMarkFirst,
                   {{560, 0}},
                   "02300400EDED",
                   "u0400"},
        // A symbol of the single duration 0 would split a duration into itself for ever: the
        // second step that leaves the rest as it was ends the scan.
        DecodeCase{
            "ZeroOnlyDurationSplitMarkFirst", DecodeSplitFrameMarkFirst, {{0}}, "0400EDED", "uu"},
        // Here the first idle step is the assumed leading space, which moves the counter on.
        DecodeCase{
            "ZeroOnlyDurationSplitSpaceFirst", DecodeSplitFrameSpaceFirst, {{0}}, "0400EDED", "u"},
        // The terminator fits 60909 as a mark, then the symbol's fourth duration finds no text:
        // the next step would repeat the same attempt, so the scan ends.
        DecodeCase{"AttemptUsesTextUpSplitMarkFirst",
                   DecodeSplitFrameMarkFirst,
                   {{560, -560, 60909, 560}, {560, -560, 560, -560}},
                   "02300230EDED",
                   ""},
        // The plain decoder looks for the terminator behind the space and ends the symbol there.
        DecodeCase{"TerminatorBehindSpaceMarkFirst",
                   DecodeFrameMarkFirst,
                   {{560, -560, 60909, 560}, {560, -560, 560, -560}},
                   "02300230EDED",
                   "0230"}),
    kv::encoder::testing::CaseName());

// A gap group or terminator inside the rest ends one frame; the symbols after it are tried from
// the group behind it, with the counter as the frame end left it, in every decoder.
INSTANTIATE_TEST_SUITE_P(
    FrameEndInsideRest, FrameDecoderTest,
    ::testing::Values(
        DecodeCase{"TerminatorMarkFirst", DecodeFrameMarkFirst, kPulseDistance, "EDED02300230EDED",
                   "u"},
        DecodeCase{"TerminatorSplitMarkFirst", DecodeSplitFrameMarkFirst, kPulseDistance,
                   "EDED02300230EDED", "u"},
        // 1690 against the 560 of symbol 0's space: split, 1130 (046A) left in front.
        DecodeCase{"GapGroupSplitMarkFirst", DecodeSplitFrameMarkFirst, kPulseDistance,
                   "02300230FEFE0027EDED0230069AEDED", "uh0027u046A"},
        // The leading space is taken as present, 1680 is split into 560 and 1120 (0460); later
        // the terminator, read as the last mark after a space, is split into 560 and 60349.
        DecodeCase{"TerminatorSplitSpaceFirst", DecodeSplitFrameSpaceFirst, kSpaceLed,
                   "EDED06900230EDED", "u0460uEBBD"}),
    kv::encoder::testing::CaseName());

// A last duration of 1 µs splits each group again and again, one letter per step: 60908 steps
// for EDEC alone. The splitting decoders stop at 16384 characters, beyond any frame of a pattern.
TEST(SplitFrameDecoders, StopAtTheLengthNoPatternFrameReaches) {
    const SymbolTimingTable table = MakeSymbolTable({{1}});
    std::string rest;
    for (int i = 0; i < 40; ++i) {
        rest += "EDEC";
    }
    rest += "EDED";
    for (const Decoder decoder : {DecodeSplitFrameMarkFirst, DecodeSplitFrameSpaceFirst}) {
        const std::string decoded = decoder(rest, table);
        EXPECT_EQ(decoded.size(), 16384U);
        EXPECT_EQ(decoded.find_first_not_of('u'), std::string::npos);
    }
}

// The encoder keeps the table across styles: an entry that the current style does not write
// holds what an earlier style left there, and the decoders read it.
class KeptSymbolTableTest : public ::testing::Test {
  protected:
    // Symbol 0 has one duration, symbol 1 two: D = 2 reaches the unwritten e(0, 1).
    const std::vector<std::vector<std::int64_t>> shortFirstSymbol_ = {{560}, {560, -1690}};
    static constexpr const char* kRest = "02300230EDED";
};

TEST_F(KeptSymbolTableTest, NeverWrittenEntryFitsNothing) {
    const SymbolTimingTable table = MakeSymbolTable(shortFirstSymbol_);
    EXPECT_EQ(table.EntryText(0, 1), "");
    EXPECT_EQ(DecodeFrameMarkFirst(kRest, table), "02300230");
    // The splitting decoder tries symbol 1 where symbol 0's attempt stopped: at the second mark.
    EXPECT_EQ(DecodeSplitFrameMarkFirst(kRest, table), "v");
}

TEST_F(KeptSymbolTableTest, EntryLeftByAnEarlierStyleIsRead) {
    SymbolTimingTable table;
    WriteSymbols(table, kPulseDistance);
    WriteSymbols(table, shortFirstSymbol_);
    EXPECT_EQ(table.EntryText(0, 1), "-560");
    EXPECT_EQ(DecodeFrameMarkFirst(kRest, table), "u");
    EXPECT_EQ(DecodeSplitFrameMarkFirst(kRest, table), "u");
}

TEST(SymbolTimingTable, ClampsCountsAndIgnoresPositionsOutside) {
    SymbolTimingTable table;
    table.symbolCount = 200;
    table.durationsPerSymbol = -3;
    EXPECT_EQ(table.ClampedSymbolCount(), 4);
    EXPECT_EQ(table.ClampedDurationCount(), 0);
    table.SetEntry(4, 0, 560);
    table.SetEntry(0, 6, 560);
    table.SetEntry(-1, 0, 560);
    EXPECT_FALSE(table.EntryValue(4, 0).has_value());
    EXPECT_EQ(table.EntryText(0, 6), "");
    table.SetEntry(3, 5, -1690);
    EXPECT_EQ(table.EntryText(3, 5), "-1690");
    EXPECT_EQ(table.EntryValue(3, 5), -1690);
}

}  // namespace
}  // namespace kv::encoder
