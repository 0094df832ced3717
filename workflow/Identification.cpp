#include <string_view>

#include "device/RemoteDevice.h"
#include "workflow/KeyStateEntries.h"
#include "workflow/KeyStates.h"
#include "workflow/MainWindow.h"
#include "workflow/MainWindowTexts.h"

namespace kv::workflow {

using device::DialogAnswer;
using device::DialogButtons;

// Where the remote's maker offers newer firmware and software.
const char* texts::MakerHost() {
    return KV_MAKER_HOST;
}

namespace {

constexpr std::size_t kIdentityLength = 30;
constexpr std::size_t kMajorAt = 64;
constexpr std::size_t kMinorAt = 66;
constexpr std::size_t kTypeAt = 70;
constexpr std::string_view kSupportedType = "7315";
constexpr std::string_view kOldFirmwareType = "8888";
constexpr int kSupportedMajor = 1;
constexpr int kSupportedMinor = 2;

std::string Refusal(const char* before, const char* after) {
    return std::string(before) + texts::MakerHost() + after;
}

std::string FirmwareMessageA() {
    return Refusal("遥控器固件程序版本比较低，请到", "网站下载最新的固件程序版本！");
}
std::string TypeMessage() {
    return Refusal("自学习软件不支持改遥控器，请到", "网站下载最新的该款自学习软件！");
}
std::string SoftwareMessage() {
    return Refusal("自学习软件版本比较低，请到", "下载最新的该款自学习软件！");
}
std::string FirmwareMessageB() {
    return Refusal("遥控器固件程序版本比较低，请到", "下载最新的固件程序版本！");
}
std::string FirmwareMessageC() {
    return Refusal("遥控器固件版本比较低，请到", "下载最新的固件程序版本！");
}

std::string_view Field(std::string_view text, std::size_t at, std::size_t length) {
    return at < text.size() ? text.substr(at, length) : std::string_view{};
}

// The refusal for a remote this program does not serve, or "" for a
// supported one. A version that is not hexadecimal cannot be compared: the
// remote speaks a format newer than this program knows, so the operator is
// sent for newer software.
std::string RefusalFor(std::string_view basicInfo) {
    const std::string_view type = Field(basicInfo, kTypeAt, 4);
    if (type == kOldFirmwareType) {
        return FirmwareMessageA();
    }
    if (type != kSupportedType) {
        return TypeMessage();
    }
    const auto major = ReadHex(Field(basicInfo, kMajorAt, 2));
    if (!major || *major > kSupportedMajor) {
        return SoftwareMessage();
    }
    if (*major < kSupportedMajor) {
        return FirmwareMessageB();
    }
    const auto minor = ReadHex(Field(basicInfo, kMinorAt, 2));
    if (!minor || *minor > kSupportedMinor) {
        return SoftwareMessage();
    }
    if (*minor < kSupportedMinor) {
        return FirmwareMessageC();
    }
    return {};
}

}  // namespace

void Tmainlernix::IdentifyRemote() {
    while (!ports_.device.link_state()) {
        if (Ask(texts::kNoRemote, DialogButtons::RetryCancel) == DialogAnswer::Cancel) {
            state_.identifyFailed = true;
            return;
        }
    }
    if (settings_.processPendingEvents) {
        settings_.processPendingEvents();
    }
    const std::string basicInfo = device::ReadBasicInfo(ports_.device);
    if (basicInfo.empty()) {
        state_.identifyFailed = true;
        return;
    }
    state_.remoteIdentity = basicInfo.substr(0, kIdentityLength);
    model_.lab_gjbb.SetText(texts::kFirmwareVersionLabel);
    if (const std::string refusal = RefusalFor(basicInfo); !refusal.empty()) {
        state_.identifyFailed = true;
        ports_.dialogs.ShowMessage(refusal);
        return;
    }
    model_.lab_ykqtype.SetText(kRemoteModel);

    state_.keyCodeText = device::ReadKeyCodeTable(ports_.device);
    state_.keyCodeWork = state_.keyCodeText;
    // The log shows the table as the remote sent it, without the zero filler
    // of the read buffer.
    model_.Memo1.AppendLine(state_.keyCodeText.substr(0, state_.keyCodeText.find('\0')));
    if (state_.keyCodeText.empty()) {
        state_.identifyFailed = true;
        return;
    }
    // A table whose counts are not hexadecimal cannot be understood, and a
    // window built on half of it would later write nonsense to the remote.
    std::optional<KeyStateList> entries = ParseCodeTypeData(state_.keyCodeText);
    if (!entries) {
        state_.identifyFailed = true;
        return;
    }
    state_.keyStates = std::move(*entries);
}

}  // namespace kv::workflow
