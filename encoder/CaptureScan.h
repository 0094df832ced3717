#pragma once

#include <string>
#include <string_view>

#include "encoder/SymbolTimingTable.h"

namespace kv::encoder {

// The gap group that the capture text conversion writes after the only frame of a
// single-frame capture. It measures nothing, so it takes no part in the frame timing check.
inline constexpr std::string_view kMadeUpEndOfSingleFrame = "FEFE0014EDED";

// Walks a style's frame pattern against the capture body (frames after frame count, carrier and
// carrier marker) frame by frame: each pattern frame takes the next capture frame, which must
// pass the timing check, begin with the pattern's head and, after the head, decode into the
// pattern's shape with at least one of the four decoders. Returns the merged text of the frames
// compared (each fitting decoder's merge in turn), or the empty text when a frame does not fit.
// Frames beyond the pattern are ignored, and so is pattern left over when the capture runs out.
std::string ScanCaptureAgainstPattern(std::string_view pattern, std::string_view captureBody,
                                      const SymbolTimingTable& table);

}  // namespace kv::encoder
