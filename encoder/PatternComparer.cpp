#include "encoder/PatternComparer.h"

#include "encoder/DurationWindow.h"
#include "encoder/HexGroup.h"
#include "encoder/PatternLetters.h"

namespace kv::encoder {

std::string MatchFrameToPattern(std::string_view pattern, std::string_view candidate) {
    std::string merged;
    while (!pattern.empty() && !candidate.empty()) {
        const char p = pattern.front();
        const char c = candidate.front();
        const bool patternLetter = IsSymbolLetter(p);
        const bool candidateLetter = IsSymbolLetter(c);
        if (patternLetter && candidateLetter) {
            // The pattern only says a symbol stands here; the candidate says which.
            merged.push_back(c);
            pattern.remove_prefix(1);
            candidate.remove_prefix(1);
            continue;
        }
        if (patternLetter || candidateLetter) {
            return {};
        }
        const bool patternMarker = IsTimingMarker(p);
        const bool candidateMarker = IsTimingMarker(c);
        if (patternMarker && candidateMarker) {
            // The captured gap was checked against the marker before; the pattern's value stays.
            merged.append(Front(pattern, 5));
            pattern = DropFront(pattern, 5);
            candidate = DropFront(candidate, 5);
            continue;
        }
        if (patternMarker || candidateMarker) {
            return {};
        }
        const auto a = ReadHexGroup(pattern);
        const auto b = ReadHexGroup(candidate);
        // A captured duration passes for the pattern's within 30 %.
        if (!a || !b || !InsideOpenBand(*a, *b, 0.7L, 1.3L)) {
            return {};
        }
        merged.append(pattern.substr(0, 4));
        pattern.remove_prefix(4);
        candidate.remove_prefix(4);
    }
    return merged;
}

}  // namespace kv::encoder
