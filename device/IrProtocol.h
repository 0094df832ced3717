#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kv::device {

// The room remotes' infra-red protocols the virtual remote can play.
enum class IrProtocol {
    Nec,
    NecExtended,
    Samsung32,
    Sony12,
    Sony15,
    Sony20,
    Rc5,
    Rc6Mode0,
    Jvc,
    Panasonic,
    Sharp,
    Denon,
};

// Every protocol, in the order a menu lists them.
std::span<const IrProtocol> AllIrProtocols();

// Names as Linux's IR tools spell them ("nec", "necx", "sony12", "rc6_0", ...),
// plus "samsung32", "panasonic" and "denon".
std::string_view IrProtocolName(IrProtocol protocol);
std::optional<IrProtocol> IrProtocolFromName(std::string_view name);

// The largest address and command a protocol's frame can carry. Address and
// command mean what the kernel's scancodes mean: "nec:0x0408" is address 0x04,
// command 0x08; for sony20 the address holds the device in its high byte and
// the extension in its low byte ("sony20:0x1a0b15" is address 0x1a0b).
struct IrFieldLimits {
    std::uint32_t maxAddress;
    std::uint32_t maxCommand;
};
IrFieldLimits IrProtocolLimits(IrProtocol protocol);

// The kernel's scancode of an address and command ("nec:0x0408"), and back.
// Sony keeps the address in the bits above 16 (sony12, sony15) or above 8
// (sony20); every other protocol above 8.
std::uint64_t IrScancode(IrProtocol protocol, std::uint32_t address, std::uint32_t command);
struct IrAddressAndCommand {
    std::uint32_t address;
    std::uint32_t command;
};
IrAddressAndCommand SplitIrScancode(IrProtocol protocol, std::uint64_t scancode);

}  // namespace kv::device
