#include "workflow/LibraryKeyRecordEncoder.h"

#include "encoder/LearnedCodeEncoder.h"

namespace kv::workflow {

std::string LibraryKeyRecordEncoder::Encode(std::string_view captureBody, int keyCode,
                                            const std::string& appDir) {
    return encoder::EncodeLearnedCode(captureBody, keyCode, appDir, state_);
}

}  // namespace kv::workflow
