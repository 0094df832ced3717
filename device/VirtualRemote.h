#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "device/Clock.h"
#include "device/FlashStore.h"
#include "device/IrProtocol.h"
#include "device/RemoteDevice.h"
#include "device/SignalSynthesiser.h"

namespace kv::device {

// What the remote reports about itself in its basic information. The fields
// are sent as the characters given here (cut or padded with spaces to their
// width), so they may hold anything, even digits that are not hexadecimal.
struct RemoteIdentity {
    std::string identity;      // characters 1-30: tells one remote from another
    std::string majorVersion;  // characters 65-66, hex; the program needs "01"
    std::string minorVersion;  // characters 67-68, hex; the program needs "02"
    std::string typeCode;      // characters 71-74; "7315", or "8888" on old firmware

    friend bool operator==(const RemoteIdentity&, const RemoteIdentity&) = default;
};

// A supported remote: version 1.2, type 7315.
RemoteIdentity DefaultRemoteIdentity();

// The 1024 characters of basic information for an identity.
std::string BasicInfoText(const RemoteIdentity& identity);

// Operations that can be told to fail, to try the program's error paths.
enum class RemoteOperation {
    CaptureMode,  // SetCodeCarrierWave
    Capture,      // RCollectCodeInfo
    BasicInfo,    // RBasicInfo
    TableRead,    // RCodeTypeDataKVhotel
    TableWrite,   // WCodeDataKVHOTEL
};
inline constexpr int kRemoteOperationCount = 5;

// The cable and the fault switches. They are kept in the remote's folder,
// so that a start-up with the remote unplugged, or with a read that fails,
// can be tried: set them, then start the program again.
struct RemoteSwitches {
    bool plugged = true;
    std::array<bool, kRemoteOperationCount> failing{};
};

// How long the USB transfers take. Every call pauses through the clock, so
// the collector's back-to-back capture polls leave the processor alone.
struct TransferTimes {
    std::chrono::milliseconds call{3};
    std::chrono::milliseconds capturePoll{5};
    std::chrono::milliseconds tableWrite{40};
};

// The folder of the virtual remote's flash and lock: $XDG_DATA_HOME/kvlearn/
// virtual-remote, or ~/.local/share/kvlearn/virtual-remote.
std::filesystem::path DefaultVirtualRemoteFolder();

// The remote built into the program, used when no device library is found.
// It behaves as the real one does through the six operations and adds the
// controls a person (or a test) needs to try every path without hardware:
// unplug and plug in, other identities, failing operations, and a room
// remote whose key presses it captures.
//
// All members may be called from any thread at once.
class VirtualRemote final : public RemoteDevice {
  public:
    struct Opened {
        std::unique_ptr<VirtualRemote> remote;  // null when refused
        std::string error;                      // why, in the operator's words
    };

    // Opens the virtual remote whose flash is kept in `folder` (created when
    // missing). On first use the flash holds the factory table and the remote
    // reports `identity`; an identity set later is kept in the folder too, so
    // that identification at the next start-up meets it. Refused while
    // another program (or another VirtualRemote) has the same folder open.
    // `clock` must outlive the remote.
    static Opened Open(const std::filesystem::path& folder, Clock& clock,
                       RemoteIdentity identity = DefaultRemoteIdentity(), TransferTimes times = {});

    ~VirtualRemote() override;
    VirtualRemote(const VirtualRemote&) = delete;
    VirtualRemote& operator=(const VirtualRemote&) = delete;

    // The device operations.
    bool link_state() override;
    bool RBasicInfo(char* buffer) override;
    bool RCodeTypeDataKVhotel(char* buffer) override;
    bool SetCodeCarrierWave() override;
    bool RCollectCodeInfo(char* buffer) override;
    bool WCodeDataKVHOTEL(const char* text) override;

    // The USB cable. Unplugging ends capture mode; every operation but
    // link_state fails until the remote is plugged in again. The cable's
    // state is kept for the next start, like the fault switches.
    void Unplug();
    void PlugIn();                                     // the same remote comes back
    void PlugInAs(const RemoteIdentity& otherRemote);  // another remote is connected
    bool IsPlugged() const;

    // The basic information the remote reports from its next read on, and
    // after the next start (when it can be saved; an identity that cannot be
    // saved holds until the remote is closed).
    RemoteIdentity Identity() const;
    void SetIdentity(const RemoteIdentity& identity);

    // Fault switches: a failing operation answers false. Kept for the next
    // start (when they can be saved).
    void SetFailing(RemoteOperation operation, bool failing);
    bool IsFailing(RemoteOperation operation) const;

    // The room remote. Each press or file queues one signal; the next capture
    // poll in capture mode delivers the oldest and leaves capture mode, as the
    // remote does once it has caught a signal. Signals pressed before capture
    // mode wait in the queue. The texts returned are empty on success, else
    // say why nothing was queued.
    [[nodiscard]] std::string PressRoomKey(IrProtocol protocol, std::uint32_t address,
                                           std::uint32_t command, int frames = 0);
    // A file of raw capture words (4 hex digits each; spaces and line breaks
    // between words are ignored), as `kvcodes synth` prints them.
    [[nodiscard]] std::string LoadCaptureFile(const std::filesystem::path& file);
    [[nodiscard]] std::string QueueRawCapture(std::string_view words);
    std::size_t PendingSignals() const;
    void ClearPendingSignals();
    bool InCaptureMode() const;

    // The receiver's distortion applied to pressed keys (the seed advances
    // with every press, so two presses differ). kIdealReceiver gives exact timings.
    void SetReceiver(const ReceiverModel& receiver);
    ReceiverModel Receiver() const;

    // The key-code table in the flash, as the remote would send it (without
    // the zero filler), and a way back to the factory state.
    std::string FlashText() const;
    [[nodiscard]] bool ResetToFactory();
    const std::filesystem::path& Folder() const { return folder_; }

  private:
    VirtualRemote(std::filesystem::path folder, int lockFd, Clock& clock, RemoteIdentity identity,
                  const RemoteSwitches& switches, TransferTimes times, std::string flash);

    bool Usable(RemoteOperation operation) const;       // caller holds mutex_
    void KeepIdentity(const RemoteIdentity& identity);  // caller holds mutex_
    void KeepSwitches();                                // caller holds mutex_
    void Transfer(std::chrono::milliseconds duration);

    const std::filesystem::path folder_;
    const int lockFd_;
    Clock& clock_;
    const TransferTimes times_;
    const FlashStore store_;
    const FlashStore identityStore_;
    const FlashStore switchesStore_;

    mutable std::mutex mutex_;
    RemoteIdentity identity_;
    bool plugged_;
    bool captureMode_ = false;
    std::array<bool, kRemoteOperationCount> failing_;
    // The faults the file keeps for the next start: those of this run, but
    // for the start-up read faults this start took from the file.
    std::array<bool, kRemoteOperationCount> keptFailing_;
    std::deque<std::string> pendingSignals_;
    ReceiverModel receiver_;
    std::uint64_t presses_ = 0;
    bool toggle_ = false;
    std::string flash_;
};

}  // namespace kv::device
