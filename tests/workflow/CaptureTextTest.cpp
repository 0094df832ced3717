#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codestyle/HexText.h"
#include "workflow/CaptureText.h"

namespace kv::workflow {
namespace {

using codestyle::FormatHex;

std::string Words(std::initializer_list<std::string> words) {
    std::string raw;
    for (const auto& w : words) {
        raw += w;
    }
    return raw;
}

std::string Repeat(const std::string& word, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += word;
    }
    return out;
}

const std::string kEndGap = Repeat("7FFF", 20);
const std::string kTrailer37k = "4F4F4F00";  // a + b + c = 237

struct CaptureCase {
    const char* name;
    std::string raw;
    std::string expected;
};

class CaptureToHexCases : public ::testing::TestWithParam<CaptureCase> {};

TEST_P(CaptureToHexCases, GivesTheCaptureText) {
    EXPECT_EQ(CaptureToHex(GetParam().raw), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Documented, CaptureToHexCases,
    ::testing::Values(
        CaptureCase{"SingleFrame", Words({"8100", "0300", "8200", kEndGap, kTrailer37k}),
                    "1"
                    "25"
                    "12"
                    "001B"
                    "013A"
                    "0070"
                    "FEFE"
                    "0014"
                    "EDED"},
        CaptureCase{"FillerAfterTrailerIsNotRead",
                    Words({"8100", "0300", "8200", kEndGap, kTrailer37k}) + std::string(40, '\0'),
                    "12512001B013A0070FEFE0014EDED"},
        CaptureCase{"EndGapOf19ChunksThenNothing",
                    Words({"8100", "0300", "8200"}) + Repeat("7FFF", 19) + "0000", ""},
        CaptureCase{"MissingTrailer", Words({"8100", "0300", "8200", kEndGap}), ""},
        CaptureCase{"ChunkInMarkPositionLengthensTheMark",
                    Words({"7FFF", "8100", "0300", "8200", kEndGap, kTrailer37k}),
                    "12512"
                    "2AC5"
                    "013A"
                    "0070"
                    "FEFE0014EDED"},
        CaptureCase{"ChunkInMarkPositionBeforeASpaceIsAMarkOfItsOwn",
                    Words({"8100", "0300", "7FFF", "0300", "8200", kEndGap, kTrailer37k}),
                    "12512"
                    "001B"
                    "013A"
                    "2A70"
                    "013A"
                    "0070"
                    "FEFE0014EDED"},
        // After a trailing space the first chunk of the gap is a mark, so the
        // run holds one chunk less.
        CaptureCase{"SpaceBeforeEndGapNeeds21Chunks",
                    Words({"8100", "0300", Repeat("7FFF", 21), kTrailer37k}),
                    "12512"
                    "001B"
                    "013A"
                    "2A70"
                    "FEFE0014EDED"},
        CaptureCase{"SpaceBeforeEndGapWith20ChunksNeverEnds",
                    Words({"8100", "0300", kEndGap, kTrailer37k, "0000"}), ""},
        CaptureCase{"TwoFramesOneGapGroup",
                    Words({"8100", "0300", "8200", "7FFF", "7FFF", "7FFF", "0100", "8100", "0300",
                           "8200", kEndGap, kTrailer37k}),
                    "2"
                    "2512"
                    "001B013A0070"
                    "FEFE"
                    "0020"
                    "EDED"
                    "001B013A0070"
                    "EDED"},
        CaptureCase{"ChunksEndingInAMarkCountTowardTheNextGap",
                    Words({"8100", "7FFF", "8100", "0300", "8200", "7FFF", "7FFF", "0100", "8100",
                           kEndGap, kTrailer37k}),
                    "2"
                    "2512"
                    "001B"
                    "001B"
                    "013A"
                    "0070"
                    "FEFE"
                    "0020"
                    "EDED"
                    "001B"
                    "EDED"},
        CaptureCase{"ShortMarkIsNegative", Words({"8000", "0300", "8200", kEndGap, kTrailer37k}),
                    "12512"
                    "FFFFFFC6"
                    "013A"
                    "0070"
                    "FEFE0014EDED"},
        CaptureCase{"NoCarrier", Words({"8100", "0300", "8200", kEndGap, "0000", "0000"}),
                    "10000001B013A0070FEFE0014EDED"},
        CaptureCase{"TrailerMayEndTheText", Words({"8100", kEndGap, "4F4F", "4F"}),
                    "12512001BFEFE0014EDED"},
        CaptureCase{"TrailerCutInsideItsLastByte", Words({"8100", kEndGap, "4F4F", "4"}), ""},
        CaptureCase{"NonHexWordInTheSignal", Words({"8100", "03G0", "8200", kEndGap, kTrailer37k}),
                    ""},
        CaptureCase{"ZeroFillerInsteadOfAnEndGap",
                    Words({"8100", "0300", "8200"}) + std::string(64, '\0'), ""},
        CaptureCase{"NonHexTrailer", Words({"8100", kEndGap, "4F4X", "4F00"}), ""},
        CaptureCase{"EmptyCapture", "", ""}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

struct CarrierCase {
    int a, b, c;
    const char* head;
};

class CarrierTrailer : public ::testing::TestWithParam<CarrierCase> {};

TEST_P(CarrierTrailer, GivesTheCarrierField) {
    const auto& param = GetParam();
    const std::string trailer =
        FormatHex(param.a, 2) + FormatHex(param.b, 2) + FormatHex(param.c, 2) + "00";
    const std::string text = CaptureToHex(Words({"8100", kEndGap, trailer}));
    ASSERT_GE(text.size(), 5u);
    EXPECT_EQ(text.substr(1, 4), param.head);
}

// 250 gives 35 kHz, not 36: 1000 / (250 / 9) lands just below 36.
INSTANTIATE_TEST_SUITE_P(
    Documented, CarrierTrailer,
    ::testing::Values(CarrierCase{79, 79, 79, "2512"}, CarrierCase{75, 75, 75, "2812"},
                      CarrierCase{250, 0, 0, "2312"}, CarrierCase{40, 40, 40, "4A12"},
                      CarrierCase{50, 50, 50, "3B12"}, CarrierCase{100, 100, 100, "1D12"},
                      CarrierCase{0, 0, 0, "0000"}));

std::string Frames(int count) {
    std::string raw;
    for (int i = 0; i < count; ++i) {
        raw += "8100";
        raw += "0300";
        raw += "8200";
        raw += i + 1 < count ? "7FFF7FFF0100" : kEndGap + kTrailer37k;
    }
    return raw;
}

TEST(CaptureToHex, CountsTenFramesWithTwoDigits) {
    const std::string text = CaptureToHex(Frames(10));
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.substr(0, 6), "102512");
}

struct SplitCase {
    int frames;
    const char* count;
};

class SplitCaptureTextCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCaptureTextCases, FindsTheBodyWhateverTheCountLength) {
    const std::string text = CaptureToHex(Frames(GetParam().frames));
    const auto parts = SplitCaptureText(text);
    ASSERT_TRUE(parts.has_value()) << text;
    EXPECT_EQ(parts->frameCount, GetParam().count);
    EXPECT_EQ(parts->frames, GetParam().frames);
    EXPECT_EQ(parts->carrier, "25");
    EXPECT_EQ(parts->carrierMarker, "12");
    EXPECT_TRUE(parts->body.starts_with("001B013A0070")) << parts->body;
    EXPECT_EQ(CaptureTextBody(text), parts->body);
}

INSTANTIATE_TEST_SUITE_P(CountLengths, SplitCaptureTextCases,
                         ::testing::Values(SplitCase{1, "1"}, SplitCase{2, "2"}, SplitCase{9, "9"},
                                           SplitCase{10, "10"}, SplitCase{12, "12"},
                                           SplitCase{120, "120"}));

TEST(SplitCaptureText, ReadsACaptureWithoutCarrier) {
    const auto parts = SplitCaptureText("10000001B013A0070FEFE0014EDED");
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->carrier, "00");
    EXPECT_EQ(parts->carrierMarker, "00");
    EXPECT_EQ(parts->body, "001B013A0070FEFE0014EDED");
}

TEST(SplitCaptureText, RefusesTextsThatAreNotCaptureTexts) {
    for (const char* text : {"", "1", "12512", "x2512001BEDED", "22512001BEDED", "12512001BEDE",
                             "0251200 1BEDED", "12599001BEDED"}) {
        EXPECT_FALSE(SplitCaptureText(text).has_value()) << text;
        EXPECT_EQ(CaptureTextBody(text), "") << text;
    }
}

}  // namespace
}  // namespace kv::workflow
