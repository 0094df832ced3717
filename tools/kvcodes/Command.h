#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kv::tools {

// Exit codes every subcommand keeps to.
inline constexpr int kExitResult = 0;    // a result was written
inline constexpr int kExitNoResult = 1;  // well-formed input, but nothing to show
inline constexpr int kExitBadInput = 2;  // bad input or usage; a message on stderr

struct CommandIo {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// One subcommand of kvcodes. Each lives in a file of its own and registers
// itself with a static KVCODES_COMMAND, so adding one touches nothing else.
struct Command {
    const char* name;
    const char* summary;  // one line for `kvcodes --help`
    const char* usage;    // the text of `kvcodes NAME --help`
    int (*run)(const std::vector<std::string>& args, CommandIo& io);
};

const std::vector<Command>& Commands();
bool RegisterCommand(const Command& command);

}  // namespace kv::tools

#define KVCODES_CONCAT_(a, b) a##b
#define KVCODES_CONCAT(a, b) KVCODES_CONCAT_(a, b)
#define KVCODES_COMMAND(...)                                                      \
    [[maybe_unused]] static const bool KVCODES_CONCAT(kvcodesRegistered, __LINE__) = \
        ::kv::tools::RegisterCommand(::kv::tools::Command{__VA_ARGS__})
