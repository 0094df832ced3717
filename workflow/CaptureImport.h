#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::workflow {

// A signal as a receiver measured it: durations in microseconds, marks and
// spaces alternating, mark first.
struct MeasuredSignal {
    std::vector<double> durationsUs;
    std::optional<int> carrierHz;  // when the source names one; 0 = no carrier
};

// The text formats measured signals come in:
// - Timings: plain numbers, mark first (as a Flipper raw "data:" line), or
//   signed numbers ("+9000 -4500"); separated by white space or commas.
// - Mode2: LIRC mode2 lines "pulse N", "space N", "timeout N", "carrier N".
// - Pronto: Pronto hex words "0000 006D n1 n2 ..." (0100 for no carrier).
// - Flipper: a Flipper ".ir" file; its raw signal named `button`, or the
//   first raw signal when no name is given.
// '#' starts a comment to the end of the line in every format but Pronto.
enum class TimingFormat { Timings, Mode2, Pronto, Flipper };

std::optional<TimingFormat> TimingFormatByName(std::string_view name);

struct SignalImport {
    std::optional<MeasuredSignal> signal;
    std::string error;  // why the text could not be read, when there is no signal
};

// Reads a measured signal. Neighbouring durations of the same level are
// joined; leading and trailing spaces are dropped, so the signal starts and
// ends with a mark. Durations must be positive and at most 100 s.
SignalImport ParseMeasuredSignal(std::string_view text, TimingFormat format,
                                 std::string_view button = {});

// The carrier used when neither the source nor the operator names one.
inline constexpr int kDefaultCarrierHz = 38000;
// Carriers the capture trailer can give back (12 to 255 kHz), or 0 for none.
bool IsImportableCarrier(int carrierHz);

// The raw capture words the remote would hold for this signal: the words,
// the end gap and a carrier trailer for `carrierHz` (rounded to whole kHz).
// CaptureToHex gives back the same whole microseconds, spaces long enough to
// end a frame as its gap in milliseconds. When the capture would not fit the
// remote's 10240-character buffer, frames are dropped from the end, as a
// held key overruns the buffer. Empty when not even the first frame fits, or
// the signal holds no mark, or the carrier is not importable.
std::string CaptureWordsFromSignal(const std::vector<double>& durationsUs, int carrierHz);

}  // namespace kv::workflow
