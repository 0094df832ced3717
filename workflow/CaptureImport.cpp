#include "workflow/CaptureImport.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "codestyle/HexText.h"
#include "device/CaptureWords.h"

namespace kv::workflow {
namespace {

using codestyle::ParseHex;

constexpr double kLongestDurationUs = 100'000'000.0;  // mode2 starts with a 16.7 s space
// A space at least this long is stored as overflow chunks and becomes the gap
// that ends a frame.
constexpr double kFrameGapMinUs = 10981.0;
// One Pronto frequency unit: the period of a 4.145146 MHz clock.
constexpr double kProntoUnitUs = 0.241246;

enum class Level { Mark, Space };

// Collects durations, joining neighbours of the same level and keeping the
// signal mark first.
class SignalBuilder {
  public:
    void Add(Level level, double us) {
        if (durations_.empty() && level == Level::Space) {
            return;
        }
        if (!durations_.empty() && level == last_) {
            durations_.back() += us;
        } else {
            durations_.push_back(us);
            last_ = level;
        }
    }

    // The next level of a plain, unsigned number.
    Level Next() const {
        return durations_.empty() || last_ == Level::Space ? Level::Mark : Level::Space;
    }

    SignalImport Finish(std::optional<int> carrierHz) {
        if (!durations_.empty() && last_ == Level::Space) {
            durations_.pop_back();
        }
        if (durations_.empty()) {
            return {std::nullopt, "the signal holds no mark"};
        }
        return {MeasuredSignal{std::move(durations_), carrierHz}, {}};
    }

  private:
    std::vector<double> durations_;
    Level last_ = Level::Space;
};

SignalImport Failure(std::string error) {
    return {std::nullopt, std::move(error)};
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string_view WithoutComment(std::string_view line) {
    return Trim(line.substr(0, line.find('#')));
}

// Calls `take` with each non-empty line (comments removed) and its number.
template <typename Take>
std::string ForEachLine(std::string_view text, Take take) {
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = WithoutComment(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        if (line.empty()) {
            continue;
        }
        std::string error = take(line, number);
        if (!error.empty()) {
            return "line " + std::to_string(number) + ": " + error;
        }
    }
    return {};
}

std::optional<double> ParseDuration(std::string_view token) {
    double value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size() || !(value > 0) ||
        value > kLongestDurationUs) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> ParseCarrier(std::string_view token) {
    int value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

// Splits on white space and commas.
template <typename Take>
std::string ForEachToken(std::string_view text, Take take) {
    std::size_t pos = 0;
    while (true) {
        pos = text.find_first_not_of(" \t\r\n,", pos);
        if (pos == std::string_view::npos) {
            return {};
        }
        const auto end = text.find_first_of(" \t\r\n,", pos);
        std::string error = take(text.substr(pos, end == std::string_view::npos ? end : end - pos));
        if (!error.empty()) {
            return error;
        }
        pos = end;
    }
}

std::string AddTimingToken(SignalBuilder& builder, std::string_view token) {
    Level level = builder.Next();
    if (token.front() == '+' || token.front() == '-') {
        level = token.front() == '+' ? Level::Mark : Level::Space;
        token.remove_prefix(1);
    }
    const auto us = ParseDuration(token);
    if (!us) {
        return "'" + std::string(token) + "' is not a duration in microseconds";
    }
    builder.Add(level, *us);
    return {};
}

SignalImport ParseTimings(std::string_view text) {
    SignalBuilder builder;
    std::string error = ForEachLine(text, [&](std::string_view line, int) {
        return ForEachToken(line,
                            [&](std::string_view token) { return AddTimingToken(builder, token); });
    });
    if (!error.empty()) {
        return Failure(error);
    }
    return builder.Finish(std::nullopt);
}

SignalImport ParseMode2(std::string_view text) {
    SignalBuilder builder;
    std::optional<int> carrier;
    std::string error = ForEachLine(text, [&](std::string_view line, int) -> std::string {
        const auto gap = line.find_first_of(" \t");
        const std::string_view word = line.substr(0, gap);
        const std::string_view value =
            gap == std::string_view::npos ? std::string_view{} : Trim(line.substr(gap));
        if (word == "carrier") {
            carrier = ParseCarrier(value);
            return carrier ? std::string() : "the carrier is not a frequency in Hz";
        }
        if (word != "pulse" && word != "space" && word != "timeout") {
            return "expected pulse, space, timeout or carrier";
        }
        const auto us = ParseDuration(value);
        if (!us) {
            return "'" + std::string(value) + "' is not a duration in microseconds";
        }
        builder.Add(word == "pulse" ? Level::Mark : Level::Space, *us);
        return {};
    });
    if (!error.empty()) {
        return Failure(error);
    }
    return builder.Finish(carrier);
}

SignalImport ParsePronto(std::string_view text) {
    std::vector<std::uint32_t> words;
    std::string error = ForEachToken(text, [&](std::string_view token) -> std::string {
        const auto word = token.size() == 4 ? ParseHex(token) : std::nullopt;
        if (!word) {
            return "'" + std::string(token) + "' is not a 4-digit Pronto word";
        }
        words.push_back(*word);
        return {};
    });
    if (!error.empty()) {
        return Failure(error);
    }
    if (words.size() < 4 || (words[0] != 0x0000 && words[0] != 0x0100)) {
        return Failure("only learned Pronto codes (0000, or 0100 without carrier) are read");
    }
    if (words[1] == 0) {
        return Failure("the Pronto frequency word is 0");
    }
    const std::size_t pairs = static_cast<std::size_t>(words[2]) + words[3];
    if (pairs == 0 || words.size() != 4 + 2 * pairs) {
        return Failure("the Pronto code holds " + std::to_string(words.size() - 4) +
                       " durations where its counts call for " + std::to_string(2 * pairs));
    }
    const double unitUs = words[1] * kProntoUnitUs;
    SignalBuilder builder;
    // The first sequence once, then the repeat sequence once, as a short press.
    for (std::size_t i = 4; i < words.size(); i += 2) {
        if (words[i] == 0 || words[i + 1] == 0) {
            return Failure("a Pronto duration is 0");
        }
        builder.Add(Level::Mark, words[i] * unitUs);
        builder.Add(Level::Space, words[i + 1] * unitUs);
    }
    const int carrierHz = words[0] == 0x0100 ? 0 : static_cast<int>(std::lround(1e6 / unitUs));
    return builder.Finish(carrierHz);
}

// One signal of a Flipper file, as far as it matters here.
struct FlipperSignal {
    std::string name;
    std::string type;
    std::optional<int> frequency;
    std::string data;
};

SignalImport ParseFlipper(std::string_view text, std::string_view button) {
    std::vector<FlipperSignal> signals;
    std::string error = ForEachLine(text, [&](std::string_view line, int) -> std::string {
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) {
            return "expected 'key: value'";
        }
        const std::string_view key = Trim(line.substr(0, colon));
        const std::string_view value = Trim(line.substr(colon + 1));
        if (key == "name") {
            signals.push_back(FlipperSignal{std::string(value), {}, {}, {}});
        } else if (key == "Filetype" || key == "Version") {
            return {};
        } else if (signals.empty()) {
            return "'" + std::string(key) + "' before the first 'name:'";
        } else if (key == "type") {
            signals.back().type = value;
        } else if (key == "frequency") {
            signals.back().frequency = ParseCarrier(value);
            if (!signals.back().frequency) {
                return "the frequency is not a number of Hz";
            }
        } else if (key == "data") {
            // Long raw signals are written over several data lines.
            signals.back().data += ' ';
            signals.back().data += value;
        }
        return {};
    });
    if (!error.empty()) {
        return Failure(error);
    }
    for (const FlipperSignal& signal : signals) {
        if (!button.empty() && signal.name != button) {
            continue;
        }
        if (signal.type != "raw") {
            if (button.empty()) {
                continue;
            }
            return Failure("the signal '" + signal.name + "' is not a raw signal");
        }
        SignalImport imported = ParseTimings(signal.data);
        if (imported.signal) {
            imported.signal->carrierHz = signal.frequency;
        }
        return imported;
    }
    return Failure(button.empty() ? std::string("the file holds no raw signal")
                                  : "the file holds no signal named '" + std::string(button) + "'");
}

std::vector<double> InWholeMicroseconds(const std::vector<double>& durationsUs) {
    std::vector<double> whole;
    whole.reserve(durationsUs.size());
    for (double us : durationsUs) {
        whole.push_back(std::nearbyint(us));
    }
    return whole;
}

// Drops the last frame: everything from the last frame gap on. False when
// there is no gap left to cut at.
bool DropLastFrame(std::vector<double>& durations) {
    for (std::size_t i = durations.size(); i-- > 1;) {
        if (i % 2 == 1 && durations[i] >= kFrameGapMinUs) {
            durations.resize(i);
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<TimingFormat> TimingFormatByName(std::string_view name) {
    if (name == "timings") {
        return TimingFormat::Timings;
    }
    if (name == "mode2") {
        return TimingFormat::Mode2;
    }
    if (name == "pronto") {
        return TimingFormat::Pronto;
    }
    if (name == "flipper") {
        return TimingFormat::Flipper;
    }
    return std::nullopt;
}

SignalImport ParseMeasuredSignal(std::string_view text, TimingFormat format,
                                 std::string_view button) {
    switch (format) {
        case TimingFormat::Timings:
            return ParseTimings(text);
        case TimingFormat::Mode2:
            return ParseMode2(text);
        case TimingFormat::Pronto:
            return ParsePronto(text);
        case TimingFormat::Flipper:
            return ParseFlipper(text, button);
    }
    return Failure("unknown format");
}

bool IsImportableCarrier(int carrierHz) {
    return carrierHz == 0 || (carrierHz >= 12000 && carrierHz < 255500);
}

std::string CaptureWordsFromSignal(const std::vector<double>& durationsUs, int carrierHz) {
    if (!IsImportableCarrier(carrierHz)) {
        return {};
    }
    device::IrSignal signal;
    signal.carrierKHz = static_cast<int>(std::lround(carrierHz / 1000.0));
    signal.durationsUs = InWholeMicroseconds(durationsUs);
    if (signal.durationsUs.size() % 2 == 0) {
        return {};
    }
    while (true) {
        std::string words = device::EncodeCaptureWords(signal);
        if (!words.empty() || !DropLastFrame(signal.durationsUs)) {
            return words;
        }
    }
}

}  // namespace kv::workflow
