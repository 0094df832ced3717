#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "codestyle/TimingValue.h"

namespace kv::codestyle {

// The pulse shape of one data symbol: the first `count` values are used.
struct SymbolShape {
    std::uint8_t count = 0;
    std::array<TimingValue, 6> values{};

    bool operator==(const SymbolShape&) const = default;
};

// One frame layout of a style: the first `count` values are used.
struct FrameLayout {
    std::uint8_t count = 0;
    std::array<TimingValue, 32> values{};

    bool operator==(const FrameLayout&) const = default;
};

// One code style of the library, with the widths of its record in the library file. The
// reserved bytes of the record are not kept; values beyond a count are kept as the file held
// them.
struct CodeStyleNode {
    static constexpr int kNameLength = 21;
    static constexpr int kMaxSymbols = 4;
    static constexpr int kMaxShapeCount = 6;
    static constexpr int kMaxLayouts = 6;
    static constexpr int kMaxLayoutCount = 32;
    static constexpr int kMaxSequenceLength = 8;
    static constexpr int kMaxTailCount = 4;

    // The name up to its first zero byte, at most kNameLength characters; only shown, never used
    // for encoding.
    std::string name;
    std::uint8_t noCarrier = 0;
    std::int32_t carrierFrequency = 0;
    std::uint8_t carrierByteA = 0;
    std::uint8_t carrierDivisor = 0;
    std::uint8_t symbolCount = 0;
    std::array<SymbolShape, kMaxSymbols> symbolShapes{};
    std::uint8_t placeholderWidth = 0;
    std::uint8_t placeholderParam1 = 0;
    std::uint8_t placeholderParam2 = 0;
    std::uint8_t layoutCount = 0;
    std::array<FrameLayout, kMaxLayouts> layouts{};
    std::uint8_t sequenceLength = 0;
    std::array<TimingValue, kMaxSequenceLength> sequence{};
    std::uint8_t repeatCount = 0;
    std::uint8_t tailCount = 0;
    std::array<TimingValue, kMaxTailCount> tail{};
    std::uint8_t optionHigh = 0;
    std::uint8_t optionByte = 0;
    std::uint8_t optionLow = 0;
    // Two spare integers that the loader sets to 0 and nothing reads.
    std::int32_t spare0 = 0;
    std::int32_t spare1 = 0;

    bool operator==(const CodeStyleNode&) const = default;
};

// The library in memory: the styles in file order, the first tried first.
using ArrCodeStyleNode = std::vector<CodeStyleNode>;

// True when every count of the style stays inside the arrays it counts and the repeat count
// inside the sequence, which is what every stage that walks a style relies on. All shapes and
// layouts are checked, used or not, since a sequence element may name any layout.
bool StyleWithinLimits(const CodeStyleNode& style);

}  // namespace kv::codestyle
