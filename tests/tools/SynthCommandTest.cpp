#include <gtest/gtest.h>

#include <string>

#include "device/SignalSynthesiser.h"
#include "tests/support/CaseName.h"
#include "tests/tools/KvcodesRun.h"
#include "workflow/CaptureText.h"

namespace kv::tools::testing {
namespace {

using device::IrProtocol;
using device::kIdealReceiver;

class SynthCommandTest : public KvcodesTest {};

TEST_F(SynthCommandTest, PrintsTheRawCaptureOfTheKeyPress) {
    const RunResult result = Run("synth nec 0x04 8 --clean");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(
        result.out,
        device::SynthesiseCapture({IrProtocol::Nec, 0x04, 0x08, 0, false}, kIdealReceiver) + "\n");
    EXPECT_FALSE(workflow::CaptureToHex(result.out.substr(0, result.out.size() - 1)).empty());
}

TEST_F(SynthCommandTest, ScancodeMeansWhatTheKernelsScancodeMeans) {
    EXPECT_EQ(Run("synth nec:0x0408 --clean").out, Run("synth nec 4 8 --clean").out);
    EXPECT_EQ(
        Run("synth sony20:0x1a0b15 --clean").out,
        device::SynthesiseCapture({IrProtocol::Sony20, 0x1A0B, 0x15, 0, false}, kIdealReceiver) +
            "\n");
}

TEST_F(SynthCommandTest, SeedFramesAndToggleShapeTheCapture) {
    EXPECT_EQ(Run("synth rc5 5 12 --seed 5").out, Run("synth rc5 5 12 --seed 5").out);
    EXPECT_NE(Run("synth rc5 5 12 --seed 5").out, Run("synth rc5 5 12 --seed 6").out);
    EXPECT_NE(Run("synth rc5 5 12 --clean --toggle").out, Run("synth rc5 5 12 --clean").out);
    const std::string held = Run("synth nec 4 8 --frames 3").out;
    const std::string captureText = workflow::CaptureToHex(held.substr(0, held.size() - 1));
    const auto parts = workflow::SplitCaptureText(captureText);
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->frames, 3);
}

struct BadSynthCase {
    const char* name;
    const char* arguments;
    const char* message;  // part of the complaint on stderr
};

class BadSynthTest : public KvcodesTest, public ::testing::WithParamInterface<BadSynthCase> {};

TEST_P(BadSynthTest, ExitsWithBadInputAndSaysWhy) {
    const RunResult result = Run(std::string("synth ") + GetParam().arguments);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, BadSynthTest,
    ::testing::Values(BadSynthCase{"unknown_protocol", "rc7 1 2", "unknown protocol 'rc7'"},
                      BadSynthCase{"missing_command", "nec 4", "expected PROTOCOL"},
                      BadSynthCase{"address_too_wide", "nec 0x104 8", "address 0x104"},
                      BadSynthCase{"not_a_number", "nec four 8", "must be numbers"},
                      BadSynthCase{"negative", "nec -4 8", "unknown option -4"},
                      BadSynthCase{"no_frames", "nec 4 8 --frames 0", "--frames must be 1 to"},
                      BadSynthCase{"too_many_frames", "nec 4 8 --frames 31",
                                   "--frames must be 1 to"},
                      BadSynthCase{"seed_without_value", "nec 4 8 --seed", "--seed needs"},
                      BadSynthCase{"unknown_option", "nec 4 8 --loud", "unknown option --loud"},
                      BadSynthCase{"bad_scancode", "nec:0xZZ", "must be numbers"}),
    test::CaseName());

}  // namespace
}  // namespace kv::tools::testing
