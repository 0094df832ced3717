#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>

#include "device/SignalSynthesiser.h"
#include "device/VirtualRemote.h"
#include "tests/support/TestDispatcher.h"
#include "tests/workflow/MainWindowFixture.h"
#include "workflow/DeviceWorkerThreads.h"
#include "workflow/KeyCodeTable.h"
#include "workflow/KeyStateEntries.h"
#include "workflow/LibraryKeyRecordEncoder.h"
#include "workflow/MainWindow.h"

namespace kv::workflow::testing {
namespace {

using device::IrProtocol;

// A clock that stands still: these scenarios are about the operator's work,
// not about time limits, so however many passes the link watcher makes, a
// collection can never run out of time before it polls.
class StillClock final : public device::Clock {
  public:
    device::TimeOfDay Now() override { return {10, 15, 0}; }
    void Pause(std::chrono::milliseconds) override {}
};

// The virtual remote as the window reaches it, counting the table writes
// (they come from the UI thread only).
class WriteCountingRemote final : public device::RemoteDevice {
  public:
    explicit WriteCountingRemote(device::RemoteDevice& remote) : remote_(remote) {}
    bool link_state() override { return remote_.link_state(); }
    bool RBasicInfo(char* buffer) override { return remote_.RBasicInfo(buffer); }
    bool RCodeTypeDataKVhotel(char* buffer) override {
        return remote_.RCodeTypeDataKVhotel(buffer);
    }
    bool SetCodeCarrierWave() override { return remote_.SetCodeCarrierWave(); }
    bool RCollectCodeInfo(char* buffer) override { return remote_.RCollectCodeInfo(buffer); }
    bool WCodeDataKVHOTEL(const char* text) override {
        ++writes;
        return remote_.WCodeDataKVHOTEL(text);
    }
    int writes = 0;

  private:
    device::RemoteDevice& remote_;
};

// The room's own TV remote: NEC, address 0x20.
constexpr std::uint32_t kRoomTvAddress = 0x20;
constexpr std::uint32_t kRoomPower = 0x0C;
constexpr std::uint32_t kRoomVolumeUp = 0x10;

const ShownDialog kCodeReceived = Prompt("已接收到遥控器编码！");
const ShownDialog kConfirmLearning = Prompt("你是否确认本次自学习的按键？", DialogButtons::YesNo);

// The whole program on the virtual remote: the real link watcher and
// collector threads, the real encoder with the code-style library the build
// compiles, the remote's flash in a temporary folder that outlives a restart.
// Only the dialogs, pictures, screen and animation are fakes. The test's own
// thread is the UI thread: it runs the workers' window work through the
// dispatcher.
class VirtualRemoteScenarioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static int counter = 0;
        folder_ = std::filesystem::temp_directory_path() /
                  ("kv-scenario-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(ProgramFolder());
        std::error_code error;
        std::filesystem::copy_file(KV_STYLE_LIBRARY_FILE, ProgramFolder() / "QD01.csl", error);
        ASSERT_FALSE(error) << "the build's code-style library " << KV_STYLE_LIBRARY_FILE << ": "
                            << error.message();
        OpenRemote();
        factoryFlash_ = remote_->FlashText();
    }
    void TearDown() override {
        CloseWindow();
        remote_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::filesystem::path ProgramFolder() const { return folder_ / "program"; }

    void OpenRemote() {
        auto opened = device::VirtualRemote::Open(folder_ / "remote", clock_);
        ASSERT_TRUE(opened.remote) << opened.error;
        remote_ = std::move(opened.remote);
        device_ = std::make_unique<WriteCountingRemote>(*remote_);
    }

    Tmainlernix& StartWindow() {
        threads_ = std::make_unique<DeviceWorkerThreads>(*device_, clock_, dispatcher_, dialogs);
        MainWindowPorts ports{*device_,   dialogs,    pictures_, display_,
                              animation_, converter_, encoder_,  *threads_};
        window = std::make_unique<Tmainlernix>(
            ports, MainWindowSettings{ProgramFolder().string() + "/", folder_ / "888.gif", {}});
        window->FormCreate();
        window->FormShow();
        EXPECT_FALSE(window->State().identifyFailed);
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

    // The program ends, and starts again later on the same remote.
    void Restart() {
        CloseWindow();
        remote_.reset();
        OpenRemote();
        dialogs.shown.clear();
        StartWindow();
    }

    // Runs the workers' window work until `done` holds; false when it never
    // does (a bound, since the watcher keeps sending work for ever).
    template <typename Done>
    bool Pump(Done done) {
        constexpr int kMostTasks = 100000;
        for (int task = 0; task < kMostTasks && !done(); ++task) {
            if (!dispatcher_.RunOne()) {
                return false;
            }
        }
        return done();
    }

    // The room remote's key is pressed at the learning remote, and the
    // window's key clicked: the collection runs until its end is handled.
    void Learn(const char* code, std::uint32_t command) {
        ASSERT_EQ(remote_->PressRoomKey(IrProtocol::Nec, kRoomTvAddress, command), "");
        window->KeyButtonClick(Key(code));
        ASSERT_TRUE(Pump([this] { return !window->State().collectorRunning; }));
        ASSERT_FALSE(dialogs.shown.empty());
        ASSERT_EQ(dialogs.shown.back(), kCodeReceived) << "learning " << code;
    }

    // Both keys learned and confirmed, then a restart: the remote holds two
    // learned codes when the window comes up.
    void StartWithTwoLearnedKeys() {
        StartWindow();
        window->beginstudyibtnClick();
        Learn("00", kRoomPower);
        Learn("04", kRoomVolumeUp);
        dialogs.Answer(DialogAnswer::Yes);
        window->beginstudyibtnClick();
        ASSERT_EQ(dialogs.shown.back(), Prompt("自学习操作完成！"));
        Restart();
        ASSERT_EQ(window->State().keyStates,
                  (KeyStateList{"00|2", "02|1", "04|2", "0A|1", "0B|1"}));
        device_->writes = 0;
    }

    IBtn& Key(const char* code) { return *window->Model().KeyByCode(code); }
    const MainWindowState& State() const { return window->State(); }
    WindowModel& Model() { return window->Model(); }

    std::string Flash() const { return remote_->FlashText(); }
    KeyStateList FlashStates() const {
        return ParseCodeTypeData(Flash()).value_or(KeyStateList{"unreadable"});
    }
    int Writes() const { return device_->writes; }

    // The key record the window encoded for a key, from its capture log.
    std::string LearnedRecord(const std::string& code) {
        for (const std::string& line : Model().Memo2.Lines()) {
            if (line.starts_with("0001" + code + "C7")) {
                return line;
            }
        }
        return {};
    }

    // The second part of a key's entry in the flash, or none.
    std::optional<std::string> StoredSecondPart(const std::string& code) const {
        const std::string flash = Flash();
        const auto image = ReadKeyCodeTable(flash);
        if (!image) {
            return std::nullopt;
        }
        for (const KeyCodeTableEntry& entry : image->entries) {
            if (entry.code == code) {
                return flash.substr(2 * static_cast<std::size_t>(entry.secondOffset),
                                    2 * static_cast<std::size_t>(entry.secondLength));
            }
        }
        return std::nullopt;
    }

    static std::string SecondPartOf(const std::string& record) {
        const auto firstLength = std::stoul(record.substr(12, 2), nullptr, 16);
        const auto secondLength = std::stoul(record.substr(18, 2), nullptr, 16);
        return record.substr(20 + 2 * firstLength, 2 * secondLength);
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<Tmainlernix> window;
    std::unique_ptr<device::VirtualRemote> remote_;
    std::string factoryFlash_;

  private:
    std::filesystem::path folder_;
    StillClock clock_;
    test::TestDispatcher dispatcher_;
    std::unique_ptr<WriteCountingRemote> device_;
    std::unique_ptr<DeviceWorkerThreads> threads_;
    FakePictures pictures_;
    FakeDisplayModes display_;
    FakeAnimation animation_;
    NoExternalConverter converter_;
    LibraryKeyRecordEncoder encoder_;
};

TEST_F(VirtualRemoteScenarioTest, LearnTwoKeysConfirmAndFindThemAfterARestart) {
    StartWindow();
    window->beginstudyibtnClick();
    Learn("00", kRoomPower);
    Learn("04", kRoomVolumeUp);
    EXPECT_EQ(dialogs.shown, (std::vector<ShownDialog>{kCodeReceived, kCodeReceived}));
    EXPECT_EQ(State().keyStates, (KeyStateList{"00|3", "02|1", "04|3", "0A|1", "0B|1"}));
    // Learned, not yet written.
    EXPECT_EQ(Writes(), 0);
    EXPECT_EQ(Flash(), factoryFlash_);

    const std::string power = LearnedRecord("00");
    const std::string volumeUp = LearnedRecord("04");
    ASSERT_FALSE(power.empty());
    ASSERT_FALSE(volumeUp.empty());
    EXPECT_NE(SecondPartOf(power), SecondPartOf(volumeUp));

    dialogs.Answer(DialogAnswer::Yes);
    window->beginstudyibtnClick();
    EXPECT_EQ(dialogs.shown.back(), Prompt("自学习操作完成！"));
    EXPECT_EQ(Writes(), 1);
    EXPECT_EQ(Flash(), State().keyCodeText);
    EXPECT_EQ(FlashStates(), (KeyStateList{"00|2", "02|1", "04|2", "0A|1", "0B|1"}));
    EXPECT_EQ(StoredSecondPart("00"), SecondPartOf(power));
    EXPECT_EQ(StoredSecondPart("04"), SecondPartOf(volumeUp));

    Restart();
    EXPECT_EQ(State().keyStates, (KeyStateList{"00|2", "02|1", "04|2", "0A|1", "0B|1"}));
    for (const char* code : {"00", "04"}) {
        EXPECT_EQ(Key(code).Picture(), PictureRef::FromSet(PictureSet::Learned, std::stoi(code)))
            << code;
        EXPECT_FALSE(Key(code).IsEnable()) << code;
    }
    EXPECT_TRUE(Model().delstudykey.Enabled());
    EXPECT_TRUE(Model().Image4.Visible());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(VirtualRemoteScenarioTest, DecliningLeavesEverythingAsBefore) {
    StartWindow();
    const KeyStateList statesBefore = State().keyStates;
    const std::string tableBefore = State().keyCodeText;
    const PictureRef powerBefore = Key("00").Picture();
    const PictureRef volumeBefore = Key("04").Picture();

    window->beginstudyibtnClick();
    Learn("00", kRoomPower);
    Learn("04", kRoomVolumeUp);
    dialogs.Answer(DialogAnswer::No);
    window->beginstudyibtnClick();

    EXPECT_EQ(dialogs.shown.back(), kConfirmLearning);
    EXPECT_EQ(Writes(), 0);
    EXPECT_EQ(Flash(), factoryFlash_);
    EXPECT_FALSE(State().codesDirty);
    // The run's entries go and each key is again what the remote holds.
    EXPECT_EQ(State().keyStates, statesBefore);
    EXPECT_EQ(State().keyCodeText, tableBefore);
    EXPECT_EQ(State().keyCodeWork, tableBefore);
    EXPECT_EQ(Key("00").Picture(), powerBefore);
    EXPECT_EQ(Key("04").Picture(), volumeBefore);
    EXPECT_FALSE(Model().delstudykey.Enabled());

    Restart();
    EXPECT_EQ(State().keyStates, statesBefore);
}

TEST_F(VirtualRemoteScenarioTest, FailedWriteIsOfferedAgainWhenClosing) {
    StartWindow();
    window->beginstudyibtnClick();
    Learn("00", kRoomPower);
    remote_->SetFailing(device::RemoteOperation::TableWrite, true);
    dialogs.Answer(DialogAnswer::Yes);
    window->beginstudyibtnClick();
    EXPECT_EQ(dialogs.shown.back(), Prompt("完成自学习操作失败！"));
    EXPECT_EQ(Model().runstate_lab.Text(), "自学习操作失败！");
    EXPECT_EQ(Writes(), 1);
    EXPECT_EQ(Flash(), factoryFlash_);
    EXPECT_TRUE(State().codesDirty);
    EXPECT_EQ(State().keyStates, (KeyStateList{"00|2", "02|1", "04|1", "0A|1", "0B|1"}));

    remote_->SetFailing(device::RemoteOperation::TableWrite, false);
    dialogs.Answer(DialogAnswer::Yes);
    window->IBtn79Click();
    EXPECT_TRUE(Model().Closed());
    EXPECT_EQ(std::count(dialogs.shown.begin(), dialogs.shown.end(), kConfirmLearning), 2);
    EXPECT_EQ(dialogs.shown.back(), Prompt("自学习操作完成！"));
    EXPECT_EQ(Writes(), 2);
    EXPECT_EQ(FlashStates(), (KeyStateList{"00|2", "02|1", "04|1", "0A|1", "0B|1"}));
}

TEST_F(VirtualRemoteScenarioTest, DeletingOneOfTwoWritesOnceWhenDeleteModeEnds) {
    ASSERT_NO_FATAL_FAILURE(StartWithTwoLearnedKeys());
    window->delstudykeyClick();
    dialogs.Answer(DialogAnswer::Yes);
    window->KeyButtonClick(Key("00"));
    EXPECT_EQ(Writes(), 0);
    EXPECT_TRUE(State().deleteMode);
    EXPECT_EQ(State().keyStates, (KeyStateList{"02|1", "04|2", "0A|1", "0B|1"}));
    EXPECT_EQ(Key("00").Picture(), PictureRef::FromSet(PictureSet::Normal, 0));

    window->delstudykeyClick();
    EXPECT_EQ(Writes(), 1);
    EXPECT_EQ(dialogs.shown.back(), Prompt("删除操作完成！"));
    EXPECT_EQ(Flash(), State().keyCodeText);
    EXPECT_EQ(FlashStates(), (KeyStateList{"02|1", "04|2", "0A|1", "0B|1"}));
    EXPECT_TRUE(Model().delstudykey.Enabled());
    EXPECT_TRUE(Model().Image4.Visible());
}

TEST_F(VirtualRemoteScenarioTest, DeletingTheLastLearnedKeyWritesAtOnce) {
    ASSERT_NO_FATAL_FAILURE(StartWithTwoLearnedKeys());
    window->delstudykeyClick();
    dialogs.Answer(DialogAnswer::Yes);
    window->KeyButtonClick(Key("04"));
    dialogs.Answer(DialogAnswer::Yes);
    window->KeyButtonClick(Key("00"));

    EXPECT_EQ(Writes(), 1);
    EXPECT_EQ(dialogs.shown.back(), Prompt("删除操作完成！"));
    EXPECT_EQ(FlashStates(), (KeyStateList{"02|1", "0A|1", "0B|1"}));
    EXPECT_FALSE(State().codesDirty);
    ExpectNothingLearnedLook(*window);
}

TEST_F(VirtualRemoteScenarioTest, AnotherRemotePluggedInWhileLearningClosesWithoutWriting) {
    StartWindow();
    window->beginstudyibtnClick();
    Learn("00", kRoomPower);
    // Ours is unplugged; while the reconnect prompt is up another remote is
    // plugged in, and the operator answers Retry.
    device::RemoteIdentity other = device::DefaultRemoteIdentity();
    other.identity = "KV R207A VIRTUAL 000002";
    dialogs.whileShown = [this, other](const std::string& text) {
        if (text == device::kReconnectPrompt) {
            remote_->PlugInAs(other);
        }
    };
    dialogs.Answer(DialogAnswer::Retry);
    remote_->Unplug();
    ASSERT_TRUE(Pump([this] { return Model().Closed(); }));

    EXPECT_EQ(dialogs.shown,
              (std::vector<ShownDialog>{
                  kCodeReceived, Prompt(device::kReconnectPrompt, DialogButtons::RetryCancel),
                  Prompt("连接的是另一个遥控器，本次自学习的按键编码未写入遥控器！")}));
    EXPECT_EQ(Writes(), 0);
    EXPECT_EQ(Flash(), factoryFlash_);
}

}  // namespace
}  // namespace kv::workflow::testing
