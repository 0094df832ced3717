#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "codestyle/HexText.h"

namespace kv::encoder {

// The texts between the analysis stages are groups of 4 hexadecimal digits. A group is read as
// an unsigned value 0 to 65535, either letter case accepted; a text that runs out before 4
// characters, or holds a character that is no hexadecimal digit, has no value.
inline std::optional<std::uint32_t> ReadHexGroup(std::string_view text) {
    return codestyle::ReadHexField(text, 0, 4);
}

// Appends `value` as upper-case hexadecimal with at least 4 digits (more when it needs them).
inline void AppendHex4(std::string& out, std::uint64_t value) {
    codestyle::AppendHex(out, value, 4);
}

inline std::string FormatHex4(std::uint64_t value) {
    return codestyle::FormatHex(value, 4);
}

// The first `count` characters of `text`, or all of it when it is shorter.
inline std::string_view Front(std::string_view text, std::size_t count) {
    return text.substr(0, count < text.size() ? count : text.size());
}

// `text` without its first `count` characters; empty when it is shorter.
inline std::string_view DropFront(std::string_view text, std::size_t count) {
    return count < text.size() ? text.substr(count) : std::string_view();
}

}  // namespace kv::encoder
