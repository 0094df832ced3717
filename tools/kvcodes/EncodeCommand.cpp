#include <ostream>

#include "tools/kvcodes/LearningSteps.h"

namespace kv::tools {
namespace {

constexpr const char* kName = "encode";

int RunEncode(const std::vector<std::string>& args, CommandIo& io) {
    CommandArgs parsed;
    std::string input;
    if (const auto failed =
            ParseArgsAndReadInput(args, {"--styles", "--key"}, io, kName, parsed, input)) {
        return *failed;
    }
    EncodeRequest request;
    if (const auto failed = ReadEncodeRequest(parsed, io, kName, request)) {
        return *failed;
    }
    std::string record;
    if (const auto failed = EncodeStep(WithoutWhiteSpace(input), request, io, kName, record)) {
        return *failed;
    }
    io.out << record << '\n';
    return kExitResult;
}

KVCODES_COMMAND(kName, "capture text -> key record",
                "usage: kvcodes encode --styles CSL --key HH [FILE]\n\n"
                "Encodes the capture text (as capture-text writes it) into the key record of\n"
                "key HH with the first style of the library CSL that fits. The encoder gets\n"
                "the body of the capture text, as the learning workflow passes it.\n"
                "Exit 1 when no style fits.\n",
                RunEncode);

}  // namespace
}  // namespace kv::tools
