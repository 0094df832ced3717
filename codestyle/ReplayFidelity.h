#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kv::codestyle {

// A space at least this long ends a frame: the capture conversion writes any space of 32767
// capture units (1/3 µs) or more as a gap between frames.
inline constexpr std::int64_t kFrameGapUs = 10922;

struct SignalFrame {
    std::vector<std::int64_t> durationsUs;  // magnitudes, mark first, alternating
    std::int64_t gapAfterUs = 0;            // 0 after the last frame
};

// Cuts a signal (magnitudes, mark first, alternating) into frames at its long spaces.
std::vector<SignalFrame> SplitSignalFrames(std::span<const std::int64_t> durationsUs);

// Whether a replayed signal is what a receiver would take for the captured one: the first
// frames have the same number of durations, each replayed duration lies within
// max(25 %, 100 µs) of the captured one, and, where both have one, the gap after the first
// frame lies within 10 %. The empty text when faithful; otherwise what differs.
std::string CompareFirstFrame(std::span<const std::int64_t> capturedUs,
                              std::span<const std::int64_t> replayedSignedUs);

}  // namespace kv::codestyle
