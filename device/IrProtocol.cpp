#include "device/IrProtocol.h"

#include <array>

namespace kv::device {
namespace {

struct ProtocolInfo {
    IrProtocol protocol;
    std::string_view name;
    IrFieldLimits limits;
};

constexpr std::array<ProtocolInfo, 12> kProtocols{{
    {IrProtocol::Nec, "nec", {0xFF, 0xFF}},
    {IrProtocol::NecExtended, "necx", {0xFFFF, 0xFF}},
    {IrProtocol::Samsung32, "samsung32", {0xFF, 0xFF}},
    {IrProtocol::Sony12, "sony12", {0x1F, 0x7F}},
    {IrProtocol::Sony15, "sony15", {0xFF, 0x7F}},
    {IrProtocol::Sony20, "sony20", {0x1FFF, 0x7F}},
    {IrProtocol::Rc5, "rc5", {0x1F, 0x7F}},
    {IrProtocol::Rc6Mode0, "rc6_0", {0xFF, 0xFF}},
    {IrProtocol::Jvc, "jvc", {0xFF, 0xFF}},
    {IrProtocol::Panasonic, "panasonic", {0xFFFF, 0xFF}},
    {IrProtocol::Sharp, "sharp", {0x1F, 0xFF}},
    {IrProtocol::Denon, "denon", {0x1F, 0xFF}},
}};

constexpr std::array<IrProtocol, kProtocols.size()> ProtocolList() {
    std::array<IrProtocol, kProtocols.size()> list{};
    for (std::size_t i = 0; i < kProtocols.size(); ++i) {
        list[i] = kProtocols[i].protocol;
    }
    return list;
}
constexpr std::array<IrProtocol, kProtocols.size()> kProtocolList = ProtocolList();

const ProtocolInfo& InfoOf(IrProtocol protocol) {
    for (const ProtocolInfo& info : kProtocols) {
        if (info.protocol == protocol) {
            return info;
        }
    }
    return kProtocols.front();
}

}  // namespace

std::span<const IrProtocol> AllIrProtocols() {
    return kProtocolList;
}

std::string_view IrProtocolName(IrProtocol protocol) {
    return InfoOf(protocol).name;
}

std::optional<IrProtocol> IrProtocolFromName(std::string_view name) {
    for (const ProtocolInfo& info : kProtocols) {
        if (info.name == name) {
            return info.protocol;
        }
    }
    return std::nullopt;
}

IrFieldLimits IrProtocolLimits(IrProtocol protocol) {
    return InfoOf(protocol).limits;
}

namespace {

int AddressShift(IrProtocol protocol) {
    return protocol == IrProtocol::Sony12 || protocol == IrProtocol::Sony15 ? 16 : 8;
}

}  // namespace

std::uint64_t IrScancode(IrProtocol protocol, std::uint32_t address, std::uint32_t command) {
    return (std::uint64_t{address} << AddressShift(protocol)) | command;
}

IrAddressAndCommand SplitIrScancode(IrProtocol protocol, std::uint64_t scancode) {
    const int shift = AddressShift(protocol);
    const std::uint64_t commandMask = (std::uint64_t{1} << shift) - 1;
    return {static_cast<std::uint32_t>((scancode >> shift) & 0xFFFFFFFFU),
            static_cast<std::uint32_t>(scancode & commandMask)};
}

}  // namespace kv::device
