#include <gtest/gtest.h>

#include "workflow/KeyStates.h"

namespace kv::workflow {
namespace {

PictureRef Learned(int i) {
    return PictureRef::FromSet(PictureSet::Learned, i);
}
PictureRef Preset(int i) {
    return PictureRef::FromSet(PictureSet::Preset, i);
}

TEST(ShowKeyStates, LaterEntryOfTheSameKeyWins) {
    WindowModel model;
    showKeyStates(model, {"04|1", "04|2"});
    EXPECT_EQ(model.KeyByCode("04")->Picture(), Learned(4));
    EXPECT_FALSE(model.KeyByCode("04")->IsEnable());
    // The face the learned picture replaced was the preset picture.
    EXPECT_EQ(model.KeyByCode("04")->SavedFace(), Preset(4));
}

TEST(ShowKeyStates, DisabledKeysShowTheirStateToo) {
    WindowModel model;
    showKeyStates(model, {"0A|2", "1C|1"});
    EXPECT_EQ(model.KeyByCode("0A")->Picture(), Learned(10));
    EXPECT_EQ(model.KeyByCode("1C")->Picture(), Preset(28));
}

TEST(ShowKeyStates, UnknownCodesLowerCaseAndOddStatesChangeNothing) {
    WindowModel model;
    showKeyStates(model, {"3F|2", "0a|2", "00|7", "0", ""});
    for (const IBtn* key : model.KeyButtons()) {
        EXPECT_EQ(key->Picture(), PictureRef::Design(key->Name())) << key->Name();
        EXPECT_TRUE(key->IsEnable());
    }
}

TEST(KeyStateQueries, HasLearnedKeyLooksForStateTwoOrThree) {
    EXPECT_FALSE(hasLearnedKey({}));
    EXPECT_FALSE(hasLearnedKey({"00|1", "02|1"}));
    EXPECT_TRUE(hasLearnedKey({"00|1", "02|3"}));
    EXPECT_TRUE(hasLearnedKey({"07|2"}));
}

TEST(KeyStateQueries, FindKeyStateSkipsUnwrittenEntries) {
    EXPECT_EQ(FindKeyState({"04|3", "04|2"}, "04"), "04|2");
    EXPECT_EQ(FindKeyState({"04|3"}, "04"), "");
    EXPECT_EQ(FindKeyState({"02|1"}, "04"), "");
}

struct MarkCase {
    KeyStateList before;
    std::string code;
    KeyStateList after;
};

class MarkKeyLearnedTest : public testing::TestWithParam<MarkCase> {};

TEST_P(MarkKeyLearnedTest, KeepsCodeOrder) {
    KeyStateList states = GetParam().before;
    MarkKeyLearned(states, GetParam().code);
    EXPECT_EQ(states, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarkKeyLearnedTest,
    testing::Values(MarkCase{{}, "04", {"04|3"}},
                    MarkCase{{"00|1", "04|2", "07|1"}, "04", {"00|1", "04|3", "07|1"}},
                    MarkCase{{"00|1", "07|1"}, "04", {"00|1", "04|3", "07|1"}},
                    MarkCase{{"00|1", "02|2"}, "07", {"00|1", "02|2", "07|3"}},
                    // Lower-case codes from the table compare by value.
                    MarkCase{{"0a|1", "0B|1"}, "0A", {"0A|3", "0B|1"}}));

TEST(KeyStateEdits, RemoveKeyStateDeletesOnlyTheFirstEntry) {
    KeyStateList states{"02|2", "04|1", "04|2"};
    RemoveKeyState(states, "04");
    EXPECT_EQ(states, (KeyStateList{"02|2", "04|2"}));
    RemoveKeyState(states, "07");
    EXPECT_EQ(states.size(), 2u);
}

TEST(KeyStateEdits, CommitTurnsThreesIntoTwos) {
    KeyStateList states{"00|3", "02|1", "04|3", "07|2"};
    CommitLearnedStates(states);
    EXPECT_EQ(states, (KeyStateList{"00|2", "02|1", "04|2", "07|2"}));
}

TEST(HexReading, AcceptsEitherCaseAndRefusesAnythingElse) {
    EXPECT_EQ(ReadHex("1c"), 28);
    EXPECT_EQ(ReadHex("1C"), 28);
    EXPECT_EQ(ReadHex(""), std::nullopt);
    EXPECT_EQ(ReadHex("0G"), std::nullopt);
    EXPECT_EQ(ReadHex(" 1"), std::nullopt);
    EXPECT_EQ(PictureIndex("7F"), 127);
    EXPECT_EQ(PictureIndex("80"), std::nullopt);
}

}  // namespace
}  // namespace kv::workflow
