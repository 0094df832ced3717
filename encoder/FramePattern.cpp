#include "encoder/FramePattern.h"

#include <array>
#include <cstdlib>
#include <optional>

#include "codestyle/TimingValue.h"
#include "encoder/HexGroup.h"

namespace kv::encoder {

namespace {

using codestyle::CodeStyleNode;
using codestyle::TimingValue;

constexpr std::int64_t kLargestTokenMicroseconds = 0xFFFF;
constexpr int kSlotsPerTable = 4;

// Appends the text of one layout value; false when it cannot be written in the alphabet.
bool AppendLayoutValue(std::string& text, TimingValue value, const CodeStyleNode& style,
                       FieldTables& tables) {
    const std::int64_t y = codestyle::TimingToDuration(value, style);
    if (codestyle::IsSymbolGroupKind(value)) {
        text.append(static_cast<std::size_t>(y / codestyle::kSymbolGroupCountModulus), 'u');
        return true;
    }
    if (codestyle::IsPlaceholderKind(value)) {
        text.append(static_cast<std::size_t>(PlaceholderLetterCount(style.placeholderWidth)), 'u');
        return true;
    }
    if (codestyle::IsDurationKind(value)) {
        const std::int64_t microseconds = std::llabs(y) / 100;
        if (microseconds > kLargestTokenMicroseconds) {
            return false;
        }
        AppendHex4(text, static_cast<std::uint64_t>(microseconds));
        return true;
    }
    // Fields of either table, and every other kind, which reads the second table.
    const bool firstTable = codestyle::IsFirstTableKind(value);
    const bool definition = firstTable ? codestyle::IsFirstTableDefinition(value)
                                       : codestyle::IsSecondTableDefinition(value);
    std::array<int, kSlotsPerTable>& table = firstTable ? tables.first : tables.second;
    const int slot = FieldSlot(y);
    if (slot < 0) {
        return false;
    }
    if (definition) {
        table[static_cast<std::size_t>(slot)] = static_cast<int>(y % 16);
    }
    text.append(static_cast<std::size_t>(table[static_cast<std::size_t>(slot)]), 'u');
    return true;
}

std::optional<std::string> BuildLayoutText(const codestyle::FrameLayout& layout,
                                           const CodeStyleNode& style, FieldTables& tables) {
    std::string text;
    for (std::size_t i = 0; i < layout.count; ++i) {
        if (!AppendLayoutValue(text, layout.values[i], style, tables)) {
            return std::nullopt;
        }
    }
    return text;
}

// Appends the timing marker of a sequence element and the text of the layout it sends.
bool AppendFrame(std::string& pattern, TimingValue element, const CodeStyleNode& style,
                 const std::array<std::string, CodeStyleNode::kMaxLayouts>& layoutTexts) {
    const std::int64_t x = codestyle::TimingToDuration(element, style);
    const std::int64_t layout = x / codestyle::kElementAmountModulus;
    const std::int64_t amount = x % codestyle::kElementAmountModulus;
    // A space stored as an element would give a negative time that no marker can carry.
    if (x < 0 || layout >= CodeStyleNode::kMaxLayouts) {
        return false;
    }
    pattern.push_back(codestyle::IsPeriodElement(element) ? 'h' : 't');
    AppendHex4(pattern, static_cast<std::uint64_t>(amount / 100));
    pattern += layoutTexts[static_cast<std::size_t>(layout)];
    return true;
}

bool AppendPattern(std::string& pattern, const CodeStyleNode& style, FieldTables& tables) {
    if (!codestyle::StyleWithinLimits(style)) {
        return false;
    }
    std::array<std::string, CodeStyleNode::kMaxLayouts> layoutTexts{};
    for (std::size_t l = 0; l < style.layoutCount; ++l) {
        std::optional<std::string> text = BuildLayoutText(style.layouts[l], style, tables);
        if (!text) {
            return false;
        }
        layoutTexts[l] = std::move(*text);
    }
    // The pattern always starts with layout 0; element 0 only says how the first frame ends
    // when it comes round again.
    pattern = layoutTexts[0];
    for (std::size_t i = 1; i < style.sequenceLength; ++i) {
        if (!AppendFrame(pattern, style.sequence[i], style, layoutTexts)) {
            return false;
        }
    }
    // The capture is expected to hold the last repeatCount frames once more.
    for (std::size_t k = style.repeatCount; k >= 1; --k) {
        if (!AppendFrame(pattern, style.sequence[style.sequenceLength - k], style, layoutTexts)) {
            return false;
        }
    }
    return true;
}

}  // namespace

int PlaceholderLetterCount(int placeholderWidth) {
    if (placeholderWidth == 1) {
        return 1;
    }
    return placeholderWidth >= 2 && placeholderWidth <= 4 ? 2 : 0;
}

int FieldSlot(std::int64_t fieldMagnitude) {
    const std::int64_t slot = fieldMagnitude / 16;
    return slot >= 0 && slot < kSlotsPerTable ? static_cast<int>(slot) : -1;
}

std::string BuildFramePattern(const CodeStyleNode& style, FieldTables& fieldTables) {
    fieldTables.Clear();
    std::string pattern;
    if (!AppendPattern(pattern, style, fieldTables)) {
        fieldTables.Clear();
        return {};
    }
    return pattern;
}

}  // namespace kv::encoder
