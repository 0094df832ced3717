#include "encoder/KeyRecord.h"

#include <cstdint>
#include <vector>

#include "codestyle/HexText.h"
#include "codestyle/Rounding.h"
#include "codestyle/TimingValue.h"
#include "encoder/PulseTrainEncoding.h"

namespace kv::encoder {

namespace {

using codestyle::AppendHexByte;
using codestyle::CodeStyleNode;

constexpr int kHeaderBytes = 10;
constexpr int kFixedFirstPartBytes = 10;  // offset, length and the eight bytes before the tables
constexpr std::int64_t kMaxFirstPartBytes = 255 - kHeaderBytes;
constexpr std::int64_t kMaxSecondPartBytes = 255;
constexpr std::int64_t kMaxEntryTime = 65535;
constexpr std::int64_t kMaxSteps = 64;

bool FitsByte(std::int64_t value) {
    return value >= 0 && value <= 255;
}

std::int64_t ByteCount(std::string_view hexText) {
    return static_cast<std::int64_t>(hexText.size() / 2);
}

// One 4-byte entry of the sequence table, or none when it does not fit.
std::optional<std::string> SequenceEntry(codestyle::TimingValue element, const CodeStyleNode& style,
                                         int unitTicks) {
    const std::int64_t x = codestyle::TimingToDuration(element, style);
    if (x < 0) {
        return std::nullopt;
    }
    const std::int64_t layout = x / codestyle::kElementAmountModulus;
    const std::int64_t amount = x % codestyle::kElementAmountModulus;
    // 60 ticks to a hundredth of a millisecond; the record counts in units of unitTicks.
    const std::int64_t w = amount * 60 / unitTicks;
    // The entry has 16 bits for the time; the marker byte's low bits would only carry bits 20
    // and up, so a longer time cannot be written faithfully.
    if (w > kMaxEntryTime || !FitsByte(layout)) {
        return std::nullopt;
    }
    const bool period = codestyle::IsPeriodElement(element);
    std::string entry;
    AppendHexByte(entry, w % 256);
    AppendHexByte(entry, (w % codestyle::kElementAmountModulus) / 256);
    AppendHexByte(entry, (period ? 0x80 : 0xC0) + w / codestyle::kElementAmountModulus);
    AppendHexByte(entry, layout);
    return entry;
}

// The duration byte of `microseconds`: the level in the top two bits (11 mark, 10 space, 0
// counts as a mark), the number of steps less one below. None when the step count is outside
// 1 to 64, which the six bits cannot hold.
std::optional<std::int64_t> DurationByte(std::int64_t microseconds, int unitTicks,
                                         int markMultiplier, int spaceMultiplier) {
    const bool space = microseconds < 0;
    const int multiplier = space ? spaceMultiplier : markMultiplier;
    const double ticks = static_cast<double>(codestyle::AbsoluteValue(microseconds)) * 6.0;
    const std::int64_t steps =
        codestyle::RoundToInteger(ticks / (static_cast<double>(multiplier) * unitTicks));
    if (steps < 1 || steps > kMaxSteps) {
        return std::nullopt;
    }
    return (space ? 0x80 : 0xC0) + steps - 1;
}

}  // namespace

std::optional<std::string> BuildSequenceTable(const CodeStyleNode& style, int unitTicks) {
    if (unitTicks < 1 || style.sequenceLength > CodeStyleNode::kMaxSequenceLength ||
        style.tailCount > CodeStyleNode::kMaxTailCount) {
        return std::nullopt;
    }
    std::vector<codestyle::TimingValue> elements;
    for (int i = 1; i < style.sequenceLength; ++i) {
        elements.push_back(style.sequence[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < style.tailCount; ++i) {
        elements.push_back(style.tail[static_cast<std::size_t>(i)]);
    }
    std::string table;
    for (const codestyle::TimingValue element : elements) {
        const auto entry = SequenceEntry(element, style, unitTicks);
        if (!entry) {
            return std::nullopt;
        }
        table += *entry;
    }
    return table;
}

std::optional<std::string> BuildSymbolTable(const CodeStyleNode& style,
                                            const SymbolTimingTable& table, int unitTicks,
                                            int markMultiplier, int spaceMultiplier) {
    const int symbols = style.symbolCount;
    if (symbols > CodeStyleNode::kMaxSymbols || unitTicks < 1 || markMultiplier < 1 ||
        spaceMultiplier < 1) {
        return std::nullopt;
    }
    std::string offsets;
    std::string entries;
    for (int s = 0; s < symbols; ++s) {
        const codestyle::SymbolShape& shape = style.symbolShapes[static_cast<std::size_t>(s)];
        if (shape.count > CodeStyleNode::kMaxShapeCount) {
            return std::nullopt;
        }
        AppendHexByte(offsets, symbols + ByteCount(entries));
        AppendHexByte(entries, shape.count);
        for (int i = 0; i < shape.count; ++i) {
            const auto microseconds = table.EntryValue(s, i);
            if (!microseconds) {
                return std::nullopt;
            }
            const auto byte =
                DurationByte(*microseconds, unitTicks, markMultiplier, spaceMultiplier);
            if (!byte) {
                return std::nullopt;
            }
            AppendHexByte(entries, *byte);
        }
    }
    return offsets + entries;
}

std::string BuildKeyRecord(const CodeStyleNode& style, std::string_view mergedText, int keyCode,
                           const EncoderState& state) {
    const std::int64_t carrierByte =
        style.noCarrier != 0 ? 0x80 : style.carrierByteA * 7 + style.carrierDivisor;
    const std::int64_t optionByte1 = style.optionHigh * 16 + style.optionLow;
    const std::int64_t layoutByte = style.layoutCount * 16 + style.sequenceLength;
    const std::int64_t repeatByte = style.repeatCount * 16 + style.tailCount;
    if (!FitsByte(keyCode) || !FitsByte(state.unitTicks - 1) ||
        !FitsByte(state.markMultiplier - 1) || !FitsByte(state.spaceMultiplier - 1) ||
        !FitsByte(carrierByte) || !FitsByte(optionByte1) || !FitsByte(layoutByte) ||
        !FitsByte(repeatByte)) {
        return {};
    }
    const auto sequenceTable = BuildSequenceTable(style, state.unitTicks);
    const auto symbolTable = BuildSymbolTable(style, state.symbolTable, state.unitTicks,
                                              state.markMultiplier, state.spaceMultiplier);
    if (!sequenceTable || !symbolTable) {
        return {};
    }
    const std::int64_t symbolTableOffset = kFixedFirstPartBytes + ByteCount(*sequenceTable);
    const std::int64_t firstPartBytes = symbolTableOffset + ByteCount(*symbolTable);
    if (firstPartBytes > kMaxFirstPartBytes) {
        return {};
    }
    const std::string secondPart = style.symbolCount > 2
                                       ? EncodeSecondPartFourLevel(style, mergedText, state)
                                       : EncodeSecondPartTwoLevel(style, mergedText, state);
    const std::int64_t secondPartBytes = ByteCount(secondPart);
    if (secondPart.empty() || secondPartBytes > kMaxSecondPartBytes) {
        return {};
    }

    std::string record;
    record.reserve(
        static_cast<std::size_t>(2 * (kHeaderBytes + firstPartBytes) + secondPart.size()));
    AppendHexByte(record, 0x00);
    AppendHexByte(record, 0x01);
    AppendHexByte(record, keyCode);
    AppendHexByte(record, 0xC7);
    AppendHexByte(record, kHeaderBytes);
    AppendHexByte(record, 0x00);
    AppendHexByte(record, firstPartBytes);
    AppendHexByte(record, firstPartBytes + kHeaderBytes);
    AppendHexByte(record, 0x00);
    AppendHexByte(record, secondPartBytes);

    AppendHexByte(record, symbolTableOffset);
    AppendHexByte(record, firstPartBytes);
    AppendHexByte(record, state.unitTicks - 1);
    AppendHexByte(record, carrierByte);
    AppendHexByte(record, state.markMultiplier - 1);
    AppendHexByte(record, state.spaceMultiplier - 1);
    AppendHexByte(record, optionByte1);
    AppendHexByte(record, style.optionByte);
    AppendHexByte(record, layoutByte);
    AppendHexByte(record, repeatByte);
    record += *sequenceTable;
    record += *symbolTable;
    record += secondPart;
    return record;
}

}  // namespace kv::encoder
