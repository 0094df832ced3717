#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::encoder {

// The durations of a code style's data symbols, as the frame decoders and the key record read
// them: for up to 4 symbols, up to 6 signed durations each, kept as decimal texts of whole
// microseconds (positive a mark, negative a space), with the symbol count N and one
// durations-per-symbol count D shared by all symbols.
//
// The table is never cleared: when a style writes fewer entries than an earlier style did, the
// entries it leaves alone keep the earlier values, and the decoders read them as they are. So the
// table lives as long as the encoder that owns it, across styles and across runs. An entry that
// has never been written is the empty text and has no value.
class SymbolTimingTable {
  public:
    static constexpr int kMaxSymbols = 4;
    static constexpr int kMaxDurations = 6;

    // N and D as last written. They come from the library file and are not limited here; readers
    // take ClampedSymbolCount / ClampedDurationCount, which never reach past the table.
    int symbolCount = 0;
    int durationsPerSymbol = 0;

    int ClampedSymbolCount() const { return Clamp(symbolCount, kMaxSymbols); }
    int ClampedDurationCount() const { return Clamp(durationsPerSymbol, kMaxDurations); }

    // Stores the decimal text of `microseconds` at (symbol, index); positions outside the table
    // are ignored.
    void SetEntry(int symbol, int index, std::int64_t microseconds) {
        if (!Inside(symbol, index)) {
            return;
        }
        Cell& cell = cells_[Slot(symbol, index)];
        cell.text = std::to_string(microseconds);
        cell.value = microseconds;
    }

    // The entry's text; empty when never written or outside the table.
    std::string_view EntryText(int symbol, int index) const {
        return Inside(symbol, index) ? std::string_view(cells_[Slot(symbol, index)].text)
                                     : std::string_view();
    }

    // The entry read as a whole number; none when never written or outside the table.
    std::optional<std::int64_t> EntryValue(int symbol, int index) const {
        return Inside(symbol, index) ? cells_[Slot(symbol, index)].value : std::nullopt;
    }

  private:
    struct Cell {
        std::string text;
        std::optional<std::int64_t> value;  // the text read once, when written
    };

    static bool Inside(int symbol, int index) {
        return symbol >= 0 && symbol < kMaxSymbols && index >= 0 && index < kMaxDurations;
    }
    static int Slot(int symbol, int index) { return symbol * kMaxDurations + index; }
    static int Clamp(int count, int limit) {
        return count < 0 ? 0 : (count > limit ? limit : count);
    }

    std::array<Cell, kMaxSymbols * kMaxDurations> cells_{};
};

}  // namespace kv::encoder
