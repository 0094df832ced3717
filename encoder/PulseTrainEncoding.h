#pragma once

#include <string>
#include <string_view>

#include "codestyle/CodeStyleNode.h"
#include "encoder/EncoderState.h"

namespace kv::encoder {

// The second part of the key record: one offset byte per list written, then for each frame
// layout the sequence sends (in order of first use) its item list, built from the style and the
// merged text of the capture (duration tokens, symbol letters and timing markers in the order of
// the frame pattern). A tail makes the last layout a fixed one, written from the style alone.
//
// Reads `unitTicks`, `markMultiplier` and the field tables from `state`, all set for `style`.
// The empty text when the part would not fit the record: a duration of zero steps, a fixed
// duration beyond 64 steps, a symbol group the item code cannot carry, an item count or a byte
// above 255, `unitTicks` outside 1 to 256, or a style beyond the record's limits. The encoder
// then treats the style as one that does not fit.
//
// Four-level (two bits per symbol) serves styles of more than two symbols; two-level (one bit
// per symbol) the others, and writes frame lists only for exactly two symbols.
std::string EncodeSecondPartFourLevel(const codestyle::CodeStyleNode& style,
                                      std::string_view mergedText, const EncoderState& state);
std::string EncodeSecondPartTwoLevel(const codestyle::CodeStyleNode& style,
                                     std::string_view mergedText, const EncoderState& state);

// The two-byte item (hex text) of a symbol group. Four-level: 0x4F + count, then the first four
// letters two bits each, most significant first (other characters count 0). Two-level: 0x3F +
// count, then the first eight letters one bit each. The empty text when the group does not fit
// the item: more than 16 letters, or a two-level value above 255 ("w", "x" or a non-letter).
std::string PackFourLevelSymbols(std::string_view letters);
std::string PackTwoLevelSymbols(std::string_view letters);

}  // namespace kv::encoder
