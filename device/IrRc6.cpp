// Philips RC6 mode 0: a leader, a start bit, three mode bits, the toggle as
// a double-width trailer bit, then 8 address and 8 command bits, most
// significant first. Bi-phase the other way round from RC5: a one is a mark
// then a space.
#include "device/IrProtocolEncoders.h"
#include "device/IrSignalBuilder.h"

namespace kv::device {
namespace {

constexpr int kRc6CarrierKHz = 36;
constexpr double kRc6TickUs = 16 * 1e6 / 36000.0;       // 16 carrier cycles, 444 µs
constexpr double kRc6LeaderMarkUs = 6 * kRc6TickUs;     // 2.67 ms
constexpr double kRc6LeaderSpaceUs = 2 * kRc6TickUs;    // 889 µs
constexpr double kRc6FramePeriodUs = 240 * kRc6TickUs;  // 107 ms, start to start
constexpr int kRc6ModeBits = 3;
constexpr std::uint64_t kRc6Mode = 0;
constexpr int kRc6DataBits = 16;

void Rc6Bit(IrSignalBuilder& builder, bool one, double halfUs) {
    if (one) {
        builder.Mark(halfUs);
        builder.Space(halfUs);
    } else {
        builder.Space(halfUs);
        builder.Mark(halfUs);
    }
}

}  // namespace

IrSignal SynthesiseRc6Mode0(const SignalRequest& request) {
    const std::uint64_t data = ((request.address & 0xFF) << 8) | (request.command & 0xFF);
    IrSignalBuilder builder(kRc6CarrierKHz);
    builder.HeldFrames(request.frames, kRc6FramePeriodUs, [&](int) {
        builder.Mark(kRc6LeaderMarkUs);
        builder.Space(kRc6LeaderSpaceUs);
        Rc6Bit(builder, true, kRc6TickUs);  // start bit
        for (int index = 0; index < kRc6ModeBits; ++index) {
            Rc6Bit(builder,
                   BitToSend(kRc6Mode, kRc6ModeBits, index, IrSignalBuilder::BitOrder::MsbFirst),
                   kRc6TickUs);
        }
        Rc6Bit(builder, request.toggle, 2 * kRc6TickUs);
        for (int index = 0; index < kRc6DataBits; ++index) {
            Rc6Bit(builder,
                   BitToSend(data, kRc6DataBits, index, IrSignalBuilder::BitOrder::MsbFirst),
                   kRc6TickUs);
        }
    });
    return builder.Finish();
}

}  // namespace kv::device
