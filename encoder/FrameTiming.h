#pragma once

#include <string_view>

namespace kv::encoder {

// The gap group and terminator that end a capture frame.
inline constexpr std::string_view kGapGroupStart = "FEFE";
inline constexpr std::string_view kFrameTerminator = "EDED";

// Checks a whole capture frame (head included, up to its terminator) against the pattern's
// timing marker for it, within 10 %: for "hNNNN" the sum of all its durations and its gap
// against the period of NNNN ms, for "tNNNN" the gap after the frame against NNNN ms. Any other
// marker, and a value that cannot be read (a group that is not hexadecimal, a text that runs
// out), gives false.
bool CheckFrameTiming(std::string_view marker, std::string_view frame);

}  // namespace kv::encoder
