#include "encoder/LearnedCodeEncoder.h"

#include <algorithm>
#include <system_error>

#include "codestyle/CarrierArithmetic.h"
#include "codestyle/CodeStyleLibrary.h"
#include "codestyle/TimingValue.h"
#include "encoder/CaptureScan.h"
#include "encoder/FramePattern.h"
#include "encoder/KeyRecord.h"

namespace kv::encoder {

namespace {

using codestyle::CodeStyleNode;

std::filesystem::path LibraryFile(const std::filesystem::path& location) {
    std::error_code error;
    if (std::filesystem::is_directory(location, error)) {
        return location / kCodeStyleLibraryFileName;
    }
    return location;
}

// Works out the time unit and multipliers of the matched style and builds its record; the
// empty text when the style's arithmetic has no usable unit or the record would not fit.
std::string EncodeMatchedStyle(const CodeStyleNode& style, std::string_view mergedText, int keyCode,
                               EncoderState& state) {
    std::vector<std::int64_t> durations = codestyle::CollectStyleDurations(style);
    const std::int64_t unit = codestyle::ComputeTimeUnit(durations, style, state.TickRateKHz);
    if (unit <= 0) {
        return {};
    }
    const std::int64_t unitTicks = codestyle::ComputeUnitTicks(unit, state.TickRateKHz);
    if (unitTicks < 1 || unitTicks > codestyle::kMaxUnitTicks) {
        return {};
    }
    const codestyle::DurationMultipliers multipliers =
        codestyle::ComputeDurationMultiplier(durations);
    state.unitTicks = static_cast<int>(unitTicks);
    state.markMultiplier = multipliers.markMultiplier;
    state.spaceMultiplier = multipliers.spaceMultiplier;
    return BuildKeyRecord(style, mergedText, keyCode, state);
}

}  // namespace

void FillSymbolTimingTable(const CodeStyleNode& style, SymbolTimingTable& table) {
    table.symbolCount = style.symbolCount;
    const int symbols = std::min<int>(style.symbolCount, SymbolTimingTable::kMaxSymbols);
    for (int s = 0; s < symbols; ++s) {
        const codestyle::SymbolShape& shape = style.symbolShapes[static_cast<std::size_t>(s)];
        const int count = std::min<int>(shape.count, SymbolTimingTable::kMaxDurations);
        for (int i = 0; i < count; ++i) {
            // Whole microseconds, truncated towards zero.
            const std::int64_t duration =
                codestyle::TimingToDuration(shape.values[static_cast<std::size_t>(i)], style);
            table.SetEntry(s, i, duration / 100);
        }
        table.durationsPerSymbol = shape.count;
    }
}

std::string EncodeWithLibrary(std::string_view captureBody, int keyCode,
                              const codestyle::ArrCodeStyleNode& library, EncoderState& state) {
    state.BeginRun();
    if (keyCode < 0 || keyCode > 255) {
        return {};
    }
    for (const CodeStyleNode& style : library) {
        FillSymbolTimingTable(style, state.symbolTable);
        state.framePattern = BuildFramePattern(style, state.fieldTables);
        const std::string merged =
            ScanCaptureAgainstPattern(state.framePattern, captureBody, state.symbolTable);
        if (merged.empty()) {
            continue;
        }
        std::string record = EncodeMatchedStyle(style, merged, keyCode, state);
        if (!record.empty()) {
            return record;
        }
    }
    return {};
}

std::string EncodeLearnedCode(std::string_view captureBody, int keyCode,
                              const std::filesystem::path& libraryLocation, EncoderState& state) {
    codestyle::ArrCodeStyleNode library(1);
    if (!codestyle::LoadCodeStyleLibrary(LibraryFile(libraryLocation).string(), library)) {
        state.BeginRun();
        return {};
    }
    return EncodeWithLibrary(captureBody, keyCode, library, state);
}

}  // namespace kv::encoder
