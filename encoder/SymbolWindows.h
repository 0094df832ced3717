#pragma once

#include <array>
#include <cstdint>

#include "codestyle/Rounding.h"
#include "encoder/DurationWindow.h"
#include "encoder/SymbolTimingTable.h"

namespace kv::encoder {

// The symbol table's entries with their tolerance windows, worked out once per decoded frame
// rather than for every duration tried: the extended-precision rounding is the costly part of a
// decoder's inner loop.
class SymbolWindows {
  public:
    struct Entry {
        bool written = false;  // an entry never written fits no duration
        std::int64_t value = 0;
        std::int64_t magnitude = 0;
        DurationWindow window{0, 0};
    };

    SymbolWindows(const SymbolTimingTable& table, ToleranceFactors factors)
        : symbols_(table.ClampedSymbolCount()), durations_(table.ClampedDurationCount()) {
        for (int s = 0; s < symbols_; ++s) {
            for (int i = 0; i < durations_; ++i) {
                const auto value = table.EntryValue(s, i);
                if (!value) {
                    continue;
                }
                Entry& entry = entries_[Slot(s, i)];
                entry.written = true;
                entry.value = *value;
                entry.magnitude = codestyle::AbsoluteValue(*value);
                entry.window = WindowFor(entry.magnitude, factors);
            }
        }
    }

    int SymbolCount() const { return symbols_; }
    int DurationCount() const { return durations_; }
    // Only for symbol < SymbolCount() and index < DurationCount().
    const Entry& At(int symbol, int index) const { return entries_[Slot(symbol, index)]; }

  private:
    static std::size_t Slot(int symbol, int index) {
        return static_cast<std::size_t>(symbol * SymbolTimingTable::kMaxDurations + index);
    }

    int symbols_;
    int durations_;
    std::array<Entry, SymbolTimingTable::kMaxSymbols * SymbolTimingTable::kMaxDurations> entries_{};
};

}  // namespace kv::encoder
