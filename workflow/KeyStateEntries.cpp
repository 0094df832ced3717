#include "workflow/KeyStateEntries.h"

#include <algorithm>
#include <cctype>

#include "codestyle/HexText.h"

namespace kv::workflow {
namespace {

using codestyle::FormatHex;
using codestyle::IsHexText;
using codestyle::ParseHex;

constexpr std::size_t kPairChars = 4;
constexpr std::size_t kEntryChars = 16;
constexpr unsigned kLearnedFlag = 0x40;

bool LessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) <
               std::toupper(static_cast<unsigned char>(y));
    });
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return !LessIgnoringCase(a, b) && !LessIgnoringCase(b, a);
}

// A list kept in order of its texts with letter case ignored, without two
// entries that differ only in case.
class SortedEntries {
  public:
    void Add(std::string entry) {
        const auto at = std::lower_bound(
            entries_.begin(), entries_.end(), entry,
            [](const std::string& a, const std::string& b) { return LessIgnoringCase(a, b); });
        if (at != entries_.end() && EqualIgnoringCase(*at, entry)) {
            return;
        }
        entries_.insert(at, std::move(entry));
    }

    void Remove(std::string_view entry) {
        const auto at = std::find_if(entries_.begin(), entries_.end(), [&](const std::string& e) {
            return EqualIgnoringCase(e, entry);
        });
        if (at != entries_.end()) {
            entries_.erase(at);
        }
    }

    const std::vector<std::string>& Entries() const { return entries_; }
    std::vector<std::string> Take() { return std::move(entries_); }

  private:
    std::vector<std::string> entries_;
};

}  // namespace

std::optional<std::vector<std::string>> ParseCodeTypeData(std::string_view table) {
    const std::string_view image = table.substr(0, table.find('\0'));
    const auto pairCount = image.size() >= 2 ? ParseHex(image.substr(0, 2)) : std::nullopt;
    if (!pairCount) {
        return std::nullopt;
    }
    const std::size_t pairsEnd = 2 + kPairChars * *pairCount;
    if (image.size() < pairsEnd + 2) {
        return std::nullopt;
    }
    SortedEntries excluded;
    for (std::size_t pos = 2; pos < pairsEnd; pos += kPairChars) {
        const std::string_view pair = image.substr(pos, kPairChars);
        if (!IsHexText(pair)) {
            return std::nullopt;
        }
        excluded.Add(std::string(pair.substr(2, 2)) + "|1");
    }
    const auto entryCount = ParseHex(image.substr(pairsEnd, 2));
    if (!entryCount) {
        return std::nullopt;
    }
    const std::string_view entries = image.substr(pairsEnd + 2, kEntryChars * *entryCount);
    SortedEntries result;
    for (std::size_t pos = 0; pos + kEntryChars <= entries.size(); pos += kEntryChars) {
        const std::string_view code = entries.substr(pos, 2);
        const auto codeValue = ParseHex(code);
        const auto flags = ParseHex(entries.substr(pos + 2, 2));
        if (!codeValue || !flags) {
            return std::nullopt;
        }
        if ((*flags & kLearnedFlag) != 0) {
            result.Add(FormatHex(*codeValue, 2) + "|2");
        } else {
            result.Add(std::string(code) + "|1");
        }
    }
    for (const std::string& entry : excluded.Entries()) {
        result.Remove(entry);
    }
    return result.Take();
}

}  // namespace kv::workflow
