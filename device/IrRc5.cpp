// Philips RC5: 14 bi-phase bits, most significant first: two start bits (the
// second is the inverted 7th command bit), the toggle, 5 address bits and 6
// command bits. A one is a space then a mark, a zero a mark then a space.
#include "device/IrProtocolEncoders.h"
#include "device/IrSignalBuilder.h"

namespace kv::device {
namespace {

constexpr int kRc5CarrierKHz = 36;
constexpr double kRc5TickUs = 32 * 1e6 / 36000.0;       // half a bit: 32 carrier cycles, 889 µs
constexpr double kRc5FramePeriodUs = 128 * kRc5TickUs;  // 113.8 ms, start to start
constexpr int kRc5Bits = 14;

std::uint64_t Rc5Bits(const SignalRequest& request) {
    const std::uint64_t fieldBit = ((request.command >> 6) & 1U) == 0 ? 1 : 0;
    const std::uint64_t toggle = request.toggle ? 1 : 0;
    return (std::uint64_t{1} << 13) | (fieldBit << 12) | (toggle << 11) |
           ((request.address & 0x1F) << 6) | (request.command & 0x3F);
}

}  // namespace

IrSignal SynthesiseRc5(const SignalRequest& request) {
    const std::uint64_t bits = Rc5Bits(request);
    IrSignalBuilder builder(kRc5CarrierKHz);
    builder.HeldFrames(request.frames, kRc5FramePeriodUs, [&](int) {
        for (int index = 0; index < kRc5Bits; ++index) {
            if (BitToSend(bits, kRc5Bits, index, IrSignalBuilder::BitOrder::MsbFirst)) {
                builder.Space(kRc5TickUs);
                builder.Mark(kRc5TickUs);
            } else {
                builder.Mark(kRc5TickUs);
                builder.Space(kRc5TickUs);
            }
        }
    });
    return builder.Finish();
}

}  // namespace kv::device
