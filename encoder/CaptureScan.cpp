#include "encoder/CaptureScan.h"

#include <array>

#include "encoder/FrameDecoders.h"
#include "encoder/FrameHead.h"
#include "encoder/FrameTiming.h"
#include "encoder/HexGroup.h"
#include "encoder/PatternComparer.h"
#include "encoder/PatternLetters.h"

namespace kv::encoder {

namespace {

// At most this many duration tokens make up a frame head.
constexpr int kMaxHeadTokens = 20;

using FrameDecoder = std::string (*)(std::string_view, const SymbolTimingTable&);
constexpr std::array<FrameDecoder, 4> kDecodersInOrder = {
    DecodeFrameMarkFirst, DecodeFrameSpaceFirst, DecodeSplitFrameSpaceFirst,
    DecodeSplitFrameMarkFirst};

// The next capture frame: everything up to and including the first terminator, or the first 3
// characters when there is none.
std::string_view CutFrame(std::string_view& capture) {
    const std::size_t terminator = capture.find(kFrameTerminator);
    const std::size_t length = terminator == std::string_view::npos ? 3 : terminator + 4;
    const std::string_view frame = Front(capture, length);
    capture = DropFront(capture, length);
    return frame;
}

// A frame ending in a gap group must agree with the marker, unless the gap group is the one the
// conversion makes up for the last frame of a single-frame capture.
bool TimingAgrees(std::string_view marker, std::string_view frame, bool lastFrame) {
    if (frame.find(kGapGroupStart) == std::string_view::npos) {
        return true;
    }
    if (lastFrame && frame.ends_with(kMadeUpEndOfSingleFrame)) {
        return true;
    }
    return CheckFrameTiming(marker, frame);
}

// Appends the merged text of one frame; false when the frame does not fit.
bool MergeFrame(std::string_view part, std::string_view head, std::string_view marker,
                std::string_view frame, bool lastFrame, const SymbolTimingTable& table,
                std::string& merged) {
    const std::string rest = StripFrameHead(frame, head);
    if (rest == kFrameTerminator) {
        // Nothing after the head: the head as the pattern has it, whatever its timing.
        merged.append(head);
        return true;
    }
    // A frame whose timing disagrees refuses the style whatever the decoders make of it, so
    // they need not run.
    if (rest.empty() || !TimingAgrees(marker, frame, lastFrame)) {
        return false;
    }
    bool anyDecoderFits = false;
    std::string candidate;
    for (const FrameDecoder decode : kDecodersInOrder) {
        candidate.assign(head);
        candidate += decode(rest, table);
        const std::string frameMerge = MatchFrameToPattern(part, candidate);
        if (!frameMerge.empty()) {
            merged += frameMerge;
            anyDecoderFits = true;
        }
    }
    return anyDecoderFits;
}

}  // namespace

std::string ScanCaptureAgainstPattern(std::string_view pattern, std::string_view captureBody,
                                      const SymbolTimingTable& table) {
    std::string_view capture = captureBody;
    std::string part;
    std::string head;
    int headTokens = 0;
    std::string merged;
    while (!pattern.empty()) {
        const char c = pattern.front();
        if (IsSymbolLetter(c)) {
            part.push_back(c);
            pattern.remove_prefix(1);
            headTokens = kMaxHeadTokens;  // no head tokens after the first symbol
            continue;
        }
        if (!IsTimingMarker(c)) {
            const std::string_view token = Front(pattern, 4);
            if (headTokens < kMaxHeadTokens) {
                head.append(token);
                ++headTokens;
            }
            part.append(token);
            pattern = DropFront(pattern, 4);
            continue;
        }
        const std::string_view marker = Front(pattern, 5);
        part.append(marker);
        pattern = DropFront(pattern, 5);
        headTokens = 0;

        const std::string_view frame = CutFrame(capture);
        if (!MergeFrame(part, head, marker, frame, capture.empty(), table, merged)) {
            return {};
        }
        if (capture.empty()) {
            return merged;
        }
        part.clear();
        head.clear();
    }
    return merged;
}

}  // namespace kv::encoder
