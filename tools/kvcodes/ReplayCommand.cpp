#include <string>
#include <vector>

#include "codestyle/KeyRecordReplay.h"
#include "tools/kvcodes/StylesIo.h"

namespace kv::tools {
namespace {

constexpr const char* kUsage =
    "usage: kvcodes replay [FILE]\n\n"
    "Reads a key record (hexadecimal text) and writes the timings the remote sends for it, as\n"
    "signed microseconds on one line (+9000 -4500 ...): the frames of the sequence, the repeated\n"
    "frames once, then the tail frames, with the gaps between them. docs/key-record.md describes\n"
    "how each field of the record is read.\n";

int RunReplay(const std::vector<std::string>& args, CommandIo& io) {
    if (args.size() > 1) {
        io.err << kUsage;
        return kExitBadInput;
    }
    const std::optional<std::string> text =
        ReadInputText(args.empty() ? "-" : args[0], io, "replay");
    if (!text) {
        return kExitBadInput;
    }
    std::string why;
    const std::optional<codestyle::KeyRecordModel> record = codestyle::ParseKeyRecord(*text, &why);
    if (!record) {
        io.err << "kvcodes replay: " << why << '\n';
        return kExitBadInput;
    }
    const std::vector<std::int64_t> signal = codestyle::ReplayKeyRecord(*record);
    if (signal.empty()) {
        return kExitNoResult;
    }
    io.out << codestyle::FormatSignedDurations(signal) << '\n';
    return kExitResult;
}

}  // namespace

KVCODES_COMMAND("replay", "turn a key record back into the timings the remote sends", kUsage,
                RunReplay);

}  // namespace kv::tools
