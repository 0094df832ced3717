#include "device/LinkWatcher.h"

#include <utility>

namespace kv::device {

linkstate::linkstate(LinkWatcherPorts ports, std::string remoteIdentity, EndHandler onEnd)
    : ports_(ports),
      remoteIdentity_(std::move(remoteIdentity)),
      onEnd_(std::move(onEnd)),
      worker_(ports.dispatcher) {
    worker_.Start([this](std::stop_token teardown) { Run(std::move(teardown)); });
}

void linkstate::Run(std::stop_token teardown) {
    LinkFlags flags;
    LinkWatchEnd end = LinkWatchEnd::StopRequested;
    while (!stopRequested_.load() && !teardown.stop_requested()) {
        if (auto reason = Pass(flags)) {
            end = *reason;
            break;
        }
    }
    // A copy: the handler may destroy this object while it runs.
    worker_.Ui().Post([onEnd = onEnd_, end] {
        if (onEnd) {
            onEnd(end);
        }
    });
}

std::optional<LinkWatchEnd> linkstate::Pass(LinkFlags& flags) {
    flags.lostNow = !ports_.device.link_state();
    const char* label = flags.lostNow ? kLinkDownText : kLinkUpText;
    if (!OnWindow([label](LinkWindow& window) { window.SetText(kUsbStateLabel, label); })) {
        return LinkWatchEnd::StopRequested;
    }
    if (!flags.lostNow && flags.wasLost && !SameRemoteBack()) {
        return LinkWatchEnd::OtherRemote;
    }
    ports_.clock.Pause(kLinkPollInterval);
    if (flags.lostNow) {
        return WhileUnplugged(flags);
    }
    if (flags.wasLost) {
        flags.wasLost = false;
        // No look at the key states here: both buttons come back enabled.
        if (!SetKeysAvailable(true)) {
            return LinkWatchEnd::StopRequested;
        }
    }
    return std::nullopt;
}

std::optional<LinkWatchEnd> linkstate::WhileUnplugged(LinkFlags& flags) {
    if (!SetKeysAvailable(false)) {
        return LinkWatchEnd::StopRequested;
    }
    flags.wasLost = true;
    const auto answer = Ask(kReconnectPrompt, DialogButtons::RetryCancel);
    if (!answer) {
        return LinkWatchEnd::StopRequested;
    }
    if (*answer != DialogAnswer::Cancel) {
        return std::nullopt;
    }
    const auto close = Ask(kCloseProgramPrompt, DialogButtons::OkCancel);
    if (!close) {
        return LinkWatchEnd::StopRequested;
    }
    if (*close == DialogAnswer::Ok) {
        return LinkWatchEnd::OperatorClose;
    }
    return std::nullopt;
}

bool linkstate::SameRemoteBack() {
    // A remote whose basic information cannot be read is not taken for the
    // one that was identified, whatever that identity holds.
    const std::string info = ReadBasicInfo(ports_.device);
    return !info.empty() && info.substr(0, kRemoteIdentityLength) == remoteIdentity_;
}

bool linkstate::SetKeysAvailable(bool available) {
    return OnWindow([available](LinkWindow& window) {
        window.SetVisible(kRemoteBox, available);
        window.SetEnabled(kBeginStudyButton, available);
        window.SetEnabled(kDeleteButton, available);
    });
}

bool linkstate::OnWindow(std::function<void(LinkWindow&)> operation) {
    LinkWindow& window = ports_.window;
    return worker_.Ui().Call([&window, operation = std::move(operation)] { operation(window); });
}

std::optional<DialogAnswer> linkstate::Ask(const char* text, DialogButtons buttons) {
    Dialogs& dialogs = ports_.dialogs;
    return worker_.Ui().Call<DialogAnswer>(
        [&dialogs, text, buttons] { return dialogs.Ask(text, kPromptCaption, buttons); });
}

}  // namespace kv::device
