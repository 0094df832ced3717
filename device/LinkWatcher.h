#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "device/Clock.h"
#include "device/Dialogs.h"
#include "device/RemoteDevice.h"
#include "device/UiDispatcher.h"
#include "device/UiHandoff.h"

namespace kv::device {

// The window controls the watcher touches, by their component names.
inline constexpr std::string_view kUsbStateLabel = "lab_usbstate";
inline constexpr std::string_view kRemoteBox = "ykqbox";
inline constexpr std::string_view kBeginStudyButton = "beginstudyibtn";
inline constexpr std::string_view kDeleteButton = "delstudykey";

inline constexpr const char* kLinkUpText = " 遥控器连接正常";
inline constexpr const char* kLinkDownText = " 遥控器连接断开";
inline constexpr const char* kReconnectPrompt = "未检测到遥控器，请重新连接遥控器！";
inline constexpr const char* kCloseProgramPrompt = "您需要关闭自学习软件吗！";

// How often the link is looked at.
inline constexpr std::chrono::milliseconds kLinkPollInterval{200};
// Characters of the basic information that identify one remote.
inline constexpr std::size_t kRemoteIdentityLength = 30;

// What the watcher needs of the main window. Called on the UI thread only.
class LinkWindow {
  public:
    virtual ~LinkWindow() = default;
    virtual void SetText(std::string_view control, const std::string& text) = 0;
    virtual void SetVisible(std::string_view control, bool visible) = 0;
    virtual void SetEnabled(std::string_view control, bool enabled) = 0;
};

// Why the watcher's body returned.
enum class LinkWatchEnd {
    StopRequested,  // the close asked it to stop
    OperatorClose,  // the operator chose to close the program while unplugged
    OtherRemote,    // the remote that came back is another one, or cannot be read
};

struct LinkWatcherPorts {
    RemoteDevice& device;
    Clock& clock;
    UiDispatcher& dispatcher;
    Dialogs& dialogs;
    LinkWindow& window;
};

// The link watcher: polls the link every 200 ms, shows its state, hides the
// remote and disables the work buttons while it is unplugged, asks for a
// reconnection, and ends when another remote comes back.
//
// Every window operation and message box runs on the UI thread and the
// watcher waits for it. They travel by the dispatcher's post() and a wait on
// a UiHandoff rather than by its blocking invoke(), because only that wait
// can be let go when the window closes (below). The end handler runs on the
// UI thread after the body has returned, also through post().
//
// Closing, in two steps:
//  - RequestStop() (the close query) only sets a flag that the watcher reads
//    at the start of each pass, so a reconnect prompt already on its way or
//    on screen is still shown and answered, and the rest of that pass still
//    reaches the window, which is alive until the close is done.
//  - Destroying the object (the owner does so on the UI thread before the
//    window goes) tears the UI handoff down and joins: window work still
//    queued never runs, a prompt the watcher waits for is let go, and the end
//    handler no longer runs. The join therefore waits at most for one device
//    call or one pause, never for the UI thread, so it cannot deadlock with
//    a blocking dispatcher, and no thread touches the window once it is gone.
class linkstate {
  public:
    using EndHandler = std::function<void(LinkWatchEnd)>;

    // remoteIdentity: the first 30 characters of the basic information read
    // at identification. Starts at once.
    linkstate(LinkWatcherPorts ports, std::string remoteIdentity, EndHandler onEnd);
    ~linkstate() = default;
    linkstate(const linkstate&) = delete;
    linkstate& operator=(const linkstate&) = delete;

    // Seen by the watcher at the start of its next pass; does not wait.
    void RequestStop() { stopRequested_.store(true); }

  private:
    // Both flags of the body live across passes.
    struct LinkFlags {
        bool lostNow = false;
        bool wasLost = false;
    };

    void Run(std::stop_token teardown);
    // One pass; an end reason when the body must return.
    std::optional<LinkWatchEnd> Pass(LinkFlags& flags);
    std::optional<LinkWatchEnd> WhileUnplugged(LinkFlags& flags);
    bool SameRemoteBack();
    // The remote picture and the two work buttons, together.
    bool SetKeysAvailable(bool available);
    bool OnWindow(std::function<void(LinkWindow&)> operation);
    std::optional<DialogAnswer> Ask(const char* text, DialogButtons buttons);

    LinkWatcherPorts ports_;
    const std::string remoteIdentity_;
    const EndHandler onEnd_;
    std::atomic<bool> stopRequested_{false};
    // Last: it must stop before anything it uses goes away.
    UiWorkerThread worker_;
};

}  // namespace kv::device
