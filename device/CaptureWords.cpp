#include "device/CaptureWords.h"

#include <algorithm>
#include <cmath>

#include "codestyle/HexText.h"
#include "device/RemoteDevice.h"

namespace kv::device {
namespace {

constexpr long kLongestWordUnits = kCaptureOverflowChunk;  // 32767, about 10.9 ms
// A space of twenty chunks or more would end the capture; a space inside a
// press is cut just short of that.
constexpr long kMostChunksInsideSignal = 19;

void AppendWord(std::string& text, unsigned word) {
    codestyle::AppendHex(text, word & 0xFFFFU, 4);
}

long ToUnits(double us) {
    return static_cast<long>(std::nearbyint(us * kCaptureUnitsPerMicrosecond));
}

// A mark longer than one word is an overflow chunk followed by the rest.
void AppendMark(std::string& text, double us) {
    long units = std::clamp(ToUnits(us + kCaptureMarkExtensionUs), 1L, 2 * kLongestWordUnits);
    if (units > kLongestWordUnits) {
        AppendWord(text, kCaptureOverflowChunk);
        units -= kLongestWordUnits;
    }
    AppendWord(text, kCaptureMarkBit | static_cast<unsigned>(units));
}

// A long space is overflow chunks followed by the rest as a space word; that
// word must not be zero, or the next mark would be read as ending the gap.
void AppendSpace(std::string& text, double us) {
    const long units = std::max(1L, ToUnits(us - kCaptureMarkExtensionUs));
    long chunks = units / kLongestWordUnits;
    long rest = units % kLongestWordUnits;
    if (chunks > kMostChunksInsideSignal) {
        chunks = kMostChunksInsideSignal;
        rest = kLongestWordUnits - 1;
    }
    for (long i = 0; i < chunks; ++i) {
        AppendWord(text, kCaptureOverflowChunk);
    }
    AppendWord(text, static_cast<unsigned>(std::max(1L, rest)));
}

void AppendCarrierTrailer(std::string& text, int kHz) {
    const int sum = CarrierTrailerSum(kHz);
    const int a = sum / 3;
    const int b = sum / 3;
    const int c = sum - a - b;
    AppendWord(text, static_cast<unsigned>((a << 8) | b));
    AppendWord(text, static_cast<unsigned>(c << 8));
}

}  // namespace

int CarrierTrailerSum(int kHz) {
    // Outside this range the three bytes cannot hold the sum (or there is no
    // carrier to report), and the remote reports none.
    if (kHz < 12 || kHz > 255) {
        return 0;
    }
    constexpr int kNinthsOfMillisecond = 9000;
    const int sum = kNinthsOfMillisecond / kHz;
    return kNinthsOfMillisecond % kHz == 0 ? sum - 1 : sum;
}

std::string EncodeCaptureWords(const IrSignal& signal) {
    const std::vector<double>& durations = signal.durationsUs;
    if (durations.empty() || durations.size() % 2 == 0) {
        return {};
    }
    std::string text;
    for (std::size_t i = 0; i < durations.size(); ++i) {
        if (i % 2 == 0) {
            AppendMark(text, durations[i]);
        } else {
            AppendSpace(text, durations[i]);
        }
    }
    for (int i = 0; i < kCaptureEndGapChunks; ++i) {
        AppendWord(text, kCaptureOverflowChunk);
    }
    AppendCarrierTrailer(text, signal.carrierKHz);
    if (text.size() > kCaptureSize) {
        return {};
    }
    return text;
}

}  // namespace kv::device
