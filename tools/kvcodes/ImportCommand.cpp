#include <ostream>

#include "tools/kvcodes/LearningSteps.h"

namespace kv::tools {
namespace {

constexpr const char* kName = "import";

int RunImport(const std::vector<std::string>& args, CommandIo& io) {
    CommandArgs parsed;
    std::string input;
    if (const auto failed = ParseArgsAndReadInput(args, {"--format", "--carrier", "--button"}, io,
                                                  kName, parsed, input)) {
        return *failed;
    }
    std::string words;
    if (const auto failed = ImportStep(parsed, input, io, kName, words)) {
        return *failed;
    }
    io.out << words << '\n';
    return kExitResult;
}

KVCODES_COMMAND(
    kName, "measured timings -> raw capture words",
    "usage: kvcodes import [--format timings|mode2|pronto|flipper] [--carrier HZ]\n"
    "                      [--button NAME] [FILE]\n\n"
    "Turns a signal as a receiver measured it into the raw capture words the remote would\n"
    "hold, which capture-text turns back into the same whole microseconds (spaces longer\n"
    "than about 11 ms become frame gaps in milliseconds).\n\n"
    "  timings  microseconds, mark first: plain (9000 4500 560 ...) or signed (+9000 -4500)\n"
    "  mode2    LIRC mode2 lines: pulse N, space N, timeout N, carrier N\n"
    "  pronto   Pronto hex: 0000 006D n1 n2 ... (the first sequence, then the repeat once)\n"
    "  flipper  a Flipper .ir file; --button NAME picks its raw signal (default: the first)\n\n"
    "--carrier HZ sets the carrier (0 for none, else 12000 to 255000); default: the file's,\n"
    "or 38000. Frames that overrun the 10240-character capture buffer are dropped.\n",
    RunImport);

}  // namespace
}  // namespace kv::tools
