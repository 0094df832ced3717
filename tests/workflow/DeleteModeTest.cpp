#include <gtest/gtest.h>

#include "tests/workflow/MainWindowFixture.h"
#include "workflow/KeyStateEntries.h"

namespace kv::workflow::testing {
namespace {

// Key 00 paired with key 02, both with entries; key 02's flags as given.
std::string PairedTable(const std::string& secondKeyFlags) {
    return "01"
           "0002"
           "02"
           "00CF"
           "0000"
           "00"
           "1200"
           "01"
           "02" +
           secondKeyFlags +
           "0000"
           "00"
           "1300"
           "01"
           "AABB";
}

class DeleteModeTest : public MainWindowTest {
  protected:
    void StartWith(std::initializer_list<const char*> learned) {
        remote.table = WithLearned(PresetTable(), learned);
        Start();
        dialogs.shown.clear();
    }
};

TEST_F(DeleteModeTest, DeleteModeOnShowsItsLook) {
    StartWith({"00", "07"});
    window->delstudykeyClick();
    EXPECT_TRUE(State().deleteMode);
    EXPECT_TRUE(Model().Image7.Visible());
    for (const Control* panel : {&Model().Image4, &Model().Image5, &Model().Image8}) {
        EXPECT_FALSE(panel->Visible()) << panel->Name();
    }
    EXPECT_EQ(Model().runstate_lab.Text(), "请在左面遥控器上选择待删除的按键！");
    EXPECT_EQ(Model().delstudykey.Picture(), PictureRef::Named("stopdelete"));
}

TEST_F(DeleteModeTest, OnlyLearnedKeysCanBeDeleted) {
    StartWith({"07"});
    window->delstudykeyClick();
    window->KeyButtonClick(Key("04"));  // preset
    window->KeyButtonClick(Key("00"));  // no entry
    EXPECT_EQ(dialogs.shown,
              (std::vector<ShownDialog>{Prompt("该按键还没有自学习过，无法删除！"),
                                        Prompt("该按键还没有自学习过，无法删除！")}));
    EXPECT_FALSE(State().codesDirty);
}

TEST_F(DeleteModeTest, EmptyKeyStatesGiveTheirOwnMessage) {
    remote.table = "0000";
    Start();
    // The watcher may enable the button with nothing learned.
    Model().delstudykey.SetEnabled(true);
    window->delstudykeyClick();
    window->KeyButtonClick(Key("00"));
    EXPECT_EQ(dialogs.shown.back(), Prompt("该键还没有自学习过，无法删除！"));
}

TEST_F(DeleteModeTest, DeletingOneOfTwoWritesWhenDeleteModeEnds) {
    StartWith({"00", "07"});
    const std::string before = State().keyCodeText;
    window->delstudykeyClick();
    dialogs.Answer(DialogAnswer::No);
    window->KeyButtonClick(Key("00"));
    EXPECT_EQ(State().keyCodeText, before);

    dialogs.Answer(DialogAnswer::Yes);
    window->KeyButtonClick(Key("00"));
    EXPECT_TRUE(remote.writes.empty());
    EXPECT_TRUE(State().codesDirty);
    EXPECT_EQ(State().keyCodeText, MergeKeyRecord(before, EmptyKeyRecord("00")));
    EXPECT_EQ(State().keyStates, (KeyStateList{"04|1", "07|2"}));
    EXPECT_EQ(Model().runstate_lab.Text(), "要删除的按键已选定！");
    EXPECT_EQ(Key("00").Picture(), Pic(PictureSet::Normal, 0));
    EXPECT_TRUE(Key("00").IsEnable());
    EXPECT_TRUE(State().deleteMode);

    window->delstudykeyClick();
    ASSERT_EQ(remote.writes.size(), 1u);
    EXPECT_EQ(remote.writes[0], State().keyCodeText);
    EXPECT_EQ(ParseCodeTypeData(remote.writes[0]), (std::vector<std::string>{"04|1", "07|2"}));
    EXPECT_EQ(State().keyCodeWork, State().keyCodeText);
    EXPECT_FALSE(State().codesDirty);
    EXPECT_FALSE(State().deleteMode);
    EXPECT_EQ(Model().runstate_lab.Text(), "删除操作完成！");
    EXPECT_EQ(Model().delstudykey.Picture(), PictureRef::Named("delete"));
    EXPECT_TRUE(Model().Image4.Visible());
    EXPECT_EQ(dialogs.shown, (std::vector<ShownDialog>{
                                 Prompt("你确实要删除该自学习按键的编码？", DialogButtons::YesNo),
                                 Prompt("你确实要删除该自学习按键的编码？", DialogButtons::YesNo),
                                 Prompt("删除操作完成！")}));
}

TEST_F(DeleteModeTest, DeletingTheLastLearnedKeyWritesAtOnceAndLeavesDeleteMode) {
    StartWith({"07"});
    window->delstudykeyClick();
    dialogs.Answer(DialogAnswer::Yes);
    window->KeyButtonClick(Key("07"));
    ASSERT_EQ(remote.writes.size(), 1u);
    EXPECT_EQ(ParseCodeTypeData(remote.writes[0]), std::vector<std::string>{"04|1"});
    EXPECT_FALSE(State().codesDirty);
    ExpectNothingLearnedLook(*window);
    EXPECT_EQ(dialogs.shown.back(), Prompt("删除操作完成！"));
}

TEST_F(DeleteModeTest, FailedDeleteWriteSaysNothingAndClearsThePendingFlag) {
    StartWith({"07"});
    remote.writeSucceeds = false;
    window->delstudykeyClick();
    dialogs.Answer(DialogAnswer::Yes);
    window->KeyButtonClick(Key("07"));
    EXPECT_EQ(remote.writes.size(), 1u);
    EXPECT_EQ(dialogs.shown.size(), 1u);  // the question only
    EXPECT_FALSE(State().codesDirty);
    EXPECT_NE(State().keyCodeWork, State().keyCodeText);
}

TEST_F(DeleteModeTest, OnAndOffWithoutDeletingWritesNothing) {
    StartWith({"07"});
    window->delstudykeyClick();
    window->delstudykeyClick();
    EXPECT_TRUE(remote.writes.empty());
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(Model().runstate_lab.Text(), "");
}

TEST_F(DeleteModeTest, LeavingDeleteModeSendsCodesAFailedLearningWriteLeftPending) {
    StartWith({"07"});
    remote.writeSucceeds = false;
    window->beginstudyibtnClick();
    LearnKey("00");
    dialogs.Answer(DialogAnswer::Yes);
    window->beginstudyibtnClick();
    remote.writeSucceeds = true;
    window->delstudykeyClick();
    window->delstudykeyClick();
    ASSERT_EQ(remote.writes.size(), 2u);
    EXPECT_EQ(remote.writes[1], remote.writes[0]);
    EXPECT_EQ(dialogs.shown.back(), Prompt("删除操作完成！"));
    EXPECT_FALSE(State().codesDirty);
}

TEST_F(DeleteModeTest, ADamagedTableIsLeftAloneAndNotWritten) {
    // The entry of key 07 is readable for its state, but its block offset is not.
    remote.table =
        "0001"
        "07CF"
        "ZZ00"
        "00"
        "0A00"
        "02"
        "1122";
    Start();
    dialogs.shown.clear();
    window->delstudykeyClick();
    dialogs.Answer(DialogAnswer::Yes);
    window->KeyButtonClick(Key("07"));
    EXPECT_EQ(dialogs.shown.back(), Prompt("按键编码表数据有误，未写入遥控器！"));
    EXPECT_EQ(State().keyStates, KeyStateList{"07|2"});
    EXPECT_FALSE(State().codesDirty);
    EXPECT_TRUE(remote.writes.empty());
}

TEST_F(DeleteModeTest, DeletingAPairedKeyAlsoDropsItsPartnersTableEntry) {
    remote.table = PairedTable("80");
    Start();
    ASSERT_EQ(State().keyStates, KeyStateList{"00|2"});
    window->delstudykeyClick();
    dialogs.Answer(DialogAnswer::Yes);
    window->KeyButtonClick(Key("00"));
    ASSERT_EQ(remote.writes.size(), 1u);
    EXPECT_EQ(remote.writes[0], "0000");
}

TEST_F(DeleteModeTest, APartnerKeysLearnedStateOutlivesItsTableEntry) {
    // Both keys hold learned codes, so both have states.
    remote.table = PairedTable("CF");
    Start();
    ASSERT_EQ(State().keyStates, (KeyStateList{"00|2", "02|2"}));
    window->delstudykeyClick();
    dialogs.Answer(DialogAnswer::Yes);
    window->KeyButtonClick(Key("00"));
    // The table loses the pair and both entries; the window still counts 02
    // as learned, so delete mode stays on and nothing is written yet.
    EXPECT_EQ(State().keyCodeText, "0000");
    EXPECT_EQ(State().keyStates, KeyStateList{"02|2"});
    EXPECT_TRUE(State().deleteMode);
    EXPECT_TRUE(State().codesDirty);
    EXPECT_TRUE(remote.writes.empty());
    EXPECT_EQ(Model().delstudykey.Picture(), PictureRef::Named("stopdelete"));
    EXPECT_TRUE(Model().Image7.Visible());
}

}  // namespace
}  // namespace kv::workflow::testing
