#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::workflow {

// Derives the key state entries ("CC|S") from the remote's key-code table:
// "2" for an entry whose flags have bit 0x40 (a learned code; its code written
// again as two upper-case hex digits), "1" for any other entry (its code as
// stored). Entries are sorted by their text with letter case ignored, and an
// entry equal to one already there is dropped. The preset entry "|1" of the
// second code of every pair is left out; a learned entry always stays.
//
// The text from its first zero character on is filler and not read; a piece
// of an entry at the end is ignored. None when the counts, a pair code, or an
// entry's code or flags are not hexadecimal, or the pairs and the entry count
// are cut short: the table is damaged and identification must not go on.
std::optional<std::vector<std::string>> ParseCodeTypeData(std::string_view table);

}  // namespace kv::workflow
