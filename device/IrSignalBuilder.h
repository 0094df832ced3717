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

    // Frames of a held key start at a fixed period: call BeginFrame where a
    // frame starts and SpaceToNextFrame where it ends.
    void BeginFrame();
    void SpaceToNextFrame(double periodUs);

    IrSignal Finish();

  private:
    void Append(bool mark, double us);

    IrSignal signal_;
    double elapsedUs_ = 0.0;
    double frameStartUs_ = 0.0;
};

// The bit `index` of `value` when `count` bits are sent in `order`.
bool BitToSend(std::uint64_t value, int count, int index, IrSignalBuilder::BitOrder order);

}  // namespace kv::device
