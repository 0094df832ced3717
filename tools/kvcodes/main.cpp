#include <algorithm>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "tools/kvcodes/Command.h"

namespace kv::tools {
namespace {

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

void PrintHelp(std::ostream& out) {
    out << "kvcodes: infra-red captures, code styles and key-code tables of the KV R207A\n\n"
           "usage: kvcodes SUBCOMMAND [ARGS...]\n"
           "       kvcodes SUBCOMMAND --help\n\n"
           "Input is read from FILE, or standard input when FILE is '-' or absent.\n"
           "Exit status: 0 result written, 1 no result, 2 bad input or usage.\n\n"
           "subcommands:\n";
    std::vector<Command> sorted = Registry();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    constexpr std::size_t kNameColumn = 16;
    for (const Command& command : sorted) {
        const std::size_t length = std::strlen(command.name);
        const std::size_t padding = length < kNameColumn ? kNameColumn - length : 1;
        out << "  " << command.name << std::string(padding, ' ') << command.summary << '\n';
    }
}

}  // namespace

const std::vector<Command>& Commands() {
    return Registry();
}

bool RegisterCommand(const Command& command) {
    Registry().push_back(command);
    return true;
}

}  // namespace kv::tools

int main(int argc, char** argv) {
    using namespace kv::tools;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(std::cerr);
        return kExitBadInput;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(std::cout);
        return kExitResult;
    }
    for (const Command& command : Commands()) {
        if (args[0] != command.name) {
            continue;
        }
        std::vector<std::string> rest(args.begin() + 1, args.end());
        if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
            std::cout << command.usage;
            return kExitResult;
        }
        CommandIo io{std::cin, std::cout, std::cerr};
        return command.run(rest, io);
    }
    std::cerr << "kvcodes: unknown subcommand '" << args[0] << "' (see kvcodes --help)\n";
    return kExitBadInput;
}
