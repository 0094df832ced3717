#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codestyle/HexText.h"
#include "workflow/KeyCodeTable.h"

namespace kv::workflow {
namespace {

using codestyle::FormatHex;

std::string KeyRecord(const std::string& code, const std::string& first,
                      const std::string& second) {
    const int d = static_cast<int>(first.size() / 2);
    const int e = static_cast<int>(second.size() / 2);
    return "0001" + code + "C70A00" + FormatHex(d, 2) + FormatHex(d + 10, 2) + "00" +
           FormatHex(e, 2) + first + second;
}

// An entry of 8 bytes with offsets written low byte first.
std::string Entry(const std::string& code, const std::string& flags, int firstOffset,
                  int firstLength, int secondOffset, int secondLength) {
    auto lowFirst = [](int v) { return FormatHex(v & 0xFF, 2) + FormatHex(v >> 8, 2); };
    return code + flags + lowFirst(firstOffset) + FormatHex(firstLength, 2) +
           lowFirst(secondOffset) + FormatHex(secondLength, 2);
}

const std::string kFirst4 = "0E160A34";  // a first part of 4 bytes
const std::string kSecond10 = "00112233445566778899";
const std::string kSecond3 = "AABBCC";

struct MergeCase {
    const char* name;
    std::string table;
    std::string record;
    std::string expected;
};

class MergeKeyRecordCases : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeKeyRecordCases, RebuildsTheTable) {
    const std::string merged = MergeKeyRecord(GetParam().table, GetParam().record);
    EXPECT_EQ(merged, GetParam().expected);
    if (!merged.empty()) {
        EXPECT_EQ(CheckKeyCodeTable(merged), TableFault::None);
    }
}

const std::string kOneKey =
    "00"
    "01" +
    Entry("00", "CF", 10, 4, 14, 10) + kFirst4 + kSecond10;
const std::string kTwoKeys =
    "00"
    "02" +
    Entry("00", "CF", 18, 4, 22, 10) + Entry("02", "CF", 18, 4, 32, 3) + kFirst4 + kSecond10 +
    kSecond3;
// Entries out of order, a preset entry with its own blocks, a pair 05/07.
const std::string kWithPair =
    "01"
    "0507"
    "03" +
    Entry("07", "01", 0, 0, 28, 2) + Entry("05", "4F", 0, 0, 30, 1) +
    Entry("01", "CF", 31, 3, 34, 1) +
    "1234"
    "56"
    "ABCDEF"
    "77";

INSTANTIATE_TEST_SUITE_P(
    Tables, MergeKeyRecordCases,
    ::testing::Values(
        MergeCase{"FirstKeyIntoAnEmptyTable", "0000", KeyRecord("00", kFirst4, kSecond10), kOneKey},
        MergeCase{"EqualFirstPartsAreStoredOnce", kOneKey, KeyRecord("02", kFirst4, kSecond3),
                  kTwoKeys},
        MergeCase{"EmptyRecordRemovesTheKey", kTwoKeys, EmptyKeyRecord("00"),
                  "00"
                  "01" +
                      Entry("02", "CF", 10, 4, 14, 3) + kFirst4 + kSecond3},
        MergeCase{"RecordWithoutSecondPartRemovesTheKey", kTwoKeys,
                  "0001"
                  "02"
                  "C70A00"
                  "04"
                  "0E"
                  "00"
                  "00" +
                      kFirst4,
                  "00"
                  "01" +
                      Entry("00", "CF", 10, 4, 14, 10) + kFirst4 + kSecond10},
        MergeCase{"EmptyRecordOfAnAbsentKeySortsAndRepacks", kWithPair, EmptyKeyRecord("20"),
                  "01"
                  "0507"
                  "03" +
                      Entry("01", "CF", 28, 3, 31, 1) + Entry("05", "4F", 0, 0, 32, 1) +
                      Entry("07", "01", 0, 0, 33, 2) +
                      "ABCDEF"
                      "77"
                      "56"
                      "1234"},
        MergeCase{"FirstCodeOfAPairDropsThePartner", kWithPair, EmptyKeyRecord("05"),
                  "00"
                  "01" +
                      Entry("01", "CF", 10, 3, 13, 1) +
                      "ABCDEF"
                      "77"},
        MergeCase{"SecondCodeOfAPairDropsThePartner", kWithPair, KeyRecord("07", kFirst4, kSecond3),
                  "00"
                  "02" +
                      Entry("01", "CF", 18, 3, 25, 1) + Entry("07", "CF", 21, 4, 26, 3) + "ABCDEF" +
                      kFirst4 + "77" + kSecond3},
        // A damaged pair of the key with itself goes, the key's new entry stays.
        MergeCase{"PairOfTheKeyWithItselfKeepsTheKey",
                  "01"
                  "0505"
                  "00",
                  KeyRecord("05", "A1B2C3", "D4E5"),
                  "00"
                  "01" +
                      Entry("05", "CF", 10, 3, 13, 2) +
                      "A1B2C3"
                      "D4E5"},
        // A 3-byte first block is stored, and the blocks after it keep their
        // offsets.
        MergeCase{"ThreeByteFirstBlockIsStored", "0000", KeyRecord("05", "A1B2C3", "D4E5"),
                  "00"
                  "01" +
                      Entry("05", "CF", 10, 3, 13, 2) +
                      "A1B2C3"
                      "D4E5"},
        MergeCase{"TwoByteFirstBlockIsNotStored", "0000", KeyRecord("05", "A1B2", "D4E5"),
                  "00"
                  "01" +
                      Entry("05", "CF", 0, 2, 10, 2) + "D4E5"},
        MergeCase{"FillerAfterTheImageIsNotRead", kOneKey + std::string(200, '\0'),
                  KeyRecord("02", kFirst4, kSecond3), kTwoKeys},
        MergeCase{"BlockPastTheEndKeepsWhatWasFound",
                  "00"
                  "01" +
                      Entry("03", "CF", 0, 0, 10, 4) + "1122",
                  EmptyKeyRecord("09"),
                  "00"
                  "01" +
                      Entry("03", "CF", 0, 0, 10, 2) + "1122"},
        MergeCase{"RefusesAPartLongerThan127Bytes", "0000",
                  KeyRecord("05", kFirst4, std::string(256, 'A')), ""},
        MergeCase{"RefusesARecordShorterThanItsLengths", "0000",
                  KeyRecord("05", kFirst4, kSecond3).substr(0, 30), ""},
        MergeCase{"RefusesANonHexRecord", "0000", KeyRecord("05", kFirst4, "AABBCG"), ""},
        MergeCase{"RefusesARecordWithoutHeader", "0000", "0001", ""},
        MergeCase{"RefusesANonHexTable", "0X00", KeyRecord("05", kFirst4, kSecond3), ""},
        MergeCase{"RefusesATableCutInItsPairs", "0201020304", KeyRecord("05", kFirst4, kSecond3),
                  ""},
        MergeCase{"RefusesAKeptBlockThatIsNotHex",
                  "00"
                  "01" +
                      Entry("03", "CF", 0, 0, 10, 2) + "11ZZ",
                  KeyRecord("05", kFirst4, kSecond3), ""}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(MergeKeyRecord, RefusesATableTooLargeForTheRemote) {
    // Keys with 127-byte second parts (135 bytes each) fill the remote after 45.
    std::string table = "0000";
    std::string block;
    for (int key = 0; key < 60; ++key) {
        block = FormatHex(key, 2) + std::string(252, 'A');
        const std::string merged =
            MergeKeyRecord(table, KeyRecord(FormatHex(key, 2), kFirst4, block));
        if (merged.empty()) {
            EXPECT_GT(table.size() / 2 + 8 + 127, kMaxTableBytes);
            return;
        }
        table = merged;
    }
    FAIL() << "sixty keys of 127-byte parts fitted the remote";
}

TEST(MergeKeyRecord, RefusesTheTwoHundredAndFiftySixthEntry) {
    std::string table = "00FF";
    for (int key = 0; key < 255; ++key) {
        table += Entry(FormatHex(key, 2), "01", 0, 0, 0, 0);
    }
    ASSERT_EQ(CheckKeyCodeTable(table), TableFault::None);
    EXPECT_EQ(MergeKeyRecord(table, KeyRecord("FF", kFirst4, kSecond3)), "");
    EXPECT_FALSE(MergeKeyRecord(table, KeyRecord("FE", kFirst4, kSecond3)).empty());
}

TEST(LayoutFirstParts, SharesEqualBlocksAtTheLowestKey) {
    ArrCodeInfo records;
    for (int key : {3, 9, 200}) {
        records[key].used = true;
        records[key].firstBlock = kFirst4;
    }
    records[5].used = true;
    records[5].firstBlock = "0102";    // too short to store
    records[7].firstBlock = "FFFFFF";  // not used
    EXPECT_EQ(LayoutFirstParts(records, 40), 44);
    EXPECT_EQ(records[3].firstOffset, 40);
    EXPECT_EQ(records[3].firstBlock, kFirst4);
    for (int key : {9, 200}) {
        EXPECT_EQ(records[key].firstOffset, 40);
        EXPECT_EQ(records[key].firstBlock, "");
    }
    EXPECT_EQ(records[5].firstOffset, 0);
    EXPECT_EQ(records[7].firstOffset, 0);
}

TEST(ReadKeyCodeTable, ReadsPairsAndEntries) {
    const auto table = ReadKeyCodeTable(kWithPair + std::string(10, '\0'));
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->pairs, std::vector<std::string>{"0507"});
    ASSERT_EQ(table->entries.size(), 3u);
    EXPECT_EQ(table->entries[2].code, "01");
    EXPECT_EQ(table->entries[2].firstOffset, 31);
    EXPECT_EQ(table->entries[2].firstLength, 3);
    EXPECT_EQ(table->entries[2].secondOffset, 34);
    EXPECT_EQ(table->bytes, 35u);
    EXPECT_EQ(table->entriesEnd, 28u);
}

struct FaultCase {
    const char* name;
    std::string table;
    TableFault fault;
};

class CheckKeyCodeTableCases : public ::testing::TestWithParam<FaultCase> {};

TEST_P(CheckKeyCodeTableCases, FindsTheFault) {
    EXPECT_EQ(CheckKeyCodeTable(GetParam().table), GetParam().fault)
        << DescribeTableFault(CheckKeyCodeTable(GetParam().table));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CheckKeyCodeTableCases,
    ::testing::Values(
        FaultCase{"Sound", kTwoKeys, TableFault::None},
        FaultCase{"SoundWithFiller", kTwoKeys + std::string(100, '\0'), TableFault::None},
        FaultCase{"EmptyTableWithoutKeys", "0000", TableFault::None},
        FaultCase{"LowerCaseDigits", "00010acf0a00020c000200000000", TableFault::None},
        FaultCase{"Nothing", "", TableFault::Empty},
        FaultCase{"OnlyFiller", std::string(10, '\0'), TableFault::Empty},
        FaultCase{"NotHex", "00 0", TableFault::NotHex},
        FaultCase{"HalfAByte", "00000", TableFault::OddLength},
        FaultCase{"LargerThanTheRemote", "0000" + std::string(2 * kMaxTableBytes, '0'),
                  TableFault::TooLarge},
        FaultCase{"LargestThatFits", "0000" + std::string(2 * kMaxTableBytes - 4, '0'),
                  TableFault::None},
        FaultCase{"PairsCutShort", "03000102", TableFault::SectionsCutShort},
        FaultCase{"EntriesCutShort", "0002" + Entry("01", "CF", 0, 0, 0, 0),
                  TableFault::SectionsCutShort},
        FaultCase{"BlockTooLong", "0001" + Entry("01", "CF", 0, 0, 10, 128) + std::string(256, '0'),
                  TableFault::BlockTooLong},
        FaultCase{"BlockPastTheEnd", "0001" + Entry("01", "CF", 10, 4, 14, 3) + "0102030405",
                  TableFault::BlockOutsideImage},
        FaultCase{"BlockOverTheEntries", "0001" + Entry("01", "CF", 2, 4, 10, 1) + "05",
                  TableFault::BlockOverlapsEntries},
        FaultCase{"ShortFirstBlockAtOffsetZero", "0001" + Entry("01", "CF", 0, 2, 10, 1) + "05",
                  TableFault::None}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

}  // namespace
}  // namespace kv::workflow

namespace kv::workflow {
namespace {

TEST(MergeKeyRecordWithReason, NamesTheReasonOfARefusal) {
    const std::string record =
        "0001"
        "05"
        "C70A00"
        "02"
        "0C"
        "00"
        "01"
        "A1B2"
        "C3";
    EXPECT_EQ(MergeKeyRecordWithReason("0000", record).refusal, MergeRefusal::None);
    EXPECT_EQ(MergeKeyRecordWithReason("0100", record).refusal, MergeRefusal::DamagedTable);
    EXPECT_EQ(MergeKeyRecordWithReason("0000", record.substr(0, 25)).refusal,
              MergeRefusal::UnreadableRecord);
    EXPECT_EQ(MergeKeyRecordWithReason("0000",
                                       "0001"
                                       "05"
                                       "C70A00"
                                       "80"
                                       "8A"
                                       "00"
                                       "01")
                  .refusal,
              MergeRefusal::PartTooLong);
    const std::string damagedBlock =
        "0001"
        "03CF"
        "0000"
        "00"
        "0A00"
        "02"
        "11ZZ";
    const MergeOutcome outcome = MergeKeyRecordWithReason(damagedBlock, record);
    EXPECT_EQ(outcome.refusal, MergeRefusal::NotWritable);
    EXPECT_EQ(outcome.table, "");
    EXPECT_STRNE(DescribeMergeRefusal(outcome.refusal), "");
}

}  // namespace
}  // namespace kv::workflow
