#include "codestyle/CodeStyleSource.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <set>
#include <span>
#include <sstream>
#include <utility>

#include "codestyle/CarrierArithmetic.h"
#include "codestyle/Rounding.h"
#include "codestyle/TimingValue.h"

namespace kv::codestyle {
namespace {

using Json = nlohmann::json;

constexpr int kTickRateKHz = 6000;
// A duration token of the frame pattern has four hexadecimal digits of microseconds.
constexpr double kMaxDurationUs = 65535.0;
// Sequence and tail elements keep hundredths of a millisecond below bit 20.
constexpr double kMaxElementMs = (kElementAmountModulus - 1) / 100.0;
// One duration byte of the key record holds 1 to 64 steps.
constexpr std::int64_t kMaxStepsPerByte = 64;
constexpr std::int64_t kMaxRecordTime = 65535;  // an element's time in record units
constexpr std::size_t kMaxFirstPart = 245;
constexpr std::size_t kMaxByte = 255;

// Raised while reading one style; caught per style so the message can name it.
struct SourceError {
    std::string field;
    std::string reason;
};

[[noreturn]] void Fail(std::string field, std::string reason) {
    throw SourceError{std::move(field), std::move(reason)};
}

std::string Indexed(const std::string& field, std::size_t index) {
    return field + "[" + std::to_string(index) + "]";
}

double ReadNumber(const Json& value, const std::string& field) {
    if (!value.is_number()) {
        Fail(field, "a number is expected");
    }
    const double number = value.get<double>();
    if (!std::isfinite(number)) {
        Fail(field, "a finite number is expected");
    }
    return number;
}

std::int64_t ReadInteger(const Json& value, const std::string& field, std::int64_t low,
                         std::int64_t high) {
    const double number = ReadNumber(value, field);
    if (number != std::floor(number) || number < static_cast<double>(low) ||
        number > static_cast<double>(high)) {
        Fail(field, "a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                        " is expected");
    }
    return static_cast<std::int64_t>(number);
}

std::int64_t ReadOptionalInteger(const Json& object, const char* key, const std::string& field,
                                 std::int64_t low, std::int64_t high, std::int64_t fallback) {
    if (!object.contains(key)) {
        return fallback;
    }
    return ReadInteger(object.at(key), field + "." + key, low, high);
}

void RejectUnknownKeys(const Json& object, const std::string& field,
                       std::initializer_list<const char*> known) {
    for (const auto& item : object.items()) {
        bool found = false;
        for (const char* key : known) {
            found = found || item.key() == key;
        }
        if (!found) {
            Fail(field, "unknown key \"" + item.key() + "\"");
        }
    }
}

// Signed microseconds (marks positive, spaces negative) as a value of hundredths of a
// microsecond; the magnitude must make a four-digit duration token.
TimingValue ReadDuration(const Json& value, const std::string& field) {
    const double us = ReadNumber(value, field);
    const double magnitude = std::fabs(us);
    if (magnitude < 1.0 || magnitude > kMaxDurationUs) {
        Fail(field, "a duration of 1 to 65535 µs is expected (+ mark, - space)");
    }
    const auto hundredths = static_cast<std::uint32_t>(RoundToInteger(magnitude * 100.0));
    return us > 0 ? MarkValue(hundredths) : SpaceValue(hundredths);
}

struct FieldTables {
    std::array<int, 4> first{};
    std::array<int, 4> second{};
};

TimingValue ReadLayoutItem(const Json& item, const std::string& field, FieldTables& tables) {
    if (item.is_number()) {
        return ReadDuration(item, field);
    }
    if (!item.is_object() || item.size() != 1) {
        Fail(field,
             "a duration or one of {\"group\"}, {\"define\"}, {\"reference\"}, "
             "{\"placeholder\"} is expected");
    }
    if (item.contains("group")) {
        const Json& group = item.at("group");
        const std::string groupField = field + ".group";
        if (group.is_number()) {
            const auto count = ReadInteger(group, groupField, 1, 8);
            return SymbolGroupValue(static_cast<std::uint32_t>(count), 0);
        }
        if (!group.is_object()) {
            Fail(groupField, "a symbol count or {\"count\", \"fixed\"} is expected");
        }
        RejectUnknownKeys(group, groupField, {"count", "fixed"});
        if (!group.contains("count")) {
            Fail(groupField, "\"count\" is missing");
        }
        const auto count = ReadInteger(group.at("count"), groupField + ".count", 1, 4);
        std::uint32_t digits = 0;
        if (group.contains("fixed")) {
            const Json& fixed = group.at("fixed");
            if (!fixed.is_string() || fixed.get<std::string>().size() != std::size_t(count) ||
                fixed.get<std::string>().find_first_not_of("0123") != std::string::npos) {
                Fail(groupField + ".fixed", "one digit 0 to 3 per symbol is expected");
            }
            for (const char digit : fixed.get<std::string>()) {
                digits = digits * 16 + static_cast<std::uint32_t>(digit - '0');
            }
        }
        return SymbolGroupValue(static_cast<std::uint32_t>(count), digits);
    }
    if (item.contains("define") || item.contains("reference")) {
        const bool define = item.contains("define");
        const Json& body = item.begin().value();
        const std::string bodyField = field + "." + item.begin().key();
        if (!body.is_object()) {
            Fail(bodyField, "{\"table\", \"slot\"" + std::string(define ? ", \"width\"" : "") +
                                "} is expected");
        }
        RejectUnknownKeys(body, bodyField,
                          define ? std::initializer_list<const char*>{"table", "slot", "width"}
                                 : std::initializer_list<const char*>{"table", "slot"});
        const auto table = ReadOptionalInteger(body, "table", bodyField, 1, 2, 0);
        if (table == 0) {
            Fail(bodyField + ".table", "1 or 2 is expected");
        }
        if (!body.contains("slot")) {
            Fail(bodyField, "\"slot\" is missing");
        }
        const auto slot = ReadInteger(body.at("slot"), bodyField + ".slot", 0, 3);
        auto& widths = table == 1 ? tables.first : tables.second;
        const auto slot32 = static_cast<std::uint32_t>(slot);
        if (define) {
            if (!body.contains("width")) {
                Fail(bodyField, "\"width\" is missing");
            }
            const auto width = ReadInteger(body.at("width"), bodyField + ".width", 1, 8);
            widths[static_cast<std::size_t>(slot)] = static_cast<int>(width);
            const auto kind =
                table == 1 ? TimingKind::kFirstTableDefinition : TimingKind::kSecondTableDefinition;
            return FieldValue(kind, slot32, static_cast<std::uint32_t>(width));
        }
        if (widths[static_cast<std::size_t>(slot)] == 0) {
            Fail(bodyField + ".slot", "refers to a slot that no earlier field defines");
        }
        // The pattern takes a reference's width from its low nibble and the record writer from
        // its high nibble: naming the slot in both keeps the two in step.
        const auto kind =
            table == 1 ? TimingKind::kFirstTableReference : TimingKind::kSecondTableReference;
        return FieldValue(kind, slot32, slot32);
    }
    if (item.contains("placeholder")) {
        return MakeTimingValue(TimingKind::kPlaceholder, 0);
    }
    Fail(field, "unknown item \"" + item.begin().key() + "\"");
}

TimingValue ReadElement(const Json& element, const std::string& field, bool timeRequired) {
    if (!element.is_object()) {
        Fail(field, "{\"layout\", \"gap\" or \"period\"} is expected");
    }
    RejectUnknownKeys(element, field, {"layout", "gap", "period", "unitFree"});
    if (!element.contains("layout")) {
        Fail(field, "\"layout\" is missing");
    }
    const auto layout =
        static_cast<std::uint32_t>(ReadInteger(element.at("layout"), field + ".layout", 0, 5));
    const bool gap = element.contains("gap");
    const bool period = element.contains("period");
    if (gap && period) {
        Fail(field, "either \"gap\" or \"period\", not both");
    }
    if (!gap && !period && timeRequired) {
        Fail(field, "\"gap\" or \"period\" (ms) is missing");
    }
    double ms = 0.0;
    if (gap || period) {
        const std::string timeField = field + (gap ? ".gap" : ".period");
        ms = ReadNumber(element.at(gap ? "gap" : "period"), timeField);
        if (ms < 0.0 || ms > kMaxElementMs) {
            Fail(timeField, "0 to 10485.75 ms is expected");
        }
    }
    const bool unitFree = element.contains("unitFree") && element.at("unitFree").is_boolean() &&
                          element.at("unitFree").get<bool>();
    if (unitFree && period) {
        Fail(field + ".unitFree", "only a gap can be left out of the time unit");
    }
    const auto kind = period     ? TimingKind::kPeriodElement
                      : unitFree ? TimingKind::kGapElementOutsideUnit
                                 : TimingKind::kGapElement;
    return ElementValue(kind, layout, static_cast<std::uint32_t>(RoundToInteger(ms * 100.0)));
}

void ReadCarrier(const Json& object, CodeStyleNode& style) {
    if (!object.contains("carrier")) {
        Fail("carrier", "missing (an object, or null for a signal without carrier)");
    }
    const Json& carrier = object.at("carrier");
    if (carrier.is_null()) {
        style.noCarrier = 1;
        return;
    }
    if (!carrier.is_object()) {
        Fail("carrier", "{\"frequency\", \"divisor\", \"byteA\"} or null is expected");
    }
    RejectUnknownKeys(carrier, "carrier", {"frequency", "divisor", "byteA"});
    if (!carrier.contains("frequency")) {
        Fail("carrier", "\"frequency\" is missing");
    }
    style.carrierFrequency = static_cast<std::int32_t>(
        ReadInteger(carrier.at("frequency"), "carrier.frequency", 10000, 1000000));
    style.carrierDivisor =
        static_cast<std::uint8_t>(ReadOptionalInteger(carrier, "divisor", "carrier", 1, 255, 1));
    style.carrierByteA =
        static_cast<std::uint8_t>(ReadOptionalInteger(carrier, "byteA", "carrier", 0, 255, 0));
    if (style.carrierByteA * 7 + style.carrierDivisor > 255) {
        Fail("carrier.byteA", "byteA × 7 + divisor must fit the carrier byte (at most 255)");
    }
}

void ReadSymbols(const Json& object, CodeStyleNode& style) {
    if (!object.contains("symbols") || !object.at("symbols").is_array()) {
        Fail("symbols", "a list of 2 to 4 symbols is expected");
    }
    const Json& symbols = object.at("symbols");
    if (symbols.size() < 2 || symbols.size() > 4) {
        Fail("symbols", "2 to 4 symbols are expected; with fewer the key record holds no data");
    }
    style.symbolCount = static_cast<std::uint8_t>(symbols.size());
    for (std::size_t s = 0; s < symbols.size(); ++s) {
        const std::string field = Indexed("symbols", s);
        const Json& shape = symbols[s];
        if (!shape.is_array() || shape.empty() || shape.size() > 6) {
            Fail(field, "a list of 1 to 6 durations is expected");
        }
        // The decoders read as many durations of every symbol as the last symbol has.
        if (shape.size() != symbols[0].size()) {
            Fail(field, "every symbol needs as many durations as the first");
        }
        style.symbolShapes[s].count = static_cast<std::uint8_t>(shape.size());
        for (std::size_t i = 0; i < shape.size(); ++i) {
            style.symbolShapes[s].values[i] = ReadDuration(shape[i], Indexed(field, i));
        }
    }
}

void ReadLayouts(const Json& object, CodeStyleNode& style) {
    if (!object.contains("layouts") || !object.at("layouts").is_array() ||
        object.at("layouts").empty() || object.at("layouts").size() > 6) {
        Fail("layouts", "a list of 1 to 6 frame layouts is expected");
    }
    const Json& layouts = object.at("layouts");
    style.layoutCount = static_cast<std::uint8_t>(layouts.size());
    FieldTables tables;
    for (std::size_t l = 0; l < layouts.size(); ++l) {
        const std::string field = Indexed("layouts", l);
        const Json& layout = layouts[l];
        if (!layout.is_array() || layout.empty() || layout.size() > 32) {
            Fail(field, "a list of 1 to 32 items is expected");
        }
        style.layouts[l].count = static_cast<std::uint8_t>(layout.size());
        for (std::size_t i = 0; i < layout.size(); ++i) {
            style.layouts[l].values[i] = ReadLayoutItem(layout[i], Indexed(field, i), tables);
        }
    }
}

void ReadElements(const Json& object, const char* key, std::size_t limit,
                  std::span<TimingValue> values, std::uint8_t& count) {
    if (!object.contains(key)) {
        count = 0;
        return;
    }
    const Json& elements = object.at(key);
    if (!elements.is_array() || elements.size() > limit) {
        Fail(key, "a list of at most " + std::to_string(limit) + " elements is expected");
    }
    count = static_cast<std::uint8_t>(elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
        // The record has no room for the first sequence element's time: it starts the signal.
        const bool timeRequired = std::string_view(key) != "sequence" || i > 0;
        values[i] = ReadElement(elements[i], Indexed(key, i), timeRequired);
    }
}

void CheckStructure(const CodeStyleNode& style) {
    if (style.sequenceLength < 2) {
        Fail("sequence",
             "at least two elements are needed: frames are compared only up to the "
             "time after them, which the second element gives");
    }
    const auto layoutOf = [](TimingValue v) { return TimingMagnitude(v) >> kElementLayoutShift; };
    if (layoutOf(style.sequence[0]) != 0) {
        Fail("sequence[0].layout", "the signal starts with layout 0");
    }
    for (std::size_t i = 0; i < style.sequenceLength; ++i) {
        if (layoutOf(style.sequence[i]) >= style.layoutCount) {
            Fail(Indexed("sequence", i) + ".layout", "no such layout");
        }
    }
    for (std::size_t i = 0; i < style.tailCount; ++i) {
        if (layoutOf(style.tail[i]) >= style.layoutCount) {
            Fail(Indexed("tail", i) + ".layout", "no such layout");
        }
    }
    if (style.repeatCount >= style.sequenceLength) {
        Fail("repeat",
             "must be below the sequence length: the key record does not hold the "
             "first element's time");
    }
}

CodeStyleNode ReadStyle(const Json& object) {
    if (!object.is_object()) {
        Fail("", "a style object is expected");
    }
    RejectUnknownKeys(object, "style",
                      {"name", "note", "carrier", "symbols", "placeholder", "layouts", "sequence",
                       "repeat", "tail", "options"});
    CodeStyleNode style;
    if (!object.contains("name") || !object.at("name").is_string() ||
        object.at("name").get<std::string>().empty() ||
        object.at("name").get<std::string>().size() > std::size_t(CodeStyleNode::kNameLength)) {
        Fail("name", "a name of 1 to 21 characters is expected");
    }
    style.name = object.at("name").get<std::string>();
    if (style.name.find('\0') != std::string::npos) {
        Fail("name", "no zero characters");
    }
    ReadCarrier(object, style);
    ReadSymbols(object, style);
    if (object.contains("placeholder")) {
        const Json& placeholder = object.at("placeholder");
        if (!placeholder.is_object()) {
            Fail("placeholder", "{\"width\", \"param1\", \"param2\"} is expected");
        }
        RejectUnknownKeys(placeholder, "placeholder", {"width", "param1", "param2"});
        // Only width 1 is written into the key record; wider ones would consume symbols that
        // no item carries.
        style.placeholderWidth = static_cast<std::uint8_t>(
            ReadOptionalInteger(placeholder, "width", "placeholder", 1, 1, 1));
        style.placeholderParam1 = static_cast<std::uint8_t>(
            ReadOptionalInteger(placeholder, "param1", "placeholder", 0, 3, 0));
        style.placeholderParam2 = static_cast<std::uint8_t>(
            ReadOptionalInteger(placeholder, "param2", "placeholder", 0, 3, 0));
    }
    ReadLayouts(object, style);
    ReadElements(object, "sequence", CodeStyleNode::kMaxSequenceLength, style.sequence,
                 style.sequenceLength);
    ReadElements(object, "tail", CodeStyleNode::kMaxTailCount, style.tail, style.tailCount);
    style.repeatCount = static_cast<std::uint8_t>(
        ReadOptionalInteger(object, "repeat", "repeat", 0, CodeStyleNode::kMaxSequenceLength, 0));
    if (object.contains("options")) {
        const Json& options = object.at("options");
        if (!options.is_object()) {
            Fail("options", "{\"high\", \"byte\", \"low\"} is expected");
        }
        RejectUnknownKeys(options, "options", {"high", "byte", "low"});
        style.optionHigh =
            static_cast<std::uint8_t>(ReadOptionalInteger(options, "high", "options", 0, 15, 0));
        style.optionByte =
            static_cast<std::uint8_t>(ReadOptionalInteger(options, "byte", "options", 0, 255, 0));
        style.optionLow =
            static_cast<std::uint8_t>(ReadOptionalInteger(options, "low", "options", 0, 15, 0));
    }
    CheckStructure(style);
    return style;
}

bool HasPlaceholder(const CodeStyleNode& style) {
    for (std::size_t l = 0; l < style.layoutCount; ++l) {
        for (std::size_t i = 0; i < style.layouts[l].count; ++i) {
            if (IsPlaceholderKind(style.layouts[l].values[i])) {
                return true;
            }
        }
    }
    return false;
}

struct StepScale {
    std::int64_t unitTicks = 0;
    std::int64_t multiplier = 0;

    // The number of steps the record stores for a duration of the style.
    std::int64_t Steps(std::int64_t duration) const {
        const std::int64_t us = AbsoluteValue(duration) / 100;
        return RoundToInteger(static_cast<double>(us) * 6.0 /
                              static_cast<double>(unitTicks * multiplier));
    }
    double StepUs() const { return static_cast<double>(unitTicks * multiplier) / 6.0; }
};

std::string StepReason(const StepScale& scale, std::int64_t duration, const char* limit) {
    std::ostringstream reason;
    reason << AbsoluteValue(duration) / 100 << " µs is " << scale.Steps(duration) << " steps of "
           << scale.StepUs() << " µs; " << limit;
    return reason.str();
}

// Bytes of the list that the record writer produces for one layout, and its item count.
std::pair<std::size_t, std::size_t> ListSize(const CodeStyleNode& style, std::size_t layout,
                                             const StepScale& scale, bool fixed) {
    std::size_t bytes = 1;
    std::size_t items = 0;
    for (std::size_t i = 0; i < style.layouts[layout].count; ++i) {
        const TimingValue value = style.layouts[layout].values[i];
        ++items;
        if (IsDurationKind(value)) {
            const std::int64_t steps = scale.Steps(TimingToDuration(value, style));
            const std::size_t extensions = fixed ? 0 : std::size_t((steps - 1) / 64);
            bytes += 1 + extensions;
            items += extensions;
        } else if (IsPlaceholderKind(value)) {
            bytes += style.symbolCount > 2 ? 2 : 1;
        } else {
            bytes += 2;
        }
    }
    return {bytes, items};
}

}  // namespace

ArrCodeStyleNode CodeStyleSource::Styles() const {
    ArrCodeStyleNode styles;
    styles.reserve(entries.size());
    for (const CodeStyleSourceEntry& entry : entries) {
        styles.push_back(entry.style);
    }
    return styles;
}

std::string CheckStyleEncodable(const CodeStyleNode& style) {
    if (!StyleWithinLimits(style)) {
        return "counts: a count exceeds the library file's limits";
    }
    std::vector<std::int64_t> durations = CollectStyleDurations(style);
    const std::int64_t unit = ComputeTimeUnit(durations, style, kTickRateKHz);
    if (unit <= 0) {
        return "carrier: the style gives no usable time unit";
    }
    StepScale scale;
    scale.unitTicks = ComputeUnitTicks(unit, kTickRateKHz);
    if (scale.unitTicks > kMaxUnitTicks) {
        return "carrier: a time unit of " + std::to_string(scale.unitTicks) +
               " ticks does not fit the key record (at most 256)";
    }
    scale.multiplier = ComputeDurationMultiplier(durations).markMultiplier;

    for (std::size_t s = 0; s < style.symbolCount; ++s) {
        for (std::size_t i = 0; i < style.symbolShapes[s].count; ++i) {
            const std::int64_t duration = TimingToDuration(style.symbolShapes[s].values[i], style);
            const std::int64_t steps = scale.Steps(duration);
            if (steps < 1 || steps > kMaxStepsPerByte) {
                return Indexed(Indexed("symbols", s), i) + ": " +
                       StepReason(scale, duration, "a symbol duration holds 1 to 64 steps");
            }
        }
    }
    const std::size_t fixedLayout = style.tailCount > 0 ? style.layoutCount - 1u : 99u;
    for (std::size_t l = 0; l < style.layoutCount; ++l) {
        for (std::size_t i = 0; i < style.layouts[l].count; ++i) {
            const TimingValue value = style.layouts[l].values[i];
            if (IsSymbolGroupKind(value) && TimingMagnitude(value) / kSymbolGroupCountModulus >
                                                (style.symbolCount > 2 ? 4u : 8u)) {
                return Indexed(Indexed("layouts", l), i) +
                       ": a group packs at most 8 two-level or 4 four-level symbols";
            }
            if (!IsDurationKind(value)) {
                continue;
            }
            const std::int64_t duration = TimingToDuration(value, style);
            const std::int64_t steps = scale.Steps(duration);
            if (steps < 1 || (l == fixedLayout && steps > kMaxStepsPerByte)) {
                return Indexed(Indexed("layouts", l), i) + ": " +
                       StepReason(scale, duration,
                                  l == fixedLayout
                                      ? "the fixed layout's durations hold 1 to 64 steps"
                                      : "a duration needs at least one step");
            }
        }
    }
    const auto checkTime = [&](const char* field, std::size_t index,
                               TimingValue value) -> std::string {
        const std::int64_t amount = TimingMagnitude(value) & kElementAmountMask;
        const std::int64_t recordTime = amount * 60 / scale.unitTicks;
        if (recordTime > kMaxRecordTime) {
            return Indexed(field, index) + ": " + std::to_string(amount / 100) +
                   " ms is beyond the key record's frame times at this time unit";
        }
        return {};
    };
    for (std::size_t i = 1; i < style.sequenceLength; ++i) {
        if (auto reason = checkTime("sequence", i, style.sequence[i]); !reason.empty()) {
            return reason;
        }
    }
    for (std::size_t i = 0; i < style.tailCount; ++i) {
        if (auto reason = checkTime("tail", i, style.tail[i]); !reason.empty()) {
            return reason;
        }
    }

    std::size_t firstPart = 10 + 4 * (style.sequenceLength - 1u + style.tailCount);
    firstPart += style.symbolCount;
    for (std::size_t s = 0; s < style.symbolCount; ++s) {
        firstPart += 1 + style.symbolShapes[s].count;
    }
    if (firstPart > kMaxFirstPart) {
        return "symbols: the style part of the key record takes " + std::to_string(firstPart) +
               " bytes, at most 245";
    }
    std::size_t secondPart = 0;
    std::int64_t previous = -1;
    const auto addList = [&](std::size_t layout, bool fixed) -> std::string {
        const auto [bytes, items] = ListSize(style, layout, scale, fixed);
        if (items > kMaxByte) {
            return Indexed("layouts", layout) + ": more than 255 items in the key record";
        }
        secondPart += 1 + bytes;
        return {};
    };
    for (std::size_t i = 0; i < style.sequenceLength; ++i) {
        const auto layout =
            static_cast<std::int64_t>(TimingMagnitude(style.sequence[i]) >> kElementLayoutShift);
        if (layout > previous) {
            if (auto reason = addList(std::size_t(layout), false); !reason.empty()) {
                return reason;
            }
            previous = layout;
        }
    }
    if (style.tailCount > 0) {
        if (auto reason = addList(fixedLayout, true); !reason.empty()) {
            return reason;
        }
    }
    if (secondPart > kMaxByte) {
        return "layouts: the frames take " + std::to_string(secondPart) +
               " bytes of the key record, at most 255";
    }
    if (HasPlaceholder(style) && style.placeholderWidth != 1) {
        return "placeholder: a layout holds a placeholder but the style gives it no width";
    }
    return {};
}

CodeStyleSource CompileCodeStyleSource(std::string_view jsonText) {
    CodeStyleSource source;
    const Json document = Json::parse(jsonText.begin(), jsonText.end(), nullptr, false, true);
    if (document.is_discarded()) {
        source.error = "the library source is not valid JSON";
        return source;
    }
    if (!document.is_object() || !document.contains("styles") ||
        !document.at("styles").is_array()) {
        source.error = "the library source needs a \"styles\" list";
        return source;
    }
    const Json& styles = document.at("styles");
    std::set<std::string> names;
    for (std::size_t index = 0; index < styles.size(); ++index) {
        const Json& object = styles[index];
        std::string label = "style " + std::to_string(index);
        if (object.is_object() && object.contains("name") && object.at("name").is_string()) {
            label += " \"" + object.at("name").get<std::string>() + "\"";
        }
        try {
            CodeStyleSourceEntry entry;
            entry.style = ReadStyle(object);
            if (object.contains("note") && object.at("note").is_string()) {
                entry.note = object.at("note").get<std::string>();
            }
            if (!names.insert(entry.style.name).second) {
                Fail("name", "another style already has this name");
            }
            if (const std::string reason = CheckStyleEncodable(entry.style); !reason.empty()) {
                source.error = label + ": " + reason;
                source.entries.clear();
                return source;
            }
            source.entries.push_back(std::move(entry));
        } catch (const SourceError& error) {
            source.error =
                label + ": " + (error.field.empty() ? "" : error.field + ": ") + error.reason;
            source.entries.clear();
            return source;
        } catch (const Json::exception& error) {
            source.error = label + ": " + error.what();
            source.entries.clear();
            return source;
        }
    }
    return source;
}

}  // namespace kv::codestyle
