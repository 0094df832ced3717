// The two workers against the built-in virtual remote, whose every transfer
// takes its time on the fake clock: a whole 7-second collection runs in a
// moment, and the real remote's locking is exercised under ThreadSanitizer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "device/CodeCollector.h"
#include "device/LinkWatcher.h"
#include "device/VirtualRemote.h"
#include "tests/support/FakeClock.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDispatcher.h"

namespace kv::device {
namespace {

class ThreadsOnVirtualRemoteTest : public ::testing::Test {
  protected:
    ThreadsOnVirtualRemoteTest() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  ("kv-threads-" + std::to_string(getpid()) + "-" + test->name());
        VirtualRemote::Opened opened = VirtualRemote::Open(folder_, clock);
        remote = std::move(opened.remote);
    }
    ~ThreadsOnVirtualRemoteTest() override {
        collector.reset();
        watcher.reset();
        remote.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    bool StartCollecting() {
        return StartCollection(collector, collectControl, CollectorPorts{*remote, clock, ui},
                               [this](std::string collectedCode) {
                                   collector.reset();
                                   collected.push_back(std::move(collectedCode));
                               });
    }

    std::filesystem::path folder_;
    test::FakeClock clock{{10, 15, 0}};
    test::TestDispatcher ui;
    std::unique_ptr<VirtualRemote> remote;
    std::atomic<int> collectControl{kCollectMayRun};
    std::vector<std::string> collected;
    std::unique_ptr<TCollectCode> collector;
    std::unique_ptr<linkstate> watcher;
};

TEST_F(ThreadsOnVirtualRemoteTest, NothingPressedEndsAfterSevenSeconds) {
    ASSERT_NE(remote, nullptr);
    ASSERT_TRUE(StartCollecting());
    ASSERT_TRUE(ui.RunUntil([&] { return !collected.empty(); }));

    EXPECT_EQ(collected, std::vector<std::string>{""});
    EXPECT_EQ(clock.Stamps().back(), (TimeOfDay{10, 15, 7}));
}

TEST_F(ThreadsOnVirtualRemoteTest, PressedRoomKeyIsCapturedWhole) {
    ASSERT_NE(remote, nullptr);
    ASSERT_EQ(remote->PressRoomKey(IrProtocol::Nec, 0x04, 0x08), "");
    ASSERT_TRUE(StartCollecting());
    ASSERT_TRUE(ui.RunUntil([&] { return !collected.empty(); }));

    ASSERT_EQ(collected.front().size(), kCaptureSize);
    EXPECT_NE(collected.front().find("7FFF"), std::string::npos);
    EXPECT_FALSE(remote->InCaptureMode());
    EXPECT_EQ(remote->PendingSignals(), 0u);
}

TEST_F(ThreadsOnVirtualRemoteTest, WatcherSeesAnUnplugAndTheSameRemoteBack) {
    ASSERT_NE(remote, nullptr);
    test::ScriptedDialogs dialogs;
    // The operator plugs the remote back in, then answers Retry.
    dialogs.OnAsk([&](const std::string&) { remote->PlugIn(); });
    dialogs.QueueAnswers({DialogAnswer::Retry});
    struct Window final : LinkWindow {
        void SetText(std::string_view, const std::string& text) override { label = text; }
        void SetVisible(std::string_view, bool visible) override { remoteShown.push_back(visible); }
        void SetEnabled(std::string_view, bool) override {}
        std::string label;
        std::vector<bool> remoteShown;
    } window;
    const std::string identity =
        BasicInfoText(DefaultRemoteIdentity()).substr(0, kRemoteIdentityLength);
    std::vector<LinkWatchEnd> ends;
    watcher = std::make_unique<linkstate>(LinkWatcherPorts{*remote, clock, ui, dialogs, window},
                                          identity, [&](LinkWatchEnd end) { ends.push_back(end); });
    // A collection runs beside the watcher, as while learning.
    ASSERT_TRUE(StartCollecting());

    ASSERT_TRUE(ui.RunUntil([&] { return window.label == kLinkUpText; }));
    remote->Unplug();
    ASSERT_TRUE(ui.RunUntil([&] { return dialogs.Count() == 1; }));
    ASSERT_TRUE(ui.RunUntil([&] { return window.remoteShown.size() == 2 && !collected.empty(); }));

    EXPECT_EQ(window.remoteShown, (std::vector{false, true}));
    EXPECT_EQ(window.label, kLinkUpText);
    EXPECT_TRUE(ends.empty());
    // Ended by the unplug or by its time limit, with nothing pressed.
    EXPECT_EQ(collected, std::vector<std::string>{""});
}

}  // namespace
}  // namespace kv::device
