#pragma once

#include <string>
#include <string_view>

namespace kv::encoder {

// Compares a decoded frame (the frame head followed by a decoder's output) with the part of the
// frame pattern for that frame. When the candidate has the pattern's shape the result is the
// merged frame text: the candidate's symbol letters with the pattern's duration tokens and
// timing marker. A mismatch, or a duration group that is not hexadecimal, gives the empty text.
// A text that runs out ends the walk with what was merged so far.
std::string MatchFrameToPattern(std::string_view pattern, std::string_view candidate);

}  // namespace kv::encoder
