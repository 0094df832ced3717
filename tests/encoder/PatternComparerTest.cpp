#include <gtest/gtest.h>

#include <string>

#include "encoder/PatternComparer.h"
#include "encoder/PatternLetters.h"
#include "tests/encoder/CaseName.h"

namespace kv::encoder {
namespace {

TEST(SymbolLetterIndex, GivesTheDataValueOfEachLetterAndTenOtherwise) {
    const struct {
        const char* text;
        int index;
    } cases[] = {{"u", 0},   {"v", 1}, {"w", 2},  {"x", 3},  {"U", 10},
                 {"uv", 10}, {"", 10}, {"h", 10}, {"t", 10}, {"0", 10}};
    for (const auto& c : cases) {
        EXPECT_EQ(SymbolLetterIndex(std::string(c.text)), c.index) << c.text;
    }
}

TEST(IsTimingMarker, IsTrueExactlyForHAndT) {
    const struct {
        const char* text;
        bool marker;
    } cases[] = {{"h", true}, {"t", true},   {"H", false}, {"T", false},
                 {"", false}, {"ht", false}, {"u", false}, {"0", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(IsTimingMarker(std::string(c.text)), c.marker) << c.text;
    }
}

struct MatchCase {
    const char* name;
    const char* pattern;
    const char* candidate;
    const char* merged;
};

class MatchFrameToPatternTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchFrameToPatternTest, MergesOrRejects) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(MatchFrameToPattern(c.pattern, c.candidate), c.merged);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MatchFrameToPatternTest,
    ::testing::Values(
        // Letters from the candidate, tokens and the marker with its value from the pattern.
        MatchCase{"LettersFromCandidate", "0230uuh006C", "0200vuh0070", "0230vuh006C"},
        // 30 % either side of 100, both bounds strict.
        MatchCase{"LowerBoundExcluded", "0064", "0046", ""},
        MatchCase{"UpperBoundExcluded", "0064", "0082", ""},
        MatchCase{"JustAboveLowerBound", "0064", "0047", "0064"},
        MatchCase{"JustBelowUpperBound", "0064", "0081", "0064"},
        MatchCase{"LetterFacingToken", "0230u", "02300230", ""},
        MatchCase{"TokenFacingLetter", "02300230", "0230u", ""},
        MatchCase{"MarkerFacingToken", "0230h006C", "02300230", ""},
        MatchCase{"TokenFacingMarker", "02300230", "0230t0028", ""},
        MatchCase{"PatternLongerKeepsPrefix", "0230u", "0230", "0230"},
        MatchCase{"CandidateLongerKeepsPrefix", "0230", "0230vv", "0230"},
        MatchCase{"TAndHCountAlike", "t0028", "h0027", "t0028"},
        MatchCase{"EmptyPattern", "", "0230", ""}, MatchCase{"EmptyCandidate", "0230", "", ""},
        MatchCase{"LowerCaseDigitsRead", "00AA", "00aa", "00AA"},
        MatchCase{"CandidateNotHex", "0230", "02G0", ""},
        MatchCase{"PatternNotHex", "02G0", "0230", ""},
        MatchCase{"TokenCutShort", "0230u", "023", ""},
        MatchCase{"MarkerCutShort", "uh00", "vh0027", "vh00"}),
    kv::encoder::testing::CaseName());

}  // namespace
}  // namespace kv::encoder
