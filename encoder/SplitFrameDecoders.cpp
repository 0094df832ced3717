#include <algorithm>
#include <array>

#include "encoder/DurationWindow.h"
#include "encoder/FrameDecoders.h"
#include "encoder/FrameTiming.h"
#include "encoder/HexGroup.h"
#include "encoder/PatternLetters.h"
#include "encoder/SymbolWindows.h"

namespace kv::encoder {

namespace {

// More than a frame of a pattern can hold: 32 layout values of at most 255 symbols each, and
// its timing marker.
constexpr std::size_t kMaxUsefulOutput = 16384;

// How the two splitting decoders treat the levels.
enum class SplitVariant {
    // Starts on a space. A capture always begins with a mark, so with the counter at 1 the
    // symbol's leading space is taken as present without reading anything; and a space that
    // misses does not end the attempt.
    kSpaceFirst,
    // Starts on a mark; a space that misses ends the attempt.
    kMarkFirst,
};

// The splitting decoders take a symbol's share of a too-long last duration and leave the surplus
// in front of the rest as the next duration. The surplus is written over the duration's own
// group, so the frame is decoded in one buffer with two positions: the undecoded rest and the
// working position of the current attempt, which never lies behind it.
//
// Two cases make no progress and would repeat for ever: a step whose attempt fails after it has
// used the text up, and a symbol whose last duration is 0, which splits a duration into itself.
// A step that leaves the rest where it was counts as idle; the first idle step may have moved
// the level counter and is let through, the second ends the scan.
//
// A symbol whose last duration is a few µs splits a long duration again and again, one letter
// per step: tens of thousands of steps for each group of a frame. No frame of a pattern compares
// more than kMaxUsefulOutput characters, so the scan ends once its output reaches that length.
class SplitFrameDecoder {
  public:
    SplitFrameDecoder(const SymbolTimingTable& table, SplitVariant variant)
        : windows_(table, kWideTolerance),
          variant_(variant),
          startParity_(variant == SplitVariant::kSpaceFirst ? 1 : 0) {}

    std::string Decode(std::string_view frameRest) {
        const int symbols = windows_.SymbolCount();
        const int durations = windows_.DurationCount();
        if (symbols == 0 || durations == 0) {
            return {};
        }
        text_.assign(frameRest);
        out_.reserve(frameRest.size());
        parity_ = startParity_;
        int idleSteps = 0;
        while (Rest().size() > 3) {
            const std::size_t stepStart = rest_;
            const std::string_view startView = Front(Rest(), 4);
            std::array<char, 4> startGroup{};
            std::copy(startView.begin(), startView.end(), startGroup.begin());
            ConsumeFrameEnd();
            if (Rest().size() < 3) {
                break;
            }
            // The step's first attempt starts behind a gap group or terminator just taken off,
            // never on it: a split there would write behind the rest.
            work_ = rest_;
            for (int symbol = 0; symbol < symbols; ++symbol) {
                if (Attempt(symbol, durations)) {
                    break;
                }
                if (symbol == symbols - 1) {
                    // No symbol starts here: the duration stays as it stands.
                    out_.append(Front(Rest(), 4));
                    rest_ = Advance(rest_, 4);
                    ++parity_;
                    work_ = rest_;
                } else if (Work().size() < 3) {
                    break;
                }
            }
            const bool idle =
                rest_ == stepStart &&
                Front(Rest(), 4) == std::string_view(startGroup.data(), startView.size());
            idleSteps = idle ? idleSteps + 1 : 0;
            if (idleSteps >= 2 || out_.size() >= kMaxUsefulOutput) {
                break;
            }
        }
        return std::move(out_);
    }

  private:
    std::string_view Rest() const { return std::string_view(text_).substr(rest_); }
    std::string_view Work() const { return std::string_view(text_).substr(work_); }
    std::size_t Advance(std::size_t position, std::size_t count) const {
        return position + count < text_.size() ? position + count : text_.size();
    }

    void ConsumeFrameEnd() {
        const std::string_view group = Front(Rest(), 4);
        if (group == kGapGroupStart) {
            out_.push_back('h');
            out_.append(Front(DropFront(Rest(), 4), 4));
            rest_ = Advance(rest_, 12);
        } else if (group == kFrameTerminator) {
            rest_ = Advance(rest_, 4);
            parity_ = startParity_;
        }
    }

    // Replaces the group at the working position, which holds `captured`, by the surplus over the
    // symbol's share. The surplus is below 65536, so it takes exactly the 4 characters it
    // replaces.
    void SplitAtWork(std::uint32_t captured, std::int64_t share) {
        std::string surplus;
        AppendHex4(surplus, static_cast<std::uint64_t>(captured - share));
        text_.replace(work_, 4, surplus);
        ++parity_;
        splitPending_ = true;
        matched_ = true;
    }

    // After a duration that fitted: a gap group or terminator right behind it ends the symbol.
    bool EndsAtFrameEnd(int symbol, int index, int durations) {
        if (index >= durations - 1) {
            return false;
        }
        const std::string_view next = Front(Work(), 4);
        if (next != kGapGroupStart && next != kFrameTerminator) {
            return false;
        }
        if (index == durations - 2) {
            out_.push_back(SymbolLetter(symbol));
        }
        if (next == kGapGroupStart) {
            out_.push_back('h');
            out_.append(Front(DropFront(Work(), 4), 4));
            work_ = Advance(work_, 12);
            parity_ += 2;
        } else {
            work_ = Advance(work_, 4);
        }
        rest_ = work_;
        return true;
    }

    bool Attempt(int symbol, int durations) {
        const bool spaceFirst = variant_ == SplitVariant::kSpaceFirst;
        for (int i = 0; i < durations; ++i) {
            if (spaceFirst && parity_ == 1) {
                parity_ = 2;
                matched_ = true;
                if (i == durations - 1) {
                    return true;
                }
                continue;
            }
            const SymbolWindows::Entry& entry = windows_.At(symbol, i);
            if (!entry.written || !LevelAgrees(entry.value, parity_)) {
                matched_ = false;
                parity_ -= i;
                return false;
            }
            const std::int64_t share = entry.magnitude;
            const auto captured = ReadHexGroup(Work());
            const bool fits = captured && entry.window.Contains(*captured);
            const bool splits = !fits && captured && i == durations - 1 && share < *captured;
            const bool markDue = parity_ % 2 == 0;
            if (fits) {
                work_ = Advance(work_, 4);
                ++parity_;
                matched_ = true;
                // Only a mark looks ahead; after a space the next step reads the gap group or
                // terminator as a duration.
                if (markDue && EndsAtFrameEnd(symbol, i, durations)) {
                    return true;
                }
            } else if (splits) {
                SplitAtWork(*captured, share);
                if (!markDue) {
                    rest_ = work_;
                }
            } else if (markDue) {
                matched_ = false;
                parity_ -= i;
                return false;
            } else {
                matched_ = false;
                if (!spaceFirst) {
                    return false;
                }
                continue;
            }
            if (matched_ && i == durations - 1) {
                out_.push_back(SymbolLetter(symbol));
                rest_ = work_;
                if (splitPending_) {
                    ++parity_;
                    splitPending_ = false;
                }
                return true;
            }
        }
        return false;
    }

    const SymbolWindows windows_;
    const SplitVariant variant_;
    const std::int64_t startParity_;
    std::string text_;
    std::string out_;
    std::size_t rest_ = 0;
    std::size_t work_ = 0;
    std::int64_t parity_ = 0;
    bool matched_ = false;
    bool splitPending_ = false;
};

}  // namespace

std::string DecodeSplitFrameSpaceFirst(std::string_view frameRest, const SymbolTimingTable& table) {
    return SplitFrameDecoder(table, SplitVariant::kSpaceFirst).Decode(frameRest);
}

std::string DecodeSplitFrameMarkFirst(std::string_view frameRest, const SymbolTimingTable& table) {
    return SplitFrameDecoder(table, SplitVariant::kMarkFirst).Decode(frameRest);
}

}  // namespace kv::encoder
