#include "encoder/PulseTrainEncoding.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "codestyle/HexText.h"
#include "codestyle/ItemCode.h"
#include "codestyle/Rounding.h"
#include "codestyle/TimingValue.h"
#include "encoder/FramePattern.h"
#include "encoder/HexGroup.h"
#include "encoder/PatternLetters.h"

namespace kv::encoder {

namespace {

using codestyle::AppendHexByte;
using codestyle::CodeStyleNode;
using codestyle::TimingValue;

using namespace codestyle::itemcode;

constexpr int kMaxByte = 255;

// Group bytes as numbers, before they are checked to fit the item.
struct GroupItem {
    int countByte = 0;
    int value = 0;
};

GroupItem FourLevelGroup(std::string_view letters) {
    int value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const int symbol = i < letters.size() ? SymbolLetterIndex(letters[i]) : 0;
        value = value * 4 + (symbol < 4 ? symbol : 0);
    }
    return {kFourLevelGroupBase + static_cast<int>(letters.size()), value};
}

GroupItem TwoLevelGroup(std::string_view letters) {
    int value = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        // Letters past the value's eight bits, and missing ones, weigh nothing.
        value = value * 2 + (i < letters.size() ? SymbolLetterIndex(letters[i]) : 0);
    }
    return {kTwoLevelGroupBase + static_cast<int>(letters.size()), value};
}

// The item code keeps group counts of up to 16 in its count byte and one byte of value.
bool GroupFits(const GroupItem& item, std::size_t letters) {
    return letters <= kMaxGroupSymbols && item.value <= kMaxByte;
}

std::string GroupText(const GroupItem& item, std::size_t letters) {
    if (!GroupFits(item, letters)) {
        return {};
    }
    std::string text;
    AppendHexByte(text, item.countByte);
    AppendHexByte(text, item.value);
    return text;
}

// What differs between the two encodings.
struct Levels {
    bool fourLevel;

    GroupItem Group(std::string_view letters) const {
        return fourLevel ? FourLevelGroup(letters) : TwoLevelGroup(letters);
    }

    // The letter a fixed group's digit stands for; none for a digit the encoding cannot send.
    std::optional<char> FixedLetter(std::int64_t digit) const {
        const std::int64_t symbols = fourLevel ? 4 : 2;
        if (digit < 0 || digit >= symbols) {
            return std::nullopt;
        }
        return SymbolLetter(static_cast<int>(digit));
    }
};

// The merged text still to be consumed, front first.
class MergedCursor {
  public:
    explicit MergedCursor(std::string_view text) : rest_(text) {}

    std::string_view Take(std::size_t count) {
        const std::string_view taken = Front(rest_, count);
        rest_ = DropFront(rest_, count);
        return taken;
    }

    // Moves past the timing marker that ends the current frame and its 4 digits; without one,
    // past the next 4 characters. The nearest marker of either letter ends the frame: looking
    // for an "h" first would, in a style that mixes gap and period elements, jump over whole
    // frames and build the next layout's list from a later frame's text.
    void SkipFrameMarker() {
        const std::size_t marker = rest_.find_first_of("ht");
        rest_ = marker == std::string_view::npos ? DropFront(rest_, 4)
                                                 : DropFront(rest_, marker + 1 + 4);
    }

  private:
    std::string_view rest_;
};

class SecondPartBuilder {
  public:
    SecondPartBuilder(const CodeStyleNode& style, const EncoderState& state, Levels levels)
        : style_(style), state_(state), levels_(levels) {}

    // Writes the list of `layout`, consuming its frame from the merged text.
    bool WriteFrameList(std::size_t layout, MergedCursor& merged) {
        const codestyle::FrameLayout& values = style_.layouts[layout];
        std::vector<int> items;
        int count = values.count;
        for (std::size_t i = 0; i < values.count; ++i) {
            if (!AppendFrameItem(values.values[i], merged, items, count)) {
                return false;
            }
        }
        return AppendList(count, items);
    }

    // Writes the fixed last layout from the style alone.
    bool WriteFixedList(std::size_t layout) {
        const codestyle::FrameLayout& values = style_.layouts[layout];
        std::vector<int> items;
        for (std::size_t i = 0; i < values.count; ++i) {
            if (!AppendFixedItem(values.values[i], items)) {
                return false;
            }
        }
        return AppendList(values.count, items);
    }

    std::optional<std::string> Text() const {
        if (offsets_.size() + lists_.size() > kMaxByte) {
            return std::nullopt;
        }
        std::string text;
        for (int byte : offsets_) {
            AppendHexByte(text, byte);
        }
        for (int byte : lists_) {
            AppendHexByte(text, byte);
        }
        return text;
    }

  private:
    bool AppendFrameItem(TimingValue value, MergedCursor& merged, std::vector<int>& items,
                         int& count) const {
        const std::int64_t y = codestyle::TimingToDuration(value, style_);
        if (codestyle::IsSymbolGroupKind(value)) {
            return AppendGroup(merged.Take(GroupLetters(y)), items);
        }
        if (codestyle::IsPlaceholderKind(value)) {
            merged.Take(static_cast<std::size_t>(PlaceholderLetterCount(style_.placeholderWidth)));
            AppendPlaceholder(items);
            return true;
        }
        if (codestyle::IsDurationKind(value)) {
            merged.Take(4);
            std::int64_t k = StepCount(y) - 1;
            if (k < 0) {
                return false;
            }
            for (; k >= kStepsPerDurationByte; k -= kStepsPerDurationByte) {
                items.push_back(y > 0 ? kMarkExtension : kSpaceExtension);
                ++count;
            }
            items.push_back(static_cast<int>((y > 0 ? kMarkBase : kSpaceBase) + k));
            return true;
        }
        const int slot = FieldSlot(y);
        if (slot < 0) {
            return false;
        }
        const FieldTables& tables = state_.fieldTables;
        const int width = codestyle::IsFirstTableKind(value)
                              ? tables.first[static_cast<std::size_t>(slot)]
                              : tables.second[static_cast<std::size_t>(slot)];
        return AppendGroup(merged.Take(static_cast<std::size_t>(width)), items);
    }

    bool AppendFixedItem(TimingValue value, std::vector<int>& items) const {
        const std::int64_t y = codestyle::TimingToDuration(value, style_);
        if (codestyle::IsSymbolGroupKind(value)) {
            return AppendGroup(FixedLetters(y), items);
        }
        if (codestyle::IsPlaceholderKind(value)) {
            AppendPlaceholder(items);
            return true;
        }
        if (codestyle::IsDurationKind(value)) {
            // The fixed layout carries no extension bytes: one byte must hold the duration.
            const std::int64_t k = StepCount(y) - 1;
            if (k < 0 || k >= kStepsPerDurationByte) {
                return false;
            }
            items.push_back(static_cast<int>((y > 0 ? kMarkBase : kSpaceBase) + k));
        }
        return true;
    }

    static std::size_t GroupLetters(std::int64_t y) {
        return static_cast<std::size_t>(y / codestyle::kSymbolGroupCountModulus);
    }

    // The fixed symbols of a group, one hexadecimal digit each, most significant first.
    std::string FixedLetters(std::int64_t y) const {
        std::int64_t n = y / codestyle::kSymbolGroupCountModulus;
        std::int64_t digits = y % codestyle::kSymbolGroupCountModulus;
        std::string letters;
        for (; n > 0; --n) {
            // Only four digits fit the 16 bits; positions above them read as 0.
            const std::int64_t weight = n <= 4 ? std::int64_t{1} << (4 * (n - 1)) : 0;
            const std::int64_t digit = weight == 0 ? 0 : digits / weight;
            if (weight != 0) {
                digits %= weight;
            }
            if (const std::optional<char> letter = levels_.FixedLetter(digit)) {
                letters.push_back(*letter);
            }
        }
        return letters;
    }

    bool AppendGroup(std::string_view letters, std::vector<int>& items) const {
        const GroupItem group = levels_.Group(letters);
        if (!GroupFits(group, letters.size())) {
            return false;
        }
        items.push_back(group.countByte);
        items.push_back(group.value);
        return true;
    }

    void AppendPlaceholder(std::vector<int>& items) const {
        if (style_.placeholderWidth != 1) {
            return;
        }
        if (!levels_.fourLevel) {
            items.push_back(kTwoLevelPlaceholder);
            return;
        }
        const int p1 = style_.placeholderParam1;
        const int p2 = style_.placeholderParam2;
        items.push_back(kFourLevelPlaceholder);
        items.push_back(((p1 / 2) * 128 + (p1 % 2) * 64 + (p2 / 2) * 32 + (p2 % 2) * 16) &
                        kMaxByte);
    }

    // Steps of markMultiplier x unitTicks ticks, 6 ticks to the microsecond.
    std::int64_t StepCount(std::int64_t duration) const {
        const std::int64_t microseconds = codestyle::AbsoluteValue(duration) / 100;
        const double step = static_cast<double>(state_.unitTicks) * state_.markMultiplier;
        return codestyle::RoundToInteger(static_cast<double>(microseconds) * 6.0 / step);
    }

    bool AppendList(int count, const std::vector<int>& items) {
        const auto offset = static_cast<int>(style_.layoutCount + lists_.size());
        if (offset > kMaxByte || count > kMaxByte) {
            return false;
        }
        offsets_.push_back(offset);
        lists_.push_back(count);
        lists_.insert(lists_.end(), items.begin(), items.end());
        return true;
    }

    const CodeStyleNode& style_;
    const EncoderState& state_;
    Levels levels_;
    std::vector<int> offsets_;
    std::vector<int> lists_;
};

std::string EncodeSecondPart(const CodeStyleNode& style, std::string_view mergedText,
                             const EncoderState& state, Levels levels) {
    if (!codestyle::StyleWithinLimits(style) || state.unitTicks < 1 || state.unitTicks > 256 ||
        state.markMultiplier < 1) {
        return {};
    }
    SecondPartBuilder builder(style, state, levels);
    MergedCursor merged(mergedText);
    // Two-level frames are only written for styles of exactly two symbols.
    const bool writeFrames = levels.fourLevel || style.symbolCount == 2;
    std::int64_t previous = -1;
    for (std::size_t i = 0; writeFrames && i < style.sequenceLength; ++i) {
        const std::int64_t layout = codestyle::TimingToDuration(style.sequence[i], style) /
                                    codestyle::kElementAmountModulus;
        if (layout > previous) {
            // A layout is written once, at its first frame; later frames of it are skipped.
            if (layout >= CodeStyleNode::kMaxLayouts ||
                !builder.WriteFrameList(static_cast<std::size_t>(layout), merged)) {
                return {};
            }
            previous = layout;
        }
        merged.SkipFrameMarker();
    }
    if (style.tailCount > 0) {
        if (style.layoutCount == 0 ||
            !builder.WriteFixedList(static_cast<std::size_t>(style.layoutCount - 1))) {
            return {};
        }
    }
    return builder.Text().value_or(std::string());
}

}  // namespace

std::string EncodeSecondPartFourLevel(const CodeStyleNode& style, std::string_view mergedText,
                                      const EncoderState& state) {
    return EncodeSecondPart(style, mergedText, state, Levels{true});
}

std::string EncodeSecondPartTwoLevel(const CodeStyleNode& style, std::string_view mergedText,
                                     const EncoderState& state) {
    return EncodeSecondPart(style, mergedText, state, Levels{false});
}

std::string PackFourLevelSymbols(std::string_view letters) {
    return GroupText(FourLevelGroup(letters), letters.size());
}

std::string PackTwoLevelSymbols(std::string_view letters) {
    return GroupText(TwoLevelGroup(letters), letters.size());
}

}  // namespace kv::encoder
