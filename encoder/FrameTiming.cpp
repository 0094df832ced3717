#include "encoder/FrameTiming.h"

#include <cstdint>
#include <optional>

#include "encoder/DurationWindow.h"
#include "encoder/HexGroup.h"

namespace kv::encoder {

namespace {

// The frame's durations and gaps in microseconds. A terminator that does not follow a gap is
// added as the number it reads as (0xEDED); the receiver's frames end that way.
std::optional<std::int64_t> FramePeriodMicroseconds(std::string_view frame) {
    std::int64_t sum = 0;
    while (!frame.empty()) {
        const std::string_view group = Front(frame, 4);
        if (group == kGapGroupStart) {
            const auto gapMilliseconds = ReadHexGroup(DropFront(frame, 4));
            if (!gapMilliseconds) {
                return std::nullopt;
            }
            sum += std::int64_t{1000} * *gapMilliseconds;
            frame = DropFront(frame, 12);
            continue;
        }
        const auto value = ReadHexGroup(group);
        if (!value) {
            return std::nullopt;
        }
        sum += *value;
        frame.remove_prefix(4);
    }
    return sum;
}

// The gap after the frame in milliseconds: the group after the first gap group start, or, in a
// frame without one, the group at the fourth character.
std::optional<std::uint32_t> FrameGapMilliseconds(std::string_view frame) {
    const std::size_t gapGroup = frame.find(kGapGroupStart);
    if (gapGroup == std::string_view::npos) {
        return ReadHexGroup(DropFront(frame, 3));
    }
    return ReadHexGroup(DropFront(frame, gapGroup + 4));
}

}  // namespace

bool CheckFrameTiming(std::string_view marker, std::string_view frame) {
    if (marker.empty()) {
        return false;
    }
    const auto markerValue = ReadHexGroup(marker.substr(1));
    if (!markerValue) {
        return false;
    }
    const long double milliseconds = *markerValue;
    if (marker.front() == 'h') {
        const auto period = FramePeriodMicroseconds(frame);
        return period && InsideOpenBand(1000.0L * milliseconds, static_cast<long double>(*period),
                                        0.9L, 1.1L);
    }
    if (marker.front() == 't') {
        const auto gap = FrameGapMilliseconds(frame);
        return gap && InsideOpenBand(milliseconds, *gap, 0.9L, 1.1L);
    }
    return false;
}

}  // namespace kv::encoder
