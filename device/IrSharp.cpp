// Sharp: pulse distance with short marks, 15 bits least significant first
// (5 address bits, 8 command bits, expansion bit 1, check bit 0), then the
// same frame with command, expansion and check inverted, so a receiver can
// tell a clean press from noise.
#include "device/IrProtocolEncoders.h"
#include "device/IrSignalBuilder.h"

namespace kv::device {
namespace {

constexpr int kSharpCarrierKHz = 38;
constexpr double kSharpTickUs = 40.0;
constexpr double kSharpMarkUs = 8 * kSharpTickUs;        // 320 µs
constexpr double kSharpZeroSpaceUs = 17 * kSharpTickUs;  // 680 µs: a 1 ms bit
constexpr double kSharpOneSpaceUs = 42 * kSharpTickUs;   // 1.68 ms: a 2 ms bit
constexpr double kSharpHalfGapUs = 1000 * kSharpTickUs;  // 40 ms between the two halves
constexpr int kSharpBits = 15;

constexpr IrSignalBuilder::PulseDistance kSharpBit{kSharpMarkUs, kSharpZeroSpaceUs,
                                                   kSharpOneSpaceUs};

std::uint64_t SharpHalf(const SignalRequest& request, bool inverted) {
    const std::uint64_t command = inverted ? ~request.command & 0xFF : request.command & 0xFF;
    const std::uint64_t expansion = inverted ? 0 : 1;
    const std::uint64_t check = inverted ? 1 : 0;
    return (request.address & 0x1F) | (command << 5) | (expansion << 13) | (check << 14);
}

}  // namespace

IrSignal SynthesiseSharp(const SignalRequest& request) {
    IrSignalBuilder builder(kSharpCarrierKHz);
    for (int frame = 0; frame < request.frames; ++frame) {
        for (const bool inverted : {false, true}) {
            if (frame > 0 || inverted) {
                builder.Space(kSharpHalfGapUs);
            }
            builder.PulseDistanceBits(SharpHalf(request, inverted), kSharpBits,
                                      IrSignalBuilder::BitOrder::LsbFirst, kSharpBit);
            builder.Mark(kSharpMarkUs);
        }
    }
    return builder.Finish();
}

}  // namespace kv::device
