#include "codestyle/TimingValue.h"

#include "codestyle/CodeStyleNode.h"
#include "codestyle/Rounding.h"

namespace kv::codestyle {

namespace {

constexpr std::uint8_t Kind(TimingKind kind) {
    return static_cast<std::uint8_t>(kind);
}

// The length of a time kind in hundredths of a microsecond, before its sign: the kind's low two
// bits name the unit (microseconds, milliseconds, carrier cycles, none).
std::int64_t UnsignedDuration(std::uint8_t kind, std::int64_t magnitude,
                              const CodeStyleNode& style) {
    switch (kind & 0x03) {
        case 0:
            return magnitude;
        case 1:
            return 1000 * magnitude;
        case 2:
            return RoundToInteger(static_cast<double>(magnitude) *
                                  CarrierPeriodMicroseconds(style));
        default:
            return 0;
    }
}

bool IsTimeKind(std::uint8_t kind) {
    return kind <= Kind(TimingKind::kNoneAfterMarks);
}

// Marks are the kinds 0x04 to 0x07; 0x00 to 0x03 are spaces.
std::int64_t SignedTime(std::uint8_t kind, TimingValue value, const CodeStyleNode& style) {
    const std::int64_t duration = UnsignedDuration(kind, TimingMagnitude(value), style);
    return (kind & 0x04) != 0 ? duration : -duration;
}

bool IsElementKind(std::uint8_t kind) {
    return kind == Kind(TimingKind::kGapElement) || kind == Kind(TimingKind::kPeriodElement);
}

}  // namespace

double CarrierPeriodMicroseconds(const CodeStyleNode& style) {
    if (style.noCarrier != 0 || style.carrierFrequency <= 0) {
        return 0.0;
    }
    return 1e6 / static_cast<double>(style.carrierFrequency);
}

std::int64_t TimingToDuration(TimingValue value, const CodeStyleNode& style) {
    const std::uint8_t kind = TimingKindOf(value);
    if (IsTimeKind(kind)) {
        return SignedTime(kind, value, style);
    }
    const bool structural =
        (kind >= Kind(TimingKind::kFirstTableDefinition) &&
         kind <= Kind(TimingKind::kSymbolGroup) && kind != Kind(TimingKind::kPlaceholder)) ||
        IsElementKind(kind) || kind == Kind(TimingKind::kGapElementOutsideUnit);
    return structural ? TimingMagnitude(value) : 0;
}

std::int64_t TimingToUnitDuration(TimingValue value, const CodeStyleNode& style) {
    const std::uint8_t kind = TimingKindOf(value);
    if (IsTimeKind(kind)) {
        return SignedTime(kind, value, style);
    }
    return IsElementKind(kind) ? TimingMagnitude(value) : 0;
}

bool IsDurationKind(TimingValue value) {
    const std::uint8_t kind = TimingKindOf(value);
    return IsTimeKind(kind) && (kind & 0x03) != 0x03;
}

bool IsPlaceholderKind(TimingValue value) {
    return TimingKindOf(value) == Kind(TimingKind::kPlaceholder);
}

bool IsFirstTableKind(TimingValue value) {
    const std::uint8_t kind = TimingKindOf(value);
    return kind >= Kind(TimingKind::kFirstTableDefinition) &&
           kind <= Kind(TimingKind::kFirstTableReferenceAlt);
}

bool IsFirstTableDefinition(TimingValue value) {
    return TimingKindOf(value) == Kind(TimingKind::kFirstTableDefinition);
}

bool IsSecondTableDefinition(TimingValue value) {
    return TimingKindOf(value) == Kind(TimingKind::kSecondTableDefinition);
}

bool IsSymbolGroupKind(TimingValue value) {
    return TimingKindOf(value) == Kind(TimingKind::kSymbolGroup);
}

bool IsPeriodElement(TimingValue value) {
    return TimingKindOf(value) == Kind(TimingKind::kPeriodElement);
}

}  // namespace kv::codestyle
