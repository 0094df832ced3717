#pragma once

#include "encoder/EncoderState.h"
#include "encoder/LearnedCodeEncoder.h"
#include "workflow/KeyRecordEncoder.h"

namespace kv::app {

// The learned-code encoder over the style library in the program's folder.
// Its working state lives as long as the program, as the decoders expect.
class StyleLibraryEncoder final : public workflow::KeyRecordEncoder {
  public:
    std::string Encode(std::string_view captureBody, int keyCode,
                       const std::string& appDir) override {
        return encoder::EncodeLearnedCode(captureBody, keyCode, appDir, state_);
    }

  private:
    encoder::EncoderState state_;
};

}  // namespace kv::app
