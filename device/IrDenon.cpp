// Denon: the Sharp frame shape with its own timings, 15 bits least
// significant first (5 address bits, 8 command bits, two extension bits 00),
// then the frame again with command and extension inverted.
#include "device/IrProtocolEncoders.h"
#include "device/IrSignalBuilder.h"

namespace kv::device {
namespace {

constexpr int kDenonCarrierKHz = 38;
constexpr double kDenonTickUs = 25.0;
constexpr double kDenonMarkUs = 11 * kDenonTickUs;           // 275 µs
constexpr double kDenonZeroSpaceUs = 31 * kDenonTickUs;      // 775 µs
constexpr double kDenonOneSpaceUs = 76 * kDenonTickUs;       // 1.9 ms
constexpr double kDenonFramePeriodUs = 2600 * kDenonTickUs;  // 65 ms, start to start
constexpr int kDenonBits = 15;

constexpr IrSignalBuilder::PulseDistance kDenonBit{kDenonMarkUs, kDenonZeroSpaceUs,
                                                   kDenonOneSpaceUs};

std::uint64_t DenonHalf(const SignalRequest& request, bool inverted) {
    const std::uint64_t command = inverted ? ~request.command & 0xFF : request.command & 0xFF;
    const std::uint64_t extension = inverted ? 0b11 : 0b00;
    return (request.address & 0x1F) | (command << 5) | (extension << 13);
}

}  // namespace

IrSignal SynthesiseDenon(const SignalRequest& request) {
    IrSignalBuilder builder(kDenonCarrierKHz);
    // Each press is a frame and its inverted twin, every half at the period.
    builder.HeldFrames(2 * request.frames, kDenonFramePeriodUs, [&](int half) {
        builder.PulseDistanceBits(DenonHalf(request, half % 2 == 1), kDenonBits,
                                  IrSignalBuilder::BitOrder::LsbFirst, kDenonBit);
        builder.Mark(kDenonMarkUs);
    });
    return builder.Finish();
}

}  // namespace kv::device
