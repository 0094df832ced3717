#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/CaseName.h"
#include "tests/workflow/MainWindowFixture.h"
#include "workflow/MainWindowTexts.h"

namespace kv::workflow::testing {
namespace {

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

TEST_F(MainWindowTest, StartShowsTheIdleWindow) {
    Start();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(State().identifyFailed);
    EXPECT_EQ(State().appDir, "/opt/kvlearn/");
    EXPECT_EQ(threads.watcherStarts, 1);
    EXPECT_EQ(threads.watcherIdentity, std::string("REMOTE-1") + std::string(22, '\0'));
    EXPECT_EQ(pictures.calls, (std::vector<std::string>{"open", "load", "close"}));
    EXPECT_EQ(ReadFile(AnimationFile()), "GIF89a-movie");
    EXPECT_EQ(Model().lab_softver.Text(), "V 2.2");
    EXPECT_EQ(Model().lab_gjbb.Text(), " 2.0");
    EXPECT_EQ(Model().lab_ykqtype.Text(), "KV R207A");
    EXPECT_EQ(Model().Memo1.Lines(), std::vector<std::string>{PresetTable()});
    EXPECT_EQ(Model().Imagehint.Picture(), PictureRef::Named("gifquillon"));
    EXPECT_EQ(Key("04").Picture(), Pic(PictureSet::Preset, 4));
    // Nothing learned: the delete button is grey and the empty panel shows.
    EXPECT_FALSE(Model().delstudykey.Enabled());
    EXPECT_EQ(Model().delstudykey.Picture(), PictureRef::Named("deletehui"));
    EXPECT_TRUE(Model().Image8.Visible());
    for (const Control* panel : {&Model().Image4, &Model().Image5, &Model().Image7}) {
        EXPECT_FALSE(panel->Visible()) << panel->Name();
    }
}

TEST_F(MainWindowTest, StartWithALearnedKeyOffersDeleting) {
    remote.table = WithLearned(PresetTable(), {"07"});
    Start();
    EXPECT_EQ(State().keyStates, (KeyStateList{"04|1", "07|2"}));
    EXPECT_TRUE(Model().delstudykey.Enabled());
    EXPECT_EQ(Model().delstudykey.Picture(), PictureRef::Named("delete"));
    EXPECT_TRUE(Model().Image4.Visible());
    EXPECT_FALSE(Model().Image8.Visible());
    EXPECT_EQ(Key("07").Picture(), Pic(PictureSet::Learned, 7));
    EXPECT_FALSE(Key("07").IsEnable());
}

TEST_F(MainWindowTest, RefusedIdentificationClosesAtShowAndTouchesNothing) {
    remote.connected = false;
    dialogs.Answer(DialogAnswer::Cancel);
    WriteFile(AnimationFile(), "left from before");
    Create();
    EXPECT_TRUE(State().identifyFailed);
    EXPECT_FALSE(Model().Closed());
    window->FormShow();
    EXPECT_TRUE(Model().Closed());
    EXPECT_EQ(dialogs.shown, (std::vector<ShownDialog>{Prompt("未检测到遥控器，请检查USB连接线",
                                                              DialogButtons::RetryCancel)}));
    EXPECT_EQ(threads.watcherStarts, 0);
    EXPECT_TRUE(pictures.calls.empty());
    EXPECT_TRUE(remote.writes.empty());
    EXPECT_EQ(ReadFile(AnimationFile()), "left from before");
}

TEST_F(MainWindowTest, PicturesThatFailToLoadCloseTheWindowWithoutWriting) {
    pictures.setsLoad = false;
    Start();
    EXPECT_EQ(dialogs.shown, (std::vector<ShownDialog>{Prompt("调用图片出错！")}));
    EXPECT_TRUE(State().identifyFailed);
    EXPECT_TRUE(Model().Closed());
    // The watcher started before the pictures is asked to stop by the close.
    EXPECT_EQ(threads.watcherStarts, 1);
    EXPECT_EQ(threads.watcherStops, 1);
    // The animation was extracted before the failure and stays.
    EXPECT_TRUE(std::filesystem::exists(AnimationFile()));
    EXPECT_EQ(pictures.calls.back(), "close");
}

TEST_F(MainWindowTest, MissingAnimationDoesNotStopTheStart) {
    WriteFile(AnimationFile(), "old movie");
    pictures.animation.clear();
    Start();
    EXPECT_FALSE(Model().Closed());
    EXPECT_FALSE(std::filesystem::exists(AnimationFile()));
}

struct ScreenCase {
    int width;
    int height;
    bool complains;
};

class ScreenCheckTest : public MainWindowTest, public ::testing::WithParamInterface<ScreenCase> {};

TEST_P(ScreenCheckTest, OnlyTheWidthDecides) {
    display.width = GetParam().width;
    display.height = GetParam().height;
    display.mode0 = DisplayMode{0x5C0000, 800, 600, 60};
    display.current = DisplayMode{0x5C0000, 1024, 768, 60};
    Start();
    if (!GetParam().complains) {
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_TRUE(display.applied.empty());
        return;
    }
    EXPECT_EQ(dialogs.shown, (std::vector<ShownDialog>{Prompt(
                                 "你目前的显示器分辨率是" + std::to_string(GetParam().width) + "*" +
                                 std::to_string(GetParam().height) +
                                 "\r\n为了运行该软件，你的显示器分辨率至少要1024*768")}));
    EXPECT_EQ(display.readModes, std::vector<int>{0});
    ASSERT_EQ(display.applied.size(), 2u);
    EXPECT_EQ(display.applied[0].first, (DisplayMode{0x180000, 1024, 768, 60}));
    EXPECT_EQ(display.applied[0].second, 0u);
    EXPECT_EQ(display.applied[1].first, (DisplayMode{0x5C0000, 1024, 768, 90}));
    EXPECT_EQ(display.applied[1].second, 1u);
}

INSTANTIATE_TEST_SUITE_P(Widths, ScreenCheckTest,
                         ::testing::Values(ScreenCase{1023, 768, true},
                                           ScreenCase{1024, 600, false},
                                           ScreenCase{800, 1200, true},
                                           ScreenCase{1280, 200, false}));

TEST_F(MainWindowTest, ScreenCheckSkipsTheSwitchWhenModeZeroCannotBeRead) {
    display.width = 1023;
    Start();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(display.applied.empty());
    EXPECT_FALSE(Model().Closed());
}

TEST_F(MainWindowTest, CloseWhileLearningIsRefusedOnlyWithTheRemoteConnected) {
    Start();
    window->beginstudyibtnClick();
    window->IBtn79Click();
    EXPECT_FALSE(Model().Closed());
    EXPECT_FALSE(State().closing);
    EXPECT_EQ(dialogs.shown,
              (std::vector<ShownDialog>{Prompt("你正在学习，要退出系统请先停止学习！")}));
    EXPECT_EQ(threads.watcherStops, 0);

    remote.connected = false;
    window->IBtn79Click();
    EXPECT_TRUE(Model().Closed());
    EXPECT_TRUE(State().closing);
    EXPECT_EQ(threads.watcherStops, 1);
}

TEST_F(MainWindowTest, NormalCloseRemovesTheAnimationFile) {
    Start();
    window->IBtn79Click();
    EXPECT_TRUE(Model().Closed());
    EXPECT_FALSE(std::filesystem::exists(AnimationFile()));
    EXPECT_EQ(animation.calls, std::vector<std::string>{"stop"});
    EXPECT_TRUE(remote.writes.empty());
}

TEST_F(MainWindowTest, CloseWithUnwrittenCodesAsksAndWrites) {
    Start();
    window->beginstudyibtnClick();
    LearnKey("00");
    remote.connected = false;  // learning on, but unplugged: the close goes on
    dialogs.Answer(DialogAnswer::Yes);
    window->IBtn79Click();
    EXPECT_TRUE(Model().Closed());
    ASSERT_EQ(remote.writes.size(), 1u);
    EXPECT_EQ(remote.writes[0], State().keyCodeWork);
    EXPECT_EQ(dialogs.shown.back(), Prompt("自学习操作完成！"));
}

TEST_F(MainWindowTest, FailedWriteThenCloseAsksAgain) {
    Start();
    LearnAndFailToWrite("00");
    EXPECT_TRUE(State().codesDirty);
    EXPECT_EQ(State().keyStates, (KeyStateList{"00|2", "04|1"}));

    dialogs.Answer(DialogAnswer::Yes);
    window->IBtn79Click();
    EXPECT_EQ(remote.writes.size(), 2u);
    EXPECT_EQ(remote.writes[1], remote.writes[0]);
    EXPECT_EQ(std::count(dialogs.shown.begin(), dialogs.shown.end(),
                         Prompt("你是否确认本次自学习的按键？", DialogButtons::YesNo)),
              2);
}

TEST_F(MainWindowTest, WatcherEndClosesTheWindowUnlessAlreadyClosing) {
    Start();
    threads.watcherEnded(device::LinkWatchEnd::OperatorClose);
    EXPECT_TRUE(Model().Closed());

    MainWindowTest::window.reset();
    Start();
    window->IBtn79Click();
    threads.watcherEnded(device::LinkWatchEnd::StopRequested);
    EXPECT_TRUE(Model().Closed());
    EXPECT_EQ(animation.calls, (std::vector<std::string>{"stop", "stop"}));
}

const ShownDialog kOtherRemoteNotWritten =
    Prompt("连接的是另一个遥控器，本次自学习的按键编码未写入遥控器！");

TEST_F(MainWindowTest, AnotherRemoteEndsLearningAndGetsNoneOfItsCodes) {
    Start();
    window->beginstudyibtnClick();
    LearnKey("00");
    dialogs.shown.clear();
    // The other remote is connected, and learning is on: the close goes on
    // all the same, since the remote it learned for is gone.
    threads.watcherEnded(device::LinkWatchEnd::OtherRemote);
    EXPECT_TRUE(Model().Closed());
    EXPECT_TRUE(State().closing);
    EXPECT_EQ(dialogs.shown, std::vector<ShownDialog>{kOtherRemoteNotWritten});
    EXPECT_TRUE(remote.writes.empty());
}

TEST_F(MainWindowTest, AnotherRemoteWithNothingLearnedClosesSilently) {
    Start();
    window->beginstudyibtnClick();
    threads.watcherEnded(device::LinkWatchEnd::OtherRemote);
    EXPECT_TRUE(Model().Closed());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainWindowTest, CodesLeftByAFailedWriteNeverReachAnotherRemote) {
    Start();
    LearnAndFailToWrite("00");
    ASSERT_TRUE(State().codesDirty);
    dialogs.shown.clear();

    threads.watcherEnded(device::LinkWatchEnd::OtherRemote);
    EXPECT_TRUE(Model().Closed());
    EXPECT_EQ(dialogs.shown, std::vector<ShownDialog>{kOtherRemoteNotWritten});
    EXPECT_EQ(remote.writes.size(), 1u);
}

// How the confirmation of a learning run comes on screen.
struct ConfirmationCase {
    const char* name;
    bool unplugged;  // the close is only let through while learning when unplugged
    void (Tmainlernix::*action)();
};

class ConfirmationTest : public MainWindowTest,
                         public ::testing::WithParamInterface<ConfirmationCase> {};

TEST_P(ConfirmationTest, AnotherRemoteFoundMeanwhileGetsNoWrite) {
    Start();
    window->beginstudyibtnClick();
    LearnKey("00");
    remote.connected = !GetParam().unplugged;
    dialogs.shown.clear();
    // The question's own event loop runs the watcher's end before the
    // operator answers Yes.
    dialogs.whileShown = [this](const std::string& text) {
        if (text == "你是否确认本次自学习的按键？") {
            threads.watcherEnded(device::LinkWatchEnd::OtherRemote);
        }
    };
    dialogs.Answer(DialogAnswer::Yes);
    (*window.*GetParam().action)();
    EXPECT_TRUE(Model().Closed());
    EXPECT_TRUE(remote.writes.empty());
    EXPECT_EQ(dialogs.shown, (std::vector<ShownDialog>{
                                 Prompt("你是否确认本次自学习的按键？", DialogButtons::YesNo),
                                 kOtherRemoteNotWritten}));
    EXPECT_TRUE(State().codesDirty);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, ConfirmationTest,
    ::testing::Values(ConfirmationCase{"StopLearning", false, &Tmainlernix::beginstudyibtnClick},
                      ConfirmationCase{"CloseUnplugged", true, &Tmainlernix::IBtn79Click}),
    test::CaseName());

TEST_F(MainWindowTest, UpdateButtonAnswersWithAPlainMessageInEveryState) {
    Start();
    window->updateibtnClick();
    window->beginstudyibtnClick();
    window->updateibtnClick();
    EXPECT_EQ(dialogs.shown, (std::vector<ShownDialog>{Plain("您的程序是最新的，不许更新！"),
                                                       Plain("您的程序是最新的，不许更新！")}));
}

TEST_F(MainWindowTest, DestroyingTheWindowReleasesTheWorkers) {
    Start();
    window.reset();
    EXPECT_EQ(threads.releases, 1);
}

}  // namespace
}  // namespace kv::workflow::testing
