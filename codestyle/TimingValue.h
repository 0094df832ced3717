#pragma once

#include <cstdint>

namespace kv::codestyle {

struct CodeStyleNode;

// One number a code style stores about time or structure: the high byte is the kind, the low
// 24 bits the magnitude.
using TimingValue = std::uint32_t;

inline constexpr std::uint32_t kMagnitudeMask = 0x00FFFFFF;
// Sequence and tail elements keep the layout index above bit 20 and the time below it.
inline constexpr std::uint32_t kElementLayoutShift = 20;
inline constexpr std::int64_t kElementAmountModulus = std::int64_t{1} << kElementLayoutShift;
inline constexpr std::uint32_t kElementAmountMask = (1U << kElementLayoutShift) - 1;
// A symbol group keeps its symbol count in the top byte of the magnitude.
inline constexpr std::int64_t kSymbolGroupCountModulus = 65536;

// The kinds that mean something; every other kind, 0x80 to 0xFF included, is an empty item.
enum class TimingKind : std::uint8_t {
    kSpaceMicroseconds = 0x00,
    kSpaceMilliseconds = 0x01,
    kSpaceCarrierCycles = 0x02,
    kNoneAfterSpaces = 0x03,
    kMarkMicroseconds = 0x04,
    kMarkMilliseconds = 0x05,
    kMarkCarrierCycles = 0x06,
    kNoneAfterMarks = 0x07,
    kFirstTableDefinition = 0x08,
    kFirstTableReference = 0x09,
    kFirstTableReferenceAlt = 0x0A,
    kPlaceholder = 0x0B,
    kSecondTableDefinition = 0x0C,
    kSecondTableReference = 0x0D,
    kSecondTableReferenceAlt = 0x0E,
    kSymbolGroup = 0x0F,
    kGapElement = 0x10,
    kPeriodElement = 0x19,
    // A gap element that takes no part in choosing the time unit.
    kGapElementOutsideUnit = 0x1D,
};

constexpr std::uint8_t TimingKindOf(TimingValue value) {
    return static_cast<std::uint8_t>(value >> 24);
}

constexpr std::uint32_t TimingMagnitude(TimingValue value) {
    return value & kMagnitudeMask;
}

constexpr TimingValue MakeTimingValue(TimingKind kind, std::uint32_t magnitude) {
    return (static_cast<std::uint32_t>(kind) << 24) | (magnitude & kMagnitudeMask);
}

// Builders for the values a library author writes most; durations are in hundredths of a
// microsecond, element amounts in hundredths of a millisecond.
constexpr TimingValue MarkValue(std::uint32_t hundredthsOfMicrosecond) {
    return MakeTimingValue(TimingKind::kMarkMicroseconds, hundredthsOfMicrosecond);
}
constexpr TimingValue SpaceValue(std::uint32_t hundredthsOfMicrosecond) {
    return MakeTimingValue(TimingKind::kSpaceMicroseconds, hundredthsOfMicrosecond);
}
constexpr TimingValue FieldValue(TimingKind kind, std::uint32_t slot, std::uint32_t width) {
    return MakeTimingValue(kind, slot * 16 + width);
}
constexpr TimingValue SymbolGroupValue(std::uint32_t count, std::uint32_t fixedDigits) {
    return MakeTimingValue(TimingKind::kSymbolGroup, count * 65536 + (fixedDigits & 0xFFFF));
}
constexpr TimingValue ElementValue(TimingKind kind, std::uint32_t layout,
                                   std::uint32_t hundredthsOfMillisecond) {
    return MakeTimingValue(
        kind, (layout << kElementLayoutShift) | (hundredthsOfMillisecond & kElementAmountMask));
}

// The carrier period in microseconds; 0 for a style sent without a carrier or with no usable
// carrier frequency, so that carrier-cycle durations come out as 0 instead of dividing by 0.
double CarrierPeriodMicroseconds(const CodeStyleNode& style);

// The value as a signed duration in hundredths of a microsecond (marks positive, spaces
// negative); structural kinds give their magnitude, empty kinds 0. The style supplies only its
// carrier.
std::int64_t TimingToDuration(TimingValue value, const CodeStyleNode& style);

// As TimingToDuration, but only the items that make up the signal's time grid count: fields,
// symbol groups and the gap elements of kind 0x1D give 0.
std::int64_t TimingToUnitDuration(TimingValue value, const CodeStyleNode& style);

bool IsDurationKind(TimingValue value);
bool IsPlaceholderKind(TimingValue value);
bool IsFirstTableKind(TimingValue value);
bool IsFirstTableDefinition(TimingValue value);
bool IsSecondTableDefinition(TimingValue value);
bool IsSymbolGroupKind(TimingValue value);
bool IsPeriodElement(TimingValue value);

}  // namespace kv::codestyle
