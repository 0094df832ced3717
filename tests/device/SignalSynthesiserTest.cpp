#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "codestyle/HexText.h"
#include "device/CaptureWords.h"
#include "device/SignalSynthesiser.h"
#include "tests/support/CaseName.h"
#include "workflow/CaptureText.h"

namespace kv::device {
namespace {

// A signal as a capture text shows it: frames of microsecond durations, and
// the gap in milliseconds after each frame but the last.
struct CapturedFrame {
    std::vector<int> durationsUs;
    int gapAfterMs = 0;
};

// Reads the frames back from the body of a capture text; fails the test on
// anything that is not a well-formed capture text.
std::vector<CapturedFrame> FramesOfCapture(const std::string& raw) {
    const std::string captureText = workflow::CaptureToHex(raw);
    const auto parts = workflow::SplitCaptureText(captureText);
    EXPECT_TRUE(parts.has_value()) << "not a capture text: '" << captureText << "'";
    std::vector<CapturedFrame> frames(1);
    if (!parts) {
        return {};
    }
    const std::string_view body = parts->body;
    for (std::size_t at = 0; at + 4 <= body.size(); at += 4) {
        const std::string_view token = body.substr(at, 4);
        if (token == "FEFE") {
            frames.back().gapAfterMs =
                static_cast<int>(*codestyle::ParseHex(body.substr(at + 4, 4)));
            at += 8;  // the gap and its closing "EDED"
            frames.emplace_back();
        } else if (token == "EDED") {
            frames.emplace_back();
        } else {
            frames.back().durationsUs.push_back(static_cast<int>(*codestyle::ParseHex(token)));
        }
    }
    frames.pop_back();  // opened after the last end
    if (frames.size() == 1) {
        frames.back().gapAfterMs = 0;  // a single frame carries a token gap of 20 ms
    }
    return frames;
}

// The reference's "+9000 -4500 ..." cut into frames where the capture cuts
// them: at spaces too long for one capture word.
std::vector<CapturedFrame> FramesOfReference(const std::string& timings) {
    constexpr int kLongestSpaceInFrameUs = 10922;
    std::vector<CapturedFrame> frames(1);
    std::istringstream in(timings);
    int value = 0;
    while (in >> value) {
        if (value < -kLongestSpaceInFrameUs) {
            frames.back().gapAfterMs = -value / 1000;
            frames.emplace_back();
        } else {
            frames.back().durationsUs.push_back(std::abs(value));
        }
    }
    return frames;
}

// The kernel's Sharp encoder waits the whole bit period (1 or 2 ms) after
// each mark, where Sharp's own description makes mark and space together
// last the bit period; compare like with like.
std::vector<CapturedFrame> AsSharpBitPeriods(std::vector<CapturedFrame> frames) {
    for (CapturedFrame& frame : frames) {
        for (std::size_t i = 1; i < frame.durationsUs.size(); i += 2) {
            frame.durationsUs[i] += frame.durationsUs[i - 1];
        }
    }
    return frames;
}

void ExpectSameTimings(const std::vector<CapturedFrame>& actual,
                       const std::vector<CapturedFrame>& expected, int toleranceUs) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t f = 0; f < actual.size(); ++f) {
        ASSERT_EQ(actual[f].durationsUs.size(), expected[f].durationsUs.size()) << "frame " << f;
        for (std::size_t i = 0; i < actual[f].durationsUs.size(); ++i) {
            EXPECT_NEAR(actual[f].durationsUs[i], expected[f].durationsUs[i], toleranceUs)
                << "frame " << f << ", duration " << i;
        }
        EXPECT_NEAR(actual[f].gapAfterMs, expected[f].gapAfterMs, 1) << "gap after frame " << f;
    }
}

SignalRequest RequestForScancode(const std::string& scancode) {
    const std::size_t colon = scancode.find(':');
    const IrProtocol protocol = *IrProtocolFromName(scancode.substr(0, colon));
    const IrAddressAndCommand split =
        SplitIrScancode(protocol, std::stoull(scancode.substr(colon + 1), nullptr, 16));
    return {protocol, split.address, split.command, 1, false};
}

// Capture units are thirds of a microsecond and the capture text truncates.
constexpr int kConversionToleranceUs = 3;

const ReceiverModel kNoisyReceiver{30.0, 20.0, 7};
const int kNoisyToleranceUs =
    static_cast<int>(kNoisyReceiver.markStretchUs + kNoisyReceiver.jitterUs) +
    kConversionToleranceUs;

struct ReferenceCase {
    const char* scancode;
    const char* timings;  // printed by irctl-encode, Linux's own IR encoders
};

class KernelReferenceTest : public testing::TestWithParam<ReferenceCase> {
  protected:
    std::vector<CapturedFrame> Expected() const { return FramesOfReference(GetParam().timings); }
    std::vector<CapturedFrame> Captured(const ReceiverModel& receiver) const {
        std::vector<CapturedFrame> frames =
            FramesOfCapture(SynthesiseCapture(RequestForScancode(GetParam().scancode), receiver));
        const bool sharp = RequestForScancode(GetParam().scancode).protocol == IrProtocol::Sharp;
        return sharp ? AsSharpBitPeriods(frames) : frames;
    }
};

TEST_P(KernelReferenceTest, CleanCaptureHasTheKernelsTimings) {
    ExpectSameTimings(Captured(kIdealReceiver), Expected(), kConversionToleranceUs);
}

TEST_P(KernelReferenceTest, ReceivedCaptureStaysWithinStretchAndJitter) {
    // Sharp compares mark + space sums, in which stretch and jitter count twice.
    const bool sharp = RequestForScancode(GetParam().scancode).protocol == IrProtocol::Sharp;
    ExpectSameTimings(Captured(kNoisyReceiver), Expected(),
                      sharp ? 2 * kNoisyToleranceUs : kNoisyToleranceUs);
}

INSTANTIATE_TEST_SUITE_P(
    IrctlEncode, KernelReferenceTest,
    testing::Values(
        ReferenceCase{"nec:0x0408",
                      "+9000 -4500 +563 -563 +563 -563 +563 -1688 +563 -563 +563 -563 +563 -563 "
                      "+563 -563 +563 -563 +563 -1688 +563 -1688 +563 -563 +563 -1688 +563 -1688 "
                      "+563 -1688 +563 -1688 +563 -1688 +563 -563 +563 -563 +563 -563 +563 -1688 "
                      "+563 -563 +563 -563 +563 -563 +563 -563 +563 -1688 +563 -1688 +563 -1688 "
                      "+563 -563 +563 -1688 +563 -1688 +563 -1688 +563 -1688 +563"},
        ReferenceCase{"necx:0x123456",
                      "+9000 -4500 +563 -563 +563 -1688 +563 -563 +563 -563 +563 -1688 +563 -563 "
                      "+563 -563 +563 -563 +563 -563 +563 -563 +563 -1688 +563 -563 +563 -1688 "
                      "+563 -1688 +563 -563 +563 -563 +563 -563 +563 -1688 +563 -1688 +563 -563 "
                      "+563 -1688 +563 -563 +563 -1688 +563 -563 +563 -1688 +563 -563 +563 -563 "
                      "+563 -1688 +563 -563 +563 -1688 +563 -563 +563 -1688 +563"},
        ReferenceCase{"rc5:0x000c",
                      "+889 -889 +1778 -889 +889 -889 +889 -889 +889 -889 +889 -889 +889 -889 "
                      "+889 -889 +889 -1778 +889 -889 +1778 -889 +889"},
        ReferenceCase{"rc5:0x1e35",
                      "+889 -889 +1778 -1778 +889 -889 +889 -889 +889 -889 +1778 -1778 +889 -889 "
                      "+1778 -1778 +1778 -1778 +889"},
        ReferenceCase{"rc6_0:0x1234",
                      "+2667 -889 +444 -888 +444 -444 +444 -444 +444 -889 +889 -444 +444 -444 "
                      "+444 -444 +888 -888 +444 -444 +888 -888 +444 -444 +444 -444 +888 -444 "
                      "+444 -888 +888 -888 +444 -444 +444"},
        ReferenceCase{"sony12:0x01000c",
                      "+2400 -600 +600 -600 +600 -600 +1200 -600 +1200 -600 +600 -600 +600 -600 "
                      "+600 -600 +1200 -600 +600 -600 +600 -600 +600 -600 +600"},
        ReferenceCase{"sony15:0x4a0012",
                      "+2400 -600 +600 -600 +1200 -600 +600 -600 +600 -600 +1200 -600 +600 -600 "
                      "+600 -600 +600 -600 +1200 -600 +600 -600 +1200 -600 +600 -600 +600 -600 "
                      "+1200 -600 +600"},
        ReferenceCase{"sony20:0x1a0b15",
                      "+2400 -600 +1200 -600 +600 -600 +1200 -600 +600 -600 +1200 -600 +600 -600 "
                      "+600 -600 +600 -600 +1200 -600 +600 -600 +1200 -600 +1200 -600 +1200 -600 "
                      "+1200 -600 +600 -600 +1200 -600 +600 -600 +600 -600 +600 -600 +600"},
        ReferenceCase{"jvc:0x0312",
                      "+8400 -4200 +525 -1575 +525 -1575 +525 -525 +525 -525 +525 -525 +525 -525 "
                      "+525 -525 +525 -525 +525 -525 +525 -1575 +525 -525 +525 -525 +525 -1575 "
                      "+525 -525 +525 -525 +525 -525 +525"},
        ReferenceCase{"sharp:0x0215",
                      "+320 -1000 +320 -2000 +320 -1000 +320 -1000 +320 -1000 +320 -2000 +320 "
                      "-1000 +320 -2000 +320 -1000 +320 -2000 +320 -1000 +320 -1000 +320 -1000 "
                      "+320 -2000 +320 -1000 +320 -40000 +320 -1000 +320 -2000 +320 -1000 +320 "
                      "-1000 +320 -1000 +320 -1000 +320 -2000 +320 -1000 +320 -2000 +320 -1000 "
                      "+320 -2000 +320 -2000 +320 -2000 +320 -1000 +320 -2000 +320"}),
    [](const testing::TestParamInfo<ReferenceCase>& c) {
        std::string name = c.param.scancode;
        for (char& letter : name) {
            if (!std::isalnum(static_cast<unsigned char>(letter))) {
                letter = '_';
            }
        }
        return name;
    });

// Many more addresses and commands, checked against the reference tool when
// it is installed on this machine.
TEST(KernelReferenceTool, AgreesOnSeededRandomScancodes) {
    const std::string tool = "/work/shared/tools/irctl-encode";
    if (std::system(("'" + tool + "' nec:0x0408 >/dev/null 2>&1").c_str()) != 0) {
        GTEST_SKIP() << "irctl-encode is not available here";
    }
    std::mt19937 generator(20240611);
    for (const char* name :
         {"nec", "necx", "rc5", "rc6_0", "sony12", "sony15", "sony20", "jvc", "sharp"}) {
        const IrProtocol protocol = *IrProtocolFromName(name);
        const IrFieldLimits limits = IrProtocolLimits(protocol);
        for (int round = 0; round < 4; ++round) {
            const std::uint32_t address = generator() % (limits.maxAddress + 1);
            const std::uint32_t command = generator() % (limits.maxCommand + 1);
            char scancode[64];
            std::snprintf(scancode, sizeof scancode, "%s:0x%llx", name,
                          static_cast<unsigned long long>(IrScancode(protocol, address, command)));
            SCOPED_TRACE(scancode);
            FILE* pipe = ::popen(("'" + tool + "' " + scancode + " 2>/dev/null").c_str(), "r");
            ASSERT_NE(pipe, nullptr);
            std::string timings;
            char chunk[512];
            while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) {
                timings += chunk;
            }
            ASSERT_EQ(::pclose(pipe), 0);
            const std::vector<CapturedFrame> expected = FramesOfReference(timings);
            std::vector<CapturedFrame> actual = FramesOfCapture(
                SynthesiseCapture({protocol, address, command, 1, false}, kIdealReceiver));
            if (protocol == IrProtocol::Sharp) {
                actual = AsSharpBitPeriods(actual);
            }
            ExpectSameTimings(actual, expected, kConversionToleranceUs);
        }
    }
}

// The bytes of a pulse-distance frame: a space longer than `oneAboveUs`
// after a mark is a one, least significant bit first.
std::vector<int> PulseDistanceBytes(const std::vector<int>& durations, std::size_t firstBitMark,
                                    int bits, int oneAboveUs) {
    std::vector<int> bytes((bits + 7) / 8, 0);
    for (int bit = 0; bit < bits; ++bit) {
        const std::size_t space = firstBitMark + 2 * static_cast<std::size_t>(bit) + 1;
        if (space < durations.size() && durations[space] > oneAboveUs) {
            bytes[bit / 8] |= 1 << (bit % 8);
        }
    }
    return bytes;
}

// Protocols the reference tool does not know: the frame's head and its bits
// read back as the protocol's description lays them out.
struct FrameContentCase {
    const char* name;
    SignalRequest request;
    std::vector<int> head;  // head mark and space, empty when there is none
    int bits;
    int oneAboveUs;
    std::vector<std::vector<int>> frameBytes;  // per capture frame
};

class FrameContentTest : public testing::TestWithParam<FrameContentCase> {};

TEST_P(FrameContentTest, HeadAndBitsReadBack) {
    const FrameContentCase& c = GetParam();
    const std::vector<CapturedFrame> frames =
        FramesOfCapture(SynthesiseCapture(c.request, kIdealReceiver));
    ASSERT_EQ(frames.size(), c.frameBytes.size());
    for (std::size_t f = 0; f < frames.size(); ++f) {
        const std::vector<int>& durations = frames[f].durationsUs;
        ASSERT_EQ(durations.size(), c.head.size() + 2 * static_cast<std::size_t>(c.bits) + 1);
        for (std::size_t i = 0; i < c.head.size(); ++i) {
            EXPECT_NEAR(durations[i], c.head[i], kConversionToleranceUs);
        }
        EXPECT_EQ(PulseDistanceBytes(durations, c.head.size(), c.bits, c.oneAboveUs),
                  c.frameBytes[f])
            << "frame " << f;
    }
}

INSTANTIATE_TEST_SUITE_P(
    DescribedProtocols, FrameContentTest,
    testing::Values(FrameContentCase{"samsung32",
                                     {IrProtocol::Samsung32, 0x07, 0x02, 1, false},
                                     {4480, 4480},
                                     32,
                                     1100,
                                     {{0x07, 0x07, 0x02, 0xFD}}},
                    FrameContentCase{"panasonic",
                                     {IrProtocol::Panasonic, 0x4004, 0x3D, 1, false},
                                     {3456, 1728},
                                     48,
                                     900,
                                     {{0x02, 0x20, 0x40, 0x04, 0x3D, 0x40 ^ 0x04 ^ 0x3D}}},
                    // 5 address bits, 8 command bits, extension 00; then command and
                    // extension inverted.
                    FrameContentCase{"denon",
                                     {IrProtocol::Denon, 0x02, 0xE1, 0, false},
                                     {},
                                     15,
                                     1300,
                                     {{0x22, 0x1C}, {0xC2, 0x63}}}),
    test::CaseName());

// How the frames of a held key are laid out: either at a fixed period from
// start to start, or after a fixed gap.
struct HeldKeyCase {
    const char* name;
    SignalRequest request;
    int captureFrames;
    std::vector<int> lastFrame;  // the durations of the last frame, when checked
    int periodMs;                // start of the first frame to start of the second, or 0
    int gapMs;                   // the gap after the first frame, when there is no period
};

int FrameLengthMs(const CapturedFrame& frame) {
    int totalUs = 0;
    for (int duration : frame.durationsUs) {
        totalUs += duration;
    }
    return totalUs / 1000;
}

class HeldKeyTest : public testing::TestWithParam<HeldKeyCase> {};

TEST_P(HeldKeyTest, FramesFollowAtTheProtocolsPeriod) {
    const HeldKeyCase& c = GetParam();
    const std::vector<CapturedFrame> frames =
        FramesOfCapture(SynthesiseCapture(c.request, kIdealReceiver));
    ASSERT_EQ(static_cast<int>(frames.size()), c.captureFrames);
    if (!c.lastFrame.empty()) {
        ASSERT_EQ(frames.back().durationsUs.size(), c.lastFrame.size());
        for (std::size_t i = 0; i < c.lastFrame.size(); ++i) {
            EXPECT_NEAR(frames.back().durationsUs[i], c.lastFrame[i], kConversionToleranceUs);
        }
    }
    // Whole milliseconds on both sides: each may lose up to one.
    if (c.periodMs > 0) {
        EXPECT_NEAR(FrameLengthMs(frames.front()) + frames.front().gapAfterMs, c.periodMs, 2);
    } else {
        EXPECT_NEAR(frames.front().gapAfterMs, c.gapMs, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Protocols, HeldKeyTest,
    testing::Values(
        // NEC: after the frame, a repeat frame every 108 ms while held.
        HeldKeyCase{
            "nec_repeats", {IrProtocol::Nec, 0x04, 0x08, 3, false}, 3, {9000, 2250, 562}, 108, 0},
        HeldKeyCase{"necx_repeats",
                    {IrProtocol::NecExtended, 0x1234, 0x56, 2, false},
                    2,
                    {9000, 2250, 562},
                    108,
                    0},
        HeldKeyCase{
            "samsung32_repeats", {IrProtocol::Samsung32, 0x07, 0x02, 2, false}, 2, {}, 108, 0},
        // Sony sends three frames for a short press, 45 ms apart.
        HeldKeyCase{"sony12_short_press", {IrProtocol::Sony12, 0x01, 0x0C, 0, false}, 3, {}, 45, 0},
        HeldKeyCase{"jvc_repeats", {IrProtocol::Jvc, 0x03, 0x12, 2, false}, 2, {}, 60, 0},
        HeldKeyCase{"rc5_repeats", {IrProtocol::Rc5, 0x1E, 0x35, 2, false}, 2, {}, 114, 0},
        HeldKeyCase{"rc6_repeats", {IrProtocol::Rc6Mode0, 0x12, 0x34, 2, false}, 2, {}, 107, 0},
        HeldKeyCase{
            "panasonic_repeats", {IrProtocol::Panasonic, 0x4004, 0x3D, 2, false}, 2, {}, 130, 0},
        // Sharp and Denon send each press as a frame and its inverted twin.
        HeldKeyCase{"sharp_press", {IrProtocol::Sharp, 0x02, 0x15, 0, false}, 2, {}, 0, 40},
        HeldKeyCase{"sharp_held", {IrProtocol::Sharp, 0x02, 0x15, 2, false}, 4, {}, 0, 40},
        HeldKeyCase{"denon_press", {IrProtocol::Denon, 0x02, 0xE1, 0, false}, 2, {}, 65, 0}),
    test::CaseName());

TEST(HeldKey, JvcRepeatFramesStartWithTheFirstBit) {
    const std::vector<CapturedFrame> frames =
        FramesOfCapture(SynthesiseCapture({IrProtocol::Jvc, 0x03, 0x12, 2, false}, kIdealReceiver));
    ASSERT_EQ(frames.size(), 2U);
    EXPECT_EQ(frames[0].durationsUs.size(), frames[1].durationsUs.size() + 2);
    EXPECT_NEAR(frames[1].durationsUs[0], 525, kConversionToleranceUs);
}

TEST(Rc5AndRc6, ToggleBitChangesTheFrameButNotItsLength) {
    for (const IrProtocol protocol : {IrProtocol::Rc5, IrProtocol::Rc6Mode0}) {
        SignalRequest request{protocol, 0x05, 0x0C, 1, false};
        const IrSignal off = *SynthesiseSignal(request);
        request.toggle = true;
        const IrSignal on = *SynthesiseSignal(request);
        EXPECT_NE(off.durationsUs, on.durationsUs) << IrProtocolName(protocol);
        double offTotal = 0;
        double onTotal = 0;
        for (double d : off.durationsUs) offTotal += d;
        for (double d : on.durationsUs) onTotal += d;
        // Bi-phase frames last the same whatever the bits, up to the
        // half bit lost where a frame ends in a space.
        EXPECT_NEAR(offTotal, onTotal, 900.0) << IrProtocolName(protocol);
    }
}

struct RefusedCase {
    const char* name;
    SignalRequest request;
};

class RefusedRequestTest : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedRequestTest, IsExplainedAndGivesNoCapture) {
    EXPECT_FALSE(CheckSignalRequest(GetParam().request).empty());
    EXPECT_FALSE(SynthesiseSignal(GetParam().request).has_value());
    EXPECT_EQ(SynthesiseCapture(GetParam().request, kIdealReceiver), "");
}

INSTANTIATE_TEST_SUITE_P(
    Requests, RefusedRequestTest,
    testing::Values(RefusedCase{"nec_address", {IrProtocol::Nec, 0x100, 0x08, 1, false}},
                    RefusedCase{"nec_command", {IrProtocol::Nec, 0x04, 0x100, 1, false}},
                    RefusedCase{"sony12_address", {IrProtocol::Sony12, 0x20, 0x01, 0, false}},
                    RefusedCase{"sony20_address", {IrProtocol::Sony20, 0x2000, 0x01, 0, false}},
                    RefusedCase{"rc5_command", {IrProtocol::Rc5, 0x01, 0x80, 0, false}},
                    RefusedCase{"too_many_frames", {IrProtocol::Nec, 0x04, 0x08, 31, false}},
                    RefusedCase{"negative_frames", {IrProtocol::Nec, 0x04, 0x08, -1, false}}),
    test::CaseName());

// A key held for the longest time leaves a capture that still converts:
// frames beyond the buffer are dropped, not the end gap and trailer.
TEST(Synthesiser, EveryProtocolFillsTheLongestHeldKeyIntoTheCaptureBuffer) {
    for (const IrProtocol protocol : AllIrProtocols()) {
        const IrFieldLimits limits = IrProtocolLimits(protocol);
        const SignalRequest request{protocol, limits.maxAddress, limits.maxCommand,
                                    kMaxSignalFrames, false};
        const std::string capture = SynthesiseCapture(request, kIdealReceiver);
        EXPECT_FALSE(capture.empty()) << IrProtocolName(protocol);
        EXPECT_FALSE(workflow::CaptureToHex(capture).empty()) << IrProtocolName(protocol);
    }
}

TEST(ProtocolNames, RoundTripAndUnknownNamesAreRefused) {
    for (const IrProtocol protocol : AllIrProtocols()) {
        EXPECT_EQ(IrProtocolFromName(IrProtocolName(protocol)), protocol);
    }
    EXPECT_FALSE(IrProtocolFromName("NEC").has_value());
    EXPECT_FALSE(IrProtocolFromName("").has_value());
}

TEST(Scancodes, SplitAsTheKernelDoes) {
    EXPECT_EQ(IrScancode(IrProtocol::Nec, 0x04, 0x08), 0x0408U);
    EXPECT_EQ(IrScancode(IrProtocol::Sony12, 0x01, 0x0C), 0x01000CU);
    EXPECT_EQ(IrScancode(IrProtocol::Sony20, 0x1A0B, 0x15), 0x1A0B15U);
    const IrAddressAndCommand sony15 = SplitIrScancode(IrProtocol::Sony15, 0x4A0012);
    EXPECT_EQ(sony15.address, 0x4AU);
    EXPECT_EQ(sony15.command, 0x12U);
}

class ReceiverTest : public testing::Test {
  protected:
    const IrSignal nominal_ = *SynthesiseSignal({IrProtocol::Nec, 0x04, 0x08, 2, false});
};

TEST_F(ReceiverTest, StretchesMarksAndShortensSpacesWithinTheJitter) {
    const ReceiverModel receiver{30.0, 20.0, 11};
    const IrSignal received = ThroughReceiver(nominal_, receiver);
    ASSERT_EQ(received.durationsUs.size(), nominal_.durationsUs.size());
    for (std::size_t i = 0; i < received.durationsUs.size(); ++i) {
        const double shift = received.durationsUs[i] - nominal_.durationsUs[i];
        const double expected = i % 2 == 0 ? receiver.markStretchUs : -receiver.markStretchUs;
        EXPECT_LE(std::abs(shift - expected), receiver.jitterUs) << "duration " << i;
    }
}

TEST_F(ReceiverTest, SameSeedSameSignalOtherSeedOtherSignal) {
    const ReceiverModel first{30.0, 20.0, 5};
    ReceiverModel second = first;
    second.seed = 6;
    EXPECT_EQ(ThroughReceiver(nominal_, first).durationsUs,
              ThroughReceiver(nominal_, first).durationsUs);
    EXPECT_NE(ThroughReceiver(nominal_, first).durationsUs,
              ThroughReceiver(nominal_, second).durationsUs);
    EXPECT_EQ(ThroughReceiver(nominal_, kIdealReceiver).durationsUs, nominal_.durationsUs);
}

// The capture's carrier field is 1000 / (trailer sum / 9) truncated.
TEST(CaptureWords, TrailerReadsBackAsTheCarrier) {
    for (int kHz = 30; kHz <= 60; ++kHz) {
        const std::string captureText =
            workflow::CaptureToHex(EncodeCaptureWords(IrSignal{kHz, {560.0}}));
        const auto parts = workflow::SplitCaptureText(captureText);
        ASSERT_TRUE(parts.has_value()) << kHz;
        EXPECT_EQ(static_cast<int>(*codestyle::ParseHex(parts->carrier)), kHz);
        EXPECT_EQ(parts->carrierMarker, "12");
    }
    EXPECT_EQ(CarrierTrailerSum(36), 249);
    EXPECT_EQ(CarrierTrailerSum(38), 236);
}

TEST(CaptureWords, ShortAndNoneCarriersAreReportedAsNone) {
    const std::string captureText =
        workflow::CaptureToHex(EncodeCaptureWords(IrSignal{0, {560.0}}));
    const auto parts = workflow::SplitCaptureText(captureText);
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->carrier, "00");
    EXPECT_EQ(parts->carrierMarker, "00");
}

TEST(CaptureWords, MarkAndSpaceAreStoredWithTheReceiversOffset) {
    // 560 µs mark: (560 + 58) × 3 = 1854 = 0x73E with the mark bit.
    // 1690 µs space: (1690 - 58) × 3 = 4896 = 0x1320.
    const std::string words = EncodeCaptureWords(IrSignal{38, {560.0, 1690.0, 560.0}});
    EXPECT_EQ(words.substr(0, 12), "873E1320873E");
    EXPECT_EQ(words.substr(12, 4 * kCaptureEndGapChunks), [] {
        std::string chunks;
        for (int i = 0; i < kCaptureEndGapChunks; ++i) chunks += "7FFF";
        return chunks;
    }());
}

struct LongDurationCase {
    const char* name;
    std::vector<double> durations;
    std::vector<CapturedFrame> expected;
};

class LongDurationTest : public testing::TestWithParam<LongDurationCase> {};

TEST_P(LongDurationTest, ReadsBackFromTheCapture) {
    const std::vector<CapturedFrame> frames =
        FramesOfCapture(EncodeCaptureWords(IrSignal{38, GetParam().durations}));
    ExpectSameTimings(frames, GetParam().expected, kConversionToleranceUs);
}

INSTANTIATE_TEST_SUITE_P(
    Durations, LongDurationTest,
    testing::Values(
        // A mark longer than one word continues in the next.
        LongDurationCase{"long_mark", {15000.0, 600.0, 600.0}, {{{15000, 600, 600}, 0}}},
        // A space of exactly one chunk still ends in a space word.
        LongDurationCase{
            "space_of_one_chunk", {600.0, 32767.0 / 3 + 58, 600.0}, {{{600}, 10}, {{600}, 0}}},
        // A space long enough to end the capture is cut to the longest gap
        // inside a signal, so the frame after it is not lost.
        LongDurationCase{
            "space_beyond_end_gap", {600.0, 300000.0, 600.0}, {{{600}, 218}, {{600}, 0}}}),
    test::CaseName());

TEST(CaptureWords, RefusesWhatIsNotAMarkFirstSignalOrDoesNotFit) {
    EXPECT_EQ(EncodeCaptureWords(IrSignal{38, {}}), "");
    EXPECT_EQ(EncodeCaptureWords(IrSignal{38, {560.0, 560.0}}), "");
    EXPECT_EQ(EncodeCaptureWords(IrSignal{38, std::vector<double>(2601, 560.0)}), "");
}

}  // namespace
}  // namespace kv::device
