#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "workflow/KeyStateEntries.h"

namespace kv::workflow {
namespace {

std::string Entry(const std::string& code, const std::string& flags) {
    return code + flags + "000000000000";
}

std::string Table(const std::vector<std::string>& pairs, const std::vector<std::string>& entries) {
    std::string text = pairs.size() < 16 ? "0" : "";
    text += "0123456789ABCDEF"[pairs.size() % 16];
    for (const auto& pair : pairs) {
        text += pair;
    }
    text += entries.size() < 16 ? "0" : "";
    text += "0123456789ABCDEF"[entries.size() % 16];
    for (const auto& entry : entries) {
        text += entry;
    }
    return text;
}

struct ParseCase {
    const char* name;
    std::string table;
    std::optional<std::vector<std::string>> expected;
};

using Entries = std::vector<std::string>;

class ParseCodeTypeDataCases : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCodeTypeDataCases, GivesTheKeyStates) {
    EXPECT_EQ(ParseCodeTypeData(GetParam().table), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ParseCodeTypeDataCases,
    ::testing::Values(
        ParseCase{"NoPairsNoEntries", "0000", Entries{}},
        ParseCase{"FlagsDecideTheState",
                  Table({}, {Entry("12", "41"), Entry("13", "80"), Entry("14", "C0")}),
                  Entries{"12|2", "13|1", "14|2"}},
        ParseCase{"SortedByCode",
                  Table({}, {Entry("1C", "CF"), Entry("0A", "01"), Entry("09", "CF")}),
                  Entries{"09|2", "0A|1", "1C|2"}},
        ParseCase{"SecondCodeOfAPairHasNoPresetEntry",
                  Table({"0203"}, {Entry("02", "01"), Entry("03", "01")}), Entries{"02|1"}},
        ParseCase{"SecondCodeOfAPairKeepsItsLearnedEntry",
                  Table({"0203"}, {Entry("02", "01"), Entry("03", "CF")}), Entries{"02|1", "03|2"}},
        ParseCase{"PairCodeMatchesAnyCase", Table({"020a"}, {Entry("0A", "01")}), Entries{}},
        ParseCase{"LowerCaseCodeOfALearnedKeyIsRewritten", Table({}, {Entry("0a", "4F")}),
                  Entries{"0A|2"}},
        ParseCase{"LowerCaseCodeOfAPresetKeyIsKept", Table({}, {Entry("0a", "0F")}),
                  Entries{"0a|1"}},
        ParseCase{"SameCodeSameStateGivesOneEntry",
                  Table({}, {Entry("05", "01"), Entry("05", "02")}), Entries{"05|1"}},
        ParseCase{"SameCodeInAnotherCaseGivesOneEntry",
                  Table({}, {Entry("0a", "01"), Entry("0A", "01")}), Entries{"0a|1"}},
        ParseCase{"SameCodeTwoStatesPresetFirst", Table({}, {Entry("05", "CF"), Entry("05", "01")}),
                  Entries{"05|1", "05|2"}},
        ParseCase{"TrailingPieceOfAnEntryIsIgnored",
                  Table({}, {Entry("05", "CF"), Entry("06", "CF")}).substr(0, 30), Entries{"05|2"}},
        ParseCase{"FillerIsNotRead", Table({}, {Entry("05", "CF")}) + std::string(64, '\0'),
                  Entries{"05|2"}},
        ParseCase{"EntryCountPastTheFiller", "0002" + Entry("05", "CF") + std::string(64, '\0'),
                  Entries{"05|2"}},
        ParseCase{"NonHexPairCount", "0x00", std::nullopt},
        ParseCase{"NonHexEntryCount", "00zz", std::nullopt},
        ParseCase{"NonHexFlags", Table({}, {Entry("05", "G1")}), std::nullopt},
        ParseCase{"NonHexCode", Table({}, {Entry("X5", "01")}), std::nullopt},
        ParseCase{"NonHexPair", Table({"02Z3"}, {}), std::nullopt},
        ParseCase{"PairsCutShort", "0201020304", std::nullopt},
        ParseCase{"Empty", "", std::nullopt}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

}  // namespace
}  // namespace kv::workflow
