#include <gtest/gtest.h>

#include "tests/workflow/MainWindowFixture.h"
#include "workflow/MainWindowTexts.h"

namespace kv::workflow::testing {
namespace {

const std::string kHost = texts::MakerHost();

struct VersionCase {
    const char* major;
    const char* minor;
    const char* type;
    std::string refusal;  // "" when the remote is accepted
};

std::ostream& operator<<(std::ostream& out, const VersionCase& c) {
    return out << c.major << "/" << c.minor << "/" << c.type;
}

const std::string kFirmwareA =
    "遥控器固件程序版本比较低，请到" + kHost + "网站下载最新的固件程序版本！";
const std::string kType =
    "自学习软件不支持改遥控器，请到" + kHost + "网站下载最新的该款自学习软件！";
const std::string kSoftware = "自学习软件版本比较低，请到" + kHost + "下载最新的该款自学习软件！";
const std::string kFirmwareB =
    "遥控器固件程序版本比较低，请到" + kHost + "下载最新的固件程序版本！";
const std::string kFirmwareC = "遥控器固件版本比较低，请到" + kHost + "下载最新的固件程序版本！";

class VersionCheckTest : public MainWindowTest,
                         public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionCheckTest, RefusesWithItsMessageOrAccepts) {
    const VersionCase& c = GetParam();
    remote.basicInfo = BasicInfo(c.major, c.minor, c.type);
    Create();
    // The firmware label is set for every remote that could be read.
    EXPECT_EQ(Model().lab_gjbb.Text(), " 2.0");
    if (c.refusal.empty()) {
        EXPECT_FALSE(State().identifyFailed);
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_EQ(Model().lab_ykqtype.Text(), "KV R207A");
        EXPECT_EQ(State().keyStates, KeyStateList{"04|1"});
        return;
    }
    EXPECT_TRUE(State().identifyFailed);
    EXPECT_EQ(dialogs.shown, std::vector<ShownDialog>{Plain(c.refusal)});
    // Nothing after the refusal: no model label, no table.
    EXPECT_EQ(Model().lab_ykqtype.Text(), "");
    EXPECT_TRUE(State().keyCodeText.empty());
    EXPECT_TRUE(Model().Memo1.Lines().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VersionCheckTest,
    ::testing::Values(
        VersionCase{"01", "02", "7315", ""}, VersionCase{"01", "02", "8888", kFirmwareA},
        VersionCase{"00", "00", "8888", kFirmwareA}, VersionCase{"01", "02", "7316", kType},
        VersionCase{"00", "02", "7315", kFirmwareB}, VersionCase{"02", "02", "7315", kSoftware},
        VersionCase{"01", "03", "7315", kSoftware}, VersionCase{"01", "01", "7315", kFirmwareC},
        // Type before versions, major before minor.
        VersionCase{"00", "03", "7316", kType}, VersionCase{"00", "03", "7315", kFirmwareB},
        VersionCase{"02", "01", "7315", kSoftware},
        // Either letter case reads: 0x0a is above 1.
        VersionCase{"0a", "02", "7315", kSoftware},
        // Versions that are not hexadecimal cannot be served.
        VersionCase{"0G", "02", "7315", kSoftware}, VersionCase{"01", " 2", "7315", kSoftware}));

TEST_F(MainWindowTest, RetryAsksAgainUntilTheRemoteIsThere) {
    remote.linkAnswers = {false, false, false};
    dialogs.Answer(DialogAnswer::Retry);
    dialogs.Answer(DialogAnswer::Retry);
    dialogs.Answer(DialogAnswer::Retry);
    int pumped = 0;
    MainWindowPorts ports{remote,    dialogs,   pictures, display,
                          animation, converter, encoder,  threads};
    window = std::make_unique<Tmainlernix>(
        ports, MainWindowSettings{"/opt/kvlearn/", "unused", [&pumped] { ++pumped; }});
    window->FormCreate();
    EXPECT_EQ(dialogs.shown.size(), 3u);
    EXPECT_FALSE(State().identifyFailed);
    EXPECT_EQ(pumped, 1);
}

TEST_F(MainWindowTest, CancelEndsIdentificationSilently) {
    remote.linkAnswers = {false, false};
    dialogs.Answer(DialogAnswer::Retry);
    dialogs.Answer(DialogAnswer::Cancel);
    Create();
    EXPECT_TRUE(State().identifyFailed);
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_TRUE(State().remoteIdentity.empty());
    EXPECT_TRUE(State().appDir.empty());
}

struct ReadFailureCase {
    const char* name;
    std::optional<std::string> basicInfo;
    std::optional<std::string> table;
};

class ReadFailureTest : public MainWindowTest,
                        public ::testing::WithParamInterface<ReadFailureCase> {};

TEST_P(ReadFailureTest, FailsWithoutAMessageAndWithoutKeyStates) {
    remote.basicInfo = GetParam().basicInfo;
    remote.table = GetParam().table;
    Create();
    EXPECT_TRUE(State().identifyFailed);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(State().keyStates.empty());
    window->FormShow();
    EXPECT_TRUE(Model().Closed());
    EXPECT_TRUE(remote.writes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadFailureTest,
    ::testing::Values(ReadFailureCase{"BasicInfo", std::nullopt, PresetTable()},
                      ReadFailureCase{"Table", BasicInfo("01", "02", "7315"), std::nullopt},
                      ReadFailureCase{"PairCountNotHex", BasicInfo("01", "02", "7315"), "0G00"},
                      ReadFailureCase{"EntryCountNotHex", BasicInfo("01", "02", "7315"),
                                      "00Z1048000000000"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(MainWindowTest, IdentityIsTheFirstThirtyCharacters) {
    remote.basicInfo = BasicInfo("01", "02", "7315", std::string(40, 'X'));
    Create();
    EXPECT_EQ(State().remoteIdentity, std::string(30, 'X'));
    EXPECT_EQ(State().keyCodeWork, State().keyCodeText);
}

}  // namespace
}  // namespace kv::workflow::testing
