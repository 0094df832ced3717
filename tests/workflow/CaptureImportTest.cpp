#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workflow/CaptureImport.h"
#include "workflow/CaptureText.h"

namespace kv::workflow {
namespace {

using Durations = std::vector<double>;

struct ParseCase {
    const char* name;
    TimingFormat format;
    std::string text;
    Durations durations;  // empty: the text is refused
    std::optional<int> carrierHz;
    std::string button;
};

class ParseMeasuredSignalCases : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseMeasuredSignalCases, ReadsTheSignal) {
    const ParseCase& c = GetParam();
    const SignalImport imported = ParseMeasuredSignal(c.text, c.format, c.button);
    if (c.durations.empty()) {
        EXPECT_FALSE(imported.signal.has_value());
        EXPECT_FALSE(imported.error.empty());
        return;
    }
    ASSERT_TRUE(imported.signal.has_value()) << imported.error;
    ASSERT_EQ(imported.signal->durationsUs.size(), c.durations.size());
    for (std::size_t i = 0; i < c.durations.size(); ++i) {
        EXPECT_NEAR(imported.signal->durationsUs[i], c.durations[i], 0.01) << i;
    }
    EXPECT_EQ(imported.signal->carrierHz, c.carrierHz);
}

const std::string kFlipperFile =
    "Filetype: IR signals file\n"
    "Version: 1\n"
    "# \n"
    "name: Power\n"
    "type: parsed\n"
    "protocol: NEC\n"
    "address: 04 00 00 00\n"
    "command: 08 00 00 00\n"
    "# \n"
    "name: Vol_up\n"
    "type: raw\n"
    "frequency: 36000\n"
    "duty_cycle: 0.330000\n"
    "data: 900 450 560\n"
    "# \n"
    "name: Mute\n"
    "type: raw\n"
    "frequency: 40000\n"
    "duty_cycle: 0.330000\n"
    "data: 100 200 300 400\n"
    "data: 500\n";

INSTANTIATE_TEST_SUITE_P(
    Formats, ParseMeasuredSignalCases,
    ::testing::Values(
        ParseCase{"PlainNumbers",
                  TimingFormat::Timings,
                  "9000 4500 560 560 560",
                  {9000, 4500, 560, 560, 560},
                  std::nullopt,
                  ""},
        ParseCase{"SignedNumbersOverLines",
                  TimingFormat::Timings,
                  "+9000 -4500\n+560, -1690 +560",
                  {9000, 4500, 560, 1690, 560},
                  std::nullopt,
                  ""},
        ParseCase{"SameLevelsJoinAndEndSpacesGo",
                  TimingFormat::Timings,
                  "-3000 +500 +400 -100 -200 +300 -40000",
                  {900, 300, 300},
                  std::nullopt,
                  ""},
        ParseCase{"TrailingSpaceOfPlainNumbersGoes",
                  TimingFormat::Timings,
                  "500 600 700 800",
                  {500, 600, 700},
                  std::nullopt,
                  ""},
        ParseCase{"CommentsAreSkipped",
                  TimingFormat::Timings,
                  "# a capture\n500 # mark\n",
                  {500},
                  std::nullopt,
                  ""},
        ParseCase{"ZeroIsRefused", TimingFormat::Timings, "500 0 500", {}, std::nullopt, ""},
        ParseCase{"WordsAreRefused", TimingFormat::Timings, "500 abc", {}, std::nullopt, ""},
        ParseCase{"NoMarkIsRefused", TimingFormat::Timings, "-500 -600", {}, std::nullopt, ""},
        ParseCase{"HugeIsRefused", TimingFormat::Timings, "1e300", {}, std::nullopt, ""},
        ParseCase{
            "Mode2",
            TimingFormat::Mode2,
            "space 16777215\ncarrier 36000\npulse 900\nspace 450\npulse 560\ntimeout 120000\n",
            {900, 450, 560},
            36000,
            ""},
        ParseCase{"Mode2UnknownLine",
                  TimingFormat::Mode2,
                  "pulse 900\ncode: 0x10\n",
                  {},
                  std::nullopt,
                  ""},
        ParseCase{"Mode2BadNumber", TimingFormat::Mode2, "pulse x", {}, std::nullopt, ""},
        // 0x6D * 0.241246 = 26.2958 us per unit, 38029 Hz.
        ParseCase{"ProntoOnceThenRepeat",
                  TimingFormat::Pronto,
                  "0000 006D 0001 0001 0156 00AB 0015 0E4C",
                  {342 * 26.29581, 171 * 26.29581, 21 * 26.29581},
                  38029,
                  ""},
        ParseCase{"ProntoWithoutCarrier",
                  TimingFormat::Pronto,
                  "0100 006D 0000 0001 0020 0040",
                  {32 * 26.29581},
                  0,
                  ""},
        ParseCase{"ProntoCountsDisagree",
                  TimingFormat::Pronto,
                  "0000 006D 0002 0000 0010 0010",
                  {},
                  std::nullopt,
                  ""},
        ParseCase{"ProntoZeroFrequency",
                  TimingFormat::Pronto,
                  "0000 0000 0001 0000 0010 0010",
                  {},
                  std::nullopt,
                  ""},
        ParseCase{"ProntoOtherKind",
                  TimingFormat::Pronto,
                  "900A 006D 0001 0000 0010 0010",
                  {},
                  std::nullopt,
                  ""},
        ParseCase{"ProntoNotHex",
                  TimingFormat::Pronto,
                  "0000 006D 0001 0000 0010 00G0",
                  {},
                  std::nullopt,
                  ""},
        ParseCase{"FlipperFirstRawSignal",
                  TimingFormat::Flipper,
                  kFlipperFile,
                  {900, 450, 560},
                  36000,
                  ""},
        ParseCase{"FlipperNamedSignalOverTwoDataLines",
                  TimingFormat::Flipper,
                  kFlipperFile,
                  {100, 200, 300, 400, 500},
                  40000,
                  "Mute"},
        ParseCase{
            "FlipperParsedSignal", TimingFormat::Flipper, kFlipperFile, {}, std::nullopt, "Power"},
        ParseCase{
            "FlipperMissingSignal", TimingFormat::Flipper, kFlipperFile, {}, std::nullopt, "Play"},
        ParseCase{
            "FlipperNotAFlipperFile", TimingFormat::Flipper, "9000 4500", {}, std::nullopt, ""}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(TimingFormatByName, KnowsTheFourFormats) {
    EXPECT_EQ(TimingFormatByName("timings"), TimingFormat::Timings);
    EXPECT_EQ(TimingFormatByName("mode2"), TimingFormat::Mode2);
    EXPECT_EQ(TimingFormatByName("pronto"), TimingFormat::Pronto);
    EXPECT_EQ(TimingFormatByName("flipper"), TimingFormat::Flipper);
    EXPECT_EQ(TimingFormatByName("raw"), std::nullopt);
}

// The capture text's tokens of a signal, in microseconds.
std::vector<int> Tokens(std::string_view body) {
    std::vector<int> tokens;
    for (std::size_t i = 0; i + 4 <= body.size(); i += 4) {
        tokens.push_back(std::stoi(std::string(body.substr(i, 4)), nullptr, 16));
    }
    return tokens;
}

TEST(CaptureWordsFromSignal, GiveBackTheSameMicroseconds) {
    // Short and long marks and spaces, up to the longest mark of two words.
    const Durations durations = {9000, 4500, 1, 57, 58, 10980, 10864, 100, 10865, 200, 21786};
    const std::string text = CaptureToHex(CaptureWordsFromSignal(durations, 38000));
    const auto parts = SplitCaptureText(text);
    ASSERT_TRUE(parts.has_value()) << text;
    EXPECT_EQ(parts->carrier, "26");
    const std::vector<int> tokens = Tokens(parts->body);
    // Spaces below the receiver's 58 us come back as 58 us.
    const std::vector<int> expected = {9000, 4500,  1,   58,    58,     10980, 10864,
                                       100,  10865, 200, 21786, 0xFEFE, 0x14,  0xEDED};
    EXPECT_EQ(tokens, expected);
}

TEST(CaptureWordsFromSignal, LongSpacesBecomeFrameGaps) {
    const Durations durations = {9000, 4500, 560, 40000, 9000, 2250, 560, 95000, 9000};
    const std::string text = CaptureToHex(CaptureWordsFromSignal(durations, 38000));
    EXPECT_EQ(text,
              "3"
              "2612"
              "2328"
              "1194"
              "0230"
              "FEFE0028EDED"
              "2328"
              "08CA"
              "0230"
              "FEFE005FEDED"
              "2328"
              "EDED");
}

struct CarrierCase {
    int hz;
    const char* field;
};

class ImportedCarrier : public ::testing::TestWithParam<CarrierCase> {};

TEST_P(ImportedCarrier, ComesBackFromTheTrailer) {
    const std::string text = CaptureToHex(CaptureWordsFromSignal({560}, GetParam().hz));
    const auto parts = SplitCaptureText(text);
    ASSERT_TRUE(parts.has_value()) << text;
    EXPECT_EQ(std::string(parts->carrier) + std::string(parts->carrierMarker), GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(Carriers, ImportedCarrier,
                         ::testing::Values(CarrierCase{38000, "2612"}, CarrierCase{36000, "2412"},
                                           CarrierCase{40000, "2812"}, CarrierCase{56000, "3812"},
                                           CarrierCase{12000, "0C12"}, CarrierCase{37700, "2612"},
                                           CarrierCase{0, "0000"}));

TEST(CaptureWordsFromSignal, RefusesCarriersTheTrailerCannotHold) {
    EXPECT_EQ(CaptureWordsFromSignal({560}, 11000), "");
    EXPECT_EQ(CaptureWordsFromSignal({560}, 455000), "");
    EXPECT_EQ(CaptureWordsFromSignal({}, 38000), "");
}

TEST(CaptureWordsFromSignal, DropsTheFramesThatOverrunTheBuffer) {
    // Each frame: 33 marks and 32 spaces, then a 40 ms gap; 60 frames are far
    // more than 10240 characters.
    Durations durations;
    for (int frame = 0; frame < 60; ++frame) {
        for (int i = 0; i < 32; ++i) {
            durations.push_back(560);
            durations.push_back(1690);
        }
        durations.push_back(560);
        durations.push_back(40000);
    }
    durations.pop_back();
    const std::string words = CaptureWordsFromSignal(durations, 38000);
    ASSERT_FALSE(words.empty());
    EXPECT_LE(words.size(), 10240u);
    const auto parts = SplitCaptureText(CaptureToHex(words));
    ASSERT_TRUE(parts.has_value());
    EXPECT_GT(parts->frames, 10);
    EXPECT_LT(parts->frames, 60);
}

TEST(CaptureWordsFromSignal, RefusesAFirstFrameThatDoesNotFit) {
    const Durations durations(2 * 3000 + 1, 560.0);
    EXPECT_EQ(CaptureWordsFromSignal(durations, 38000), "");
}

}  // namespace
}  // namespace kv::workflow
