#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::encoder {

// The texts between the analysis stages are groups of 4 hexadecimal digits. A group is read as
// an unsigned value 0 to 65535, either letter case accepted; a text that runs out before 4
// characters, or holds a character that is no hexadecimal digit, has no value.
inline std::optional<std::uint32_t> ReadHexGroup(std::string_view text) {
    if (text.size() < 4) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = text[i];
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    return value;
}

// Appends `value` as upper-case hexadecimal with at least 4 digits (more when it needs them).
inline void AppendHex4(std::string& out, std::uint64_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char buffer[16];
    int length = 0;
    do {
        buffer[length++] = kDigits[value % 16];
        value /= 16;
    } while (value != 0);
    while (length < 4) {
        buffer[length++] = '0';
    }
    while (length > 0) {
        out.push_back(buffer[--length]);
    }
}

inline std::string FormatHex4(std::uint64_t value) {
    std::string out;
    AppendHex4(out, value);
    return out;
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
