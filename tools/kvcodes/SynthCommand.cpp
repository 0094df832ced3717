#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "device/SignalSynthesiser.h"
#include "tools/kvcodes/Command.h"

namespace kv::tools {
namespace {

constexpr const char* kUsage =
    "usage: kvcodes synth PROTOCOL ADDRESS COMMAND [--seed N] [--clean] [--frames N] [--toggle]\n"
    "       kvcodes synth PROTOCOL:SCANCODE [options]\n\n"
    "Writes the raw capture the remote would hold after a key press on a room remote: capture\n"
    "words of 4 hex digits (1/3 us units, bit 15 for a mark, 7FFF overflow chunks), the end gap\n"
    "and the carrier trailer, on one line.\n\n"
    "PROTOCOL: nec necx samsung32 sony12 sony15 sony20 rc5 rc6_0 jvc panasonic sharp denon.\n"
    "ADDRESS and COMMAND (decimal or 0x hex) mean what the kernel's scancodes mean:\n"
    "nec:0x0408 is address 0x04, command 0x08; sony20:0x1a0b15 is address 0x1a0b.\n\n"
    "  --seed N    seed of the receiver's jitter (default 1)\n"
    "  --clean     exact timings: no receiver stretch, no jitter\n"
    "  --frames N  frames while the key is held (default: 3 for Sony, else 1)\n"
    "  --toggle    set the RC5/RC6 toggle bit\n";

std::optional<std::uint64_t> ParseNumber(const std::string& text) {
    if (text.empty() || text[0] == '-' || text[0] == '+') {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 0);
    if (errno != 0 || end == text.c_str() || *end != '\0') {
        return std::nullopt;
    }
    return value;
}

struct SynthArguments {
    std::vector<std::string> positional;
    device::ReceiverModel receiver;
    int frames = 0;
    bool toggle = false;
};

// Reads the options; the error text is empty when they are all understood.
std::string ParseArguments(const std::vector<std::string>& args, SynthArguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--clean") {
            parsed.receiver.markStretchUs = 0.0;
            parsed.receiver.jitterUs = 0.0;
        } else if (arg == "--toggle") {
            parsed.toggle = true;
        } else if (arg == "--seed" || arg == "--frames") {
            const std::optional<std::uint64_t> value =
                hasValue ? ParseNumber(args[++i]) : std::nullopt;
            if (!value) {
                return arg + " needs a non-negative number";
            }
            if (arg == "--seed") {
                parsed.receiver.seed = *value;
            } else if (*value == 0 || *value > device::kMaxSignalFrames) {
                return "--frames must be 1 to " + std::to_string(device::kMaxSignalFrames);
            } else {
                parsed.frames = static_cast<int>(*value);
            }
        } else if (arg.size() > 1 && arg[0] == '-' && !ParseNumber(arg)) {
            return "unknown option " + arg;
        } else {
            parsed.positional.push_back(arg);
        }
    }
    return {};
}

// PROTOCOL ADDRESS COMMAND, or PROTOCOL:SCANCODE.
std::string ParseRequest(const std::vector<std::string>& positional,
                         device::SignalRequest& request) {
    std::string protocolName;
    std::optional<std::uint64_t> address;
    std::optional<std::uint64_t> command;
    if (positional.size() == 1 && positional[0].find(':') != std::string::npos) {
        const std::string& text = positional[0];
        protocolName = text.substr(0, text.find(':'));
        const std::optional<device::IrProtocol> protocol = device::IrProtocolFromName(protocolName);
        const std::optional<std::uint64_t> scancode = ParseNumber(text.substr(text.find(':') + 1));
        if (protocol && scancode) {
            const device::IrAddressAndCommand split = device::SplitIrScancode(*protocol, *scancode);
            address = split.address;
            command = split.command;
        }
    } else if (positional.size() == 3) {
        protocolName = positional[0];
        address = ParseNumber(positional[1]);
        command = ParseNumber(positional[2]);
    } else {
        return "expected PROTOCOL ADDRESS COMMAND";
    }
    const std::optional<device::IrProtocol> protocol = device::IrProtocolFromName(protocolName);
    if (!protocol) {
        return "unknown protocol '" + protocolName + "'";
    }
    if (!address || !command || *address > UINT32_MAX || *command > UINT32_MAX) {
        return "ADDRESS and COMMAND must be numbers (decimal or 0x hex)";
    }
    request.protocol = *protocol;
    request.address = static_cast<std::uint32_t>(*address);
    request.command = static_cast<std::uint32_t>(*command);
    return {};
}

int RunSynth(const std::vector<std::string>& args, CommandIo& io) {
    SynthArguments parsed;
    device::SignalRequest request;
    std::string problem = ParseArguments(args, parsed);
    if (problem.empty()) {
        problem = ParseRequest(parsed.positional, request);
    }
    request.frames = parsed.frames;
    request.toggle = parsed.toggle;
    if (problem.empty()) {
        problem = device::CheckSignalRequest(request);
    }
    if (!problem.empty()) {
        io.err << "kvcodes synth: " << problem << "\n" << kUsage;
        return kExitBadInput;
    }
    const std::string capture = device::SynthesiseCapture(request, parsed.receiver);
    if (capture.empty()) {
        return kExitNoResult;
    }
    io.out << capture << '\n';
    return kExitResult;
}

}  // namespace

KVCODES_COMMAND("synth", "write the raw capture of a key press on a room remote", kUsage, RunSynth);

}  // namespace kv::tools
