#include <gtest/gtest.h>

#include <random>
#include <string>

#include "codestyle/TimingValue.h"
#include "encoder/HexGroup.h"
#include "encoder/LearnedCodeEncoder.h"
#include "tests/encoder/NecStyle.h"

namespace kv::encoder {
namespace {

using codestyle::CodeStyleNode;

class RandomStyles {
  public:
    explicit RandomStyles(std::uint32_t seed) : engine_(seed) {}

    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(engine_);
    }

    // A style whose counts and values may break every limit a library file should keep.
    CodeStyleNode Style() {
        if (Uniform(0, 2) == 0) {
            return Spoilt(testing::NecStyle());
        }
        CodeStyleNode style;
        style.noCarrier = static_cast<std::uint8_t>(Uniform(0, 3) == 0);
        style.carrierFrequency = std::array{0, 1000, 36000, 38000, 56000, -5}[Pick(6)];
        style.carrierByteA = static_cast<std::uint8_t>(Uniform(0, 255));
        style.carrierDivisor = static_cast<std::uint8_t>(Uniform(0, 8));
        style.symbolCount = static_cast<std::uint8_t>(Uniform(0, 6));
        for (auto& shape : style.symbolShapes) {
            shape.count = static_cast<std::uint8_t>(Uniform(0, 8));
            for (auto& value : shape.values) {
                value = Duration();
            }
        }
        style.placeholderWidth = static_cast<std::uint8_t>(Uniform(0, 5));
        style.layoutCount = static_cast<std::uint8_t>(Uniform(0, 7));
        for (auto& layout : style.layouts) {
            layout.count = static_cast<std::uint8_t>(Uniform(0, 34));
            for (auto& value : layout.values) {
                value = Uniform(0, 2) == 0 ? Duration() : AnyValue();
            }
        }
        style.sequenceLength = static_cast<std::uint8_t>(Uniform(0, 9));
        for (auto& element : style.sequence) {
            element = Element();
        }
        style.repeatCount = static_cast<std::uint8_t>(Uniform(0, 9));
        style.tailCount = static_cast<std::uint8_t>(Uniform(0, 5));
        for (auto& element : style.tail) {
            element = Element();
        }
        style.optionHigh = static_cast<std::uint8_t>(Uniform(0, 20));
        style.optionLow = static_cast<std::uint8_t>(Uniform(0, 20));
        return style;
    }

    // NEC-like text with jitter, cut, doubled or mixed with stray groups.
    std::string Body() {
        std::string body =
            Uniform(0, 1) ? testing::NecCaptureBody() : testing::NecSingleFrameBody();
        for (int edits = Uniform(0, 6); edits > 0; --edits) {
            const std::size_t at =
                static_cast<std::size_t>(Uniform(0, static_cast<int>(body.size())));
            switch (Uniform(0, 3)) {
                case 0:
                    body.insert(at, FormatHex4(static_cast<std::uint64_t>(Uniform(0, 0xFFFF))));
                    break;
                case 1:
                    body.erase(at, static_cast<std::size_t>(Uniform(1, 8)));
                    break;
                case 2:
                    body.insert(at, std::array{"FEFE", "EDED", "FEFE0014EDED", "zz"}[Pick(4)]);
                    break;
                default:
                    body.resize(at);
                    break;
            }
        }
        return body;
    }

  private:
    std::size_t Pick(int count) { return static_cast<std::size_t>(Uniform(0, count - 1)); }

    codestyle::TimingValue Duration() {
        const auto kind =
            static_cast<std::uint32_t>(std::array{0x00, 0x01, 0x02, 0x04, 0x05, 0x06}[Pick(6)]);
        return (kind << 24) | static_cast<std::uint32_t>(Uniform(0, 1000000));
    }
    codestyle::TimingValue AnyValue() {
        return (static_cast<std::uint32_t>(Uniform(0, 0x20)) << 24) |
               static_cast<std::uint32_t>(Uniform(0, 0xFFFFFF));
    }
    codestyle::TimingValue Element() {
        const auto kind =
            static_cast<std::uint32_t>(std::array{0x10, 0x19, 0x1D, 0x04, 0x00}[Pick(5)]);
        return (kind << 24) | (static_cast<std::uint32_t>(Uniform(0, 7)) << 20) |
               static_cast<std::uint32_t>(Uniform(0, 70000));
    }
    CodeStyleNode Spoilt(CodeStyleNode style) {
        switch (Uniform(0, 4)) {
            case 0:
                style.carrierDivisor = static_cast<std::uint8_t>(Uniform(0, 40));
                break;
            case 1:
                style.carrierFrequency = Uniform(0, 60000);
                break;
            case 2:
                style.noCarrier = 1;
                break;
            case 3:
                style.symbolShapes[static_cast<std::size_t>(Uniform(0, 1))].values[1] =
                    codestyle::SpaceValue(static_cast<std::uint32_t>(Uniform(0, 400000)));
                break;
            default:
                break;
        }
        return style;
    }

    std::mt19937 engine_;
};

// The header and the lengths it gives agree with the text, and every byte is two upper-case
// hexadecimal digits.
void ExpectConsistentRecord(const std::string& record, int keyCode) {
    ASSERT_EQ(record.size() % 2, 0U);
    for (char c : record) {
        ASSERT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << record;
    }
    const auto byte = [&](std::size_t offset) {
        return std::stoi(record.substr(2 * offset, 2), nullptr, 16);
    };
    ASSERT_GE(record.size(), 20U);
    EXPECT_EQ(record.substr(0, 4), "0001");
    EXPECT_EQ(byte(2), keyCode);
    EXPECT_EQ(record.substr(6, 6), "C70A00");
    const int firstPart = byte(6);
    const int secondPart = byte(9);
    EXPECT_LE(firstPart, 245);
    EXPECT_EQ(byte(7), firstPart + 10);
    EXPECT_EQ(record.size(), static_cast<std::size_t>(2 * (10 + firstPart + secondPart)));
    EXPECT_GT(secondPart, 0);
    EXPECT_EQ(byte(11), firstPart);
}

TEST(EncoderRandomInput, RecordsAlwaysFitTheirFields) {
    RandomStyles random(7);
    int records = 0;
    EncoderState state;
    for (int round = 0; round < 1500; ++round) {
        codestyle::ArrCodeStyleNode library;
        for (int i = random.Uniform(0, 4); i > 0; --i) {
            library.push_back(random.Style());
        }
        if (random.Uniform(0, 3) == 0) {
            library.push_back(testing::NecStyle());
        }
        const int keyCode = random.Uniform(0, 255);
        const std::string record = EncodeWithLibrary(random.Body(), keyCode, library, state);
        if (!record.empty()) {
            ++records;
            ExpectConsistentRecord(record, keyCode);
        }
    }
    EXPECT_GT(records, 0);
}

}  // namespace
}  // namespace kv::encoder
