#include "encoder/FrameHead.h"

#include "encoder/DurationWindow.h"
#include "encoder/HexGroup.h"

namespace kv::encoder {

std::string StripFrameHead(std::string_view frame, std::string_view head) {
    const std::size_t tokens = head.size() / 4;
    std::string surplus;  // at most one token, put back in front of the rest
    for (std::size_t i = 0; i < tokens; ++i) {
        const auto a = ReadHexGroup(head.substr(i * 4));
        const auto b = ReadHexGroup(frame);
        if (!a || !b) {
            return {};
        }
        // Within 20 %. The stored 1.2 lies a little above 1.2, so a few exact products (30 for
        // 25) still count as inside.
        if (InsideOpenBand(*a, *b, 0.8L, 1.2L)) {
            frame.remove_prefix(4);
            continue;
        }
        if (i + 1 == tokens && *a < *b) {
            frame.remove_prefix(4);
            surplus = FormatHex4(*b - *a);
            continue;
        }
        return {};
    }
    return surplus + std::string(frame);
}

}  // namespace kv::encoder
