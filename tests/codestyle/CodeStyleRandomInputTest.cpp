#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "codestyle/CarrierArithmetic.h"
#include "codestyle/CodeStyleLibrary.h"
#include "codestyle/CodeStyleLibraryWriter.h"
#include "codestyle/Rounding.h"
#include "tests/support/RandomStyles.h"

namespace kv::codestyle {
namespace {

constexpr std::uint32_t kSeed = 20240611;
constexpr std::size_t kRecord = 1033;

std::string RandomBytes(std::mt19937& random, std::size_t length) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(length, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(byte(random));
    }
    return bytes;
}

// Every style a load returns can be walked by the arithmetic without leaving its arrays or
// dividing by zero, and the results stay in the ranges the key record expects.
void RunArithmetic(const CodeStyleNode& style) {
    std::vector<std::int64_t> durations = CollectStyleDurations(style);
    ASSERT_LE(durations.size(), 216U);
    for (const SymbolShape& shape : style.symbolShapes) {
        for (TimingValue value : shape.values) {
            TimingToDuration(value, style);
        }
    }
    const std::int64_t unit = ComputeTimeUnit(durations, style, 6000);
    ASSERT_GE(unit, 0);
    if (unit > 0) {
        EXPECT_GE(ComputeUnitTicks(unit, 6000), 1);
    }
    const DurationMultipliers multipliers = ComputeDurationMultiplier(durations);
    EXPECT_GE(multipliers.markMultiplier, 2);
    EXPECT_LE(multipliers.markMultiplier, 255);
}

void ExpectSoundLoad(const std::string& bytes) {
    ArrCodeStyleNode library(1);
    std::istringstream stream(bytes);
    if (!LoadCodeStyleLibrary(stream, library)) {
        EXPECT_EQ(library.size(), 1U);
        return;
    }
    EXPECT_LE(library.size(), bytes.size() / kRecord + 1);
    for (const CodeStyleNode& style : library) {
        ASSERT_TRUE(StyleWithinLimits(style));
        RunArithmetic(style);
    }
}

TEST(CodeStyleRandomInput, RandomBytesAfterAnyHeader) {
    std::mt19937 random(kSeed);
    const std::string header = CodeStyleLibraryBytes({});
    for (int round = 0; round < 300; ++round) {
        const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 4000)(random);
        std::string bytes = RandomBytes(random, length);
        if (round % 3 != 0) {
            bytes = header + bytes;  // most rounds get past the header to the records
        }
        ExpectSoundLoad(bytes);
    }
}

TEST(CodeStyleRandomInput, DamagedLibraries) {
    testsupport::RandomStyleMaker maker(kSeed);
    for (int round = 0; round < 200; ++round) {
        ArrCodeStyleNode written;
        for (std::uint32_t i = maker.Below(5); i > 0; --i) {
            written.push_back(maker.Style(true));
        }
        std::string bytes = CodeStyleLibraryBytes(written);
        for (std::uint32_t flips = maker.Below(20); flips > 0 && bytes.size() > 37; --flips) {
            bytes[37 + maker.Below(static_cast<std::uint32_t>(bytes.size() - 37))] =
                static_cast<char>(maker.Below(256));
        }
        if (maker.OneIn(3)) {
            bytes.resize(maker.Below(static_cast<std::uint32_t>(bytes.size()) + 1));
        }
        ExpectSoundLoad(bytes);
    }
}

TEST(CodeStyleRandomInput, ArithmeticOnRandomNumbers) {
    std::mt19937_64 random(kSeed);
    const std::vector<std::int64_t> extremes = {0, 1, -1, std::numeric_limits<std::int64_t>::max(),
                                                std::numeric_limits<std::int64_t>::min()};
    const auto any = [&]() -> std::int64_t {
        switch (random() % 4) {
            case 0:
                return extremes[random() % extremes.size()];
            case 1:
                return static_cast<std::int64_t>(random());
            default:
                return static_cast<std::int64_t>(random() % 2000001) - 1000000;
        }
    };
    for (int round = 0; round < 2000; ++round) {
        const std::int64_t a = any();
        const std::int64_t b = any();
        const std::int64_t gcd = GreatestCommonDivisor(a, b);
        ASSERT_GE(gcd, 0);
        if (gcd > 0) {
            EXPECT_EQ(AbsoluteValue(a) % gcd, 0);
            EXPECT_EQ(AbsoluteValue(b) % gcd, 0);
        }
        const std::int64_t limit = static_cast<std::int64_t>(random() % 5000) - 10;
        const double tolerance = static_cast<double>(random() % 300) / 100.0 - 0.5;
        const std::int64_t divisor = BestDivisor(a, limit, tolerance);
        EXPECT_GE(divisor, 0);
        EXPECT_LE(divisor, AbsoluteValue(a));

        std::vector<std::int64_t> values(random() % 10);
        for (std::int64_t& value : values) {
            value = any();
        }
        const std::int64_t step = LargestCommonStep(values, limit, tolerance);
        EXPECT_GE(step, 1);
        EXPECT_LE(step, std::max<std::int64_t>(1, limit));

        testsupport::RandomStyleMaker maker(static_cast<std::uint32_t>(random()));
        CodeStyleNode style = maker.Style();
        std::vector<std::int64_t> durations = values;
        ComputeTimeUnit(durations, style, static_cast<int>(random() % 20000) - 100);
    }
}

}  // namespace
}  // namespace kv::codestyle
