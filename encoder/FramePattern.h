#pragma once

#include <string>

#include "codestyle/CodeStyleNode.h"
#include "encoder/EncoderState.h"

namespace kv::encoder {

// The frame pattern of `style`: for each frame the capture should hold, its duration tokens,
// a "u" for every data symbol and its timing marker ("h" period or "t" gap, in ms). Fills the two
// field tables as a side result, for the pulse-train encoding of the same style.
//
// The empty text, which no capture fits, when the style would give a pattern outside the text
// alphabet: counts beyond the record's limits, a field slot above 3, a duration of 65536 µs or
// more (its token would need a fifth digit), or a frame layout index above 5.
//
// A field reference names its slot the way a definition does, in the magnitude's bits 4 and up
// (y div 16), so that the pattern and the pulse-train encoding take the same width from it.
std::string BuildFramePattern(const codestyle::CodeStyleNode& style, FieldTables& fieldTables);

// How many symbol letters a placeholder field stands for in the pattern, and so how many the
// pulse-train encoding consumes for it: 1 for width 1, 2 for widths 2 to 4, none otherwise.
int PlaceholderLetterCount(int placeholderWidth);

// The slot a field value names, or -1 when it lies outside the four slots of a table.
int FieldSlot(std::int64_t fieldMagnitude);

}  // namespace kv::encoder
