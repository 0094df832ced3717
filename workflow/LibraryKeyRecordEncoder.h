#pragma once

#include "encoder/EncoderState.h"
#include "workflow/KeyRecordEncoder.h"

namespace kv::workflow {

// The program's own encoder: the code-style library "QD01.csl" in the
// program folder, loaded afresh for every capture. The working state lives
// as long as the window, as the decoders expect of the symbol timing table.
class LibraryKeyRecordEncoder final : public KeyRecordEncoder {
  public:
    std::string Encode(std::string_view captureBody, int keyCode,
                       const std::string& appDir) override;

  private:
    encoder::EncoderState state_;
};

}  // namespace kv::workflow
