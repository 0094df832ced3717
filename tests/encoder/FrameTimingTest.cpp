#include <gtest/gtest.h>

#include <string>

#include "encoder/FrameHead.h"
#include "encoder/FrameTiming.h"
#include "tests/encoder/CaseName.h"

namespace kv::encoder {
namespace {

struct TimingCase {
    const char* name;
    const char* marker;
    const char* frame;
    bool ok;
};

class CheckFrameTimingTest : public ::testing::TestWithParam<TimingCase> {};

TEST_P(CheckFrameTimingTest, ComparesWithTheMarker) {
    const TimingCase& c = GetParam();
    EXPECT_EQ(CheckFrameTiming(c.marker, c.frame), c.ok);
}

// 9000 + 4500 + 560 µs and a 96 ms gap: 110060 µs in all.
constexpr const char* kNecFrame = "232811940230FEFE0060EDED";

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckFrameTimingTest,
    ::testing::Values(TimingCase{"PeriodWithin", "h006C", kNecFrame, true},
                      TimingCase{"GapWithin", "t0060", kNecFrame, true},
                      TimingCase{"GapTooLong", "t0057", kNecFrame, false},
                      TimingCase{"OtherLetter", "x006C", kNecFrame, false},
                      TimingCase{"UpperCaseLetter", "H006C", kNecFrame, false},
                      // A bare terminator counts as its value, 60909 µs: 74969 µs against 75 ms.
                      TimingCase{"BareTerminatorAdded", "h004B", "232811940230EDED", true},
                      TimingCase{"BareTerminatorTooLong", "h0040", "232811940230EDED", false},
                      // 90 ms against 100 ms is on the bound and outside; one µs more is inside.
                      TimingCase{"PeriodOnLowerBound", "h0064", "FEFE005AEDED", false},
                      TimingCase{"PeriodJustInside", "h0064", "0001FEFE005AEDED", true},
                      TimingCase{"PeriodOnUpperBound", "h0064", "FEFE006EEDED", false},
                      TimingCase{"GapOnLowerBound", "t0064", "0230FEFE005AEDED", false},
                      TimingCase{"GapJustInside", "t0064", "0230FEFE005BEDED", true},
                      TimingCase{"GapJustBelowUpperBound", "t0064", "0230FEFE006DEDED", true},
                      TimingCase{"GapOnUpperBound", "t0064", "0230FEFE006EEDED", false},
                      // Without a gap group the gap is read from the 4th to the 7th character.
                      TimingCase{"GapWithoutGapGroup", "t0060", "ABC0060EDED", true},
                      TimingCase{"GapWithoutGapGroupTooShort", "t0060", "ABC", false},
                      TimingCase{"MarkerWithoutValue", "h", kNecFrame, false},
                      TimingCase{"EmptyMarker", "", kNecFrame, false},
                      TimingCase{"MarkerNotHex", "h00G0", kNecFrame, false},
                      TimingCase{"FrameNotHex", "h006C", "23G811940230FEFE0060EDED", false},
                      TimingCase{"GapValueMissing", "h006C", "23281194FEFE", false},
                      TimingCase{"GapValueMissingForT", "t0060", "23281194FEFE00", false},
                      TimingCase{"WholeGroupsOnly", "h0001", "03E8", true},
                      TimingCase{"FrameCutInsideGroup", "h0001", "03E80", false}),
    kv::encoder::testing::CaseName());

struct HeadCase {
    const char* name;
    const char* frame;
    const char* head;
    const char* rest;
};

class StripFrameHeadTest : public ::testing::TestWithParam<HeadCase> {};

TEST_P(StripFrameHeadTest, RemovesTheHead) {
    const HeadCase& c = GetParam();
    EXPECT_EQ(StripFrameHead(c.frame, c.head), c.rest);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StripFrameHeadTest,
    ::testing::Values(
        HeadCase{"WholeHeadRemoved", "230011000230EDED", "23281194", "0230EDED"},
        // 720 against 560: too long, the last head token, so its surplus of 160 stays.
        HeadCase{"SurplusOfLastTokenKept", "02D00230EDED", "0230", "00A00230EDED"},
        HeadCase{"EarlierTokenMisses", "030001180230EDED", "02300118", ""},
        // 1.2 × 25 comes out just above 30 in extended precision: 30 is inside.
        HeadCase{"ExactUpperProductInside", "001E0230EDED", "0019", "0230EDED"},
        HeadCase{"ExactLowerProductOutside", "00140230EDED", "0019", ""},
        HeadCase{"WithinWithoutSurplus", "02800230EDED", "0230", "0230EDED"},
        HeadCase{"EmptyHeadKeepsFrame", "0230EDED", "", "0230EDED"},
        HeadCase{"EmptyHeadEmptyFrame", "", "", ""},
        HeadCase{"IncompleteHeadTokenIgnored", "02300118EDED", "0230X", "0118EDED"},
        HeadCase{"FrameRunsOut", "2328", "23281194", ""},
        HeadCase{"FrameGroupCutShort", "232811", "23281194", ""},
        HeadCase{"HeadNotHex", "23281194EDED", "ZZZZ", ""},
        HeadCase{"FrameNotHex", "2328ZZZZEDED", "23281194", ""}),
    kv::encoder::testing::CaseName());

}  // namespace
}  // namespace kv::encoder
