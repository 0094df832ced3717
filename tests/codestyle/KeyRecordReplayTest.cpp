#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codestyle/KeyRecordReplay.h"
#include "codestyle/ReplayFidelity.h"

namespace kv::codestyle {
namespace {

// An NEC key record as the encoder writes it: unit 53 ticks, step 63 units (556.5 µs), symbols
// (+1, -1) and (+1, -3) steps, layout 0 = leader, 16 symbols, stop mark; layout 1 = the repeat
// frame, every 107.996 ms.
constexpr const char* kNecRecord =
    "0001 1C C7 0A00 16 20 00 0E"
    " 0E 16 34 0A 3E 3E 00 00 22 10 C2 2F 80 01 02 05 02 C0 80 02 C0 82"
    " 02 0A 05 CF 87 47 55 47 AA C0 03 CF 83 C0";

TEST(KeyRecordReplay, ReadsEveryFieldOfTheRecord) {
    std::string why;
    const auto record = ParseKeyRecord(kNecRecord, &why);
    ASSERT_TRUE(record.has_value()) << why;
    EXPECT_EQ(record->keyCode, 0x1C);
    EXPECT_EQ(record->unitTicks, 53);
    EXPECT_EQ(record->carrierByte, 0x0A);
    EXPECT_EQ(record->markMultiplier, 63);
    EXPECT_EQ(record->layoutCount, 2);
    EXPECT_EQ(record->sequenceLength, 2);
    EXPECT_EQ(record->repeatCount, 1);
    ASSERT_EQ(record->sequence.size(), 1u);
    EXPECT_TRUE(record->sequence[0].period);
    EXPECT_EQ(record->sequence[0].time, 0x2FC2);
    EXPECT_EQ(record->sequence[0].layout, 1);
    ASSERT_EQ(record->symbols.size(), 2u);
    EXPECT_EQ(record->symbols[1], (std::vector<std::int64_t>{1, -3}));
    ASSERT_EQ(record->lists.size(), 2u);
    ASSERT_EQ(record->lists[0].size(), 5u);
    EXPECT_EQ(record->lists[0][2].symbols, (std::vector<int>{0, 1, 0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(record->lists[0][3].symbols, (std::vector<int>{1, 0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(record->listOfLayout, (std::vector<int>{0, 1}));
}

TEST(KeyRecordReplay, SendsTheFramesWithTheirSymbolsAndPeriods) {
    const auto record = ParseKeyRecord(kNecRecord, nullptr);
    ASSERT_TRUE(record.has_value());
    const std::vector<std::int64_t> signal = ReplayKeyRecord(*record);
    // Leader 16 and 8 steps, 16 symbols of two durations, stop mark; then two repeat frames.
    ASSERT_EQ(signal.size(), 2u + 32 + 1 + (1 + 3) * 2);
    EXPECT_EQ(signal[0], 8904);
    EXPECT_EQ(signal[1], -4452);
    EXPECT_EQ(signal[2], 556);  // symbol 0: one step each way
    EXPECT_EQ(signal[3], -556);
    EXPECT_EQ(signal[5], -1670);  // symbol 1: three steps of space
    EXPECT_EQ(signal[34], 556);   // stop mark
    // The repeat frame starts one period (12226 units of 53/6 µs) after the first one.
    std::int64_t firstFrame = 0;
    for (std::size_t i = 0; i <= 34; ++i) {
        firstFrame += std::llabs(signal[i]);
    }
    // Each printed duration is rounded to whole µs, half a µs at most.
    EXPECT_NEAR(static_cast<double>(firstFrame - signal[35]), 12226 * 53 / 6.0, 36 * 0.5);
    EXPECT_EQ(signal[36], 8904);
    EXPECT_EQ(signal[37], -4452 / 2);
    EXPECT_EQ(FormatSignedDurations({9000, -4500, 560}), "+9000 -4500 +560");
}

struct BadRecord {
    const char* what;
    std::string text;
    const char* reason;
};

class KeyRecordReplayRefusal : public testing::TestWithParam<BadRecord> {};

TEST_P(KeyRecordReplayRefusal, GivesNoModelAndSaysWhy) {
    std::string why;
    EXPECT_FALSE(ParseKeyRecord(GetParam().text, &why).has_value());
    EXPECT_NE(why.find(GetParam().reason), std::string::npos) << why;
}

std::string Replaced(std::size_t byte, const char* hex) {
    std::string text;
    for (const char c : std::string(kNecRecord)) {
        if (c != ' ') {
            text += c;
        }
    }
    text.replace(2 * byte, 2, hex);
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Damaged, KeyRecordReplayRefusal,
    testing::Values(BadRecord{"not_hex", "0001 1C C7 0A00 XY", "hexadecimal"},
                    BadRecord{"half_byte", "0001 1C C7 0A00 1", "whole bytes"},
                    BadRecord{"empty", "", "header"},
                    BadRecord{"header", Replaced(3, "C8"), "header"},
                    BadRecord{"truncated", std::string(kNecRecord).substr(0, 60), "lengths"},
                    BadRecord{"first_part_length", Replaced(11, "17"), "first part"},
                    BadRecord{"sequence_count", Replaced(18, "23"), "sequence table"},
                    BadRecord{"layout", Replaced(23, "05"), "layout"},
                    BadRecord{"symbol_byte", Replaced(27, "40"), "non-duration"},
                    BadRecord{"item_byte", Replaced(36, "20"), "unknown item"},
                    BadRecord{"list_offset", Replaced(32, "01"), "offset"}),
    [](const testing::TestParamInfo<BadRecord>& param) { return param.param.what; });

struct FidelityCase {
    const char* what;
    std::vector<std::int64_t> captured;
    std::vector<std::int64_t> replayed;
    bool faithful;
};

class ReplayFidelity : public testing::TestWithParam<FidelityCase> {};

TEST_P(ReplayFidelity, AcceptsWhatAReceiverWouldTakeForTheCapture) {
    const std::string difference = CompareFirstFrame(GetParam().captured, GetParam().replayed);
    EXPECT_EQ(difference.empty(), GetParam().faithful) << difference;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplayFidelity,
    testing::Values(
        FidelityCase{"equal", {9000, 4500, 560}, {9000, -4500, 560}, true},
        FidelityCase{"quarter_off", {1000, 4500, 560}, {1250, -4500, 560}, true},
        FidelityCase{"beyond_a_quarter", {1000, 4500, 560}, {1251, -4500, 560}, false},
        FidelityCase{"short_durations_have_100us", {300, 200, 300}, {400, -100, 300}, true},
        FidelityCase{"beyond_100us", {300, 200, 300}, {401, -200, 300}, false},
        FidelityCase{"count", {9000, 4500, 560}, {9000, -4500, 560, -560, 560}, false},
        FidelityCase{"leading_space_unseen", {889, 889, 889}, {-889, 889, -889, 889}, true},
        FidelityCase{
            "later_frames_ignored", {560, 20000, 560}, {560, -20000, 900, -560, 900}, true},
        FidelityCase{"gap_within_tenth", {560, 40000, 560}, {560, -43999, 560}, true},
        FidelityCase{"gap_beyond_tenth", {560, 40000, 560}, {560, -44001, 560}, false},
        FidelityCase{"single_frame_capture", {560}, {560, -40000, 560}, true}),
    [](const testing::TestParamInfo<FidelityCase>& param) { return param.param.what; });

TEST(ReplayFidelity, SplitsFramesAtSpacesTheCaptureTakesForGaps) {
    const std::vector<std::int64_t> signal{560, 10921, 560, 10922, 560};
    const std::vector<SignalFrame> frames = SplitSignalFrames(signal);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].durationsUs, (std::vector<std::int64_t>{560, 10921, 560}));
    EXPECT_EQ(frames[0].gapAfterUs, 10922);
    EXPECT_EQ(frames[1].gapAfterUs, 0);
}

}  // namespace
}  // namespace kv::codestyle
