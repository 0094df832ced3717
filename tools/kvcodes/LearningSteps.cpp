#include "tools/kvcodes/LearningSteps.h"

#include "codestyle/CodeStyleLibrary.h"
#include "encoder/LearnedCodeEncoder.h"
#include "workflow/CaptureImport.h"
#include "workflow/CaptureText.h"

namespace kv::tools {

std::optional<int> ImportStep(const CommandArgs& args, std::string_view text, CommandIo& io,
                              std::string_view command, std::string& words) {
    const std::string formatName = args.Option("--format").value_or("timings");
    const auto format = workflow::TimingFormatByName(formatName);
    if (!format) {
        return BadInput(io, command,
                        "unknown format " + formatName + " (timings, mode2, pronto or flipper)");
    }
    const std::string button = args.Option("--button").value_or("");
    if (!button.empty() && *format != workflow::TimingFormat::Flipper) {
        return BadInput(io, command, "--button names a signal of a flipper file");
    }
    const workflow::SignalImport imported = workflow::ParseMeasuredSignal(text, *format, button);
    if (!imported.signal) {
        return BadInput(io, command, imported.error);
    }
    int carrierHz = imported.signal->carrierHz.value_or(workflow::kDefaultCarrierHz);
    if (const auto carrier = args.Option("--carrier")) {
        try {
            std::size_t used = 0;
            carrierHz = std::stoi(*carrier, &used);
            if (used != carrier->size()) {
                carrierHz = -1;
            }
        } catch (const std::exception&) {
            carrierHz = -1;
        }
    }
    if (!workflow::IsImportableCarrier(carrierHz)) {
        return BadInput(io, command, "the carrier must be 0 (none) or 12000 to 255000 Hz");
    }
    words = workflow::CaptureWordsFromSignal(imported.signal->durationsUs, carrierHz);
    if (words.empty()) {
        return NoResult(io, command, "not even the first frame fits the remote's capture buffer");
    }
    return std::nullopt;
}

std::optional<int> ReadEncodeRequest(const CommandArgs& args, CommandIo& io,
                                     std::string_view command, EncodeRequest& request) {
    const auto styles = args.Option("--styles");
    const auto key = args.Option("--key");
    if (!styles || !key) {
        return BadInput(io, command, "--styles CSL and --key HH are needed");
    }
    const auto keyCode = ParseKeyCodeArgument(*key);
    if (!keyCode) {
        return BadInput(io, command, "--key takes a key code of two hex digits");
    }
    codestyle::ArrCodeStyleNode library;
    if (!codestyle::LoadCodeStyleLibrary(*styles, library)) {
        return BadInput(io, command, "cannot load the code-style library " + *styles);
    }
    request.stylesPath = *styles;
    request.keyCode = *keyCode;
    return std::nullopt;
}

std::optional<int> EncodeStep(std::string_view captureText, const EncodeRequest& request,
                              CommandIo& io, std::string_view command, std::string& record) {
    const std::string body = workflow::CaptureTextBody(captureText);
    if (body.empty()) {
        return BadInput(io, command, "the input is not a capture text");
    }
    encoder::EncoderState state;
    record = encoder::EncodeLearnedCode(body, request.keyCode, request.stylesPath, state);
    if (record.empty()) {
        return NoResult(io, command, "no code style fits the capture");
    }
    return std::nullopt;
}

}  // namespace kv::tools
