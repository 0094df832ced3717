#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "device/LinkWatcher.h"
#include "tests/support/CaseName.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeRemote.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDispatcher.h"

namespace kv::device {
namespace {

using namespace std::chrono_literals;
using test::ShownDialog;

// Exactly the 30 characters that identify the remote.
const std::string kIdentity = "KV R207A identity 000000000001";
const std::string kBasicInfo = kIdentity + "|0202|0A";

std::string Text(std::string_view control, const std::string& text) {
    return std::string(control) + " = " + text;
}
std::string Visible(std::string_view control, bool visible) {
    return std::string(control) + (visible ? " shown" : " hidden");
}
std::string Enabled(std::string_view control, bool enabled) {
    return std::string(control) + (enabled ? " enabled" : " disabled");
}

const std::string kUp = Text(kUsbStateLabel, kLinkUpText);
const std::string kDown = Text(kUsbStateLabel, kLinkDownText);
const std::vector<std::string> kKeysTakenAway = {
    Visible(kRemoteBox, false), Enabled(kBeginStudyButton, false), Enabled(kDeleteButton, false)};
const std::vector<std::string> kKeysGivenBack = {
    Visible(kRemoteBox, true), Enabled(kBeginStudyButton, true), Enabled(kDeleteButton, true)};

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

ShownDialog ReconnectPrompt(DialogAnswer answer) {
    return {kReconnectPrompt, kPromptCaption, DialogButtons::RetryCancel, answer};
}
ShownDialog CloseProgramPrompt(DialogAnswer answer) {
    return {kCloseProgramPrompt, kPromptCaption, DialogButtons::OkCancel, answer};
}

// The window as the watcher changes it, one line per operation.
class RecordingWindow final : public LinkWindow {
  public:
    void SetText(std::string_view control, const std::string& text) override {
        Record(Text(control, text));
    }
    void SetVisible(std::string_view control, bool visible) override {
        Record(Visible(control, visible));
    }
    void SetEnabled(std::string_view control, bool enabled) override {
        Record(Enabled(control, enabled));
    }
    // Told of every operation as it happens.
    void OnOperation(std::function<void(const std::string&)> hook) { onOperation_ = hook; }
    const std::vector<std::string>& Log() const { return log_; }
    bool Saw(const std::string& line) const {
        return std::find(log_.begin(), log_.end(), line) != log_.end();
    }

  private:
    void Record(std::string line) {
        log_.push_back(line);
        if (onOperation_) {
            onOperation_(line);
        }
    }

    std::vector<std::string> log_;
    std::function<void(const std::string&)> onOperation_;
};

class LinkWatcherTest : public ::testing::Test {
  protected:
    LinkWatcherTest() { remote.SetBasicInfo(kBasicInfo); }

    void StartWatching() {
        watcher = std::make_unique<linkstate>(LinkWatcherPorts{remote, clock, ui, dialogs, window},
                                              kIdentity, [this](LinkWatchEnd end) {
                                                  ends.push_back(end);
                                                  endThreads.push_back(std::this_thread::get_id());
                                              });
    }

    // Steps the watcher until it is about to ask its reconnect question
    // (the question itself waits in the queue, not yet shown).
    void RunToFirstPrompt() {
        ASSERT_TRUE(ui.RunUntil([&] { return window.Saw(kKeysTakenAway.back()); }));
        ASSERT_TRUE(ui.WaitForTask());
        ASSERT_EQ(dialogs.Count(), 0u);
    }

    test::FakeRemote remote;
    test::FakeClock clock;
    test::TestDispatcher ui;
    test::ScriptedDialogs dialogs;
    RecordingWindow window;
    std::vector<LinkWatchEnd> ends;
    std::vector<std::thread::id> endThreads;
    // Last: goes first, while everything it uses is still there.
    std::unique_ptr<linkstate> watcher;
};

TEST_F(LinkWatcherTest, ConnectedRemoteIsShownUntilTheStopRequest) {
    StartWatching();
    ASSERT_TRUE(ui.RunUntil([&] { return window.Log().size() == 3; }));
    watcher->RequestStop();
    ASSERT_TRUE(ui.RunUntil([&] { return !ends.empty(); }));

    EXPECT_EQ(ends, std::vector{LinkWatchEnd::StopRequested});
    EXPECT_EQ(endThreads, std::vector{std::this_thread::get_id()});
    for (const std::string& line : window.Log()) {
        EXPECT_EQ(line, kUp);
    }
    EXPECT_EQ(dialogs.Count(), 0u);
    EXPECT_EQ(remote.BasicInfoReads(), 0);
    for (const auto pause : clock.Pauses()) {
        EXPECT_EQ(pause, kLinkPollInterval);
    }
}

TEST_F(LinkWatcherTest, UnplugShowsTheLossTakesTheKeysAwayAndAsksToReconnect) {
    remote.ScriptLinkStates({true, false});
    dialogs.QueueAnswers({DialogAnswer::Retry});
    StartWatching();
    ASSERT_TRUE(ui.RunUntil([&] { return dialogs.Count() == 1; }));

    EXPECT_EQ(window.Log(), Join({{kUp, kDown}, kKeysTakenAway}));
    EXPECT_EQ(dialogs.Shown(), std::vector{ReconnectPrompt(DialogAnswer::Retry)});
    EXPECT_EQ(clock.Pauses(), (std::vector{kLinkPollInterval, kLinkPollInterval}));
    EXPECT_TRUE(ends.empty());
}

struct RemoteBackCase {
    const char* name;
    std::string basicInfo;
    bool readFails;
    bool sameRemote;
};

class RemoteBackTest : public LinkWatcherTest,
                       public ::testing::WithParamInterface<RemoteBackCase> {};

TEST_P(RemoteBackTest, SameRemoteGetsItsKeysBackAnotherEndsTheWatcher) {
    const RemoteBackCase& c = GetParam();
    remote.SetBasicInfo(c.basicInfo);
    remote.SetBasicInfoFails(c.readFails);
    remote.ScriptLinkStates({true, false, true});
    dialogs.QueueAnswers({DialogAnswer::Retry});
    StartWatching();
    ASSERT_TRUE(ui.RunUntil([&] { return !ends.empty() || window.Saw(kKeysGivenBack.back()); }));

    EXPECT_EQ(remote.BasicInfoReads(), 1);
    // The identity is checked before the pass's pause: another remote ends
    // the watcher without it.
    EXPECT_EQ(clock.Pauses().size(), c.sameRemote ? 3u : 2u);
    if (c.sameRemote) {
        // The delete button comes back even though the watcher knows of no
        // learned key.
        EXPECT_EQ(window.Log(), Join({{kUp, kDown}, kKeysTakenAway, {kUp}, kKeysGivenBack}));
        EXPECT_TRUE(ends.empty());
    } else {
        // The keys stay hidden: the window is about to close.
        EXPECT_EQ(window.Log(), Join({{kUp, kDown}, kKeysTakenAway, {kUp}}));
        EXPECT_EQ(ends, std::vector{LinkWatchEnd::OtherRemote});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reconnection, RemoteBackTest,
    ::testing::Values(
        RemoteBackCase{"Same", kBasicInfo, false, true},
        RemoteBackCase{"SameIdentityOtherVersion", kIdentity + "|0303|0B", false, true},
        RemoteBackCase{"Another", "KV R207A identity 000000000002|0202|0A", false, false},
        RemoteBackCase{"ShorterIdentity", "KV R207A identity 00000000000", false, false},
        RemoteBackCase{"Unreadable", kBasicInfo, true, false}),
    test::CaseName());

struct PromptCase {
    const char* name;
    std::vector<ShownDialog> dialogs;
    std::optional<LinkWatchEnd> end;
};

class PromptAnswerTest : public LinkWatcherTest,
                         public ::testing::WithParamInterface<PromptCase> {};

TEST_P(PromptAnswerTest, AnswersWhileUnplugged) {
    const PromptCase& c = GetParam();
    remote.SetConnected(false);
    for (const ShownDialog& dialog : c.dialogs) {
        dialogs.QueueAnswers({dialog.answer});
    }
    StartWatching();
    ASSERT_TRUE(
        ui.RunUntil([&] { return c.end ? !ends.empty() : dialogs.Count() == c.dialogs.size(); }));

    EXPECT_EQ(dialogs.Shown(), c.dialogs);
    if (c.end) {
        EXPECT_EQ(ends, std::vector{*c.end});
    } else {
        EXPECT_TRUE(ends.empty());
    }
    // Each reconnect question belongs to a pass of its own.
    const auto reconnects = std::count_if(c.dialogs.begin(), c.dialogs.end(),
                                          [](const auto& d) { return d.text == kReconnectPrompt; });
    EXPECT_EQ(std::count(window.Log().begin(), window.Log().end(), kDown), reconnects);
}

INSTANTIATE_TEST_SUITE_P(
    Prompts, PromptAnswerTest,
    ::testing::Values(
        PromptCase{"RetryAsksAgainNextPass",
                   {ReconnectPrompt(DialogAnswer::Retry), ReconnectPrompt(DialogAnswer::Retry)},
                   std::nullopt},
        PromptCase{"CancelThenOkCloses",
                   {ReconnectPrompt(DialogAnswer::Cancel), CloseProgramPrompt(DialogAnswer::Ok)},
                   LinkWatchEnd::OperatorClose},
        PromptCase{"CancelThenCancelAsksAgainNextPass",
                   {ReconnectPrompt(DialogAnswer::Cancel), CloseProgramPrompt(DialogAnswer::Cancel),
                    ReconnectPrompt(DialogAnswer::Retry)},
                   std::nullopt}),
    test::CaseName());

// The texts are spelt out here, leading spaces included, rather than taken
// from the watcher's own constants.
struct PassOrderCase {
    const char* name;
    std::vector<bool> linkStates;
    std::string basicInfo;
    std::vector<DialogAnswer> answers;
    // Run until the watcher ends, else until the keys are given back.
    bool untilEnd;
    std::vector<std::string> steps;
};

class PassOrderTest : public LinkWatcherTest,
                      public ::testing::WithParamInterface<PassOrderCase> {};

TEST_P(PassOrderTest, StepsOfEachPassInOrder) {
    const PassOrderCase& c = GetParam();
    remote.ScriptLinkStates(c.linkStates);
    remote.SetBasicInfo(c.basicInfo);
    dialogs.QueueAnswers(c.answers);
    // Window operations and questions as the UI thread ran them, with the
    // pauses the watcher took in between.
    std::vector<std::string> steps;
    std::size_t pausesSeen = 0;
    auto note = [&](const std::string& step) {
        for (const std::size_t pauses = clock.Pauses().size(); pausesSeen < pauses; ++pausesSeen) {
            steps.emplace_back("pause 200");
        }
        steps.push_back(step);
    };
    window.OnOperation(note);
    dialogs.OnAsk([&](const std::string& text) { note("ask " + text); });
    StartWatching();
    ASSERT_TRUE(ui.RunUntil(
        [&] { return c.untilEnd ? !ends.empty() : window.Saw(kKeysGivenBack.back()); }));

    EXPECT_EQ(steps, c.steps);
    // No pause after the last step: the watcher is held at its next label,
    // or has ended.
    EXPECT_EQ(clock.Pauses().size(), pausesSeen);
    for (const auto pause : clock.Pauses()) {
        EXPECT_EQ(pause, 200ms);
    }
    for (const ShownDialog& shown : dialogs.Shown()) {
        EXPECT_EQ(shown.caption, "提示");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Passes, PassOrderTest,
    ::testing::Values(
        PassOrderCase{
            "SameRemoteBack",
            {true, false, true},
            kBasicInfo,
            {DialogAnswer::Retry},
            false,
            {"lab_usbstate =  遥控器连接正常", "pause 200", "lab_usbstate =  遥控器连接断开",
             "pause 200", "ykqbox hidden", "beginstudyibtn disabled", "delstudykey disabled",
             "ask 未检测到遥控器，请重新连接遥控器！", "lab_usbstate =  遥控器连接正常",
             "pause 200", "ykqbox shown", "beginstudyibtn enabled", "delstudykey enabled"}},
        PassOrderCase{"OtherRemoteBack",
                      {false, true},
                      "KV R207A identity 000000000002",
                      {DialogAnswer::Retry},
                      true,
                      {"lab_usbstate =  遥控器连接断开", "pause 200", "ykqbox hidden",
                       "beginstudyibtn disabled", "delstudykey disabled",
                       "ask 未检测到遥控器，请重新连接遥控器！", "lab_usbstate =  遥控器连接正常"}},
        PassOrderCase{"CancelThenOk",
                      {false},
                      kBasicInfo,
                      {DialogAnswer::Cancel, DialogAnswer::Ok},
                      true,
                      {"lab_usbstate =  遥控器连接断开", "pause 200", "ykqbox hidden",
                       "beginstudyibtn disabled", "delstudykey disabled",
                       "ask 未检测到遥控器，请重新连接遥控器！", "ask 您需要关闭自学习软件吗！"}}),
    test::CaseName());

TEST_F(LinkWatcherTest, StopRequestedDuringAPromptIsSeenAfterTheAnswer) {
    remote.SetConnected(false);
    dialogs.QueueAnswers({DialogAnswer::Retry});
    StartWatching();
    RunToFirstPrompt();

    watcher->RequestStop();
    ASSERT_TRUE(ui.RunUntil([&] { return !ends.empty(); }));

    EXPECT_EQ(dialogs.Shown(), std::vector{ReconnectPrompt(DialogAnswer::Retry)});
    EXPECT_EQ(ends, std::vector{LinkWatchEnd::StopRequested});
    // No further pass after the answer.
    EXPECT_EQ(remote.LinkStateCalls(), 1);
    EXPECT_EQ(window.Log(), Join({{kDown}, kKeysTakenAway}));
}

TEST_F(LinkWatcherTest, DestroyedWhileItsPromptWaitsInTheQueue) {
    remote.SetConnected(false);
    StartWatching();
    RunToFirstPrompt();

    // The UI thread joins while the watcher waits for it: this must return.
    watcher.reset();
    ui.RunPending();

    EXPECT_EQ(dialogs.Count(), 0u);
    EXPECT_TRUE(ends.empty());
}

TEST_F(LinkWatcherTest, DestroyedWhileItsPromptIsOnScreen) {
    remote.SetConnected(false);
    dialogs.QueueAnswers({DialogAnswer::Cancel});
    // The window closes inside the message box's own event loop.
    dialogs.OnAsk([&](const std::string&) { watcher.reset(); });
    StartWatching();
    ASSERT_TRUE(ui.RunUntil([&] { return watcher == nullptr; }));
    ui.RunPending();

    EXPECT_EQ(dialogs.Shown(), std::vector{ReconnectPrompt(DialogAnswer::Cancel)});
    // The answer went nowhere: no close question, no end handler.
    EXPECT_TRUE(ends.empty());
    EXPECT_EQ(window.Log(), Join({{kDown}, kKeysTakenAway}));
}

}  // namespace
}  // namespace kv::device
