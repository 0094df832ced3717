#pragma once

#include <cstdint>
#include <vector>

#include "encoder/SymbolTimingTable.h"

namespace kv::encoder::testing {

// Writes the symbols' durations (whole µs) into `table` as the encoder does for one style: N is
// the number of symbols, D the count of the last one; entries not named keep what they held.
inline void WriteSymbols(SymbolTimingTable& table,
                         const std::vector<std::vector<std::int64_t>>& symbols) {
    table.symbolCount = static_cast<int>(symbols.size());
    for (std::size_t s = 0; s < symbols.size(); ++s) {
        for (std::size_t i = 0; i < symbols[s].size(); ++i) {
            table.SetEntry(static_cast<int>(s), static_cast<int>(i), symbols[s][i]);
        }
        table.durationsPerSymbol = static_cast<int>(symbols[s].size());
    }
}

inline SymbolTimingTable MakeSymbolTable(const std::vector<std::vector<std::int64_t>>& symbols) {
    SymbolTimingTable table;
    WriteSymbols(table, symbols);
    return table;
}

}  // namespace kv::encoder::testing
