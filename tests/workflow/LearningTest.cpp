#include <gtest/gtest.h>

#include "tests/workflow/MainWindowFixture.h"
#include "workflow/CaptureText.h"
#include "workflow/KeyStateEntries.h"

namespace kv::workflow::testing {
namespace {

class LearningTest : public MainWindowTest {
  protected:
    void SetUp() override {
        remote.table = WithLearned(PresetTable(), {"07"});
        Start();
        dialogs.shown.clear();
    }
    void LearningOn() { window->beginstudyibtnClick(); }
};

TEST_F(LearningTest, KeyClickWhileIdleOnlyAsksToStartLearning) {
    window->KeyButtonClick(Key("00"));
    EXPECT_EQ(dialogs.shown, std::vector<ShownDialog>{Prompt("请先点击开始学习按钮！")});
    EXPECT_TRUE(State().keyQueue.empty());
    EXPECT_EQ(threads.collectorStarts, 0);
}

TEST_F(LearningTest, DisabledKeysIgnoreClicks) {
    LearningOn();
    window->KeyButtonClick(Key("01"));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(State().keyQueue.empty());
}

TEST_F(LearningTest, LearningOnShowsTheLearningLook) {
    LearningOn();
    EXPECT_TRUE(State().studyMode);
    EXPECT_FALSE(Model().beginstudyibtn.IsEnable());
    EXPECT_EQ(Model().beginstudyibtn.Picture(), PictureRef::Design("beginstudyibtn.stop"));
    EXPECT_EQ(Model().Imagehint.Picture(), PictureRef::Named("jpgjingtai"));
    EXPECT_EQ(Model().runstate_lab.Text(), "请在左面遥控器上点击待学习的按键！");
    EXPECT_TRUE(Model().Image5.Visible());
    EXPECT_FALSE(Model().Image4.Visible());
    EXPECT_FALSE(Model().Image7.Visible());
    EXPECT_FALSE(Model().Image8.Visible());
}

TEST_F(LearningTest, ClickingAKeyStartsCollectingIt) {
    LearningOn();
    window->KeyButtonClick(Key("04"));
    EXPECT_TRUE(dialogs.shown.empty());  // a preset key is learned without asking
    EXPECT_EQ(Key("04").Picture(), Pic(PictureSet::Selected, 4));
    EXPECT_EQ(Model().runstate_lab.Text(), "准备学习TV/ VOL+按键， 请发码");
    EXPECT_FALSE(Model().Imagehint.Visible());
    EXPECT_TRUE(Model().donghuaflash2.Visible());
    EXPECT_EQ(animation.calls.back(), "play");
    EXPECT_TRUE(animation.playing);
    EXPECT_EQ(State().keyQueue, std::vector<IBtn*>{&Key("04")});
    EXPECT_EQ(threads.collectorStarts, 1);
    EXPECT_EQ(threads.control->load(), kCollectMayRun);
}

TEST_F(LearningTest, SecondKeyWhileCollectingNamesTheFirstTwice) {
    LearningOn();
    window->KeyButtonClick(Key("04"));
    window->KeyButtonClick(Key("00"));
    EXPECT_EQ(dialogs.shown, std::vector<ShownDialog>{Prompt(
                                 "TV/ VOL+按键正在学习，要停止TV/ VOL+按键,请点击停止学习按钮")});
    EXPECT_EQ(State().keyQueue.size(), 1u);
    EXPECT_EQ(threads.collectorStarts, 1);
}

TEST_F(LearningTest, LearnedKeyAsksBeforeLearningAgain) {
    LearningOn();
    dialogs.Answer(DialogAnswer::No);
    window->KeyButtonClick(Key("07"));
    EXPECT_EQ(dialogs.shown, std::vector<ShownDialog>{Prompt(
                                 "TV/  VOL-键编码已学习过，要重新学习吗?", DialogButtons::YesNo)});
    EXPECT_EQ(Key("07").Picture(), Pic(PictureSet::Learned, 7));
    EXPECT_TRUE(State().keyQueue.empty());

    dialogs.Answer(DialogAnswer::Yes);
    window->KeyButtonClick(Key("07"));
    EXPECT_TRUE(Key("07").IsEnable());
    EXPECT_EQ(Key("07").Picture(), Pic(PictureSet::Selected, 7));
    EXPECT_EQ(State().keyQueue.size(), 1u);
}

TEST_F(LearningTest, CaptureIsEncodedMergedAndMarked) {
    LearningOn();
    window->KeyButtonClick(Key("00"));
    threads.EndCollection(RawCapture());

    const std::string captureText = CaptureToHex(RawCapture());
    ASSERT_EQ(captureText, "12512001B013A0070FEFE0014EDED");
    EXPECT_EQ(encoder.bodies, std::vector<std::string>{"001B013A0070FEFE0014EDED"});
    EXPECT_EQ(encoder.keyCodes, std::vector<int>{0});
    EXPECT_EQ(encoder.lastAppDir, "/opt/kvlearn/");
    EXPECT_EQ(State().keyCodeWork, MergeKeyRecord(State().keyCodeText, KeyRecord("00")));
    EXPECT_TRUE(State().codesDirty);
    EXPECT_EQ(State().keyStates, (KeyStateList{"00|3", "04|1", "07|2"}));
    EXPECT_TRUE(State().keyStateBackups.empty());
    EXPECT_EQ(dialogs.shown, std::vector<ShownDialog>{Prompt("已接收到遥控器编码！")});
    EXPECT_EQ(Model().runstate_lab.Text(), "TV/POWER键已接收遥控器编码！");
    EXPECT_EQ(Key("00").Picture(), Pic(PictureSet::Learned, 0));
    EXPECT_FALSE(Model().donghuaflash2.Visible());
    EXPECT_TRUE(Model().Imagehint.Visible());
    EXPECT_EQ(Model().Imagehint.Picture(), PictureRef::Named("gifquillon"));
    EXPECT_TRUE(State().keyQueue.empty());
    EXPECT_EQ(Model().Memo2.Lines(), (std::vector<std::string>{RawCapture(), KeyRecord("00")}));
    // Nothing reaches the remote before learning is switched off.
    EXPECT_TRUE(remote.writes.empty());
}

TEST_F(LearningTest, RelearningKeepsTheOldStateAsBackup) {
    LearningOn();
    dialogs.Answer(DialogAnswer::Yes);
    LearnKey("07");
    EXPECT_EQ(State().keyStateBackups, KeyStateList{"07|2"});
    EXPECT_EQ(State().keyStates, (KeyStateList{"04|1", "07|3"}));
}

TEST_F(LearningTest, NoCaptureAsksToPickTheKeyAgain) {
    LearningOn();
    LearnKey("04", "");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(Model().runstate_lab.Text(), "请重新选择按键进行学习！");
    EXPECT_EQ(Model().Imagehint.Picture(), PictureRef::Named("jpgjingtai"));
    EXPECT_TRUE(Model().Imagehint.Visible());
    EXPECT_FALSE(Model().donghuaflash2.Visible());
    EXPECT_EQ(Key("04").Picture(), Pic(PictureSet::Preset, 4));
    EXPECT_TRUE(State().keyQueue.empty());
    EXPECT_FALSE(State().codesDirty);
    EXPECT_TRUE(encoder.bodies.empty());
}

TEST_F(LearningTest, UnrecognisedCodeIsNotMergedAndTheKeyLeavesTheQueue) {
    encoder.reply = nullptr;
    LearningOn();
    dialogs.Answer(DialogAnswer::Yes);
    LearnKey("07");
    EXPECT_EQ(dialogs.shown.back(), Prompt("TV/  VOL-键的遥控器编码无法识别，请重新学习该按键！"));
    EXPECT_EQ(State().keyCodeWork, State().keyCodeText);
    EXPECT_FALSE(State().codesDirty);
    EXPECT_EQ(State().keyStates, (KeyStateList{"04|1", "07|2"}));
    EXPECT_TRUE(State().keyQueue.empty());
    // The key shows its state again, with its face swapped as before.
    EXPECT_EQ(Key("07").Picture(), Pic(PictureSet::Learned, 7));
    EXPECT_FALSE(Key("07").IsEnable());
}

TEST_F(LearningTest, BrokenCaptureIsNotRecognisedWithoutAskingAnyone) {
    converter.installed = true;
    LearningOn();
    LearnKey("00", std::string(device::kCaptureSize, 'Z'));
    EXPECT_EQ(dialogs.shown.back(), Prompt("TV/POWER键的遥控器编码无法识别，请重新学习该按键！"));
    EXPECT_TRUE(encoder.bodies.empty());
    EXPECT_TRUE(converter.requests.empty());
    EXPECT_FALSE(State().codesDirty);
}

TEST_F(LearningTest, ConverterIsAskedWhenNoStyleFits) {
    encoder.reply = nullptr;
    converter.installed = true;
    converter.reply = KeyRecord("04");
    LearningOn();
    LearnKey("04");
    const std::string captureText = CaptureToHex(RawCapture());
    const std::string request = "#99|0104\r\n0:按钮0:{X=310,Y=120}|" + captureText + "\r\n";
    EXPECT_EQ(converter.requests, std::vector<std::string>{request});
    EXPECT_EQ(Model().Memo2.Lines(),
              (std::vector<std::string>{RawCapture(), captureText, request, request,
                                        KeyRecord("04"), KeyRecord("04")}));
    EXPECT_EQ(State().keyStates, (KeyStateList{"04|3", "07|2"}));
    EXPECT_EQ(State().keyStateBackups, KeyStateList{"04|1"});
}

TEST_F(LearningTest, ConverterRequestDropsAGlitchBeforeTheFirstFrame) {
    encoder.reply = nullptr;
    converter.installed = true;
    LearningOn();
    // A 2-frame capture whose first frame is a lone 27 µs mark.
    std::string raw = "81007FFF0100" + RawCapture().substr(0, 100);
    raw.resize(device::kCaptureSize, '\0');
    LearnKey("00", raw);
    ASSERT_EQ(converter.requests.size(), 1u);
    const std::string captureText = CaptureToHex(raw);
    ASSERT_EQ(captureText.substr(0, 21), "22512001BFEFE000BEDED");
    EXPECT_EQ(converter.requests[0], "#99|0100\r\n0:按钮0:{X=310,Y=120}|1" +
                                         captureText.substr(1, 4) + captureText.substr(21) +
                                         "\r\n");
}

TEST_F(LearningTest, ConverterReplyForAnotherKeyIsNotTaken) {
    encoder.reply = nullptr;
    converter.installed = true;
    converter.reply = KeyRecord("02");
    LearningOn();
    LearnKey("04");
    EXPECT_EQ(dialogs.shown.back(), Prompt("TV/ VOL+键的遥控器编码无法识别，请重新学习该按键！"));
    EXPECT_FALSE(State().codesDirty);
}

TEST_F(LearningTest, StoppingWhileCollectingGivesTheKeyBackAndDropsALateCapture) {
    LearningOn();
    window->KeyButtonClick(Key("04"));
    window->beginstudyibtnClick();
    EXPECT_FALSE(State().studyMode);
    EXPECT_EQ(threads.control->load(), kCollectMustStop);
    EXPECT_TRUE(State().keyQueue.empty());
    EXPECT_EQ(Key("04").Picture(), Pic(PictureSet::Preset, 4));
    EXPECT_TRUE(Model().beginstudyibtn.IsEnable());
    EXPECT_EQ(Model().beginstudyibtn.Picture(), PictureRef::Design("beginstudyibtn"));
    EXPECT_EQ(Model().runstate_lab.Text(), "");
    EXPECT_TRUE(dialogs.shown.empty());  // nothing learned: no question

    threads.EndCollection(RawCapture());
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(State().codesDirty);
    EXPECT_TRUE(encoder.bodies.empty());
}

TEST_F(LearningTest, KeyQueuedBeforeTheStoppedCollectionEndedMustBeClickedAgain) {
    LearningOn();
    window->KeyButtonClick(Key("04"));
    window->beginstudyibtnClick();
    LearningOn();
    window->KeyButtonClick(Key("00"));
    EXPECT_EQ(threads.collectorStarts, 1);  // the old one still runs
    // Its capture was the old key's: dropped, and the new key asked again.
    threads.EndCollection(RawCapture());
    EXPECT_EQ(Model().runstate_lab.Text(), "请重新选择按键进行学习！");
    EXPECT_TRUE(State().keyQueue.empty());
    EXPECT_FALSE(State().codesDirty);

    LearnKey("00");
    EXPECT_EQ(threads.collectorStarts, 2);
    EXPECT_EQ(State().keyStates[0], "00|3");
}

TEST_F(LearningTest, StopAfterTwoKeysConfirmedWritesOneTableWithBoth) {
    LearningOn();
    LearnKey("00");
    LearnKey("02");
    dialogs.Answer(DialogAnswer::Yes);
    window->beginstudyibtnClick();
    ASSERT_EQ(remote.writes.size(), 1u);
    EXPECT_EQ(remote.writes[0], State().keyCodeWork);
    EXPECT_EQ(State().keyCodeText, State().keyCodeWork);
    EXPECT_EQ(ParseCodeTypeData(remote.writes[0]),
              (std::vector<std::string>{"00|2", "02|2", "04|1", "07|2"}));
    EXPECT_EQ(State().keyStates, (KeyStateList{"00|2", "02|2", "04|1", "07|2"}));
    EXPECT_FALSE(State().codesDirty);
    EXPECT_EQ(dialogs.shown, (std::vector<ShownDialog>{
                                 Prompt("已接收到遥控器编码！"), Prompt("已接收到遥控器编码！"),
                                 Prompt("你是否确认本次自学习的按键？", DialogButtons::YesNo),
                                 Prompt("自学习操作完成！")}));
    EXPECT_EQ(Model().runstate_lab.Text(), "自学习操作完成！");
    EXPECT_TRUE(Model().Image4.Visible());
    EXPECT_FALSE(Model().Image5.Visible());
}

TEST_F(LearningTest, DeclineThrowsTheRunAwayAndRestoresPictures) {
    LearningOn();
    LearnKey("00");
    dialogs.Answer(DialogAnswer::Yes);
    LearnKey("07");
    const std::string before = State().keyCodeText;
    dialogs.Answer(DialogAnswer::No);
    window->beginstudyibtnClick();
    EXPECT_TRUE(remote.writes.empty());
    EXPECT_EQ(State().keyCodeWork, before);
    EXPECT_FALSE(State().codesDirty);
    // The new key has no entry and its normal face; the re-learned key is
    // still learned in the remote, so it keeps its entry, its learned picture
    // and can be deleted.
    EXPECT_EQ(State().keyStates, (KeyStateList{"04|1", "07|2"}));
    EXPECT_EQ(Key("00").Picture(), Pic(PictureSet::Normal, 0));
    EXPECT_EQ(Key("07").Picture(), Pic(PictureSet::Learned, 7));
    EXPECT_TRUE(Model().delstudykey.Enabled());
    EXPECT_EQ(Model().delstudykey.Picture(), PictureRef::Named("delete"));
    EXPECT_TRUE(Model().Image4.Visible());
    EXPECT_FALSE(Model().Image8.Visible());
}

TEST_F(LearningTest, DeclineGivesARelearnedPresetKeyItsPresetStateBack) {
    LearningOn();
    LearnKey("04");
    dialogs.Answer(DialogAnswer::No);
    window->beginstudyibtnClick();
    EXPECT_EQ(State().keyStates, (KeyStateList{"04|1", "07|2"}));
    EXPECT_EQ(Key("04").Picture(), Pic(PictureSet::Preset, 4));
}

TEST_F(LearningTest, FailedWriteKeepsTheCodesPending) {
    remote.writeSucceeds = false;
    LearningOn();
    LearnKey("00");
    dialogs.Answer(DialogAnswer::Yes);
    window->beginstudyibtnClick();
    EXPECT_EQ(remote.writes.size(), 1u);
    EXPECT_EQ(dialogs.shown.back(), Prompt("完成自学习操作失败！"));
    EXPECT_EQ(Model().runstate_lab.Text(), "自学习操作失败！");
    EXPECT_TRUE(State().codesDirty);
    EXPECT_EQ(State().keyCodeText, State().keyCodeWork);
    EXPECT_EQ(State().keyStates[0], "00|2");
}

TEST_F(LearningTest, ButtonsRefuseWhileTheOtherModeIsOn) {
    LearningOn();
    window->delstudykeyClick();
    EXPECT_EQ(dialogs.shown.back(), Prompt("现在正在学习状态，要删除请先停止学习！"));
    EXPECT_FALSE(State().deleteMode);
    window->beginstudyibtnClick();

    window->delstudykeyClick();
    window->beginstudyibtnClick();
    EXPECT_EQ(dialogs.shown.back(), Prompt("现在在删除状态，要学习请先停止删除！"));
    EXPECT_FALSE(State().studyMode);
    EXPECT_TRUE(State().deleteMode);
}

TEST_F(LearningTest, DeleteClickWhileCollectingKeepsCollecting) {
    LearningOn();
    window->KeyButtonClick(Key("04"));
    window->delstudykeyClick();
    EXPECT_EQ(dialogs.shown.back(), Prompt("现在正在学习状态，要删除请先停止学习！"));
    EXPECT_FALSE(State().deleteMode);
    EXPECT_EQ(State().keyQueue, std::vector<IBtn*>{&Key("04")});
    EXPECT_TRUE(threads.CollectionRuns());
    EXPECT_EQ(threads.control->load(), kCollectMayRun);
    EXPECT_TRUE(Model().Image5.Visible());
    EXPECT_FALSE(Model().Image7.Visible());
}

}  // namespace
}  // namespace kv::workflow::testing
