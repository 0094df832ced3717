#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "codestyle/CodeStyleLibraryWriter.h"
#include "codestyle/TimingValue.h"
#include "encoder/CaptureScan.h"
#include "encoder/FramePattern.h"
#include "encoder/LearnedCodeEncoder.h"
#include "tests/encoder/CaseName.h"
#include "tests/encoder/NecStyle.h"

namespace kv::encoder {
namespace {

using codestyle::ArrCodeStyleNode;
using codestyle::CodeStyleNode;
using codestyle::ElementValue;
using codestyle::TimingKind;
using testing::NecCaptureBody;
using testing::NecStyle;

constexpr int kKey = 0x1C;

// A program folder of its own for each test, holding the library the test writes.
class LearnedCodeEncoderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("kv-encoder-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void WriteLibrary(const ArrCodeStyleNode& library) {
        ASSERT_TRUE(codestyle::WriteCodeStyleLibrary(LibraryFile().string(), library));
    }
    std::filesystem::path LibraryFile() const { return folder_ / kCodeStyleLibraryFileName; }

    std::string Encode(const std::string& body) {
        return EncodeLearnedCode(body, kKey, folder_, state_);
    }

    std::filesystem::path folder_;
    EncoderState state_;
};

TEST_F(LearnedCodeEncoderTest, NecCaptureEncodesToTheHandCheckedRecord) {
    WriteLibrary({NecStyle()});
    EXPECT_EQ(Encode(NecCaptureBody()), testing::kNecRecordKey1C);
    EXPECT_EQ(state_.unitTicks, 53);
    EXPECT_EQ(state_.markMultiplier, 63);
}

TEST_F(LearnedCodeEncoderTest, LibraryGivenAsFileOrFolder) {
    WriteLibrary({NecStyle()});
    EXPECT_EQ(EncodeLearnedCode(NecCaptureBody(), kKey, LibraryFile(), state_),
              testing::kNecRecordKey1C);
}

// A quick tap leaves one frame, ended by the gap group the conversion makes up. Its 20 ms say
// nothing about the 108 ms period, so the frame is not refused for them.
TEST_F(LearnedCodeEncoderTest, SingleFrameCaptureIsNotRefusedForItsMadeUpGap) {
    WriteLibrary({NecStyle()});
    EXPECT_EQ(Encode(testing::NecSingleFrameBody()), testing::kNecRecordKey1C);
}

TEST_F(LearnedCodeEncoderTest, RealGapThatMissesThePeriodRefusesTheStyle) {
    WriteLibrary({NecStyle()});
    // 96 ms after the data frame make its period 164 ms.
    EXPECT_EQ(Encode(testing::NecDataFrame() + "FEFE0060EDED" + testing::kNecRepeatFrame + "EDED"),
              "");
    // The made-up gap counts only at the end of the capture.
    EXPECT_EQ(Encode(testing::NecDataFrame() + "FEFE0014EDED" + testing::kNecRepeatFrame + "EDED"),
              "");
}

TEST_F(LearnedCodeEncoderTest, MissingOrForeignLibraryGivesNothing) {
    EXPECT_EQ(Encode(NecCaptureBody()), "");
    std::filesystem::create_directories(LibraryFile());  // a folder where the file belongs
    EXPECT_EQ(Encode(NecCaptureBody()), "");
}

TEST_F(LearnedCodeEncoderTest, LibraryWithoutStylesGivesNothing) {
    WriteLibrary({});
    EXPECT_EQ(Encode(NecCaptureBody()), "");
}

TEST_F(LearnedCodeEncoderTest, KeyCodeOutsideAByteGivesNothing) {
    WriteLibrary({NecStyle()});
    EXPECT_EQ(EncodeLearnedCode(NecCaptureBody(), 256, folder_, state_), "");
    EXPECT_EQ(EncodeLearnedCode(NecCaptureBody(), -1, folder_, state_), "");
}

TEST_F(LearnedCodeEncoderTest, FirstFittingStyleInFileOrderWins) {
    CodeStyleNode first = NecStyle();
    first.optionByte = 0x55;
    WriteLibrary({first, NecStyle()});
    EXPECT_EQ(Encode(NecCaptureBody()).substr(34, 2), "55");
}

TEST_F(LearnedCodeEncoderTest, StyleThatDoesNotFitIsPassedOver) {
    CodeStyleNode other = NecStyle();
    other.symbolShapes[1].values[1] = codestyle::SpaceValue(300000);  // ones of 3 ms
    WriteLibrary({other, NecStyle()});
    EXPECT_EQ(Encode(NecCaptureBody()), testing::kNecRecordKey1C);
}

TEST_F(LearnedCodeEncoderTest, PatternWithoutTimingMarkerNeverFits) {
    CodeStyleNode style = NecStyle();
    style.sequenceLength = 1;
    style.repeatCount = 0;
    WriteLibrary({style});
    EXPECT_EQ(Encode(NecCaptureBody()), "");
}

// A style the capture fits but whose record would not fit its fields is treated as a style that
// does not fit: the next one is encoded, and alone it gives nothing.
struct UnfitStyleCase {
    const char* name;
    std::function<void(CodeStyleNode&)> spoil;
};

class UnfitStyleTest : public LearnedCodeEncoderTest,
                       public ::testing::WithParamInterface<UnfitStyleCase> {};

TEST_P(UnfitStyleTest, NextStyleIsTried) {
    CodeStyleNode spoilt = NecStyle();
    GetParam().spoil(spoilt);
    WriteLibrary({spoilt});
    EXPECT_EQ(Encode(NecCaptureBody()), "");
    WriteLibrary({spoilt, NecStyle()});
    EXPECT_EQ(Encode(NecCaptureBody()), testing::kNecRecordKey1C);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnfitStyleTest,
    ::testing::Values(
        UnfitStyleCase{"CarrierByteAbove255", [](CodeStyleNode& s) { s.carrierByteA = 40; }},
        // 1 kHz with one sub-period: a unit of 6000 ticks.
        UnfitStyleCase{"UnitTicksAbove256",
                       [](CodeStyleNode& s) {
                           s.carrierFrequency = 1000;
                           s.carrierDivisor = 1;
                       }},
        UnfitStyleCase{"CarrierFrequencyZero", [](CodeStyleNode& s) { s.carrierFrequency = 0; }},
        UnfitStyleCase{"CarrierDivisorZero", [](CodeStyleNode& s) { s.carrierDivisor = 0; }},
        // 108 ms in the sequence table but a tail of 600 ms: more than 65535 units.
        UnfitStyleCase{"ElementTimeTooLong",
                       [](CodeStyleNode& s) {
                           s.tailCount = 1;
                           s.tail[0] = ElementValue(TimingKind::kGapElement, 1, 60000);
                       }},
        UnfitStyleCase{"OptionNibbleAbove15", [](CodeStyleNode& s) { s.optionHigh = 0x10; }}),
    kv::encoder::testing::CaseName());

TEST(FillSymbolTimingTable, WritesWholeMicrosecondsAndKeepsWhatItDoesNotReach) {
    SymbolTimingTable table;
    CodeStyleNode wide = NecStyle();
    wide.symbolShapes[0] = {
        3, {codestyle::MarkValue(88950), codestyle::SpaceValue(88950), codestyle::MarkValue(1)}};
    wide.symbolShapes[1].count = 3;
    FillSymbolTimingTable(wide, table);
    EXPECT_EQ(table.EntryText(0, 0), "889");  // 889.50 µs, truncated
    EXPECT_EQ(table.EntryText(0, 1), "-889");
    EXPECT_EQ(table.EntryText(0, 2), "0");
    EXPECT_EQ(table.durationsPerSymbol, 3);

    FillSymbolTimingTable(NecStyle(), table);
    EXPECT_EQ(table.symbolCount, 2);
    EXPECT_EQ(table.durationsPerSymbol, 2);
    EXPECT_EQ(table.EntryText(0, 0), "560");
    EXPECT_EQ(table.EntryText(1, 1), "-1690");
    EXPECT_EQ(table.EntryText(0, 2), "0");  // left by the earlier style

    CodeStyleNode none;
    FillSymbolTimingTable(none, table);
    EXPECT_EQ(table.symbolCount, 0);
    EXPECT_EQ(table.durationsPerSymbol, 2);
}

// The scan on its own, with the pattern of the NEC style.
class CaptureScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FillSymbolTimingTable(style_, table_);
        pattern_ = BuildFramePattern(style_, fieldTables_);
    }
    CodeStyleNode style_ = NecStyle();
    SymbolTimingTable table_;
    FieldTables fieldTables_;
    std::string pattern_;
};

TEST_F(CaptureScanTest, MergesEachFrameOncePerFittingDecoder) {
    const std::string data = "23281194uuvuuuuuvvuvvvvvuuuvuuuuvvvuvvvv0230h006C";
    // Every decoder turns the bare repeat frame's gap group into the same "h" group. The
    // pattern's last repeat frame has no marker after it and takes no capture frame.
    const std::string repeat = "232808CA0230h006C";
    EXPECT_EQ(ScanCaptureAgainstPattern(pattern_, NecCaptureBody(), table_),
              data + repeat + repeat + repeat + repeat);
}

TEST_F(CaptureScanTest, ExtraFramesAreIgnoredAndMissingOnesEndTheScan) {
    const std::string body = NecCaptureBody();
    EXPECT_EQ(ScanCaptureAgainstPattern(pattern_, body + body, table_),
              ScanCaptureAgainstPattern(pattern_, body, table_));
    EXPECT_EQ(ScanCaptureAgainstPattern(pattern_, testing::NecSingleFrameBody(), table_),
              "23281194uuvuuuuuvvuvvvvvuuuvuuuuvvvuvvvv0230h006C");
}

// Only a frame that ends in a gap group is held to its timing marker: this one, ended by its
// terminator, adds up to 128829 µs against the 108 ms period and still fits. With no gap group
// the decoders write no "h" group, so the merge ends before the marker.
TEST_F(CaptureScanTest, FrameWithoutGapGroupIsNotCheckedForTiming) {
    EXPECT_EQ(ScanCaptureAgainstPattern(pattern_, testing::NecDataFrame() + "EDED", table_),
              "23281194uuvuuuuuvvuvvvvvuuuvuuuuvvvuvvvv0230");
}

// A frame that holds nothing but its head is not decoded: the head goes in as the pattern has it,
// without a marker.
TEST_F(CaptureScanTest, FrameOfOnlyItsHeadAddsTheHead) {
    const std::string body =
        testing::NecDataFrame() + "FEFE0028EDED" + "234608B00244EDED" + "234608B00244EDED";
    EXPECT_EQ(ScanCaptureAgainstPattern(pattern_, body, table_),
              "23281194uuvuuuuuvvuvvvvvuuuvuuuuvvvuvvvv0230h006C232808CA0230");
}

TEST_F(CaptureScanTest, FrameWithoutItsHeadRefusesTheStyle) {
    EXPECT_EQ(ScanCaptureAgainstPattern(pattern_, "0244021CEDED", table_), "");
    EXPECT_EQ(ScanCaptureAgainstPattern(pattern_, "", table_), "");
    EXPECT_EQ(ScanCaptureAgainstPattern("", NecCaptureBody(), table_), "");
}

}  // namespace
}  // namespace kv::encoder
