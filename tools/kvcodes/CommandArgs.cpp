#include "tools/kvcodes/CommandArgs.h"

#include <algorithm>
#include <cctype>
#include <ostream>

#include "codestyle/HexText.h"
#include "tools/kvcodes/StylesIo.h"

namespace kv::tools {

std::optional<std::string> CommandArgs::Option(std::string_view name) const {
    const auto found = options.find(name);
    if (found == options.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::string ParseCommandArgs(const std::vector<std::string>& args,
                             std::initializer_list<std::string_view> valueOptions,
                             CommandArgs& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            parsed.positional.push_back(arg);
            continue;
        }
        if (std::find(valueOptions.begin(), valueOptions.end(), arg) == valueOptions.end()) {
            return "unknown option " + arg;
        }
        if (i + 1 >= args.size()) {
            return arg + " needs a value";
        }
        parsed.options[arg] = args[++i];
    }
    return {};
}

int BadInput(CommandIo& io, std::string_view command, std::string_view message) {
    io.err << "kvcodes " << command << ": " << message << '\n';
    return kExitBadInput;
}

int NoResult(CommandIo& io, std::string_view command, std::string_view message) {
    io.err << "kvcodes " << command << ": " << message << '\n';
    return kExitNoResult;
}

std::string WithoutWhiteSpace(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            out.push_back(c);
        }
    }
    return out;
}

std::optional<int> ParseKeyCodeArgument(std::string_view text) {
    if (text.empty() || text.size() > 2) {
        return std::nullopt;
    }
    const auto value = codestyle::ParseHex(text);
    return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
}

std::optional<std::string> ReadCommandInput(const CommandArgs& args, std::size_t index,
                                            CommandIo& io, std::string_view command) {
    const std::string path = index < args.positional.size() ? args.positional[index] : "-";
    return ReadInputText(path, io, std::string(command).c_str());
}

std::optional<int> ParseArgsAndReadInput(const std::vector<std::string>& args,
                                         std::initializer_list<std::string_view> valueOptions,
                                         CommandIo& io, std::string_view command,
                                         CommandArgs& parsed, std::string& input) {
    if (std::string error = ParseCommandArgs(args, valueOptions, parsed); !error.empty()) {
        return BadInput(io, command, error);
    }
    if (parsed.positional.size() > 1) {
        return BadInput(io, command, "takes at most one FILE");
    }
    auto text = ReadCommandInput(parsed, 0, io, command);
    if (!text) {
        return kExitBadInput;
    }
    input = std::move(*text);
    return std::nullopt;
}

}  // namespace kv::tools
