#pragma once

#include <cstddef>
#include <string_view>

// Where each field of a code-style record sits in the library file. The reader and the writer
// both work from this one table, so that they cannot drift apart.
namespace kv::codestyle::libraryfile {

inline constexpr std::string_view kHeaderText = "Deroz DovedEdovadIvavuvivir CodeInfo";

inline constexpr std::size_t kNameSize = 21;
inline constexpr std::size_t kBodySize = 1012;
inline constexpr std::size_t kRecordSize = kNameSize + kBodySize;  // 1033

// Offsets from the start of the record (name included).
inline constexpr std::size_t kNoCarrier = 21;
inline constexpr std::size_t kCarrierFrequency = 25;
inline constexpr std::size_t kCarrierByteA = 29;
inline constexpr std::size_t kCarrierDivisor = 30;
inline constexpr std::size_t kSymbolCount = 33;
inline constexpr std::size_t kSymbolShapes = 37;
inline constexpr std::size_t kSymbolShapeSize = 28;  // count, 3 reserved, 6 values
inline constexpr std::size_t kPlaceholderWidth = 149;
inline constexpr std::size_t kPlaceholderParam1 = 150;
inline constexpr std::size_t kPlaceholderParam2 = 152;
inline constexpr std::size_t kLayoutCount = 161;
inline constexpr std::size_t kLayouts = 165;
inline constexpr std::size_t kLayoutSize = 132;  // count, 3 reserved, 32 values
inline constexpr std::size_t kSequenceLength = 957;
inline constexpr std::size_t kSequence = 961;
inline constexpr std::size_t kRepeatCount = 993;
inline constexpr std::size_t kTailCount = 997;
inline constexpr std::size_t kTail = 1001;
inline constexpr std::size_t kOptionHigh = 1018;
inline constexpr std::size_t kOptionByte = 1019;
inline constexpr std::size_t kOptionLow = 1020;

// Within a shape or layout block, the values follow the count and three reserved bytes.
inline constexpr std::size_t kBlockValues = 4;

// Walks every stored field of a style with its offset in the record, so that the reader and the
// writer share one map of the record. `Style` is CodeStyleNode for reading and const
// CodeStyleNode for writing; `Access` reads or writes Name, Byte, Word and Words at an offset.
template <class Style, class Access>
void MapRecordFields(Style& style, Access& access) {
    access.Name(style.name);
    access.Byte(kNoCarrier, style.noCarrier);
    access.Word(kCarrierFrequency, style.carrierFrequency);
    access.Byte(kCarrierByteA, style.carrierByteA);
    access.Byte(kCarrierDivisor, style.carrierDivisor);
    access.Byte(kSymbolCount, style.symbolCount);
    for (std::size_t s = 0; s < style.symbolShapes.size(); ++s) {
        const std::size_t block = kSymbolShapes + s * kSymbolShapeSize;
        access.Byte(block, style.symbolShapes[s].count);
        access.Words(block + kBlockValues, style.symbolShapes[s].values);
    }
    access.Byte(kPlaceholderWidth, style.placeholderWidth);
    access.Byte(kPlaceholderParam1, style.placeholderParam1);
    access.Byte(kPlaceholderParam2, style.placeholderParam2);
    access.Byte(kLayoutCount, style.layoutCount);
    for (std::size_t l = 0; l < style.layouts.size(); ++l) {
        const std::size_t block = kLayouts + l * kLayoutSize;
        access.Byte(block, style.layouts[l].count);
        access.Words(block + kBlockValues, style.layouts[l].values);
    }
    access.Byte(kSequenceLength, style.sequenceLength);
    access.Words(kSequence, style.sequence);
    access.Byte(kRepeatCount, style.repeatCount);
    access.Byte(kTailCount, style.tailCount);
    access.Words(kTail, style.tail);
    access.Byte(kOptionHigh, style.optionHigh);
    access.Byte(kOptionByte, style.optionByte);
    access.Byte(kOptionLow, style.optionLow);
}

}  // namespace kv::codestyle::libraryfile
