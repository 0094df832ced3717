#pragma once

#include <cstdint>

#include "device/SignalSynthesiser.h"

namespace kv::device {

// Builds a signal from marks and spaces. Consecutive marks (or spaces) merge
// into one, which is how a bi-phase bit meets its neighbour, and a space
// before the first mark is dropped: there is no light to measure it from.
class IrSignalBuilder {
  public:
    explicit IrSignalBuilder(int carrierKHz);

    void Mark(double us);
    void Space(double us);

    // Bits as pulse distance: each bit is a mark followed by a short or long space.
    enum class BitOrder { LsbFirst, MsbFirst };
    struct PulseDistance {
        double markUs;
        double zeroSpaceUs;
        double oneSpaceUs;
    };
    void PulseDistanceBits(std::uint64_t value, int count, BitOrder order,
                           const PulseDistance& timing);

    // A frame of a head (mark and space), pulse-distance bits and a closing mark.
    void PulseDistanceFrame(double headMarkUs, double headSpaceUs, std::uint64_t value, int count,
                            BitOrder order, const PulseDistance& timing);

    // Frames of a held key start at a fixed period: `sendFrame(index)` sends
    // each, and a space fills the rest of its period before the next.
    template <typename SendFrame>
    void HeldFrames(int frames, double periodUs, SendFrame sendFrame) {
        for (int frame = 0; frame < frames; ++frame) {
            if (frame > 0) {
                SpaceToNextFrame(periodUs);
            }
            BeginFrame();
            sendFrame(frame);
        }
    }

    IrSignal Finish();

  private:
    void Append(bool mark, double us);
    void BeginFrame();
    void SpaceToNextFrame(double periodUs);

    IrSignal signal_;
    double elapsedUs_ = 0.0;
    double frameStartUs_ = 0.0;
};

// The bit `index` of `value` when `count` bits are sent in `order`.
bool BitToSend(std::uint64_t value, int count, int index, IrSignalBuilder::BitOrder order);

}  // namespace kv::device
