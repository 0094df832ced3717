#pragma once

#include <string>
#include <string_view>

namespace kv::workflow {

// Turns the body of a capture text into the key record of a key, by the
// code-style library in the program's folder; empty when no style fits.
class KeyRecordEncoder {
  public:
    virtual ~KeyRecordEncoder() = default;
    virtual std::string Encode(std::string_view captureBody, int keyCode,
                               const std::string& appDir) = 0;
};

}  // namespace kv::workflow
