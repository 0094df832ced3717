#pragma once

#include <array>
#include <string>

#include "encoder/SymbolTimingTable.h"

namespace kv::encoder {

// The time base of the key record: 6000 kHz, 6 ticks per microsecond.
inline constexpr int kTickRateKHz = 6000;

// Widths (symbols per field) of the four slots of each field table. The frame pattern fills them
// for the style being tried and the pulse-train encoding reads them for the same style.
struct FieldTables {
    std::array<int, 4> first{};
    std::array<int, 4> second{};

    void Clear() {
        first.fill(0);
        second.fill(0);
    }
};

// Everything the stages of one encoding share. The caller keeps one EncoderState for as long as
// it encodes captures and hands it to every run: the run resets its own fields (BeginRun) but
// leaves the symbol timing table as earlier styles and runs left it, since the decoders read
// entries the current style does not write.
struct EncoderState {
    SymbolTimingTable symbolTable;

    std::string framePattern;
    FieldTables fieldTables;

    // Set once for the style that matched, read by the pulse-train encoding and the key record.
    int unitTicks = 1;
    int markMultiplier = 2;
    int spaceMultiplier = 2;
    int TickRateKHz = kTickRateKHz;

    // Puts the per-run fields back to their starting values; the symbol table is kept.
    void BeginRun() {
        framePattern.clear();
        fieldTables.Clear();
        unitTicks = 1;
        markMultiplier = 2;
        spaceMultiplier = 2;
        TickRateKHz = kTickRateKHz;
    }
};

}  // namespace kv::encoder
