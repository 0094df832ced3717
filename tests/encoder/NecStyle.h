#pragma once

#include <string>

#include "codestyle/CodeStyleNode.h"
#include "codestyle/TimingValue.h"
#include "tests/support/ExampleStyles.h"

namespace kv::encoder::testing {

// The NEC-like style of the shared examples made a full NEC remote: four fields of 8 symbols
// (one definition and three references to its slot) and both frames repeated every 108 ms.
inline codestyle::CodeStyleNode NecStyle() {
    using codestyle::ElementValue;
    using codestyle::FieldValue;
    using codestyle::MarkValue;
    using codestyle::SpaceValue;
    using codestyle::TimingKind;
    codestyle::CodeStyleNode style = testsupport::NecLikeStyle();
    const codestyle::TimingValue reference = FieldValue(TimingKind::kSecondTableReferenceAlt, 0, 0);
    testsupport::SetLayout(style, 0,
                           {MarkValue(900000), SpaceValue(450000),
                            FieldValue(TimingKind::kSecondTableDefinition, 0, 8), reference,
                            reference, reference, MarkValue(56000)});
    testsupport::SetSequence(style, {ElementValue(TimingKind::kPeriodElement, 0, 10800),
                                     ElementValue(TimingKind::kPeriodElement, 1, 10800)});
    return style;
}

// Frame 1 of address 0x04, command 0x08 as a receiver measures it (marks a little long, spaces
// a little short), without its end; the data bits go least significant first.
inline std::string NecDataFrame() {
    std::string frame =
        "2346"
        "1176";
    for (const int byte : {0x04, 0xFB, 0x08, 0xF7}) {
        for (int bit = 0; bit < 8; ++bit) {
            frame += (byte >> bit) & 1 ? "02440681" : "0244021C";
        }
    }
    return frame + "0244";
}

inline constexpr const char* kNecRepeatFrame = "234608B00244";

// A held key: the data frame, a repeat frame, and a last repeat frame ended by the end gap.
inline std::string NecCaptureBody() {
    return NecDataFrame() + "FEFE0028EDED" + kNecRepeatFrame + "FEFE0060EDED" + kNecRepeatFrame +
           "EDED";
}

// A quick tap: the data frame alone, with the gap group the conversion makes up for it.
inline std::string NecSingleFrameBody() {
    return NecDataFrame() + "FEFE0014EDED";
}

// The record of key 0x1C for the capture above, worked out by hand: header; first part (unit of
// 53 ticks, multipliers 63, carrier byte 1 × 7 + 3, one period entry of 12226 units for layout 1,
// symbols 560/560 and 560/1690); second part (layout 0: 9000, 4500, four groups 20 DF 10 EF,
// 560; layout 1: 9000, 2250, 560).
inline constexpr const char* kNecRecordKey1C =
    "00011CC70A0016200012"
    "0E16340A3E3E00002210"
    "C22F8001"
    "020502C08002C082"
    "020E07CF874720"
    "47DF471047EFC0"
    "03CF83C0";

}  // namespace kv::encoder::testing
