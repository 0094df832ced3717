// NEC and extended NEC: pulse distance, 32 bits least significant first,
// then repeat frames (head and one mark) for as long as the key is held.
#include "device/IrProtocolEncoders.h"
#include "device/IrSignalBuilder.h"

namespace kv::device {
namespace {

constexpr int kNecCarrierKHz = 38;
constexpr double kNecTickUs = 562.5;
constexpr double kNecHeadMarkUs = 16 * kNecTickUs;    // 9 ms
constexpr double kNecHeadSpaceUs = 8 * kNecTickUs;    // 4.5 ms
constexpr double kNecRepeatSpaceUs = 4 * kNecTickUs;  // 2.25 ms
constexpr double kNecBitMarkUs = 1 * kNecTickUs;
constexpr double kNecZeroSpaceUs = 1 * kNecTickUs;
constexpr double kNecOneSpaceUs = 3 * kNecTickUs;       // 1.69 ms
constexpr double kNecFramePeriodUs = 192 * kNecTickUs;  // 108 ms, start to start

constexpr IrSignalBuilder::PulseDistance kNecBit{kNecBitMarkUs, kNecZeroSpaceUs, kNecOneSpaceUs};

// Plain NEC sends the address and its inverse; extended NEC spends both
// bytes on a 16-bit address, high byte first.
std::uint32_t NecAddressBytes(const SignalRequest& request) {
    if (request.protocol == IrProtocol::NecExtended) {
        return ((request.address >> 8) & 0xFF) | ((request.address & 0xFF) << 8);
    }
    return (request.address & 0xFF) | ((~request.address & 0xFF) << 8);
}

}  // namespace

IrSignal SynthesiseNec(const SignalRequest& request) {
    const std::uint32_t command = (request.command & 0xFF) | ((~request.command & 0xFF) << 8);
    const std::uint64_t bits = NecAddressBytes(request) | (std::uint64_t{command} << 16);
    IrSignalBuilder builder(kNecCarrierKHz);
    builder.HeldFrames(request.frames, kNecFramePeriodUs, [&](int frame) {
        if (frame == 0) {
            builder.PulseDistanceFrame(kNecHeadMarkUs, kNecHeadSpaceUs, bits, 32,
                                       IrSignalBuilder::BitOrder::LsbFirst, kNecBit);
        } else {
            builder.Mark(kNecHeadMarkUs);
            builder.Space(kNecRepeatSpaceUs);
            builder.Mark(kNecBitMarkUs);
        }
    });
    return builder.Finish();
}

}  // namespace kv::device
