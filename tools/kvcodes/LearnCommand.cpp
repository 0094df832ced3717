#include <ostream>

#include "tools/kvcodes/LearningSteps.h"
#include "workflow/CaptureText.h"

namespace kv::tools {
namespace {

constexpr const char* kName = "learn";

int RunLearn(const std::vector<std::string>& args, CommandIo& io) {
    CommandArgs parsed;
    std::string input;
    if (const auto failed =
            ParseArgsAndReadInput(args, {"--styles", "--key", "--format", "--carrier", "--button"},
                                  io, kName, parsed, input)) {
        return *failed;
    }
    EncodeRequest request;
    if (const auto failed = ReadEncodeRequest(parsed, io, kName, request)) {
        return *failed;
    }
    std::string words;
    if (const auto failed = ImportStep(parsed, input, io, kName, words)) {
        return *failed;
    }
    const std::string captureText = workflow::CaptureToHex(words);
    if (captureText.empty()) {
        return NoResult(io, kName, "the imported capture gives no capture text");
    }
    std::string record;
    if (const auto failed = EncodeStep(captureText, request, io, kName, record)) {
        return *failed;
    }
    io.out << record << '\n';
    return kExitResult;
}

KVCODES_COMMAND(kName, "timings -> key record (import, capture-text, encode)",
                "usage: kvcodes learn --styles CSL --key HH [--format F] [--carrier HZ]\n"
                "                     [--button NAME] [FILE]\n\n"
                "Imports measured timings as `import` does, turns them into the capture text\n"
                "and encodes it as `encode` does. Exit 1 when no style fits.\n",
                RunLearn);

}  // namespace
}  // namespace kv::tools
