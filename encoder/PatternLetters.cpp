#include "encoder/PatternLetters.h"

namespace kv::encoder {

int SymbolLetterIndex(std::string_view text) {
    return text.size() == 1 ? SymbolLetterIndex(text.front()) : kNotASymbolLetter;
}

bool IsTimingMarker(std::string_view text) {
    return text.size() == 1 && IsTimingMarker(text.front());
}

}  // namespace kv::encoder
