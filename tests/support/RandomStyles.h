#pragma once

#include <cstdint>
#include <random>

#include "codestyle/CodeStyleNode.h"
#include "codestyle/TimingValue.h"

// Code styles made of random but mostly meaningful values, so that randomised tests reach deep
// into the stages instead of stopping at the first check.
namespace kv::testsupport {

class RandomStyleMaker {
  public:
    explicit RandomStyleMaker(std::uint32_t seed) : random_(seed) {}

    std::uint32_t Below(std::uint32_t limit) {
        return std::uniform_int_distribution<std::uint32_t>(0, limit - 1)(random_);
    }

    bool OneIn(std::uint32_t n) { return Below(n) == 0; }

    // A value of a kind the stages branch on, now and then an odd kind or a wild magnitude.
    codestyle::TimingValue Value() {
        static constexpr std::uint8_t kKinds[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06,
                                                  0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D,
                                                  0x0E, 0x0F, 0x10, 0x19, 0x1D, 0x80, 0xFF};
        const std::uint8_t kind = kKinds[Below(sizeof kKinds)];
        std::uint32_t magnitude = 0;
        if (OneIn(10)) {
            magnitude = Below(0x1000000);
        } else if (kind <= 0x07) {
            magnitude = 10000 + Below(1000000);  // 100 µs to 10 ms, or that many ms / cycles
            if (kind == 0x01 || kind == 0x05) {
                magnitude /= 1000;
            }
        } else if (kind == 0x0F) {
            magnitude = (Below(10) << 16) | Below(0x10000);
        } else if (kind >= 0x10) {
            magnitude = (Below(7) << 20) | Below(20000);
        } else {
            magnitude = Below(4) * 16 + Below(10);
        }
        return static_cast<codestyle::TimingValue>((std::uint32_t{kind} << 24) | magnitude);
    }

    codestyle::TimingValue Element() {
        if (OneIn(10)) {
            return Value();
        }
        const std::uint32_t kinds[] = {0x10, 0x19, 0x1D};
        const std::uint32_t layout = OneIn(20) ? Below(16) : Below(6);
        return (kinds[Below(3)] << 24) | (layout << 20) | Below(15000);
    }

    // Within the record's limits unless `anyCounts`, then counts may go beyond them.
    codestyle::CodeStyleNode Style(bool anyCounts = false) {
        codestyle::CodeStyleNode style;
        style.noCarrier = OneIn(4) ? 1 : 0;
        style.carrierFrequency = OneIn(10) ? static_cast<std::int32_t>(Below(200000)) - 1000
                                           : 30000 + static_cast<std::int32_t>(Below(30000));
        style.carrierByteA = static_cast<std::uint8_t>(Below(4));
        style.carrierDivisor = static_cast<std::uint8_t>(OneIn(10) ? Below(256) : Below(5));
        style.symbolCount = Count(4, anyCounts);
        for (codestyle::SymbolShape& shape : style.symbolShapes) {
            shape.count = Count(6, anyCounts);
            for (codestyle::TimingValue& value : shape.values) {
                value = OneIn(2) ? (Below(2) == 0 ? 0x04000000U : 0U) | (5000 + Below(200000))
                                 : Value();
            }
        }
        style.placeholderWidth = static_cast<std::uint8_t>(Below(6));
        style.placeholderParam1 = static_cast<std::uint8_t>(Below(4));
        style.placeholderParam2 = static_cast<std::uint8_t>(Below(4));
        style.layoutCount = Count(6, anyCounts);
        for (codestyle::FrameLayout& layout : style.layouts) {
            layout.count = Count(12, anyCounts);
            for (codestyle::TimingValue& value : layout.values) {
                value = Value();
            }
        }
        style.sequenceLength = Count(8, anyCounts);
        for (codestyle::TimingValue& element : style.sequence) {
            element = Element();
        }
        style.repeatCount = static_cast<std::uint8_t>(Below(style.sequenceLength + 1U));
        style.tailCount = Count(4, anyCounts);
        for (codestyle::TimingValue& element : style.tail) {
            element = Element();
        }
        style.optionHigh = static_cast<std::uint8_t>(Below(16));
        style.optionByte = static_cast<std::uint8_t>(Below(256));
        style.optionLow = static_cast<std::uint8_t>(Below(16));
        return style;
    }

    std::mt19937& Engine() { return random_; }

  private:
    std::uint8_t Count(std::uint32_t limit, bool anyCounts) {
        return static_cast<std::uint8_t>(anyCounts && OneIn(8) ? Below(256) : Below(limit + 1));
    }

    std::mt19937 random_;
};

}  // namespace kv::testsupport
