#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tools/kvcodes/CommandArgs.h"

namespace kv::tools {

// The steps that `import`, `encode` and `learn` share. Each returns an exit
// code when it fails (its message already written), nothing when it worked.

// --format, --carrier and --button, then the measured signal of `text` into
// raw capture words.
std::optional<int> ImportStep(const CommandArgs& args, std::string_view text, CommandIo& io,
                              std::string_view command, std::string& words);

struct EncodeRequest {
    std::string stylesPath;
    int keyCode = 0;
};

// --styles and --key.
std::optional<int> ReadEncodeRequest(const CommandArgs& args, CommandIo& io,
                                     std::string_view command, EncodeRequest& request);

// The key record of a capture text, encoded from its body as the learning
// workflow does.
std::optional<int> EncodeStep(std::string_view captureText, const EncodeRequest& request,
                              CommandIo& io, std::string_view command, std::string& record);

}  // namespace kv::tools
