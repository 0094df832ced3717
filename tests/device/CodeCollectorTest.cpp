#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "device/CodeCollector.h"
#include "tests/support/CaseName.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeRemote.h"
#include "tests/support/TestDispatcher.h"

namespace kv::device {
namespace {

using namespace std::chrono_literals;

// A short capture; the remote fills the rest of its buffer with zero bytes.
const std::string kCaptureWords = "81000300820021002100";

class CodeCollectorTest : public ::testing::Test {
  protected:
    bool Start() {
        // As the window's end handler does first: the slot is free again.
        return StartCollection(collector, collectControl, CollectorPorts{remote, clock, ui},
                               [this](std::string collectedCode) {
                                   collector.reset();
                                   collected.push_back(std::move(collectedCode));
                                   endThreads.push_back(std::this_thread::get_id());
                               });
    }

    void RunToEnd() {
        ASSERT_TRUE(ui.RunUntil([&] { return !collected.empty(); }));
        ASSERT_EQ(collected.size(), 1u);
    }

    test::FakeRemote remote;
    test::FakeClock clock{{10, 15, 0}};
    test::TestDispatcher ui;
    std::atomic<int> collectControl{kCollectMayRun};
    std::vector<std::string> collected;
    std::vector<std::thread::id> endThreads;
    // Last: goes first, while everything it uses is still there.
    std::unique_ptr<TCollectCode> collector;
};

struct EndCase {
    const char* name;
    std::function<void(test::FakeRemote&, std::atomic<int>&)> arrange;
    int captureModeCalls;
    int polls;
    int linkChecks;
    // Time-of-day stamps taken, the start stamp included.
    int looks;
    bool captured;
};

class CollectionEndTest : public CodeCollectorTest,
                          public ::testing::WithParamInterface<EndCase> {};

TEST_P(CollectionEndTest, EndsAndHandsOverWhatItCaptured) {
    const EndCase& c = GetParam();
    c.arrange(remote, collectControl);
    ASSERT_TRUE(Start());
    RunToEnd();

    EXPECT_EQ(remote.CaptureModeCalls(), c.captureModeCalls);
    EXPECT_EQ(remote.CapturePolls(), c.polls);
    EXPECT_EQ(remote.LinkStateCalls(), c.linkChecks);
    EXPECT_EQ(clock.Stamps().size(), static_cast<std::size_t>(c.looks));
    // Polls follow each other back to back.
    EXPECT_TRUE(clock.Pauses().empty());
    EXPECT_EQ(endThreads, std::vector{std::this_thread::get_id()});
    EXPECT_EQ(collector, nullptr);
    const std::string& collectedCode = collected.front();
    if (!c.captured) {
        EXPECT_EQ(collectedCode, "");
        return;
    }
    // The whole buffer, one character per byte, trailing zeros included.
    ASSERT_EQ(collectedCode.size(), kCaptureSize);
    EXPECT_EQ(collectedCode.substr(0, kCaptureWords.size()), kCaptureWords);
    EXPECT_EQ(std::count(collectedCode.begin(), collectedCode.end(), '\0'),
              static_cast<long>(kCaptureSize - kCaptureWords.size()));
}

// Asks for the stop from inside the n-th call, as the UI thread would
// while that call is under way.
std::function<void()> StopDuringCall(std::atomic<int>& collectControl, int n,
                                     int stopValue = kCollectMustStop) {
    auto calls = std::make_shared<int>(0);
    return [&collectControl, calls, n, stopValue] {
        if (++*calls == n) {
            collectControl.store(stopValue);
        }
    };
}

INSTANTIATE_TEST_SUITE_P(
    Ends, CollectionEndTest,
    ::testing::Values(
        // The start stamp is taken before capture mode is asked for.
        EndCase{"CaptureModeRefused",
                [](test::FakeRemote& remote, auto&) { remote.SetCaptureModeResult(false); }, 1, 0,
                0, 1, false},
        // The stop is looked at before the time.
        EndCase{"StopBeforeTheFirstPoll",
                [](test::FakeRemote& remote, std::atomic<int>& control) {
                    remote.OnCaptureMode(StopDuringCall(control, 1));
                },
                1, 0, 0, 1, false},
        EndCase{"StopBetweenPolls",
                [](test::FakeRemote& remote, std::atomic<int>& control) {
                    remote.OnCapturePoll(StopDuringCall(control, 3));
                },
                1, 3, 3, 4, false},
        EndCase{"AnyValueAboveStopAlsoStops",
                [](test::FakeRemote& remote, std::atomic<int>& control) {
                    remote.OnCapturePoll(StopDuringCall(control, 1, kCollectMustStop + 1));
                },
                1, 1, 1, 2, false},
        EndCase{"FirstPollCaptures",
                [](test::FakeRemote& remote, auto&) { remote.QueueCapture(kCaptureWords); }, 1, 1,
                0, 2, true},
        EndCase{"CaptureAfterEmptyPolls",
                [](test::FakeRemote& remote, auto&) {
                    remote.QueueEmptyPolls(3);
                    remote.QueueCapture(kCaptureWords);
                },
                1, 4, 3, 5, true},
        EndCase{"UnpluggedAfterAnEmptyPoll",
                [](test::FakeRemote& remote, auto&) {
                    remote.ScriptLinkStates({true, false});
                },
                1, 2, 2, 3, false}),
    test::CaseName());

struct TimeLimitCase {
    const char* name;
    TimeOfDay start;
    std::chrono::milliseconds pastTheSecond;
    std::chrono::milliseconds pollDuration;
    int polls;
    TimeOfDay endingLook;
    // How long entering capture mode takes.
    std::chrono::milliseconds captureModeDuration = 0ms;
};

class TimeLimitTest : public CodeCollectorTest,
                      public ::testing::WithParamInterface<TimeLimitCase> {};

TEST_P(TimeLimitTest, EndsAtTheFirstLookMoreThanSixWholeSecondsOn) {
    const TimeLimitCase& c = GetParam();
    clock.Set(c.start, c.pastTheSecond);
    remote.OnCaptureMode([&] { clock.Advance(c.captureModeDuration); });
    remote.OnCapturePoll([&] { clock.Advance(c.pollDuration); });
    ASSERT_TRUE(Start());
    RunToEnd();

    EXPECT_EQ(collected.front(), "");
    EXPECT_EQ(remote.CapturePolls(), c.polls);
    const auto stamps = clock.Stamps();
    ASSERT_FALSE(stamps.empty());
    EXPECT_EQ(stamps.front(), c.start);
    EXPECT_EQ(stamps.back(), c.endingLook);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, TimeLimitTest,
    ::testing::Values(
        // Polls at :59 and :00 to :05; the look at :06 ends it.
        TimeLimitCase{"LastSecondOfAMinute", {10, 15, 59}, 0ms, 1000ms, 7, {10, 16, 6}},
        TimeLimitCase{"FirstSecondOfAMinute", {10, 15, 0}, 0ms, 1000ms, 7, {10, 15, 7}},
        TimeLimitCase{"AcrossAnHour", {10, 59, 59}, 0ms, 1000ms, 7, {11, 0, 6}},
        TimeLimitCase{"AcrossMidnight", {23, 59, 58}, 0ms, 1000ms, 7, {0, 0, 5}},
        // Whole seconds of the stamps count, not the time since the start.
        TimeLimitCase{"ManyPollsPerSecond", {10, 15, 59}, 0ms, 400ms, 18, {10, 16, 6}},
        TimeLimitCase{"LateInTheStartSecond", {23, 59, 58}, 900ms, 400ms, 16, {0, 0, 5}},
        // The limit runs from before capture mode was entered.
        TimeLimitCase{"SlowCaptureModeCounts", {10, 15, 0}, 0ms, 1000ms, 3, {10, 15, 7}, 4000ms},
        TimeLimitCase{
            "CaptureModeOutlastsTheLimit", {10, 15, 0}, 0ms, 1000ms, 0, {10, 15, 7}, 7000ms}),
    test::CaseName());

TEST_F(CodeCollectorTest, EndHandlerWaitsForTheUiLoop) {
    remote.QueueCapture(kCaptureWords);
    ASSERT_TRUE(Start());
    // The only task a collector queues is its end.
    ASSERT_TRUE(ui.WaitForTask());
    EXPECT_TRUE(collected.empty());
    EXPECT_NE(collector, nullptr);

    ASSERT_TRUE(ui.RunOne());
    EXPECT_EQ(collected.size(), 1u);
}

TEST_F(CodeCollectorTest, AtMostOneCollectorRuns) {
    ASSERT_TRUE(Start());
    TCollectCode* const first = collector.get();
    // Learning switched off, then a key clicked before the first has ended.
    collectControl.store(kCollectMustStop);
    EXPECT_FALSE(Start());
    EXPECT_EQ(collector.get(), first);
    EXPECT_EQ(collectControl.load(), kCollectMustStop);

    RunToEnd();
    EXPECT_EQ(collected.front(), "");
    remote.QueueCapture(kCaptureWords);
    ASSERT_TRUE(Start());
    EXPECT_EQ(collectControl.load(), kCollectMayRun);
    ASSERT_TRUE(ui.RunUntil([&] { return collected.size() == 2; }));
    EXPECT_EQ(collected.back().size(), kCaptureSize);
}

TEST_F(CodeCollectorTest, DestroyedWhileRunningStopsAndNeverEnds) {
    ASSERT_TRUE(Start());
    collector.reset();
    ui.RunPending();

    EXPECT_TRUE(collected.empty());
    // It stopped on its own teardown, not through the window's flag.
    EXPECT_EQ(collectControl.load(), kCollectMayRun);
}

}  // namespace
}  // namespace kv::device
