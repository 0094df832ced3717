#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::workflow {

// The remote keeps its key codes in one table: a pair count and pairs of key
// codes, an entry count and 8-byte entries (key code, flags, offset and length
// of a first and a second data block), then the data blocks. It travels as hex
// text, two digits per byte; a byte offset B addresses character 2B + 1.

// The remote's read buffer holds 12288 characters, so the image holds at most
// 6144 bytes.
inline constexpr std::size_t kMaxTableBytes = 6144;
// The merge keeps a data block in a text of at most 255 characters.
inline constexpr int kMaxDataBlockBytes = 127;
// A first data block is stored (and given an offset) only from this many
// characters on; shorter ones (1 or 2 bytes) keep their length at offset 0.
// The layout and the output use this one threshold, so that every block sits
// at the offset its entry names.
inline constexpr std::size_t kStoredFirstBlockMinChars = 5;
inline constexpr int kKeyCodeCount = 256;

// Working record of one key code during a merge.
struct CodeInfo {
    std::string code;   // two hex digits, as found in the table or the key record
    std::string flags;  // two hex digits
    int firstLength = 0;
    int secondLength = 0;
    std::string firstBlock;  // emptied when a lower key code shares the same block
    std::string secondBlock;
    int firstOffset = 0;
    int secondOffset = 0;
    bool used = false;
};
using ArrCodeInfo = std::array<CodeInfo, kKeyCodeCount>;

// Gives the first data blocks of the used records their offsets from
// `firstFreeOffset` on, in ascending key-code order. Equal blocks are stored
// once: later records take the offset of the lowest key code holding the same
// block and their own copy is emptied. Returns the next free offset.
int LayoutFirstParts(ArrCodeInfo& records, int firstFreeOffset);

// Rebuilds the table text `table` with the key record `keyRecord` (header,
// first part, second part as hex text). Entries come out sorted by key code,
// equal first parts are shared, the partner of any pair naming the key is
// dropped with its pair; a key record without a first or a second part
// removes the key. Only the image is returned, without filler.
//
// Returns the empty text, and nothing else, as its refusal, when:
// - the table's counts, pair codes or entry fields are not hexadecimal or its
//   pair section is cut short (a damaged table);
// - the key record has no hexadecimal key code and lengths at characters 5-6,
//   13-14 and 19-20, or its parts are shorter than those lengths or are not
//   hexadecimal, or a part is longer than kMaxDataBlockBytes;
// - the new table would not pass CheckKeyCodeTable (too large for the remote,
//   more than 255 entries, a kept block longer than kMaxDataBlockBytes, ...).
// The text of `table` from its first zero character on is filler and not read.
std::string MergeKeyRecord(std::string_view table, std::string_view keyRecord);

// Why a merge was refused.
enum class MergeRefusal {
    None,
    DamagedTable,      // counts, pairs or entries not hexadecimal, or pairs cut short
    UnreadableRecord,  // key code or lengths not hexadecimal, parts short or not hexadecimal
    PartTooLong,       // a part of the key record is longer than kMaxDataBlockBytes
    TooManyEntries,    // more than 255 entries
    TooLarge,          // larger than the remote's kMaxTableBytes
    NotWritable,       // the new table fails CheckKeyCodeTable (a damaged block was kept)
};
struct MergeOutcome {
    std::string table;  // empty when refused
    MergeRefusal refusal = MergeRefusal::None;
};
// MergeKeyRecord with the reason of a refusal.
MergeOutcome MergeKeyRecordWithReason(std::string_view table, std::string_view keyRecord);
const char* DescribeMergeRefusal(MergeRefusal refusal);

// The key record that removes a key when merged: "0001", the code, 18 zeros.
std::string EmptyKeyRecord(std::string_view code);

// One table entry as stored.
struct KeyCodeTableEntry {
    std::string code;
    std::string flags;
    int firstOffset = 0;
    int firstLength = 0;
    int secondOffset = 0;
    int secondLength = 0;
};

// The table read field by field (for display and checks).
struct KeyCodeTableImage {
    std::string_view image;          // the hex text up to the first zero character
    std::vector<std::string> pairs;  // four characters each: first and second code
    std::vector<KeyCodeTableEntry> entries;
    std::size_t bytes = 0;       // size of the image in bytes
    std::size_t entriesEnd = 0;  // byte offset just behind the entries
};

// Why a table text may not be written to the remote.
enum class TableFault {
    None,
    Empty,
    NotHex,
    OddLength,
    TooLarge,
    SectionsCutShort,
    BlockTooLong,
    BlockOutsideImage,
    BlockOverlapsEntries,
};

// Reads the counts, pairs and entries of a table text; none when they are not
// all present and hexadecimal.
std::optional<KeyCodeTableImage> ReadKeyCodeTable(std::string_view text);

// Checks a table text before it is written: the part up to its first zero
// character (what the remote receives) is non-empty hex of whole bytes, at most
// kMaxTableBytes long; its counts, pairs and entries lie inside it; every data
// block is at most kMaxDataBlockBytes and lies inside the image; and every
// block of 3 or more bytes lies behind the entries.
TableFault CheckKeyCodeTable(std::string_view text);
bool IsWritableKeyCodeTable(std::string_view text);
const char* DescribeTableFault(TableFault fault);

}  // namespace kv::workflow
