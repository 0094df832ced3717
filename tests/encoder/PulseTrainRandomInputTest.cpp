#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "encoder/FramePattern.h"
#include "encoder/PulseTrainEncoding.h"
#include "tests/support/RandomStyles.h"

namespace kv::encoder {
namespace {

constexpr std::uint32_t kSeed = 20240611;

bool IsUpperHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// A pattern is 4-digit tokens, "u" letters and markers of one letter and 4 digits.
void ExpectPatternAlphabet(std::string_view pattern) {
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] == 'u') {
            ++i;
            continue;
        }
        const std::size_t digitsAt = (pattern[i] == 'h' || pattern[i] == 't') ? i + 1 : i;
        ASSERT_LE(digitsAt + 4, pattern.size()) << pattern;
        for (std::size_t d = digitsAt; d < digitsAt + 4; ++d) {
            ASSERT_TRUE(IsUpperHex(pattern[d])) << pattern;
        }
        i = digitsAt + 4;
    }
}

void ExpectSecondPartShape(const std::string& part, const codestyle::CodeStyleNode& style) {
    ASSERT_EQ(part.size() % 2, 0U) << part;
    ASSERT_LE(part.size(), 2U * 255U);
    for (char c : part) {
        ASSERT_TRUE(IsUpperHex(c)) << part;
    }
    if (!part.empty()) {
        // The first offset byte points just past the offset bytes.
        const int first = std::stoi(part.substr(0, 2), nullptr, 16);
        EXPECT_GE(first, style.layoutCount);
    }
}

// The merged text of a capture that fitted: the pattern with random symbols for its letters,
// now and then cut short or spoilt, as a damaged capture would leave it.
std::string MergedTextFor(std::string pattern, testsupport::RandomStyleMaker& maker) {
    for (char& c : pattern) {
        if (c == 'u') {
            c = "uvwx"[maker.Below(maker.OneIn(3) ? 4 : 2)];
        } else if (maker.OneIn(200)) {
            c = static_cast<char>(maker.Below(128));
        }
    }
    if (maker.OneIn(5)) {
        pattern.resize(maker.Below(static_cast<std::uint32_t>(pattern.size()) + 1));
    }
    return pattern;
}

TEST(PulseTrainRandomInput, RandomStylesAndMergedTexts) {
    testsupport::RandomStyleMaker maker(kSeed);
    int encoded = 0;
    for (int round = 0; round < 3000; ++round) {
        const codestyle::CodeStyleNode style = maker.Style(maker.OneIn(4));
        EncoderState state;
        const std::string pattern = BuildFramePattern(style, state.fieldTables);
        ExpectPatternAlphabet(pattern);
        state.unitTicks = maker.OneIn(10) ? static_cast<int>(maker.Below(600)) - 100
                                          : 1 + static_cast<int>(maker.Below(256));
        state.markMultiplier = maker.OneIn(10) ? static_cast<int>(maker.Below(300)) - 20
                                               : 2 + static_cast<int>(maker.Below(254));
        const std::string merged = MergedTextFor(pattern, maker);
        const std::string four = EncodeSecondPartFourLevel(style, merged, state);
        const std::string two = EncodeSecondPartTwoLevel(style, merged, state);
        ExpectSecondPartShape(four, style);
        ExpectSecondPartShape(two, style);
        encoded += four.empty() ? 0 : 1;
    }
    // The random styles must reach the encoding, or this test would prove little.
    EXPECT_GT(encoded, 100);
}

TEST(PulseTrainRandomInput, RandomLettersToThePackers) {
    testsupport::RandomStyleMaker maker(kSeed);
    for (int round = 0; round < 2000; ++round) {
        std::string letters(maker.Below(24), 'u');
        for (char& c : letters) {
            c = maker.OneIn(10) ? static_cast<char>(maker.Below(256)) : "uvwx"[maker.Below(4)];
        }
        for (const std::string& item :
             {PackFourLevelSymbols(letters), PackTwoLevelSymbols(letters)}) {
            ASSERT_TRUE(item.empty() || item.size() == 4U) << item;
        }
        EXPECT_EQ(PackFourLevelSymbols(letters).empty(), letters.size() > 16);
    }
}

}  // namespace
}  // namespace kv::encoder
