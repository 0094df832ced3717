#include "encoder/DurationWindow.h"
#include "encoder/FrameDecoders.h"
#include "encoder/FrameTiming.h"
#include "encoder/HexGroup.h"
#include "encoder/PatternLetters.h"
#include "encoder/SymbolWindows.h"

namespace kv::encoder {

namespace {

// The plain decoders reject a symbol whose last duration is too long. Every attempt starts at
// the front of the undecoded rest, and every step consumes at least one group or ends the scan,
// so the scan always terminates.
class PlainFrameDecoder {
  public:
    PlainFrameDecoder(const SymbolTimingTable& table, ToleranceFactors factors,
                      std::int64_t startParity)
        : windows_(table, factors), startParity_(startParity) {}

    std::string Decode(std::string_view frameRest) {
        const int symbols = windows_.SymbolCount();
        const int durations = windows_.DurationCount();
        if (symbols == 0 || durations == 0) {
            return {};
        }
        parity_ = startParity_;
        out_.reserve(frameRest.size());
        rest_ = frameRest;
        work_ = frameRest;
        while (work_.size() > 3) {
            work_ = rest_;
            ConsumeFrameEnd();
            if (rest_.size() < 3) {
                break;
            }
            for (int symbol = 0; symbol < symbols; ++symbol) {
                if (Attempt(symbol, durations)) {
                    break;
                }
                if (symbol == symbols - 1) {
                    // No symbol starts here: the duration stays as it was captured.
                    out_.append(Front(rest_, 4));
                    rest_ = DropFront(rest_, 4);
                    ++parity_;
                    work_ = rest_;
                } else if (work_.empty()) {
                    break;
                }
            }
        }
        return std::move(out_);
    }

  private:
    // A gap group becomes its "h" marker; a bare terminator starts the level count afresh.
    void ConsumeFrameEnd() {
        const std::string_view group = Front(rest_, 4);
        if (group == kGapGroupStart) {
            out_.push_back('h');
            out_.append(Front(DropFront(rest_, 4), 4));
            rest_ = DropFront(rest_, 12);
        } else if (group == kFrameTerminator) {
            rest_ = DropFront(rest_, 4);
            parity_ = startParity_;
        }
    }

    bool Attempt(int symbol, int durations) {
        work_ = rest_;
        for (int i = 0; i < durations; ++i) {
            const SymbolWindows::Entry& entry = windows_.At(symbol, i);
            const auto captured = ReadHexGroup(work_);
            if (!entry.written || !LevelAgrees(entry.value, parity_) || !captured ||
                !entry.window.Contains(*captured)) {
                parity_ -= i;
                return false;
            }
            work_.remove_prefix(4);
            ++parity_;
            const std::string_view next = Front(work_, 4);
            const bool last = i == durations - 1;
            if (!last && next == kGapGroupStart) {
                // The gap cut the symbol short: the table's duration stands for what was seen.
                AppendHex4(out_, static_cast<std::uint64_t>(entry.magnitude));
                out_.push_back('h');
                out_.append(Front(DropFront(work_, 4), 4));
                work_ = DropFront(work_, 12);
                rest_ = work_;
                parity_ += 2;
                return true;
            }
            if (!last && next == kFrameTerminator) {
                AppendHex4(out_, static_cast<std::uint64_t>(entry.magnitude));
                work_ = DropFront(work_, 4);
                rest_ = work_;
                return true;
            }
            if (last) {
                out_.push_back(SymbolLetter(symbol));
                rest_ = work_;
                return true;
            }
        }
        return false;
    }

    const SymbolWindows windows_;
    const std::int64_t startParity_;
    std::string out_;
    std::string_view rest_;
    std::string_view work_;
    std::int64_t parity_ = 0;
};

}  // namespace

std::string DecodeFrameMarkFirst(std::string_view frameRest, const SymbolTimingTable& table) {
    return PlainFrameDecoder(table, kNarrowTolerance, 0).Decode(frameRest);
}

std::string DecodeFrameSpaceFirst(std::string_view frameRest, const SymbolTimingTable& table) {
    return PlainFrameDecoder(table, kWideTolerance, 1).Decode(frameRest);
}

}  // namespace kv::encoder
