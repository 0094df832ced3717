// Panasonic (Kaseikyo, 48 bits): pulse distance, least significant bit
// first: the maker's code 0x2002, device, sub-device, command, and a check
// byte that is the three before it exclusive-or'ed.
#include "device/IrProtocolEncoders.h"
#include "device/IrSignalBuilder.h"

namespace kv::device {
namespace {

constexpr int kPanasonicCarrierKHz = 37;
constexpr double kPanasonicTickUs = 432.0;
constexpr double kPanasonicHeadMarkUs = 8 * kPanasonicTickUs;   // 3.46 ms
constexpr double kPanasonicHeadSpaceUs = 4 * kPanasonicTickUs;  // 1.73 ms
constexpr double kPanasonicBitMarkUs = 1 * kPanasonicTickUs;
constexpr double kPanasonicZeroSpaceUs = 1 * kPanasonicTickUs;
constexpr double kPanasonicOneSpaceUs = 3 * kPanasonicTickUs;       // 1.3 ms
constexpr double kPanasonicFramePeriodUs = 300 * kPanasonicTickUs;  // 130 ms, start to start
constexpr std::uint64_t kPanasonicMakerCode = 0x2002;               // sent as the bytes 02 20

constexpr IrSignalBuilder::PulseDistance kPanasonicBit{kPanasonicBitMarkUs, kPanasonicZeroSpaceUs,
                                                       kPanasonicOneSpaceUs};

std::uint64_t PanasonicBits(const SignalRequest& request) {
    const std::uint64_t device = (request.address >> 8) & 0xFF;
    const std::uint64_t subDevice = request.address & 0xFF;
    const std::uint64_t command = request.command & 0xFF;
    const std::uint64_t check = device ^ subDevice ^ command;
    return kPanasonicMakerCode | (device << 16) | (subDevice << 24) | (command << 32) |
           (check << 40);
}

}  // namespace

IrSignal SynthesisePanasonic(const SignalRequest& request) {
    const std::uint64_t bits = PanasonicBits(request);
    IrSignalBuilder builder(kPanasonicCarrierKHz);
    builder.HeldFrames(request.frames, kPanasonicFramePeriodUs, [&](int) {
        builder.PulseDistanceFrame(kPanasonicHeadMarkUs, kPanasonicHeadSpaceUs, bits, 48,
                                   IrSignalBuilder::BitOrder::LsbFirst, kPanasonicBit);
    });
    return builder.Finish();
}

}  // namespace kv::device
