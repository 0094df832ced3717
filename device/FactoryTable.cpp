#include "device/FactoryTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "codestyle/HexText.h"
#include "device/RemoteDevice.h"

namespace kv::device {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The style block all preset keys share: a 38 kHz pulse-distance code with a
// 9 ms / 4.5 ms head, 560 µs marks and 560 / 1690 µs spaces, a 108 ms frame.
const Bytes kPresetStyleBlock{0x0E, 0x16, 0x34, 0x0A, 0x3E, 0x3E, 0x00, 0x00, 0x22, 0x10, 0xC2,
                              0x2F, 0x80, 0x01, 0x02, 0x05, 0x02, 0xC0, 0x80, 0x02, 0xC0, 0x82};

// Flags of a preset entry: a code of the maker's, not a learned one (bit 0x40 clear).
constexpr std::uint8_t kPresetFlags = 0x80;

struct Preset {
    std::uint8_t keyCode;
    std::uint8_t command;  // sent with the maker's TV address 0x04
};
constexpr std::uint8_t kPresetAddress = 0x04;
constexpr std::array<Preset, 6> kPresets{{
    {0x00, 0x08},  // TV/POWER
    {0x02, 0x0B},  // TV/ AV/TV
    {0x04, 0x02},  // TV/ VOL+
    {0x0A, 0x11},  // TV/1
    {0x0B, 0x12},  // TV/2
    {0x17, 0x02},  // IPTV/VOL+, the partner of TV/ VOL+
}};
constexpr std::array<std::uint8_t, 2> kPresetPair{0x04, 0x17};

Bytes KeyBlock(const Preset& preset) {
    return {kPresetAddress, static_cast<std::uint8_t>(~kPresetAddress), preset.command,
            static_cast<std::uint8_t>(~preset.command)};
}

void AppendLittleEndian16(Bytes& bytes, std::size_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

std::string ToHex(const Bytes& bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        codestyle::AppendHexByte(text, byte);
    }
    return text;
}

std::optional<std::uint8_t> ByteAt(std::string_view text, std::size_t byteIndex) {
    const auto value = codestyle::ReadHexField(text, byteIndex * 2, 2);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*value);
}

bool AllHexDigitPairs(std::string_view text) {
    return text.size() % 2 == 0 && codestyle::IsHexText(text);
}

}  // namespace

std::string FactoryKeyCodeTable() {
    constexpr std::size_t kEntrySize = 8;
    Bytes image{1, kPresetPair[0], kPresetPair[1], static_cast<std::uint8_t>(kPresets.size())};
    const std::size_t styleOffset = image.size() + kEntrySize * kPresets.size();
    std::size_t keyBlockOffset = styleOffset + kPresetStyleBlock.size();
    for (const Preset& preset : kPresets) {
        const std::size_t keyBlockSize = KeyBlock(preset).size();
        image.push_back(preset.keyCode);
        image.push_back(kPresetFlags);
        AppendLittleEndian16(image, styleOffset);
        image.push_back(static_cast<std::uint8_t>(kPresetStyleBlock.size()));
        AppendLittleEndian16(image, keyBlockOffset);
        image.push_back(static_cast<std::uint8_t>(keyBlockSize));
        keyBlockOffset += keyBlockSize;
    }
    image.insert(image.end(), kPresetStyleBlock.begin(), kPresetStyleBlock.end());
    for (const Preset& preset : kPresets) {
        const Bytes block = KeyBlock(preset);
        image.insert(image.end(), block.begin(), block.end());
    }
    return ToHex(image);
}

bool IsStorableKeyCodeTable(std::string_view text) {
    if (text.empty() || text.size() > kKeyCodeTableSize || !AllHexDigitPairs(text)) {
        return false;
    }
    const std::size_t imageSize = text.size() / 2;
    const std::size_t pairCount = *ByteAt(text, 0);
    const std::size_t entryCountAt = 1 + 2 * pairCount;
    const std::optional<std::uint8_t> entryCount = ByteAt(text, entryCountAt);
    if (!entryCount) {
        return false;
    }
    const std::size_t firstEntry = entryCountAt + 1;
    if (firstEntry + 8 * std::size_t{*entryCount} > imageSize) {
        return false;
    }
    for (std::size_t entry = 0; entry < *entryCount; ++entry) {
        const std::size_t at = firstEntry + 8 * entry;
        auto byte = [&](std::size_t offset) -> std::size_t { return *ByteAt(text, at + offset); };
        const std::size_t firstOffset = byte(2) | (byte(3) << 8);
        const std::size_t secondOffset = byte(5) | (byte(6) << 8);
        if (firstOffset + byte(4) > imageSize || secondOffset + byte(7) > imageSize) {
            return false;
        }
    }
    return true;
}

}  // namespace kv::device
