#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "encoder/FrameDecoders.h"
#include "encoder/FrameHead.h"
#include "encoder/FrameTiming.h"
#include "encoder/PatternComparer.h"
#include "encoder/PatternLetters.h"

namespace kv::encoder {
namespace {

// Random texts built from the pieces real frames and patterns are made of, mixed with stray
// characters, so that the walks reach their rare branches as well as their bad-input ones.
class RandomText {
  public:
    explicit RandomText(std::uint32_t seed) : engine_(seed) {}

    std::string Next() {
        static constexpr std::array<const char*, 14> kPieces = {
            "0230", "0690", "2328",  "1194",  "FEFE", "EDED", "0027",
            "u",    "v",    "h006C", "t0028", "ZZ",   "x",    "0"};
        std::string text;
        const int pieces = Uniform(0, 24);
        for (int i = 0; i < pieces; ++i) {
            if (Uniform(0, 4) == 0) {
                text.push_back(static_cast<char>(Uniform(0, 255)));
            } else if (Uniform(0, 2) == 0) {
                text += RandomGroup();
            } else {
                text += kPieces[static_cast<std::size_t>(Uniform(0, kPieces.size() - 1))];
            }
        }
        return text;
    }

    // A table with counts beyond the limits, zero durations and unwritten entries.
    SymbolTimingTable NextTable() {
        SymbolTimingTable table;
        table.symbolCount = Uniform(-1, 6);
        table.durationsPerSymbol = Uniform(-1, 8);
        for (int s = 0; s < SymbolTimingTable::kMaxSymbols; ++s) {
            for (int i = 0; i < SymbolTimingTable::kMaxDurations; ++i) {
                if (Uniform(0, 5) != 0) {
                    table.SetEntry(s, i, Uniform(-3000, 3000));
                }
            }
        }
        return table;
    }

  private:
    std::string RandomGroup() {
        static constexpr char kHex[] = "0123456789ABCDEFabcdef";
        std::string group;
        for (int i = 0; i < 4; ++i) {
            group.push_back(kHex[Uniform(0, 21)]);
        }
        return group;
    }

    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(engine_);
    }

    std::mt19937 engine_;
};

bool DecodedCharacter(char c, std::string_view input) {
    return IsSymbolLetter(c) || c == 'h' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') ||
           input.find(c) != std::string_view::npos;
}

TEST(AnalysisRandomInput, EveryFunctionGivesADefinedResult) {
    RandomText random(20240611);
    for (int round = 0; round < 5000; ++round) {
        const std::string a = random.Next();
        const std::string b = random.Next();
        const SymbolTimingTable table = random.NextTable();

        EXPECT_LE(SymbolLetterIndex(a), 10);
        EXPECT_EQ(IsTimingMarker(a), a == "h" || a == "t");
        EXPECT_LE(MatchFrameToPattern(a, b).size(), a.size());
        CheckFrameTiming(a, b);
        const std::string stripped = StripFrameHead(a, b);
        EXPECT_LE(stripped.size(), a.size());

        // The plain decoders write at most one character for each one they consume.
        for (auto decoder : {DecodeFrameMarkFirst, DecodeFrameSpaceFirst}) {
            const std::string decoded = decoder(a, table);
            EXPECT_LE(decoded.size(), a.size()) << a;
        }
        for (auto decoder : {DecodeFrameMarkFirst, DecodeFrameSpaceFirst,
                             DecodeSplitFrameSpaceFirst, DecodeSplitFrameMarkFirst}) {
            for (char c : decoder(a, table)) {
                ASSERT_TRUE(DecodedCharacter(c, a)) << a;
            }
        }
    }
}

}  // namespace
}  // namespace kv::encoder
