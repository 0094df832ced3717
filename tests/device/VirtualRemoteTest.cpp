#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "device/FactoryTable.h"
#include "device/RemoteDevice.h"
#include "device/VirtualRemote.h"
#include "tests/support/CaseName.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TemporaryFolder.h"
#include "workflow/CaptureText.h"
#include "workflow/KeyCodeTable.h"
#include "workflow/KeyStateEntries.h"

namespace kv::device {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// The bytes of a read, up to the first zero: what the remote actually sent.
std::string UpToFirstZero(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

// A table with one learned key 00, built as the program's merge lays it out:
// pair count 0, one entry, a 4-byte first block at 10 and a 2-byte second at 14.
const std::string kLearnedTable =
    "0001"
    "00CF0A00040E0002"
    "11223344"
    "5566";

class VirtualRemoteTest : public testing::Test {
  protected:
    std::unique_ptr<VirtualRemote> Open() {
        VirtualRemote::Opened opened = VirtualRemote::Open(folder_.Path(), clock_);
        EXPECT_EQ(opened.error, "");
        if (opened.remote) {
            opened.remote->SetReceiver(kIdealReceiver);
        }
        return std::move(opened.remote);
    }
    fs::path FlashFile() const { return folder_.Path() / "flash.hex"; }

    test::TemporaryFolder folder_{"virtual-remote"};
    test::FakeClock clock_;
};

TEST_F(VirtualRemoteTest, FirstUseHoldsTheFactoryTableWithPresetsAndOnePair) {
    const auto remote = Open();
    ASSERT_TRUE(remote);
    const std::string table = ReadKeyCodeTable(*remote);
    ASSERT_EQ(table.size(), kKeyCodeTableSize);
    EXPECT_EQ(UpToFirstZero(table), FactoryKeyCodeTable());
    EXPECT_EQ(table.find_first_not_of('\0', FactoryKeyCodeTable().size()), std::string::npos);
    EXPECT_EQ(table.substr(0, 6), "010417");  // one pair: IPTV/VOL+ shares TV/ VOL+'s code
    EXPECT_TRUE(IsStorableKeyCodeTable(FactoryKeyCodeTable()));
    // The pair's second key is hidden; the other presets show as preset keys.
    EXPECT_EQ(workflow::ParseCodeTypeData(table),
              (std::vector<std::string>{"00|1", "02|1", "04|1", "0A|1", "0B|1"}));
    EXPECT_EQ(ReadFile(FlashFile()), FactoryKeyCodeTable());
}

TEST_F(VirtualRemoteTest, WrittenTableSurvivesARestart) {
    {
        const auto remote = Open();
        ASSERT_TRUE(remote);
        ASSERT_TRUE(remote->WCodeDataKVHOTEL(kLearnedTable.c_str()));
        EXPECT_EQ(remote->FlashText(), kLearnedTable);
    }
    const auto restarted = Open();
    ASSERT_TRUE(restarted);
    EXPECT_EQ(UpToFirstZero(ReadKeyCodeTable(*restarted)), kLearnedTable);
    EXPECT_EQ(workflow::ParseCodeTypeData(ReadKeyCodeTable(*restarted)),
              std::vector<std::string>{"00|2"});
}

TEST_F(VirtualRemoteTest, SaveKilledHalfWayLeavesTheOldTable) {
    {
        const auto remote = Open();
        ASSERT_TRUE(remote->WCodeDataKVHOTEL(kLearnedTable.c_str()));
    }
    // What a crash during the next save leaves: a half-written temporary file.
    WriteFile(folder_.Path() / "flash.hex.tmp", FactoryKeyCodeTable().substr(0, 37));
    const auto restarted = Open();
    ASSERT_TRUE(restarted);
    EXPECT_EQ(restarted->FlashText(), kLearnedTable);
    EXPECT_FALSE(fs::exists(folder_.Path() / "flash.hex.tmp"));
}

TEST_F(VirtualRemoteTest, FailedSaveIsReportedAndKeepsTheOldTable) {
    const auto remote = Open();
    ASSERT_TRUE(remote->WCodeDataKVHOTEL(kLearnedTable.c_str()));
    // The temporary file cannot be created where a folder of that name stands.
    fs::create_directory(folder_.Path() / "flash.hex.tmp");
    EXPECT_FALSE(remote->WCodeDataKVHOTEL(FactoryKeyCodeTable().c_str()));
    EXPECT_EQ(UpToFirstZero(ReadKeyCodeTable(*remote)), kLearnedTable);
    EXPECT_EQ(ReadFile(FlashFile()), kLearnedTable);
}

struct DamagedFlashCase {
    const char* name;
    std::string content;
};

class DamagedFlashTest : public VirtualRemoteTest,
                         public testing::WithParamInterface<DamagedFlashCase> {};

// Only an edit from outside can damage the flash file; the remote starts
// from the factory table and keeps the damaged file for a look.
TEST_P(DamagedFlashTest, IsSetAsideForTheFactoryTable) {
    WriteFile(FlashFile(), GetParam().content);
    const auto remote = Open();
    ASSERT_TRUE(remote);
    EXPECT_EQ(remote->FlashText(), FactoryKeyCodeTable());
    EXPECT_EQ(ReadFile(FlashFile()), FactoryKeyCodeTable());
    EXPECT_EQ(ReadFile(folder_.Path() / "flash.hex.damaged"), GetParam().content);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedFlashTest,
                         testing::Values(DamagedFlashCase{"not_hex", "0104ZZ"},
                                         DamagedFlashCase{"empty", ""},
                                         DamagedFlashCase{"entry_past_the_end",
                                                          "0001"
                                                          "00CF0A0004"},
                                         DamagedFlashCase{"larger_than_the_flash",
                                                          std::string(3 * kKeyCodeTableSize, '0')}),
                         test::CaseName());

TEST_F(VirtualRemoteTest, ResetToFactoryForgetsLearnedKeys) {
    const auto remote = Open();
    ASSERT_TRUE(remote->WCodeDataKVHOTEL(kLearnedTable.c_str()));
    ASSERT_TRUE(remote->ResetToFactory());
    EXPECT_EQ(ReadFile(FlashFile()), FactoryKeyCodeTable());
}

// What the program writes is what the remote stores: tables rebuilt by the
// program's merge (shared first blocks, a block too short to be stored, a
// removed pair) are all accepted and read back unchanged.
TEST_F(VirtualRemoteTest, StoresTheTablesTheProgramBuilds) {
    const auto remote = Open();
    EXPECT_TRUE(workflow::IsWritableKeyCodeTable(FactoryKeyCodeTable()));
    const std::vector<std::string> records{
        // key 00: a 4-byte first part and a 10-byte second part
        "000100C70A00040E000A"
        "11223344"
        "0102030405060708090A",
        // key 02: the same first part, its own 3-byte second part
        "000102C70A00040E000311223344"
        "AABBCC",
        // key 07: a 3-byte first part
        "000107C70A00030D0002"
        "556677"
        "8899",
        // key 04 removed, and with it its pair and the partner's entry
        workflow::EmptyKeyRecord("04"),
    };
    std::string table = FactoryKeyCodeTable();
    for (const std::string& record : records) {
        SCOPED_TRACE(record);
        table = workflow::MergeKeyRecord(table, record);
        ASSERT_FALSE(table.empty());
        EXPECT_TRUE(IsStorableKeyCodeTable(table));
        ASSERT_TRUE(remote->WCodeDataKVHOTEL(table.c_str()));
        EXPECT_EQ(UpToFirstZero(ReadKeyCodeTable(*remote)), table);
    }
    EXPECT_EQ(workflow::ParseCodeTypeData(ReadKeyCodeTable(*remote)),
              (std::vector<std::string>{"00|2", "02|2", "07|2", "0A|1", "0B|1"}));
}

struct RefusedTableCase {
    const char* name;
    std::string text;
};

class RefusedTableTest : public VirtualRemoteTest,
                         public testing::WithParamInterface<RefusedTableCase> {};

// A table the remote could not play is refused, and the flash keeps the old one.
TEST_P(RefusedTableTest, WriteFailsAndTheFlashIsUnchanged) {
    const auto remote = Open();
    EXPECT_FALSE(remote->WCodeDataKVHOTEL(GetParam().text.c_str()));
    EXPECT_EQ(remote->FlashText(), FactoryKeyCodeTable());
    EXPECT_EQ(ReadFile(FlashFile()), FactoryKeyCodeTable());
}

INSTANTIATE_TEST_SUITE_P(Tables, RefusedTableTest,
                         testing::Values(RefusedTableCase{"empty", ""},
                                         RefusedTableCase{"not_hex",
                                                          "0001"
                                                          "00CF0A00040E0002"
                                                          "1122334G"
                                                          "5566"},
                                         RefusedTableCase{"odd_length", kLearnedTable + "5"},
                                         RefusedTableCase{"pairs_cut_short", "0300"},
                                         RefusedTableCase{"entries_cut_short",
                                                          "0001"
                                                          "00CF0A0004"},
                                         RefusedTableCase{"block_past_the_end",
                                                          "0001"
                                                          "00CF0A00040E0003"
                                                          "11223344"
                                                          "5566"},
                                         RefusedTableCase{
                                             "larger_than_the_flash",
                                             "0000" + std::string(kKeyCodeTableSize, '0')}),
                         test::CaseName());

TEST_F(VirtualRemoteTest, WriteReadsNoFurtherThanTheFlashSize) {
    const auto remote = Open();
    // No terminating zero within reach: only one character past the flash is looked at.
    std::vector<char> unterminated(kKeyCodeTableSize + 1, '0');
    EXPECT_FALSE(remote->WCodeDataKVHOTEL(unterminated.data()));
    EXPECT_FALSE(remote->WCodeDataKVHOTEL(nullptr));
}

TEST_F(VirtualRemoteTest, SecondUserOfTheSameRemoteIsRefusedUntilTheFirstCloses) {
    auto first = Open();
    ASSERT_TRUE(first);
    const VirtualRemote::Opened second = VirtualRemote::Open(folder_.Path(), clock_);
    EXPECT_FALSE(second.remote);
    EXPECT_NE(second.error.find("另一个程序"), std::string::npos) << second.error;
    first.reset();
    EXPECT_TRUE(VirtualRemote::Open(folder_.Path(), clock_).remote);
}

// The lock holds between programs too, not only between objects of one.
TEST_F(VirtualRemoteTest, AnotherProcessIsRefusedWhileTheRemoteIsOpen) {
    const auto remote = Open();
    ASSERT_TRUE(remote);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        test::FakeClock clock;
        ::_exit(VirtualRemote::Open(folder_.Path(), clock).remote ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
}

TEST_F(VirtualRemoteTest, UnusableFolderIsRefusedWithItsName) {
    WriteFile(folder_.Path() / "plain-file", "x");
    const VirtualRemote::Opened opened =
        VirtualRemote::Open(folder_.Path() / "plain-file" / "remote", clock_);
    EXPECT_FALSE(opened.remote);
    EXPECT_NE(opened.error.find("plain-file"), std::string::npos) << opened.error;
}

TEST(BasicInfo, FieldsSitWhereTheProgramReadsThem) {
    const std::string info = BasicInfoText({"REMOTE-A", "01", "02", "7315"});
    ASSERT_EQ(info.size(), kBasicInfoSize);
    EXPECT_EQ(info.substr(0, 30), "REMOTE-A" + std::string(22, ' '));
    EXPECT_EQ(info.substr(64, 2), "01");
    EXPECT_EQ(info.substr(66, 2), "02");
    EXPECT_EQ(info.substr(70, 4), "7315");
    EXPECT_EQ(info.substr(30, 34), std::string(34, '\0'));
    EXPECT_EQ(info.substr(74), std::string(kBasicInfoSize - 74, '\0'));
}

TEST(BasicInfo, SettingsAreSentAsGivenCutToTheirFields) {
    // Digits that are not hexadecimal must reach the program to try its refusal.
    const std::string info = BasicInfoText({std::string(40, 'I'), "0G", "2", "88889"});
    EXPECT_EQ(info.substr(0, 31), std::string(30, 'I') + '\0');
    EXPECT_EQ(info.substr(64, 4), "0G2 ");
    EXPECT_EQ(info.substr(70, 5), std::string("8888") + '\0');
}

TEST_F(VirtualRemoteTest, IdentitySettingsChangeTheNextBasicInfoRead) {
    const auto remote = Open();
    EXPECT_EQ(ReadBasicInfo(*remote), BasicInfoText(DefaultRemoteIdentity()));
    const RemoteIdentity oldFirmware{"KV OLD", "01", "02", "8888"};
    remote->SetIdentity(oldFirmware);
    EXPECT_EQ(remote->Identity(), oldFirmware);
    EXPECT_EQ(ReadBasicInfo(*remote), BasicInfoText(oldFirmware));
}

// Identification runs at start-up, so a refusal can only be tried when the
// identity set before is still there at the next start.
TEST_F(VirtualRemoteTest, IdentitySurvivesARestart) {
    const RemoteIdentity newerSoftware{"KV R207A VIRTUAL 000001", "01", "03", "7315"};
    {
        const auto remote = Open();
        remote->SetIdentity(newerSoftware);
    }
    EXPECT_EQ(ReadBasicInfo(*Open()), BasicInfoText(newerSoftware));
}

TEST_F(VirtualRemoteTest, DamagedIdentityFileGivesTheNewRemotesIdentity) {
    WriteFile(folder_.Path() / "identity", "KV\n01\n");
    EXPECT_EQ(Open()->Identity(), DefaultRemoteIdentity());
}

TEST_F(VirtualRemoteTest, UnpluggedRemoteAnswersNothingUntilPluggedBack) {
    const auto remote = Open();
    ASSERT_TRUE(remote->SetCodeCarrierWave());
    remote->Unplug();
    EXPECT_FALSE(remote->IsPlugged());
    EXPECT_FALSE(remote->link_state());
    EXPECT_FALSE(remote->InCaptureMode());
    EXPECT_EQ(ReadBasicInfo(*remote), "");
    EXPECT_EQ(ReadKeyCodeTable(*remote), "");
    EXPECT_FALSE(remote->SetCodeCarrierWave());
    EXPECT_FALSE(remote->WCodeDataKVHOTEL(kLearnedTable.c_str()));
    EXPECT_EQ(remote->FlashText(), FactoryKeyCodeTable());

    remote->PlugIn();
    EXPECT_TRUE(remote->link_state());
    EXPECT_EQ(ReadBasicInfo(*remote), BasicInfoText(DefaultRemoteIdentity()));
}

TEST_F(VirtualRemoteTest, AnotherRemotePluggedInHasAnotherIdentity) {
    auto remote = Open();
    const std::string before = ReadBasicInfo(*remote).substr(0, 30);
    remote->Unplug();
    RemoteIdentity other = DefaultRemoteIdentity();
    other.identity = "KV R207A VIRTUAL 000002";
    remote->PlugInAs(other);
    EXPECT_TRUE(remote->link_state());
    EXPECT_NE(ReadBasicInfo(*remote).substr(0, 30), before);
    EXPECT_EQ(remote->Identity(), other);
    remote.reset();
    EXPECT_EQ(Open()->Identity(), other);
}

struct FaultCase {
    const char* name;
    RemoteOperation operation;
};

class FaultSwitchTest : public VirtualRemoteTest, public testing::WithParamInterface<FaultCase> {
  protected:
    // Whether each operation succeeds, in the order of RemoteOperation.
    std::vector<bool> Outcomes(VirtualRemote& remote) {
        EXPECT_TRUE(remote.PressRoomKey(IrProtocol::Nec, 0x04, 0x08).empty());
        const bool captureMode = remote.SetCodeCarrierWave();
        if (!captureMode) {
            // Capture polls need capture mode; enter it with the switch off
            // so that the capture's own switch is what is tried.
            remote.SetFailing(RemoteOperation::CaptureMode, false);
            remote.SetCodeCarrierWave();
            remote.SetFailing(RemoteOperation::CaptureMode, true);
        }
        const bool capture = !ReadCapture(remote).empty();
        remote.ClearPendingSignals();
        return {captureMode, capture, !ReadBasicInfo(remote).empty(),
                !ReadKeyCodeTable(remote).empty(), remote.WCodeDataKVHOTEL(kLearnedTable.c_str())};
    }
};

TEST_P(FaultSwitchTest, FailsOnlyItsOperationUntilSwitchedOff) {
    const auto remote = Open();
    const auto failing = static_cast<std::size_t>(GetParam().operation);
    remote->SetFailing(GetParam().operation, true);
    EXPECT_TRUE(remote->IsFailing(GetParam().operation));
    std::vector<bool> expected(kRemoteOperationCount, true);
    expected[failing] = false;
    EXPECT_EQ(Outcomes(*remote), expected);
    EXPECT_TRUE(remote->link_state());

    remote->SetFailing(GetParam().operation, false);
    EXPECT_EQ(Outcomes(*remote), std::vector<bool>(kRemoteOperationCount, true));
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultSwitchTest,
                         testing::Values(FaultCase{"capture_mode", RemoteOperation::CaptureMode},
                                         FaultCase{"capture", RemoteOperation::Capture},
                                         FaultCase{"basic_info", RemoteOperation::BasicInfo},
                                         FaultCase{"table_read", RemoteOperation::TableRead},
                                         FaultCase{"table_write", RemoteOperation::TableWrite}),
                         test::CaseName());

// Identification runs once, at start-up: an unplugged cable or a failing
// read can only meet it when the switch set before is there at the next start.
TEST_F(VirtualRemoteTest, CableAndFaultSwitchesSurviveARestart) {
    {
        const auto remote = Open();
        remote->Unplug();
        remote->SetFailing(RemoteOperation::BasicInfo, true);
        remote->SetFailing(RemoteOperation::TableWrite, true);
        remote->SetFailing(RemoteOperation::TableWrite, false);
        remote->SetFailing(RemoteOperation::TableRead, true);
        remote->SetFailing(RemoteOperation::Capture, true);
    }
    {
        const auto restarted = Open();
        EXPECT_FALSE(restarted->IsPlugged());
        EXPECT_FALSE(restarted->link_state());
        std::vector<bool> failing;
        for (int i = 0; i < kRemoteOperationCount; ++i) {
            failing.push_back(restarted->IsFailing(static_cast<RemoteOperation>(i)));
        }
        EXPECT_EQ(failing, (std::vector<bool>{false, true, true, true, false}));
        restarted->PlugIn();
        EXPECT_TRUE(restarted->link_state());
        EXPECT_EQ(ReadBasicInfo(*restarted), "");
    }
    // The read faults that stop a start-up hold for one start only; the
    // cable and the other faults stay as they were left.
    const auto again = Open();
    EXPECT_TRUE(again->IsPlugged());
    EXPECT_FALSE(again->IsFailing(RemoteOperation::BasicInfo));
    EXPECT_FALSE(again->IsFailing(RemoteOperation::TableRead));
    EXPECT_TRUE(again->IsFailing(RemoteOperation::Capture));
    EXPECT_EQ(ReadBasicInfo(*again), BasicInfoText(DefaultRemoteIdentity()));
    EXPECT_FALSE(ReadKeyCodeTable(*again).empty());
}

TEST_F(VirtualRemoteTest, AnotherRemotePluggedInIsPluggedAfterARestart) {
    {
        const auto remote = Open();
        remote->Unplug();
        remote->PlugInAs({"KV R207A VIRTUAL 000002", "01", "02", "7315"});
    }
    EXPECT_TRUE(Open()->IsPlugged());
}

std::string Repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) {
        all += text;
    }
    return all;
}

struct DamagedSwitchesCase {
    const char* name;
    std::string content;
};

class DamagedSwitchesTest : public VirtualRemoteTest,
                            public testing::WithParamInterface<DamagedSwitchesCase> {};

// Only an edit from outside (or a disk gone bad) damages the file: the
// remote then starts as a new one, plugged in with nothing failing, and
// its next change writes a sound file again.
TEST_P(DamagedSwitchesTest, GiveAPluggedRemoteWithNothingFailing) {
    WriteFile(folder_.Path() / "switches", GetParam().content);
    {
        const auto remote = Open();
        ASSERT_TRUE(remote);
        EXPECT_TRUE(remote->IsPlugged());
        for (int i = 0; i < kRemoteOperationCount; ++i) {
            EXPECT_FALSE(remote->IsFailing(static_cast<RemoteOperation>(i))) << i;
        }
        remote->SetFailing(RemoteOperation::Capture, true);
    }
    const auto restarted = Open();
    EXPECT_TRUE(restarted->IsPlugged());
    EXPECT_TRUE(restarted->IsFailing(RemoteOperation::Capture));
    EXPECT_FALSE(restarted->IsFailing(RemoteOperation::BasicInfo));
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedSwitchesTest,
    testing::Values(DamagedSwitchesCase{"unknown_switch", "unplugged 1\nsomething 1\n"},
                    DamagedSwitchesCase{"value_not_0_or_1", "unplugged 1\nbasic-info-fails 2\n"},
                    DamagedSwitchesCase{"no_value", "unplugged\n"},
                    DamagedSwitchesCase{"last_line_cut_short", "basic-info-fails 1\nunplugged 1"},
                    DamagedSwitchesCase{"binary", std::string("unplugged 1\n\0\xff\n", 15)},
                    DamagedSwitchesCase{"too_long", Repeated("unplugged 1\n", 60)}),
    test::CaseName());

TEST_F(VirtualRemoteTest, CaptureModeDeliversTheNextPressedKeyOnce) {
    const auto remote = Open();
    EXPECT_EQ(ReadCapture(*remote), "") << "no capture outside capture mode";
    ASSERT_EQ(remote->PressRoomKey(IrProtocol::Nec, 0x04, 0x08), "");
    EXPECT_EQ(ReadCapture(*remote), "") << "a press waits for capture mode";
    EXPECT_EQ(remote->PendingSignals(), 1U);

    ASSERT_TRUE(remote->SetCodeCarrierWave());
    EXPECT_TRUE(remote->InCaptureMode());
    const std::string capture = ReadCapture(*remote);
    ASSERT_EQ(capture.size(), kCaptureSize);
    const std::string words =
        SynthesiseCapture({IrProtocol::Nec, 0x04, 0x08, 0, false}, kIdealReceiver);
    EXPECT_EQ(UpToFirstZero(capture), words);
    EXPECT_EQ(capture.find_first_not_of('\0', words.size()), std::string::npos);
    EXPECT_FALSE(workflow::CaptureToHex(capture).empty());

    // The remote leaves capture mode once it has caught a signal.
    EXPECT_FALSE(remote->InCaptureMode());
    EXPECT_EQ(remote->PendingSignals(), 0U);
    EXPECT_EQ(ReadCapture(*remote), "");
}

TEST_F(VirtualRemoteTest, PressesAreDeliveredInOrderOnePerCaptureMode) {
    const auto remote = Open();
    ASSERT_EQ(remote->PressRoomKey(IrProtocol::Sony12, 0x01, 0x0C), "");
    ASSERT_EQ(remote->PressRoomKey(IrProtocol::Jvc, 0x03, 0x12), "");
    ASSERT_TRUE(remote->SetCodeCarrierWave());
    EXPECT_EQ(UpToFirstZero(ReadCapture(*remote)),
              SynthesiseCapture({IrProtocol::Sony12, 0x01, 0x0C, 0, false}, kIdealReceiver));
    ASSERT_TRUE(remote->SetCodeCarrierWave());
    EXPECT_EQ(UpToFirstZero(ReadCapture(*remote)),
              SynthesiseCapture({IrProtocol::Jvc, 0x03, 0x12, 0, false}, kIdealReceiver));
}

TEST_F(VirtualRemoteTest, Rc5ToggleFlipsWithEveryPress) {
    const auto remote = Open();
    for (int press = 0; press < 3; ++press) {
        ASSERT_EQ(remote->PressRoomKey(IrProtocol::Rc5, 0x05, 0x0C), "");
    }
    std::vector<std::string> captures;
    for (int press = 0; press < 3; ++press) {
        ASSERT_TRUE(remote->SetCodeCarrierWave());
        captures.push_back(UpToFirstZero(ReadCapture(*remote)));
    }
    EXPECT_NE(captures[0], captures[1]);
    EXPECT_EQ(captures[0], captures[2]);
}

TEST_F(VirtualRemoteTest, ReceiverJitterDiffersFromPressToPress) {
    const auto remote = Open();
    remote->SetReceiver(ReceiverModel{});
    ASSERT_EQ(remote->PressRoomKey(IrProtocol::Nec, 0x04, 0x08), "");
    ASSERT_EQ(remote->PressRoomKey(IrProtocol::Nec, 0x04, 0x08), "");
    ASSERT_TRUE(remote->SetCodeCarrierWave());
    const std::string first = ReadCapture(*remote);
    ASSERT_TRUE(remote->SetCodeCarrierWave());
    EXPECT_NE(ReadCapture(*remote), first);
}

TEST_F(VirtualRemoteTest, RefusedPressQueuesNothing) {
    const auto remote = Open();
    EXPECT_NE(remote->PressRoomKey(IrProtocol::Nec, 0x100, 0x08), "");
    EXPECT_NE(remote->PressRoomKey(IrProtocol::Nec, 0x04, 0x08, kMaxSignalFrames + 1), "");
    EXPECT_EQ(remote->PendingSignals(), 0U);
}

TEST_F(VirtualRemoteTest, CaptureFileIsDeliveredAsItsWords) {
    const auto remote = Open();
    WriteFile(folder_.Path() / "capture.txt", "8100 0300\n8200 7fff\r\n");
    ASSERT_EQ(remote->LoadCaptureFile(folder_.Path() / "capture.txt"), "");
    ASSERT_TRUE(remote->SetCodeCarrierWave());
    EXPECT_EQ(UpToFirstZero(ReadCapture(*remote)), "8100030082007FFF");
}

struct BadCaptureFileCase {
    const char* name;
    std::string content;
};

class BadCaptureFileTest : public VirtualRemoteTest,
                           public testing::WithParamInterface<BadCaptureFileCase> {};

TEST_P(BadCaptureFileTest, IsRefusedWithAReason) {
    const auto remote = Open();
    WriteFile(folder_.Path() / "capture.txt", GetParam().content);
    EXPECT_NE(remote->LoadCaptureFile(folder_.Path() / "capture.txt"), "");
    EXPECT_EQ(remote->PendingSignals(), 0U);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadCaptureFileTest,
    testing::Values(BadCaptureFileCase{"empty", ""}, BadCaptureFileCase{"blank", " \n\t"},
                    BadCaptureFileCase{"not_hex", "8100 03X0"},
                    BadCaptureFileCase{"broken_word", "8100 030"},
                    BadCaptureFileCase{"larger_than_the_buffer",
                                       std::string(kCaptureSize + 4, '1')},
                    BadCaptureFileCase{"far_too_large", std::string(70 * 1024, '1')}),
    test::CaseName());

TEST_F(VirtualRemoteTest, MissingCaptureFileIsRefusedWithItsName) {
    const auto remote = Open();
    EXPECT_NE(remote->LoadCaptureFile(folder_.Path() / "absent.txt").find("absent.txt"),
              std::string::npos);
}

// Every call takes the time of a USB transfer, so back-to-back polls wait
// instead of spinning.
TEST_F(VirtualRemoteTest, EveryCallPausesForItsTransfer) {
    const TransferTimes times{std::chrono::milliseconds(2), std::chrono::milliseconds(6),
                              std::chrono::milliseconds(30)};
    const auto remote =
        VirtualRemote::Open(folder_.Path(), clock_, DefaultRemoteIdentity(), times).remote;
    ASSERT_TRUE(remote);
    remote->link_state();
    ReadBasicInfo(*remote);
    ReadKeyCodeTable(*remote);
    remote->SetCodeCarrierWave();
    ReadCapture(*remote);
    remote->WCodeDataKVHOTEL(kLearnedTable.c_str());
    using std::chrono::milliseconds;
    EXPECT_EQ(clock_.Pauses(),
              (std::vector<milliseconds>{milliseconds(2), milliseconds(2), milliseconds(2),
                                         milliseconds(2), milliseconds(6), milliseconds(30)}));
}

// The watcher, the collector and the UI call at once; the control window
// presses keys and pulls the cable meanwhile. Every capture is delivered
// exactly once, whole.
TEST_F(VirtualRemoteTest, CallsFromSeveralThreadsAtOnce) {
    const auto remote = Open();
    constexpr int kPresses = 40;
    std::atomic<int> delivered{0};
    std::atomic<bool> pressing{true};
    const std::string expected =
        SynthesiseCapture({IrProtocol::Nec, 0x04, 0x08, 0, false}, kIdealReceiver);
    std::atomic<int> wrong{0};
    {
        std::jthread collector([&] {
            while (pressing || remote->PendingSignals() > 0) {
                remote->SetCodeCarrierWave();
                const std::string capture = ReadCapture(*remote);
                if (!capture.empty()) {
                    delivered++;
                    wrong += UpToFirstZero(capture) != expected;
                }
            }
        });
        std::jthread watcher([&] {
            for (int i = 0; i < 200; ++i) {
                remote->link_state();
                ReadBasicInfo(*remote);
            }
        });
        std::jthread ui([&] {
            for (int i = 0; i < 50; ++i) {
                ReadKeyCodeTable(*remote);
                remote->WCodeDataKVHOTEL(i % 2 == 0 ? kLearnedTable.c_str()
                                                    : FactoryKeyCodeTable().c_str());
            }
        });
        for (int i = 0; i < kPresses; ++i) {
            ASSERT_EQ(remote->PressRoomKey(IrProtocol::Nec, 0x04, 0x08), "");
        }
        pressing = false;
    }
    EXPECT_EQ(delivered, kPresses);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(remote->FlashText(), FactoryKeyCodeTable());
}

struct FolderCase {
    const char* name;
    const char* xdgDataHome;  // null: unset
    const char* home;
    const char* expected;
};

class DefaultFolderTest : public testing::TestWithParam<FolderCase> {
  protected:
    void SetUp() override {
        Remember("XDG_DATA_HOME", savedXdg_);
        Remember("HOME", savedHome_);
    }
    void TearDown() override {
        Restore("XDG_DATA_HOME", savedXdg_);
        Restore("HOME", savedHome_);
    }

  private:
    static void Remember(const char* name, std::optional<std::string>& saved) {
        if (const char* value = std::getenv(name)) {
            saved = value;
        }
    }
    static void Restore(const char* name, const std::optional<std::string>& saved) {
        if (saved) {
            ::setenv(name, saved->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    std::optional<std::string> savedXdg_;
    std::optional<std::string> savedHome_;
};

TEST_P(DefaultFolderTest, FollowsTheUsersDataFolder) {
    if (GetParam().xdgDataHome != nullptr) {
        ::setenv("XDG_DATA_HOME", GetParam().xdgDataHome, 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
    ::setenv("HOME", GetParam().home, 1);
    EXPECT_EQ(DefaultVirtualRemoteFolder(), fs::path(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Environment, DefaultFolderTest,
    testing::Values(FolderCase{"xdg", "/data/alice", "/home/alice",
                               "/data/alice/kvlearn/virtual-remote"},
                    FolderCase{"unset", nullptr, "/home/alice",
                               "/home/alice/.local/share/kvlearn/virtual-remote"},
                    // A relative setting is ignored, as the XDG rules ask.
                    FolderCase{"relative", "data", "/home/alice",
                               "/home/alice/.local/share/kvlearn/virtual-remote"}),
    test::CaseName());

}  // namespace
}  // namespace kv::device
