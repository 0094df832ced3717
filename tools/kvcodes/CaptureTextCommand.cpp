#include <ostream>

#include "codestyle/HexText.h"
#include "tools/kvcodes/CommandArgs.h"
#include "workflow/CaptureText.h"

namespace kv::tools {
namespace {

constexpr const char* kName = "capture-text";

int RunCaptureText(const std::vector<std::string>& args, CommandIo& io) {
    CommandArgs parsed;
    std::string input;
    if (const auto failed = ParseArgsAndReadInput(args, {}, io, kName, parsed, input)) {
        return *failed;
    }
    // The remote's buffer is filled with zeros behind the capture.
    std::string raw = WithoutWhiteSpace(input);
    raw.erase(raw.find_last_not_of('\0') + 1);
    if (raw.empty() || !codestyle::IsHexText(raw)) {
        return BadInput(io, kName, "the input is not capture words of hex digits");
    }
    const std::string text = workflow::CaptureToHex(raw);
    if (text.empty()) {
        return NoResult(io, kName, "the capture holds no complete end gap and carrier trailer");
    }
    io.out << text << '\n';
    return kExitResult;
}

KVCODES_COMMAND(kName, "raw capture words -> the capture text",
                "usage: kvcodes capture-text [FILE]\n\n"
                "Turns the raw capture words of the remote (4 hex digits each, 1/3 us units,\n"
                "bit 15 for a mark, 7FFF overflow chunks, end gap and carrier trailer) into the\n"
                "capture text: frame count, carrier, marker and the frames in microseconds.\n"
                "White space is ignored. Exit 1 when the capture is incomplete.\n",
                RunCaptureText);

}  // namespace
}  // namespace kv::tools
