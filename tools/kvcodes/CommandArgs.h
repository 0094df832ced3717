#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/kvcodes/Command.h"

namespace kv::tools {

// Options and positional arguments of one subcommand.
struct CommandArgs {
    std::map<std::string, std::string, std::less<>> options;  // "--name" -> value
    std::vector<std::string> positional;

    std::optional<std::string> Option(std::string_view name) const;
};

// Splits `args`: every name in `valueOptions` takes the next argument as its
// value; any other argument starting with "--" is an error, as is a value
// option without value. "-" alone is positional (standard input). The error
// text is empty on success.
std::string ParseCommandArgs(const std::vector<std::string>& args,
                             std::initializer_list<std::string_view> valueOptions,
                             CommandArgs& parsed);

// Writes "kvcodes COMMAND: MESSAGE" to stderr and returns kExitBadInput.
int BadInput(CommandIo& io, std::string_view command, std::string_view message);
// Writes the message to stderr and returns kExitNoResult.
int NoResult(CommandIo& io, std::string_view command, std::string_view message);

// Hex input may be spread over lines and spaced: white space is dropped.
std::string WithoutWhiteSpace(std::string_view text);

// A key code: one or two hex digits.
std::optional<int> ParseKeyCodeArgument(std::string_view text);

// The text of FILE ("-" or none: standard input); a message and none when it
// cannot be read.
std::optional<std::string> ReadCommandInput(const CommandArgs& args, std::size_t index,
                                            CommandIo& io, std::string_view command);

// Parses the options of a command that takes at most one FILE and reads that
// input; an exit code (with its message written) when either fails.
std::optional<int> ParseArgsAndReadInput(const std::vector<std::string>& args,
                                         std::initializer_list<std::string_view> valueOptions,
                                         CommandIo& io, std::string_view command,
                                         CommandArgs& parsed, std::string& input);

}  // namespace kv::tools
