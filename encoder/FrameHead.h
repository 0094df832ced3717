#pragma once

#include <string>
#include <string_view>

namespace kv::encoder {

// Removes the frame head (the pattern's duration tokens before its first symbol letter) from the
// front of a capture frame. Each head token must be met within 20 %; an over-long last head
// duration leaves its surplus as the frame's first duration. A frame that does not begin with
// the head, or runs out before it, gives the empty text. An empty head returns the frame as it
// is.
std::string StripFrameHead(std::string_view frame, std::string_view head);

}  // namespace kv::encoder
