#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/IrProtocol.h"

namespace kv::device {

// An infra-red signal as light: durations in microseconds, marks (carrier on)
// and spaces alternating, starting and ending with a mark. Spaces longer than
// about 11 ms separate the frames of one key press.
struct IrSignal {
    int carrierKHz = 38;
    std::vector<double> durationsUs;
};

// One key press on a room remote.
struct SignalRequest {
    IrProtocol protocol = IrProtocol::Nec;
    std::uint32_t address = 0;
    std::uint32_t command = 0;
    // Frames sent while the key is held; 0 is the protocol's short press
    // (three for Sony, one otherwise). NEC sends repeat frames after the first.
    int frames = 0;
    // The toggle bit of RC5 and RC6, which flips with every new press.
    bool toggle = false;
};

// The longest hold a request may ask for. A capture keeps only the frames
// that fit its buffer (fewer for long frames), as the remote's buffer would.
inline constexpr int kMaxSignalFrames = 30;

// What a demodulating receiver does to the light: its output stays on a
// little after the burst ends, so marks come out longer and spaces shorter,
// and every edge wanders by a few microseconds.
struct ReceiverModel {
    double markStretchUs = 30.0;
    double jitterUs = 20.0;  // each duration moves by up to this much either way
    std::uint64_t seed = 1;
};
inline constexpr ReceiverModel kIdealReceiver{0.0, 0.0, 0};

// Why a request cannot be sent (address or command too wide, frame count out
// of range), or the empty text when it can.
std::string CheckSignalRequest(const SignalRequest& request);

// The nominal signal of a press; nothing when the request is refused.
std::optional<IrSignal> SynthesiseSignal(const SignalRequest& request);

// The signal as the receiver hands it on; the same seed gives the same result.
IrSignal ThroughReceiver(const IrSignal& signal, const ReceiverModel& receiver);

// The raw capture text the remote would hold after this press (see
// CaptureWords.h); empty when the request is refused.
std::string SynthesiseCapture(const SignalRequest& request, const ReceiverModel& receiver);

}  // namespace kv::device
