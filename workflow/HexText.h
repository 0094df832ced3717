#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::workflow {

// The tables and captures travel as hexadecimal text. Numbers are written in
// upper case with a fixed minimum of digits and read back in either case.

constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

constexpr bool IsHexText(std::string_view text) {
    for (char c : text) {
        if (HexDigitValue(c) < 0) {
            return false;
        }
    }
    return true;
}

// The value of up to 8 hex digits; none for an empty or non-hex text.
constexpr std::optional<std::uint32_t> ParseHex(std::string_view text) {
    if (text.empty() || text.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

// Appends value as at least `digits` upper-case hex digits. A negative value
// is written as the 8 digits of its 32-bit two's complement.
inline void AppendHex(std::string& out, std::int64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::uint64_t v = value < 0 ? static_cast<std::uint32_t>(static_cast<std::int32_t>(value))
                                : static_cast<std::uint64_t>(value);
    char buffer[16];
    int n = 0;
    do {
        buffer[n++] = kDigits[v & 0xF];
        v >>= 4;
    } while (v != 0);
    for (int i = n; i < digits; ++i) {
        out.push_back('0');
    }
    while (n > 0) {
        out.push_back(buffer[--n]);
    }
}

inline std::string Hex(std::int64_t value, int digits) {
    std::string out;
    AppendHex(out, value, digits);
    return out;
}

}  // namespace kv::workflow
