#pragma once

// The item code of a key record's frame lists, as the remote plays it back: shared by the
// encoder that writes the lists and by the tools that read them back.
namespace kv::codestyle::itemcode {

// Duration bytes: the level in the top two bits, the steps less one in the low six.
inline constexpr int kSpaceBase = 0x80;
inline constexpr int kMarkBase = 0xC0;
inline constexpr int kStepsPerDurationByte = 64;
// 64 steps more, followed by the byte of the remainder.
inline constexpr int kSpaceExtension = 0xBF;
inline constexpr int kMarkExtension = 0xFF;

// Symbol groups: base + symbol count, then one value byte.
inline constexpr int kTwoLevelGroupBase = 0x3F;
inline constexpr int kFourLevelGroupBase = 0x4F;
inline constexpr int kMaxGroupSymbols = 16;

// Placeholder items; the four-level one is followed by its parameter byte.
inline constexpr int kTwoLevelPlaceholder = 0x70;
inline constexpr int kFourLevelPlaceholder = 0x74;

}  // namespace kv::codestyle::itemcode
