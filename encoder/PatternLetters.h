#pragma once

#include <string_view>

namespace kv::encoder {

// What SymbolLetterIndex answers for every text that is not a symbol letter.
inline constexpr int kNotASymbolLetter = 10;

// 0 for "u", 1 for "v", 2 for "w", 3 for "x", kNotASymbolLetter for any other text; the whole
// text is compared, case-sensitively. The value is also the symbol's data value.
int SymbolLetterIndex(std::string_view text);

// True exactly for "h" (frame period) and "t" (gap after the frame).
bool IsTimingMarker(std::string_view text);

// The same tests on one character, for the walks over pattern and frame texts.
constexpr int SymbolLetterIndex(char c) {
    return (c >= 'u' && c <= 'x') ? c - 'u' : kNotASymbolLetter;
}
constexpr bool IsSymbolLetter(char c) {
    return SymbolLetterIndex(c) < kNotASymbolLetter;
}
constexpr bool IsTimingMarker(char c) {
    return c == 'h' || c == 't';
}

// The letter written for data symbol 0 to 3.
constexpr char SymbolLetter(int symbol) {
    return static_cast<char>('u' + symbol);
}

}  // namespace kv::encoder
