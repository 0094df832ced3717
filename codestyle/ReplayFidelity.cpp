#include "codestyle/ReplayFidelity.h"

#include <algorithm>
#include <cstdlib>

namespace kv::codestyle {
namespace {

constexpr long double kDurationTolerance = 0.25L;
constexpr std::int64_t kDurationSlackUs = 100;
constexpr long double kGapTolerance = 0.10L;

bool DurationAgrees(std::int64_t captured, std::int64_t replayed) {
    const long double allowed =
        std::max<long double>(kDurationTolerance * static_cast<long double>(captured),
                              static_cast<long double>(kDurationSlackUs));
    return static_cast<long double>(std::llabs(replayed - captured)) <= allowed;
}

}  // namespace

std::vector<SignalFrame> SplitSignalFrames(std::span<const std::int64_t> durationsUs) {
    std::vector<SignalFrame> frames(1);
    for (std::size_t i = 0; i < durationsUs.size(); ++i) {
        const std::int64_t d = std::llabs(durationsUs[i]);
        if (i % 2 == 1 && d >= kFrameGapUs) {
            frames.back().gapAfterUs = d;
            frames.emplace_back();
        } else {
            frames.back().durationsUs.push_back(d);
        }
    }
    if (frames.back().durationsUs.empty() && frames.size() > 1) {
        frames.pop_back();
        frames.back().gapAfterUs = 0;
    }
    return frames;
}

std::string CompareFirstFrame(std::span<const std::int64_t> capturedUs,
                              std::span<const std::int64_t> replayedSignedUs) {
    std::vector<std::int64_t> replayed(replayedSignedUs.begin(), replayedSignedUs.end());
    // A space before the first mark is never seen by a receiver.
    if (!replayed.empty() && replayed.front() < 0) {
        replayed.erase(replayed.begin());
    }
    const std::vector<SignalFrame> capture = SplitSignalFrames(capturedUs);
    const std::vector<SignalFrame> replay = SplitSignalFrames(replayed);
    const SignalFrame& c = capture.front();
    const SignalFrame& r = replay.front();
    if (c.durationsUs.size() != r.durationsUs.size()) {
        return "first frame has " + std::to_string(r.durationsUs.size()) +
               " durations, the capture " + std::to_string(c.durationsUs.size());
    }
    for (std::size_t i = 0; i < c.durationsUs.size(); ++i) {
        if (!DurationAgrees(c.durationsUs[i], r.durationsUs[i])) {
            return "duration " + std::to_string(i) + " is " + std::to_string(r.durationsUs[i]) +
                   " µs, the capture " + std::to_string(c.durationsUs[i]);
        }
    }
    if (c.gapAfterUs > 0 && r.gapAfterUs > 0) {
        const long double difference = std::llabs(r.gapAfterUs - c.gapAfterUs);
        if (difference > kGapTolerance * static_cast<long double>(c.gapAfterUs)) {
            return "gap after the first frame is " + std::to_string(r.gapAfterUs) +
                   " µs, the capture " + std::to_string(c.gapAfterUs);
        }
    }
    return {};
}

}  // namespace kv::codestyle
