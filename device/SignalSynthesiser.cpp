#include "device/SignalSynthesiser.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "device/CaptureWords.h"
#include "device/IrProtocolEncoders.h"

namespace kv::device {
namespace {

// Sony receivers act only on a frame seen three times; everything else
// acts on the first frame.
int ShortPressFrames(IrProtocol protocol) {
    switch (protocol) {
        case IrProtocol::Sony12:
        case IrProtocol::Sony15:
        case IrProtocol::Sony20:
            return 3;
        default:
            return 1;
    }
}

std::string HexValue(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

// A uniform value in [-1, 1) from the generator's raw bits, so that a seed
// gives the same signal whichever standard library the program is built with.
double UnitJitter(std::mt19937_64& generator) {
    const double unit = static_cast<double>(generator() >> 11) * 0x1.0p-53;
    return 2.0 * unit - 1.0;
}

}  // namespace

std::string CheckSignalRequest(const SignalRequest& request) {
    const IrFieldLimits limits = IrProtocolLimits(request.protocol);
    const std::string name(IrProtocolName(request.protocol));
    if (request.address > limits.maxAddress) {
        return "address " + HexValue(request.address) + " is wider than " + name +
               " carries (at most " + HexValue(limits.maxAddress) + ")";
    }
    if (request.command > limits.maxCommand) {
        return "command " + HexValue(request.command) + " is wider than " + name +
               " carries (at most " + HexValue(limits.maxCommand) + ")";
    }
    if (request.frames < 0 || request.frames > kMaxSignalFrames) {
        return "frames must be 1 to " + std::to_string(kMaxSignalFrames) + " (0 for a short press)";
    }
    return {};
}

std::optional<IrSignal> SynthesiseSignal(const SignalRequest& request) {
    if (!CheckSignalRequest(request).empty()) {
        return std::nullopt;
    }
    SignalRequest resolved = request;
    if (resolved.frames == 0) {
        resolved.frames = ShortPressFrames(request.protocol);
    }
    switch (request.protocol) {
        case IrProtocol::Nec:
        case IrProtocol::NecExtended:
            return SynthesiseNec(resolved);
        case IrProtocol::Samsung32:
            return SynthesiseSamsung32(resolved);
        case IrProtocol::Sony12:
        case IrProtocol::Sony15:
        case IrProtocol::Sony20:
            return SynthesiseSony(resolved);
        case IrProtocol::Rc5:
            return SynthesiseRc5(resolved);
        case IrProtocol::Rc6Mode0:
            return SynthesiseRc6Mode0(resolved);
        case IrProtocol::Jvc:
            return SynthesiseJvc(resolved);
        case IrProtocol::Panasonic:
            return SynthesisePanasonic(resolved);
        case IrProtocol::Sharp:
            return SynthesiseSharp(resolved);
        case IrProtocol::Denon:
            return SynthesiseDenon(resolved);
    }
    return std::nullopt;
}

IrSignal ThroughReceiver(const IrSignal& signal, const ReceiverModel& receiver) {
    // No duration shrinks below this: the receiver needs a few carrier
    // cycles to notice any change at all.
    constexpr double kShortestDurationUs = 10.0;
    std::mt19937_64 generator(receiver.seed);
    IrSignal received = signal;
    for (std::size_t i = 0; i < received.durationsUs.size(); ++i) {
        const bool mark = i % 2 == 0;
        double& duration = received.durationsUs[i];
        duration += mark ? receiver.markStretchUs : -receiver.markStretchUs;
        duration += receiver.jitterUs * UnitJitter(generator);
        duration = std::max(duration, kShortestDurationUs);
    }
    return received;
}

std::string SynthesiseCapture(const SignalRequest& request, const ReceiverModel& receiver) {
    if (!CheckSignalRequest(request).empty()) {
        return {};
    }
    // A key held longer than the capture buffer holds is cut off after the
    // last frame that fits, with the end gap and trailer still behind it.
    SignalRequest held = request;
    held.frames = request.frames == 0 ? ShortPressFrames(request.protocol) : request.frames;
    for (; held.frames >= 1; --held.frames) {
        std::string capture =
            EncodeCaptureWords(ThroughReceiver(*SynthesiseSignal(held), receiver));
        if (!capture.empty()) {
            return capture;
        }
    }
    return {};
}

}  // namespace kv::device
