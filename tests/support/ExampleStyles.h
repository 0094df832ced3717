#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "codestyle/CodeStyleNode.h"
#include "codestyle/TimingValue.h"

// Code styles that tests of several folders build on, written with the same builders a
// library author uses.
namespace kv::testsupport {

inline void SetLayout(codestyle::CodeStyleNode& style, int layout,
                      const std::vector<codestyle::TimingValue>& values) {
    codestyle::FrameLayout& target = style.layouts[static_cast<std::size_t>(layout)];
    target.count = static_cast<std::uint8_t>(values.size());
    std::size_t i = 0;
    for (codestyle::TimingValue value : values) {
        target.values[i++] = value;
    }
}

inline void SetShape(codestyle::CodeStyleNode& style, int symbol,
                     const std::vector<codestyle::TimingValue>& values) {
    codestyle::SymbolShape& target = style.symbolShapes[static_cast<std::size_t>(symbol)];
    target.count = static_cast<std::uint8_t>(values.size());
    std::size_t i = 0;
    for (codestyle::TimingValue value : values) {
        target.values[i++] = value;
    }
}

inline void SetSequence(codestyle::CodeStyleNode& style,
                        const std::vector<codestyle::TimingValue>& elements) {
    style.sequenceLength = static_cast<std::uint8_t>(elements.size());
    std::size_t i = 0;
    for (codestyle::TimingValue element : elements) {
        style.sequence[i++] = element;
    }
}

// An NEC-like two-symbol style at 38 kHz: a frame of lead-in, 8 + 8 data symbols through the
// second field table and a stop mark, then a repeat frame 40 ms after it.
inline codestyle::CodeStyleNode NecLikeStyle() {
    using codestyle::ElementValue;
    using codestyle::FieldValue;
    using codestyle::MakeTimingValue;
    using codestyle::MarkValue;
    using codestyle::SpaceValue;
    using codestyle::TimingKind;
    codestyle::CodeStyleNode style;
    style.name = "NEC";
    style.carrierFrequency = 38000;
    style.carrierByteA = 1;
    style.carrierDivisor = 3;
    style.symbolCount = 2;
    SetShape(style, 0, {MarkValue(56000), SpaceValue(56000)});
    SetShape(style, 1, {MarkValue(56000), SpaceValue(169000)});
    style.layoutCount = 2;
    SetLayout(style, 0,
              {MarkValue(900000), SpaceValue(450000),
               FieldValue(TimingKind::kSecondTableDefinition, 0, 8),
               MakeTimingValue(TimingKind::kSecondTableReferenceAlt, 0), MarkValue(56000)});
    SetLayout(style, 1, {MarkValue(900000), SpaceValue(225000), MarkValue(56000)});
    SetSequence(style, {ElementValue(TimingKind::kGapElement, 0, 0),
                        ElementValue(TimingKind::kGapElement, 1, 4000)});
    style.repeatCount = 1;
    return style;
}

}  // namespace kv::testsupport
