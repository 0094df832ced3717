#pragma once

#include <string>

#include "device/SignalSynthesiser.h"

namespace kv::device {

// The remote's capture unit counts in thirds of a microsecond and stores a
// mark 58 µs longer and a space 58 µs shorter than the light it saw.
inline constexpr int kCaptureUnitsPerMicrosecond = 3;
inline constexpr double kCaptureMarkExtensionUs = 58.0;

// A capture word is 16 bits written as 4 upper-case hex digits: bit 15 marks
// carrier-on, the rest is the duration. "7FFF" is an overflow chunk of 32767
// units that continues in the next word.
inline constexpr unsigned kCaptureMarkBit = 0x8000;
inline constexpr unsigned kCaptureOverflowChunk = 0x7FFF;

// A silence of this many overflow chunks (about 250 ms) tells the remote that
// the signal is over; twenty are needed.
inline constexpr int kCaptureEndGapChunks = 23;

// Turns a signal into the raw capture text the remote stores: the words, the
// end gap, then the two carrier trailer words. Empty when the signal does not
// fit the capture buffer or is not a mark-first alternation.
std::string EncodeCaptureWords(const IrSignal& signal);

// The three carrier trailer bytes whose sum the remote reports for a carrier
// of `kHz`: the sum is read back as 1000 / (sum / 9) truncated, so it is
// 9000 / kHz rounded down, one less where that division is exact.
int CarrierTrailerSum(int kHz);

}  // namespace kv::device
