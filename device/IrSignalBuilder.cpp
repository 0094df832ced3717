#include "device/IrSignalBuilder.h"

#include <algorithm>

namespace kv::device {

bool BitToSend(std::uint64_t value, int count, int index, IrSignalBuilder::BitOrder order) {
    const int bit = order == IrSignalBuilder::BitOrder::LsbFirst ? index : count - 1 - index;
    return ((value >> bit) & 1U) != 0;
}

IrSignalBuilder::IrSignalBuilder(int carrierKHz) {
    signal_.carrierKHz = carrierKHz;
}

void IrSignalBuilder::Append(bool mark, double us) {
    if (us <= 0.0) {
        return;
    }
    std::vector<double>& durations = signal_.durationsUs;
    const bool lastIsMark = durations.size() % 2 == 1;
    if (durations.empty() && !mark) {
        return;
    }
    elapsedUs_ += us;
    if (!durations.empty() && lastIsMark == mark) {
        durations.back() += us;
    } else {
        durations.push_back(us);
    }
}

void IrSignalBuilder::Mark(double us) {
    Append(true, us);
}

void IrSignalBuilder::Space(double us) {
    Append(false, us);
}

void IrSignalBuilder::PulseDistanceBits(std::uint64_t value, int count, BitOrder order,
                                        const PulseDistance& timing) {
    for (int index = 0; index < count; ++index) {
        Mark(timing.markUs);
        Space(BitToSend(value, count, index, order) ? timing.oneSpaceUs : timing.zeroSpaceUs);
    }
}

void IrSignalBuilder::PulseDistanceFrame(double headMarkUs, double headSpaceUs, std::uint64_t value,
                                         int count, BitOrder order, const PulseDistance& timing) {
    Mark(headMarkUs);
    Space(headSpaceUs);
    PulseDistanceBits(value, count, order, timing);
    Mark(timing.markUs);
}

void IrSignalBuilder::BeginFrame() {
    frameStartUs_ = elapsedUs_;
}

void IrSignalBuilder::SpaceToNextFrame(double periodUs) {
    // A frame longer than its period still gets a short pause before the next.
    constexpr double kShortestFrameGapUs = 1000.0;
    Space(std::max(kShortestFrameGapUs, periodUs - (elapsedUs_ - frameStartUs_)));
}

IrSignal IrSignalBuilder::Finish() {
    if (signal_.durationsUs.size() % 2 == 0 && !signal_.durationsUs.empty()) {
        signal_.durationsUs.pop_back();  // the light ends with the last mark
    }
    return signal_;
}

}  // namespace kv::device
