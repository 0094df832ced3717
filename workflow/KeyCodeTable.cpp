#include "workflow/KeyCodeTable.h"

#include <cstdint>

#include "codestyle/HexText.h"

namespace kv::workflow {
namespace {

using codestyle::AppendHex;
using codestyle::FormatHex;
using codestyle::IsHexText;
using codestyle::ParseHex;

constexpr std::size_t kEntryChars = 16;
constexpr std::size_t kPairChars = 4;
constexpr int kMaxItemCount = 255;
// Flags of every entry the merge writes for a key record: a learned code.
constexpr std::string_view kMergedFlags = "CF";

// The part of a table text the remote receives: up to its first zero.
std::string_view TableImage(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

std::optional<int> ByteAt(std::string_view text, std::size_t pos) {
    if (pos + 2 > text.size()) {
        return std::nullopt;
    }
    const auto value = ParseHex(text.substr(pos, 2));
    return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
}

// Two bytes, low byte first.
std::optional<int> WordAt(std::string_view text, std::size_t pos) {
    const auto low = ByteAt(text, pos);
    const auto high = ByteAt(text, pos + 2);
    if (!low || !high) {
        return std::nullopt;
    }
    return *low + 256 * *high;
}

void AppendWordLowFirst(std::string& out, int value) {
    const std::string digits = FormatHex(value, 4);
    out.append(digits, 2, 2);
    out.append(digits, 0, 2);
}

std::optional<KeyCodeTableEntry> ReadEntry(std::string_view entry) {
    KeyCodeTableEntry read;
    read.code = std::string(entry.substr(0, 2));
    read.flags = std::string(entry.substr(2, 2));
    const auto code = ByteAt(entry, 0);
    const auto flags = ByteAt(entry, 2);
    const auto firstOffset = WordAt(entry, 4);
    const auto firstLength = ByteAt(entry, 8);
    const auto secondOffset = WordAt(entry, 10);
    const auto secondLength = ByteAt(entry, 14);
    if (!code || !flags || !firstOffset || !firstLength || !secondOffset || !secondLength) {
        return std::nullopt;
    }
    read.firstOffset = *firstOffset;
    read.firstLength = *firstLength;
    read.secondOffset = *secondOffset;
    read.secondLength = *secondLength;
    return read;
}

// A data block as found: what lies at the offset, cut at the image's end and
// to whole bytes.
std::string BlockAt(std::string_view image, int offset, int length) {
    const std::size_t start = 2 * static_cast<std::size_t>(offset);
    if (start >= image.size()) {
        return {};
    }
    std::string_view block = image.substr(start, 2 * static_cast<std::size_t>(length));
    return std::string(block.substr(0, block.size() - block.size() % 2));
}

// Sections of the table as the merge reads them. The pairs and the entry
// count must be there; entries past the end are simply not there.
struct TableSections {
    std::string_view pairs;  // pair table without its count
    std::string_view entries;
};

std::optional<TableSections> SplitSections(std::string_view image) {
    const auto pairCount = ByteAt(image, 0);
    if (!pairCount) {
        return std::nullopt;
    }
    const std::size_t pairsEnd = 2 + kPairChars * static_cast<std::size_t>(*pairCount);
    const auto entryCount = ByteAt(image, pairsEnd);
    if (!entryCount) {
        return std::nullopt;
    }
    TableSections sections;
    sections.pairs = image.substr(2, pairsEnd - 2);
    sections.entries =
        image.substr(pairsEnd + 2, kEntryChars * static_cast<std::size_t>(*entryCount));
    return sections;
}

bool TakeTableEntries(std::string_view image, std::string_view entries, ArrCodeInfo& records) {
    for (std::size_t pos = 0; pos + kEntryChars <= entries.size(); pos += kEntryChars) {
        const auto entry = ReadEntry(entries.substr(pos, kEntryChars));
        if (!entry) {
            return false;
        }
        CodeInfo& record = records[static_cast<std::size_t>(*ParseHex(entry->code))];
        record.code = entry->code;
        record.flags = entry->flags;
        record.firstBlock = BlockAt(image, entry->firstOffset, entry->firstLength);
        record.secondBlock = BlockAt(image, entry->secondOffset, entry->secondLength);
        record.firstLength = static_cast<int>(record.firstBlock.size() / 2);
        record.secondLength = static_cast<int>(record.secondBlock.size() / 2);
        record.firstOffset = 0;
        record.secondOffset = 0;
        record.used = true;
    }
    return true;
}

enum class RecordUse { Taken, Unreadable, PartTooLong };

// Puts the key record into its key's record, unless it cannot be read or its
// parts do not fit a data block.
RecordUse TakeKeyRecord(std::string_view keyRecord, ArrCodeInfo& records, std::string& code) {
    const auto key = ByteAt(keyRecord, 4);
    const auto firstLength = ByteAt(keyRecord, 12);
    const auto secondLength = ByteAt(keyRecord, 18);
    if (!key || !firstLength || !secondLength) {
        return RecordUse::Unreadable;
    }
    code = std::string(keyRecord.substr(4, 2));
    CodeInfo record;
    record.code = code;
    record.flags = std::string(kMergedFlags);
    record.firstLength = *firstLength;
    record.secondLength = *secondLength;
    if (*firstLength > 0 && *secondLength > 0) {
        if (*firstLength > kMaxDataBlockBytes || *secondLength > kMaxDataBlockBytes) {
            return RecordUse::PartTooLong;
        }
        const std::size_t firstChars = 2 * static_cast<std::size_t>(*firstLength);
        const std::size_t dataChars = firstChars + 2 * static_cast<std::size_t>(*secondLength);
        const std::string_view data = keyRecord.substr(20, dataChars);
        if (data.size() < dataChars || !IsHexText(data)) {
            return RecordUse::Unreadable;
        }
        record.firstBlock = std::string(data.substr(0, firstChars));
        record.secondBlock = std::string(data.substr(firstChars));
        record.used = true;
    }
    records[static_cast<std::size_t>(*key)] = std::move(record);
    return RecordUse::Taken;
}

// Drops every pair that names the key, with the partner's entry; returns the
// pairs that stay, or none for a pair code that is not hex. A damaged pair
// that names the key twice must not take the key's own new entry with it.
std::optional<std::string> DropPairsOf(std::string_view pairs, std::string_view code,
                                       ArrCodeInfo& records, int& kept) {
    std::string remaining;
    kept = 0;
    for (std::size_t pos = 0; pos + kPairChars <= pairs.size(); pos += kPairChars) {
        const std::string_view first = pairs.substr(pos, 2);
        const std::string_view second = pairs.substr(pos + 2, 2);
        const auto firstValue = ParseHex(first);
        const auto secondValue = ParseHex(second);
        if (!firstValue || !secondValue) {
            return std::nullopt;
        }
        if (code == first || code == second) {
            const std::uint32_t partner = code == first ? *secondValue : *firstValue;
            if (partner != *ParseHex(code)) {
                records[partner].used = false;
            }
        } else {
            remaining += pairs.substr(pos, kPairChars);
            ++kept;
        }
    }
    return remaining;
}

bool IsStoredFirstBlock(const CodeInfo& record) {
    return record.firstBlock.size() >= kStoredFirstBlockMinChars;
}

}  // namespace

int LayoutFirstParts(ArrCodeInfo& records, int firstFreeOffset) {
    int next = firstFreeOffset;
    for (std::size_t k = 0; k < records.size(); ++k) {
        CodeInfo& record = records[k];
        if (!record.used || !IsStoredFirstBlock(record)) {
            continue;
        }
        record.firstOffset = next;
        for (std::size_t j = k + 1; j < records.size(); ++j) {
            if (records[j].used && records[j].firstBlock == record.firstBlock) {
                records[j].firstOffset = next;
                records[j].firstBlock.clear();
            }
        }
        next += static_cast<int>(record.firstBlock.size() / 2);
    }
    return next;
}

MergeOutcome MergeKeyRecordWithReason(std::string_view table, std::string_view keyRecord) {
    const auto refuse = [](MergeRefusal refusal) { return MergeOutcome{{}, refusal}; };
    const std::string_view image = TableImage(table);
    const auto sections = SplitSections(image);
    ArrCodeInfo records;
    if (!sections || !TakeTableEntries(image, sections->entries, records)) {
        return refuse(MergeRefusal::DamagedTable);
    }
    std::string code;
    switch (TakeKeyRecord(keyRecord, records, code)) {
        case RecordUse::Taken:
            break;
        case RecordUse::Unreadable:
            return refuse(MergeRefusal::UnreadableRecord);
        case RecordUse::PartTooLong:
            return refuse(MergeRefusal::PartTooLong);
    }
    int keptPairs = 0;
    const auto pairs = DropPairsOf(sections->pairs, code, records, keptPairs);
    if (!pairs) {
        return refuse(MergeRefusal::DamagedTable);
    }
    int usedCount = 0;
    int secondBytes = 0;
    for (const CodeInfo& record : records) {
        if (record.used) {
            ++usedCount;
            secondBytes += record.secondLength;
        }
    }
    if (usedCount > kMaxItemCount) {
        return refuse(MergeRefusal::TooManyEntries);
    }
    std::string head = FormatHex(keptPairs, 2) + *pairs + FormatHex(usedCount, 2);
    const int entriesEnd = static_cast<int>((head.size() + kEntryChars * usedCount) / 2);
    int nextFree = LayoutFirstParts(records, entriesEnd);
    if (nextFree + secondBytes > static_cast<int>(kMaxTableBytes)) {
        return refuse(MergeRefusal::TooLarge);
    }

    std::string result = std::move(head);
    result.reserve(2 * static_cast<std::size_t>(nextFree + secondBytes));
    for (const CodeInfo& record : records) {
        if (!record.used) {
            continue;
        }
        result += record.code;
        result += record.flags;
        AppendWordLowFirst(result, record.firstOffset);
        AppendHex(result, record.firstLength, 2);
        AppendWordLowFirst(result, nextFree);
        AppendHex(result, record.secondLength, 2);
        nextFree += record.secondLength;
    }
    for (const CodeInfo& record : records) {
        if (record.used && IsStoredFirstBlock(record)) {
            result += record.firstBlock;
        }
    }
    for (const CodeInfo& record : records) {
        if (record.used) {
            result += record.secondBlock;
        }
    }
    if (!IsWritableKeyCodeTable(result)) {
        return refuse(MergeRefusal::NotWritable);
    }
    return {std::move(result), MergeRefusal::None};
}

std::string MergeKeyRecord(std::string_view table, std::string_view keyRecord) {
    return MergeKeyRecordWithReason(table, keyRecord).table;
}

const char* DescribeMergeRefusal(MergeRefusal refusal) {
    switch (refusal) {
        case MergeRefusal::None:
            return "merged";
        case MergeRefusal::DamagedTable:
            return "the table's counts, pairs or entries are damaged";
        case MergeRefusal::UnreadableRecord:
            return "the key record cannot be read";
        case MergeRefusal::PartTooLong:
            return "a part of the key record is longer than 127 bytes";
        case MergeRefusal::TooManyEntries:
            return "the table would hold more than 255 entries";
        case MergeRefusal::TooLarge:
            return "the table would be larger than the remote's 6144 bytes";
        case MergeRefusal::NotWritable:
            return "the table would keep a damaged data block";
    }
    return "refused";
}

std::string EmptyKeyRecord(std::string_view code) {
    std::string record = "0001";
    record += code;
    record += "000000000000000000";
    return record;
}

std::optional<KeyCodeTableImage> ReadKeyCodeTable(std::string_view text) {
    KeyCodeTableImage table;
    table.image = TableImage(text);
    const auto pairCount = ByteAt(table.image, 0);
    if (!pairCount) {
        return std::nullopt;
    }
    std::size_t pos = 2;
    for (int i = 0; i < *pairCount; ++i, pos += kPairChars) {
        const std::string_view pair = table.image.substr(pos, kPairChars);
        if (pair.size() < kPairChars || !IsHexText(pair)) {
            return std::nullopt;
        }
        table.pairs.emplace_back(pair);
    }
    const auto entryCount = ByteAt(table.image, pos);
    if (!entryCount) {
        return std::nullopt;
    }
    pos += 2;
    for (int i = 0; i < *entryCount; ++i, pos += kEntryChars) {
        const std::string_view field = table.image.substr(pos, kEntryChars);
        const auto entry = field.size() == kEntryChars ? ReadEntry(field) : std::nullopt;
        if (!entry) {
            return std::nullopt;
        }
        table.entries.push_back(*entry);
    }
    table.bytes = table.image.size() / 2;
    table.entriesEnd = pos / 2;
    return table;
}

TableFault CheckKeyCodeTable(std::string_view text) {
    const std::string_view image = TableImage(text);
    if (image.empty()) {
        return TableFault::Empty;
    }
    if (!IsHexText(image)) {
        return TableFault::NotHex;
    }
    if (image.size() % 2 != 0) {
        return TableFault::OddLength;
    }
    if (image.size() > 2 * kMaxTableBytes) {
        return TableFault::TooLarge;
    }
    const auto table = ReadKeyCodeTable(image);
    if (!table) {
        return TableFault::SectionsCutShort;
    }
    for (const KeyCodeTableEntry& entry : table->entries) {
        const int blocks[2][2] = {{entry.firstOffset, entry.firstLength},
                                  {entry.secondOffset, entry.secondLength}};
        for (const auto& [offset, length] : blocks) {
            if (length > kMaxDataBlockBytes) {
                return TableFault::BlockTooLong;
            }
            if (static_cast<std::size_t>(offset + length) > table->bytes) {
                return TableFault::BlockOutsideImage;
            }
            if (length >= 3 && static_cast<std::size_t>(offset) < table->entriesEnd) {
                return TableFault::BlockOverlapsEntries;
            }
        }
    }
    return TableFault::None;
}

bool IsWritableKeyCodeTable(std::string_view text) {
    return CheckKeyCodeTable(text) == TableFault::None;
}

const char* DescribeTableFault(TableFault fault) {
    switch (fault) {
        case TableFault::None:
            return "the table can be written";
        case TableFault::Empty:
            return "the table is empty";
        case TableFault::NotHex:
            return "the table holds characters that are not hexadecimal digits";
        case TableFault::OddLength:
            return "the table does not hold whole bytes";
        case TableFault::TooLarge:
            return "the table is larger than the remote's 6144 bytes";
        case TableFault::SectionsCutShort:
            return "the pairs or entries run past the end of the table";
        case TableFault::BlockTooLong:
            return "a data block is longer than 127 bytes";
        case TableFault::BlockOutsideImage:
            return "a data block runs past the end of the table";
        case TableFault::BlockOverlapsEntries:
            return "a data block overlaps the counts, pairs or entries";
    }
    return "unknown fault";
}

}  // namespace kv::workflow
