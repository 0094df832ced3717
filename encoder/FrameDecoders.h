#pragma once

#include <string>
#include <string_view>

#include "encoder/SymbolTimingTable.h"

namespace kv::encoder {

// The four symbol decoders, tried in this order on the rest of a capture frame after its head.
// Each rewrites the frame: a run of durations that matches a symbol of the table becomes the
// symbol's letter, a gap group becomes "h" and its 4 digits, and a duration with which no symbol
// starts stays as its token. They differ in the level expected first, in their tolerance, and
// in whether a too-long last duration of a symbol is rejected (plain) or split, its surplus
// staying in front of the frame (splitting).
//
// A table without symbols or durations (N = 0 or D = 0) decodes nothing: the empty text. An
// entry that was never written fits no duration. A frame rest of 3 characters or fewer gives the
// empty text. A splitting decoder stops once its output reaches 16384 characters, more than any
// frame of a pattern compares.
std::string DecodeFrameMarkFirst(std::string_view frameRest, const SymbolTimingTable& table);
std::string DecodeFrameSpaceFirst(std::string_view frameRest, const SymbolTimingTable& table);
std::string DecodeSplitFrameSpaceFirst(std::string_view frameRest, const SymbolTimingTable& table);
std::string DecodeSplitFrameMarkFirst(std::string_view frameRest, const SymbolTimingTable& table);

}  // namespace kv::encoder
