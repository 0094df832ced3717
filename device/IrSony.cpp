// Sony SIRC: pulse width (the mark carries the bit), least significant bit
// first: 7 command bits, then 5 address bits (12-bit), 8 (15-bit), or 5
// device and 8 extension bits (20-bit). A press sends at least three frames.
#include "device/IrProtocolEncoders.h"
#include "device/IrSignalBuilder.h"

namespace kv::device {
namespace {

constexpr int kSonyCarrierKHz = 40;
constexpr double kSonyTickUs = 600.0;
constexpr double kSonyHeadMarkUs = 4 * kSonyTickUs;  // 2.4 ms
constexpr double kSonySpaceUs = 1 * kSonyTickUs;
constexpr double kSonyZeroMarkUs = 1 * kSonyTickUs;
constexpr double kSonyOneMarkUs = 2 * kSonyTickUs;       // 1.2 ms
constexpr double kSonyFramePeriodUs = 75 * kSonyTickUs;  // 45 ms, start to start

constexpr int kSonyCommandBits = 7;

struct SonyLayout {
    int addressBits;  // after the command
};

SonyLayout LayoutOf(IrProtocol protocol) {
    switch (protocol) {
        case IrProtocol::Sony15:
            return {8};
        case IrProtocol::Sony20:
            return {13};
        default:
            return {5};
    }
}

// The 20-bit frame sends the 5 device bits before the 8 extension bits,
// though the address keeps the device in its high byte.
std::uint64_t AddressBitsToSend(const SignalRequest& request) {
    if (request.protocol == IrProtocol::Sony20) {
        const std::uint64_t device = (request.address >> 8) & 0x1F;
        const std::uint64_t extension = request.address & 0xFF;
        return device | (extension << 5);
    }
    return request.address;
}

}  // namespace

IrSignal SynthesiseSony(const SignalRequest& request) {
    const SonyLayout layout = LayoutOf(request.protocol);
    const std::uint64_t bits =
        (request.command & 0x7F) | (AddressBitsToSend(request) << kSonyCommandBits);
    const int bitCount = kSonyCommandBits + layout.addressBits;
    IrSignalBuilder builder(kSonyCarrierKHz);
    builder.HeldFrames(request.frames, kSonyFramePeriodUs, [&](int) {
        builder.Mark(kSonyHeadMarkUs);
        for (int index = 0; index < bitCount; ++index) {
            builder.Space(kSonySpaceUs);
            const bool one = BitToSend(bits, bitCount, index, IrSignalBuilder::BitOrder::LsbFirst);
            builder.Mark(one ? kSonyOneMarkUs : kSonyZeroMarkUs);
        }
    });
    return builder.Finish();
}

}  // namespace kv::device
