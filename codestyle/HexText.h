#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::codestyle {

// The remote's tables, key records and captures, and the texts between the analysis stages,
// travel as hexadecimal text. Numbers are written in upper case with a minimum of digits and
// read back in either case, since hand-edited files and older tools write lower case.

// The value of one hexadecimal digit, -1 for any other character.
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

// Whether every character of `text` is a hexadecimal digit (an empty text is).
constexpr bool IsHexText(std::string_view text) {
    for (const char c : text) {
        if (HexDigitValue(c) < 0) {
            return false;
        }
    }
    return true;
}

// The unsigned value of the `width` digits (1 to 8) at `pos` of `text`; none when the text runs
// out before them or one of them is no hexadecimal digit.
constexpr std::optional<std::uint32_t> ReadHexField(std::string_view text, std::size_t pos,
                                                    std::size_t width) {
    if (width == 0 || width > 8 || pos > text.size() || text.size() - pos < width) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : text.substr(pos, width)) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

// The value of a whole text of 1 to 8 digits; none for an empty, longer or non-hex text.
constexpr std::optional<std::uint32_t> ParseHex(std::string_view text) {
    return ReadHexField(text, 0, text.size());
}

// Appends `value` as upper-case hexadecimal with at least `minDigits` digits (more when it
// needs them).
inline void AppendHex(std::string& out, std::uint64_t value, int minDigits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char buffer[16];
    int length = 0;
    do {
        buffer[length++] = kDigits[value % 16];
        value /= 16;
    } while (value != 0);
    for (int i = length; i < minDigits; ++i) {
        out.push_back('0');
    }
    while (length > 0) {
        out.push_back(buffer[--length]);
    }
}

inline std::string FormatHex(std::uint64_t value, int minDigits) {
    std::string out;
    AppendHex(out, value, minDigits);
    return out;
}

// Appends the low byte of `value` as two digits: the byte fields of a key record.
inline void AppendHexByte(std::string& out, std::int64_t value) {
    AppendHex(out, static_cast<std::uint64_t>(value) & 0xFFU, 2);
}

}  // namespace kv::codestyle
