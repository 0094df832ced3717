// JVC: pulse distance, 8 address and 8 command bits least significant first;
// while the key is held the frame repeats without its head.
#include "device/IrProtocolEncoders.h"
#include "device/IrSignalBuilder.h"

namespace kv::device {
namespace {

constexpr int kJvcCarrierKHz = 38;
constexpr double kJvcTickUs = 525.0;
constexpr double kJvcHeadMarkUs = 16 * kJvcTickUs;  // 8.4 ms
constexpr double kJvcHeadSpaceUs = 8 * kJvcTickUs;  // 4.2 ms
constexpr double kJvcBitMarkUs = 1 * kJvcTickUs;
constexpr double kJvcZeroSpaceUs = 1 * kJvcTickUs;
constexpr double kJvcOneSpaceUs = 3 * kJvcTickUs;       // 1.575 ms
constexpr double kJvcFramePeriodUs = 114 * kJvcTickUs;  // 59.85 ms, start to start

constexpr IrSignalBuilder::PulseDistance kJvcBit{kJvcBitMarkUs, kJvcZeroSpaceUs, kJvcOneSpaceUs};

}  // namespace

IrSignal SynthesiseJvc(const SignalRequest& request) {
    const std::uint64_t bits = (request.address & 0xFF) | ((request.command & 0xFF) << 8);
    IrSignalBuilder builder(kJvcCarrierKHz);
    builder.HeldFrames(request.frames, kJvcFramePeriodUs, [&](int frame) {
        if (frame == 0) {
            builder.PulseDistanceFrame(kJvcHeadMarkUs, kJvcHeadSpaceUs, bits, 16,
                                       IrSignalBuilder::BitOrder::LsbFirst, kJvcBit);
        } else {
            builder.PulseDistanceBits(bits, 16, IrSignalBuilder::BitOrder::LsbFirst, kJvcBit);
            builder.Mark(kJvcBitMarkUs);
        }
    });
    return builder.Finish();
}

}  // namespace kv::device
