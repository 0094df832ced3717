// Samsung32: NEC-like pulse distance with a shorter head, the address byte
// sent twice, and the whole frame repeated while the key is held.
#include "device/IrProtocolEncoders.h"
#include "device/IrSignalBuilder.h"

namespace kv::device {
namespace {

constexpr int kSamsungCarrierKHz = 38;
constexpr double kSamsungTickUs = 560.0;
constexpr double kSamsungHeadMarkUs = 8 * kSamsungTickUs;   // 4.48 ms
constexpr double kSamsungHeadSpaceUs = 8 * kSamsungTickUs;  // 4.48 ms
constexpr double kSamsungBitMarkUs = 1 * kSamsungTickUs;
constexpr double kSamsungZeroSpaceUs = 1 * kSamsungTickUs;
constexpr double kSamsungOneSpaceUs = 3 * kSamsungTickUs;  // 1.68 ms
constexpr double kSamsungFramePeriodUs = 108000.0;

constexpr IrSignalBuilder::PulseDistance kSamsungBit{kSamsungBitMarkUs, kSamsungZeroSpaceUs,
                                                     kSamsungOneSpaceUs};

}  // namespace

IrSignal SynthesiseSamsung32(const SignalRequest& request) {
    const std::uint64_t address = request.address & 0xFF;
    const std::uint64_t command = request.command & 0xFF;
    const std::uint64_t bits =
        address | (address << 8) | (command << 16) | ((~command & 0xFF) << 24);
    IrSignalBuilder builder(kSamsungCarrierKHz);
    builder.HeldFrames(request.frames, kSamsungFramePeriodUs, [&](int) {
        builder.PulseDistanceFrame(kSamsungHeadMarkUs, kSamsungHeadSpaceUs, bits, 32,
                                   IrSignalBuilder::BitOrder::LsbFirst, kSamsungBit);
    });
    return builder.Finish();
}

}  // namespace kv::device
