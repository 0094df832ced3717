#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "codestyle/CodeStyleSource.h"
#include "codestyle/TimingValue.h"

namespace kv::codestyle {
namespace {

// A complete NEC-like style; the refusal cases below each break one field of it.
std::string NecSource(
    const std::string& symbols = "[ [560, -560], [560, -1690] ]",
    const std::string& layouts =
        "[ [9000, -4500, {\"group\": 8}, {\"group\": 8}, 560], "
        "[9000, -2250, 560] ]",
    const std::string& sequence = "[ {\"layout\": 0}, {\"layout\": 1, \"period\": 108} ]",
    const std::string& extra = "\"repeat\": 1") {
    return R"({"styles": [{"name": "NEC", "note": "test",
        "carrier": {"frequency": 38000, "divisor": 3, "byteA": 1},
        "symbols": )" +
           symbols + R"(, "layouts": )" + layouts + R"(, "sequence": )" + sequence + ", " + extra +
           "}]}";
}

TEST(CodeStyleSource, CompilesAStyleIntoTheRecordFields) {
    const CodeStyleSource source = CompileCodeStyleSource(NecSource());
    ASSERT_EQ(source.error, "");
    ASSERT_EQ(source.entries.size(), 1u);
    const CodeStyleNode& style = source.entries[0].style;
    EXPECT_EQ(style.name, "NEC");
    EXPECT_EQ(source.entries[0].note, "test");
    EXPECT_EQ(style.noCarrier, 0);
    EXPECT_EQ(style.carrierFrequency, 38000);
    EXPECT_EQ(style.carrierDivisor, 3);
    EXPECT_EQ(style.carrierByteA, 1);
    EXPECT_EQ(style.symbolCount, 2);
    EXPECT_EQ(style.symbolShapes[1].count, 2);
    EXPECT_EQ(style.symbolShapes[1].values[0], MarkValue(56000));
    EXPECT_EQ(style.symbolShapes[1].values[1], SpaceValue(169000));
    EXPECT_EQ(style.layoutCount, 2);
    EXPECT_EQ(style.layouts[0].count, 5);
    EXPECT_EQ(style.layouts[0].values[2], SymbolGroupValue(8, 0));
    EXPECT_EQ(style.sequenceLength, 2);
    EXPECT_EQ(style.sequence[0], ElementValue(TimingKind::kGapElement, 0, 0));
    EXPECT_EQ(style.sequence[1], ElementValue(TimingKind::kPeriodElement, 1, 10800));
    EXPECT_EQ(style.repeatCount, 1);
    EXPECT_EQ(style.tailCount, 0);
}

TEST(CodeStyleSource, KeepsFractionsOfMicrosecondsAndGapsAndFieldSlots) {
    const CodeStyleSource source = CompileCodeStyleSource(NecSource(
        "[ [166.67, -277.5], [166.67, -444.44] ]",
        "[ [417, -278, {\"define\": {\"table\": 2, \"slot\": 1, \"width\": 4}}, "
        "{\"reference\": {\"table\": 2, \"slot\": 1}}, {\"group\": {\"count\": 2, \"fixed\": "
        "\"13\"}}, 167] ]",
        "[ {\"layout\": 0}, {\"layout\": 0, \"gap\": 20.5, \"unitFree\": true} ]",
        "\"repeat\": 0"));
    ASSERT_EQ(source.error, "");
    const CodeStyleNode& style = source.entries[0].style;
    EXPECT_EQ(style.symbolShapes[0].values[0], MarkValue(16667));
    EXPECT_EQ(style.symbolShapes[0].values[1], SpaceValue(27750));
    EXPECT_EQ(style.layouts[0].values[2], FieldValue(TimingKind::kSecondTableDefinition, 1, 4));
    // A reference names its slot in both nibbles, so the pattern and the record writer, which
    // read different nibbles, take the same width.
    EXPECT_EQ(style.layouts[0].values[3], FieldValue(TimingKind::kSecondTableReference, 1, 1));
    EXPECT_EQ(style.layouts[0].values[4], SymbolGroupValue(2, 0x13));
    EXPECT_EQ(style.sequence[1], ElementValue(TimingKind::kGapElementOutsideUnit, 0, 2050));
}

TEST(CodeStyleSource, ACarrierOfNullSendsWithoutCarrier) {
    std::string text = NecSource();
    text.replace(text.find("{\"frequency\""),
                 std::string("{\"frequency\": 38000, \"divisor\": 3, \"byteA\": 1}").size(),
                 "null");
    const CodeStyleSource source = CompileCodeStyleSource(text);
    ASSERT_EQ(source.error, "");
    EXPECT_NE(source.entries[0].style.noCarrier, 0);
}

struct Refusal {
    const char* what;
    std::string source;
    const char* expected;  // part of the message: the style and the field at fault
};

class CodeStyleSourceRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(CodeStyleSourceRefusal, NamesTheStyleAndTheField) {
    const CodeStyleSource source = CompileCodeStyleSource(GetParam().source);
    EXPECT_TRUE(source.entries.empty());
    EXPECT_NE(source.error.find(GetParam().expected), std::string::npos) << source.error;
}

const std::string kGroups = "{\"group\": 8}, {\"group\": 8}";

INSTANTIATE_TEST_SUITE_P(
    Limits, CodeStyleSourceRefusal,
    testing::Values(
        Refusal{"json", "{\"styles\": [", "not valid JSON"},
        Refusal{"no list", "{\"style\": []}", "\"styles\" list"},
        Refusal{"seven durations", NecSource("[ [1, 2, 3, 4, 5, 6, 7], [1, 2, 3, 4, 5, 6, 7] ]"),
                "style 0 \"NEC\": symbols[0]: a list of 1 to 6"},
        Refusal{"one symbol", NecSource("[ [560, -560] ]"), "style 0 \"NEC\": symbols: 2 to 4"},
        Refusal{"unequal symbols", NecSource("[ [560, -560], [560, -1690, 560] ]"),
                "symbols[1]: every symbol needs as many durations"},
        Refusal{"token too long", NecSource("[ [560, -560], [560, -70000] ]"),
                "symbols[1][1]: a duration of 1 to 65535"},
        Refusal{"zero duration", NecSource("[ [560, 0], [560, -1690] ]"), "symbols[0][1]"},
        Refusal{"group of nine",
                NecSource("[ [560, -560], [560, -1690] ]", "[ [9000, {\"group\": 9}] ]",
                          "[ {\"layout\": 0}, {\"layout\": 0, \"gap\": 40} ]"),
                "layouts[0][1].group: a whole number from 1 to 8"},
        Refusal{"four-level group of five",
                NecSource("[ [500, -500], [500, -1000], [500, -1500], [500, -2000] ]",
                          "[ [9000, {\"group\": 5}] ]",
                          "[ {\"layout\": 0}, {\"layout\": 0, \"gap\": 40} ]"),
                "layouts[0][1]: a group packs at most"},
        Refusal{"missing layout",
                NecSource("[ [560, -560], [560, -1690] ]", "[ [9000, " + kGroups + "] ]"),
                "sequence[1].layout: no such layout"},
        Refusal{"first layout",
                NecSource("[ [560, -560], [560, -1690] ]", "[ [9000, " + kGroups + "], [9000] ]",
                          "[ {\"layout\": 1}, {\"layout\": 0, \"gap\": 40} ]"),
                "sequence[0].layout: the signal starts with layout 0"},
        Refusal{"single element",
                NecSource("[ [560, -560], [560, -1690] ]", "[ [9000, " + kGroups + "] ]",
                          "[ {\"layout\": 0} ]", "\"repeat\": 0"),
                "sequence: at least two elements"},
        Refusal{"untimed element",
                NecSource("[ [560, -560], [560, -1690] ]", "[ [9000, " + kGroups + "] ]",
                          "[ {\"layout\": 0}, {\"layout\": 0} ]"),
                "sequence[1]: \"gap\" or \"period\""},
        Refusal{"repeat all",
                NecSource("[ [560, -560], [560, -1690] ]", "[ [9000, " + kGroups + "] ]",
                          "[ {\"layout\": 0}, {\"layout\": 0, \"gap\": 40} ]", "\"repeat\": 2"),
                "repeat: must be below the sequence length"},
        Refusal{
            "unknown key",
            NecSource("[ [560, -560], [560, -1690] ]",
                      "[ [9000, -4500, {\"group\": 8}, {\"group\": 8}, 560], [9000, -2250, 560] ]",
                      "[ {\"layout\": 0}, {\"layout\": 1, \"period\": 108} ]",
                      "\"repeat\": 1, \"colour\": 3"),
            "style 0 \"NEC\": style: unknown key \"colour\""},
        Refusal{"reference first",
                NecSource("[ [560, -560], [560, -1690] ]",
                          "[ [9000, {\"reference\": {\"table\": 1, \"slot\": 2}}] ]",
                          "[ {\"layout\": 0}, {\"layout\": 0, \"gap\": 40} ]"),
                "layouts[0][1].reference.slot: refers to a slot that no earlier field"},
        // With 20 µs durations the common step is at most 20 µs, and 3 ms is more steps than one
        // duration byte holds.
        Refusal{"too many steps", NecSource("[ [20, -20], [20, -3000] ]"),
                "symbols[1][1]: 3000 µs is"},
        Refusal{"carrier byte",
                [] {
                    std::string text = NecSource();
                    text.replace(text.find("\"byteA\": 1"), 10, "\"byteA\": 40");
                    return text;
                }(),
                "carrier.byteA: byteA × 7 + divisor"}),
    [](const testing::TestParamInfo<Refusal>& param) {
        std::string name = param.param.what;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

TEST(CodeStyleSource, RefusesTwoStylesOfOneName) {
    std::string one = NecSource();
    const std::string style = one.substr(one.find('['), one.rfind(']') - one.find('[') + 1);
    const std::string two = "{\"styles\": [" + style.substr(1, style.size() - 2) + ", " +
                            style.substr(1, style.size() - 2) + "]}";
    const CodeStyleSource source = CompileCodeStyleSource(two);
    EXPECT_NE(source.error.find("style 1 \"NEC\": name: another style"), std::string::npos)
        << source.error;
}

TEST(CodeStyleSource, TheShippedLibraryCompiles) {
    std::ifstream file(std::string(KV_SOURCE_DIR) + "/styles/QD01.json");
    ASSERT_TRUE(file);
    std::stringstream text;
    text << file.rdbuf();
    const CodeStyleSource source = CompileCodeStyleSource(text.str());
    EXPECT_EQ(source.error, "");
    EXPECT_GE(source.entries.size(), 20u);
    for (const auto& entry : source.entries) {
        EXPECT_FALSE(entry.note.empty()) << entry.style.name << " says nothing of its origin";
    }
}

}  // namespace
}  // namespace kv::codestyle
