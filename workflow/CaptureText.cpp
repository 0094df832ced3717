#include "workflow/CaptureText.h"

#include <cmath>
#include <cstdint>

#include "codestyle/HexText.h"
#include "device/CaptureWords.h"

namespace kv::workflow {
namespace {

using codestyle::AppendHex;
using codestyle::FormatHex;
using codestyle::IsHexText;
using codestyle::ParseHex;

constexpr std::string_view kChunk = "7FFF";  // 32767 units that go on in the next word
constexpr std::uint32_t kChunkUnits = device::kCaptureOverflowChunk;
constexpr std::uint32_t kMarkBit = device::kCaptureMarkBit;
// The receiver stretches marks and shortens spaces by this much.
constexpr std::int64_t kReceiverSkewUs = 58;
// A run of this many chunks is the silence that ends the signal.
constexpr std::size_t kEndGapChunks = 20;
constexpr std::string_view kFrameEnd = "EDED";
constexpr std::string_view kGapStart = "FEFE";
// A single frame gets a made-up gap so that its shape matches the others.
constexpr std::string_view kSingleFrameGap = "FEFE0014";

bool IsMark(std::uint32_t word) {
    return (word & kMarkBit) != 0;
}

// The carrier field and marker from the trailer bytes. The trailer encodes
// 9000 / K for a carrier of K kHz, split over three bytes.
std::string CarrierHead(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    if (a == 0 && b == 0 && c == 0) {
        return "0000";
    }
    const double x = static_cast<double>(a + b + c) / 9.0;
    const long double k = 1000.0L / static_cast<long double>(x);
    std::string head = FormatHex(static_cast<std::uint64_t>(std::trunc(k)), 2);
    head += "12";
    return head;
}

// Appends a duration or gap of the body as a group of 4 digits. A mark shorter than the
// receiver's stretch comes out negative; it is written as its 32-bit two's complement (eight
// digits), as the capture texts made so far carry it.
void AppendGroup(std::string& out, std::int64_t value) {
    const std::uint64_t bits = value < 0
                                   ? static_cast<std::uint32_t>(static_cast<std::int32_t>(value))
                                   : static_cast<std::uint64_t>(value);
    AppendHex(out, bits, 4);
}

// State of the single pass over the capture words.
class CaptureConverter {
  public:
    explicit CaptureConverter(std::string_view raw) : raw_(raw) { body_.reserve(raw.size()); }

    std::string Run() {
        const std::size_t length = raw_.size();
        while (pos_ < length) {
            const bool wordFollowedByMore = pos_ + 4 < length;
            if (!wordFollowedByMore && !trailer_) {
                return {};
            }
            std::string_view word;
            if (trailer_ && !wordFollowedByMore) {
                word = raw_.substr(pos_);
            } else {
                word = raw_.substr(pos_, 4);
                ++wordCount_;
            }
            const bool isChunk = word == kChunk;

            // A chunk where a mark belongs either lengthens the mark after it
            // or stands for a mark of its own.
            if (isChunk && wordCount_ % 2 == 1 && wordFollowedByMore) {
                const auto next = ParseHex(raw_.substr(pos_ + 4, 4));
                if (!next) {
                    return {};
                }
                if (IsMark(*next)) {
                    --wordCount_;
                    longMark_ = true;
                    pos_ += 4;
                    continue;
                }
                if (!trailer_) {
                    AppendGroup(body_, kChunkUnits / 3 - kReceiverSkewUs);
                    pos_ += 4;
                    continue;
                }
            }
            if (isChunk || trailer_) {
                Collect(word);
            }
            if (isChunk && wordFollowedByMore) {
                // A run of chunks counts as one space: keep expecting a space.
                if (raw_.substr(pos_ + 4, 4) == kChunk) {
                    --wordCount_;
                }
                previousWasChunk_ = true;
                pos_ += 4;
                continue;
            }
            if (trailer_ && collected_ == 2) {
                return Finish();
            }
            if (previousWasChunk_ && collected_ >= kEndGapChunks && !isChunk) {
                collected_ = 1;
                trailerFirst_ = word;
                ++frames_;
                if (frames_ == 1) {
                    body_ += kSingleFrameGap;
                }
                body_ += kFrameEnd;
                trailer_ = true;
            }
            if (!trailer_) {
                const auto value = ParseHex(word);
                if (!value) {
                    return {};
                }
                if (previousWasChunk_ && collected_ >= 1 && !isChunk && !IsMark(*value)) {
                    // The space after a shorter run of chunks closes the frame;
                    // it is part of the gap, so a mark is expected next.
                    const std::int64_t units = static_cast<std::int64_t>(collected_) * kChunkUnits +
                                               static_cast<std::int64_t>(*value);
                    body_ += kGapStart;
                    AppendGroup(body_, (units / 3 + kReceiverSkewUs) / 1000);
                    body_ += kFrameEnd;
                    ++frames_;
                    collected_ = 0;
                    previousWasChunk_ = false;
                    --wordCount_;
                    pos_ += 4;
                    continue;
                }
                AppendDuration(*value);
            }
            previousWasChunk_ = isChunk;
            pos_ += 4;
            longMark_ = false;
        }
        return {};
    }

  private:
    void Collect(std::string_view word) {
        ++collected_;
        if (collected_ == 2 && trailer_) {
            trailerSecond_ = word;
        }
    }

    void AppendDuration(std::uint32_t value) {
        if (IsMark(value)) {
            std::int64_t units = value & (kMarkBit - 1);
            if (longMark_) {
                units += kChunkUnits;
            }
            AppendGroup(body_, units / 3 - kReceiverSkewUs);
        } else {
            AppendGroup(body_, static_cast<std::int64_t>(value) / 3 + kReceiverSkewUs);
        }
    }

    std::string Finish() const {
        const auto ab = ParseHex(trailerFirst_);
        if (!ab || trailerFirst_.size() != 4 || trailerSecond_.size() < 2) {
            return {};
        }
        const auto c = ParseHex(trailerSecond_.substr(0, 2));
        if (!c) {
            return {};
        }
        std::string result = std::to_string(frames_);
        result += CarrierHead(*ab >> 8, *ab & 0xFF, *c);
        result += body_;
        return result;
    }

    std::string_view raw_;
    std::size_t pos_ = 0;
    int frames_ = 0;
    std::string body_;
    bool trailer_ = false;
    bool previousWasChunk_ = false;
    std::int64_t wordCount_ = 0;  // odd: a mark is expected, even: a space
    bool longMark_ = false;
    // The collected words: the chunks of the current gap, or once the end gap
    // is seen, the trailer words (of which only the first two matter).
    std::size_t collected_ = 0;
    std::string_view trailerFirst_;
    std::string_view trailerSecond_;
};

bool IsDecimal(std::string_view text) {
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return !text.empty();
}

// The body is whole 4-character tokens and ends a frame; the frame ends
// (tokens "EDED") must number exactly `frames`.
bool IsBodyOf(std::string_view body, int frames) {
    if (body.size() < 4 || body.size() % 4 != 0 || !body.ends_with(kFrameEnd)) {
        return false;
    }
    int ends = 0;
    for (std::size_t i = 0; i < body.size(); i += 4) {
        if (body.substr(i, 4) == kFrameEnd) {
            ++ends;
        }
    }
    return ends == frames;
}

std::optional<CaptureTextParts> SplitAfterCount(std::string_view text, std::size_t countLength,
                                                int frames) {
    const std::string_view rest = text.substr(countLength);
    CaptureTextParts parts;
    parts.frameCount = text.substr(0, countLength);
    parts.frames = frames;
    if (rest.starts_with("0000")) {
        parts.carrier = rest.substr(0, 2);
        parts.carrierMarker = rest.substr(2, 2);
        parts.body = rest.substr(4);
        if (IsBodyOf(parts.body, frames)) {
            return parts;
        }
        return std::nullopt;
    }
    // The carrier has two digits for every real carrier; a damaged trailer
    // can give up to four.
    for (std::size_t carrierLength = 2; carrierLength <= 4; ++carrierLength) {
        if (rest.size() < carrierLength + 2) {
            break;
        }
        const std::string_view carrier = rest.substr(0, carrierLength);
        if (!IsHexText(carrier) || rest.substr(carrierLength, 2) != "12") {
            continue;
        }
        parts.carrier = carrier;
        parts.carrierMarker = rest.substr(carrierLength, 2);
        parts.body = rest.substr(carrierLength + 2);
        if (IsBodyOf(parts.body, frames)) {
            return parts;
        }
    }
    return std::nullopt;
}

}  // namespace

std::string CaptureToHex(std::string_view raw) {
    return CaptureConverter(raw).Run();
}

std::optional<CaptureTextParts> SplitCaptureText(std::string_view captureText) {
    constexpr std::size_t kMaxCountDigits = 4;  // a 10240-character capture has < 1000 frames
    for (std::size_t digits = 1; digits <= kMaxCountDigits && digits < captureText.size();
         ++digits) {
        const std::string_view count = captureText.substr(0, digits);
        if (!IsDecimal(count) || count[0] == '0') {
            break;
        }
        const int frames = std::stoi(std::string(count));
        if (auto parts = SplitAfterCount(captureText, digits, frames)) {
            return parts;
        }
    }
    return std::nullopt;
}

std::string CaptureTextBody(std::string_view captureText) {
    const auto parts = SplitCaptureText(captureText);
    return parts ? std::string(parts->body) : std::string();
}

}  // namespace kv::workflow
