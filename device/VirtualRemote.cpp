#include "device/VirtualRemote.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "codestyle/HexText.h"
#include "device/FactoryTable.h"

namespace kv::device {
namespace {

constexpr const char* kFlashFileName = "flash.hex";
constexpr const char* kDamagedFlashFileName = "flash.hex.damaged";
constexpr const char* kLockFileName = "lock";
constexpr const char* kIdentityFileName = "identity";
constexpr const char* kSwitchesFileName = "switches";
// Longer than any field of the basic information; a longer file is not ours.
constexpr std::size_t kMaxIdentityFileBytes = 256;
// Room for every switch line several times over; a longer file is not ours.
constexpr std::size_t kMaxSwitchesFileBytes = 512;

// The names of the switches in their file, the fault switches in the order
// of RemoteOperation.
constexpr const char* kUnpluggedName = "unplugged";
constexpr std::array<const char*, kRemoteOperationCount> kFailingNames = {
    "capture-mode-fails", "capture-fails", "basic-info-fails", "table-read-fails",
    "table-write-fails"};

// Positions in the basic information, counted from 0.
constexpr std::size_t kIdentityAt = 0;
constexpr std::size_t kIdentityWidth = 30;
constexpr std::size_t kMajorVersionAt = 64;
constexpr std::size_t kMinorVersionAt = 66;
constexpr std::size_t kVersionWidth = 2;
constexpr std::size_t kTypeCodeAt = 70;
constexpr std::size_t kTypeCodeWidth = 4;

// A capture file larger than this cannot be a capture of the remote, even
// with spaces between its words.
constexpr std::uintmax_t kMaxCaptureFileBytes = 64 * 1024;

void PlaceField(std::string& info, std::size_t at, std::size_t width, const std::string& value) {
    std::string field = value.substr(0, width);
    field.resize(width, ' ');
    info.replace(at, width, field);
}

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        return home;
    }
    if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
        return user->pw_dir;
    }
    return std::filesystem::temp_directory_path();
}

// Fills a read buffer of `size` bytes with `text` and zero bytes after it.
void FillBuffer(char* buffer, std::size_t size, const std::string& text) {
    const std::size_t used = std::min(size, text.size());
    std::memcpy(buffer, text.data(), used);
    std::memset(buffer + used, 0, size - used);
}

std::string CaptureWordsOnly(std::string_view words, std::string& problem) {
    std::string compact;
    for (char c : words) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isspace(byte)) {
            continue;
        }
        if (codestyle::HexDigitValue(c) < 0) {
            problem = "采集文件含有非十六进制字符。";
            return {};
        }
        compact += static_cast<char>(std::toupper(byte));
    }
    if (compact.empty()) {
        problem = "采集文件中没有采集数据。";
    } else if (compact.size() % 4 != 0) {
        problem = "采集数据不是完整的四位字组。";
    } else if (compact.size() > kCaptureSize) {
        problem = "采集数据超过遥控器的采集缓冲区。";
    }
    return problem.empty() ? compact : std::string{};
}

// The identity file holds the four fields, one a line.
std::string IdentityFileText(const RemoteIdentity& identity) {
    std::string text;
    for (const std::string* field :
         {&identity.identity, &identity.majorVersion, &identity.minorVersion, &identity.typeCode}) {
        std::string line = *field;
        std::replace(line.begin(), line.end(), '\n', ' ');
        text += line + '\n';
    }
    return text;
}

std::optional<RemoteIdentity> IdentityFromFileText(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (lines.size() != 4 || start != text.size()) {
        return std::nullopt;
    }
    return RemoteIdentity{lines[0], lines[1], lines[2], lines[3]};
}

// The switches file holds one "name 0" or "name 1" line per switch, so that
// a person can read (and edit) what the next start will meet.
std::string SwitchesFileText(const RemoteSwitches& switches) {
    const auto line = [](const char* name, bool on) {
        return std::string(name) + (on ? " 1\n" : " 0\n");
    };
    std::string text = line(kUnpluggedName, !switches.plugged);
    for (std::size_t i = 0; i < kFailingNames.size(); ++i) {
        text += line(kFailingNames[i], switches.failing[i]);
    }
    return text;
}

// Sets the switch named `name`; false when no switch has that name.
bool SetSwitch(RemoteSwitches& switches, std::string_view name, bool on) {
    if (name == kUnpluggedName) {
        switches.plugged = !on;
        return true;
    }
    for (std::size_t i = 0; i < kFailingNames.size(); ++i) {
        if (name == kFailingNames[i]) {
            switches.failing[i] = on;
            return true;
        }
    }
    return false;
}

// Nothing unless every line names a switch and sets it to 0 or 1; switches
// the file leaves out keep their defaults.
std::optional<RemoteSwitches> SwitchesFromFileText(std::string_view text) {
    RemoteSwitches switches;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            return std::nullopt;  // a file cut short in its last line
        }
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view value = line.substr(space + 1);
        if ((value != "0" && value != "1") ||
            !SetSwitch(switches, line.substr(0, space), value == "1")) {
            return std::nullopt;
        }
    }
    return switches;
}

// A failing basic-information or table read ends the program at start-up,
// before the control window could switch it off again. Such a fault holds
// for the one start that takes it from the file; what is kept for the next
// start leaves it out.
std::array<bool, kRemoteOperationCount> FaultsForTheNextStart(
    std::array<bool, kRemoteOperationCount> failing) {
    failing[static_cast<std::size_t>(RemoteOperation::BasicInfo)] = false;
    failing[static_cast<std::size_t>(RemoteOperation::TableRead)] = false;
    return failing;
}

}  // namespace

RemoteIdentity DefaultRemoteIdentity() {
    return {"KV R207A VIRTUAL 000001", "01", "02", "7315"};
}

std::string BasicInfoText(const RemoteIdentity& identity) {
    std::string info(kBasicInfoSize, '\0');
    PlaceField(info, kIdentityAt, kIdentityWidth, identity.identity);
    PlaceField(info, kMajorVersionAt, kVersionWidth, identity.majorVersion);
    PlaceField(info, kMinorVersionAt, kVersionWidth, identity.minorVersion);
    PlaceField(info, kTypeCodeAt, kTypeCodeWidth, identity.typeCode);
    return info;
}

std::filesystem::path DefaultVirtualRemoteFolder() {
    std::filesystem::path data;
    // Relative values are to be ignored, so a stray setting cannot move the
    // flash into whatever folder the program was started from.
    if (const char* xdg = std::getenv("XDG_DATA_HOME");
        xdg != nullptr && std::filesystem::path(xdg).is_absolute()) {
        data = xdg;
    } else {
        data = HomeFolder() / ".local" / "share";
    }
    return data / "kvlearn" / "virtual-remote";
}

VirtualRemote::Opened VirtualRemote::Open(const std::filesystem::path& folder, Clock& clock,
                                          RemoteIdentity identity, TransferTimes times) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return {nullptr, "无法创建虚拟遥控器的文件夹 " + folder.string() + "：" + error.message()};
    }
    const std::filesystem::path lockFile = folder / kLockFileName;
    const int lockFd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lockFd < 0) {
        return {nullptr,
                "无法打开虚拟遥控器的锁文件 " + lockFile.string() + "：" + std::strerror(errno)};
    }
    if (::flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
        ::close(lockFd);
        return {nullptr,
                "虚拟遥控器正被另一个程序使用（" + folder.string() + "），请先关闭那个程序。"};
    }

    const FlashStore store(folder / kFlashFileName);
    // Whatever an interrupted save left behind is not part of the flash.
    std::filesystem::remove(store.TemporaryFile(), error);
    std::optional<std::string> flash = store.Load(kKeyCodeTableSize);
    if (flash && !IsStorableKeyCodeTable(*flash)) {
        // Only an edit from outside can damage the file; keep it for a look
        // and start again from the factory table.
        std::filesystem::rename(store.File(), folder / kDamagedFlashFileName, error);
        flash.reset();
    }
    if (!flash) {
        flash = FactoryKeyCodeTable();
        if (!store.Save(*flash)) {
            ::close(lockFd);
            return {nullptr, "无法写入虚拟遥控器的存储文件 " + store.File().string() + "。"};
        }
    }
    const FlashStore identityStore(folder / kIdentityFileName);
    std::filesystem::remove(identityStore.TemporaryFile(), error);
    if (const std::optional<std::string> saved = identityStore.Load(kMaxIdentityFileBytes)) {
        // A damaged identity file gives way to the identity of a new remote.
        identity = IdentityFromFileText(*saved).value_or(identity);
    }
    const FlashStore switchesStore(folder / kSwitchesFileName);
    std::filesystem::remove(switchesStore.TemporaryFile(), error);
    RemoteSwitches switches;
    if (const std::optional<std::string> saved = switchesStore.Load(kMaxSwitchesFileBytes);
        saved && saved->size() <= kMaxSwitchesFileBytes) {
        // A damaged file gives the switches of a new remote: plugged in,
        // nothing failing.
        switches = SwitchesFromFileText(*saved).value_or(RemoteSwitches{});
    }
    if (FaultsForTheNextStart(switches.failing) != switches.failing) {
        (void)switchesStore.Save(
            SwitchesFileText({switches.plugged, FaultsForTheNextStart(switches.failing)}));
    }
    return {std::unique_ptr<VirtualRemote>(new VirtualRemote(
                folder, lockFd, clock, std::move(identity), switches, times, std::move(*flash))),
            {}};
}

VirtualRemote::VirtualRemote(std::filesystem::path folder, int lockFd, Clock& clock,
                             RemoteIdentity identity, const RemoteSwitches& switches,
                             TransferTimes times, std::string flash)
    : folder_(std::move(folder)),
      lockFd_(lockFd),
      clock_(clock),
      times_(times),
      store_(folder_ / kFlashFileName),
      identityStore_(folder_ / kIdentityFileName),
      switchesStore_(folder_ / kSwitchesFileName),
      identity_(std::move(identity)),
      plugged_(switches.plugged),
      failing_(switches.failing),
      keptFailing_(FaultsForTheNextStart(switches.failing)),
      flash_(std::move(flash)) {}

VirtualRemote::~VirtualRemote() {
    // Closing the descriptor releases the lock for the next program.
    ::close(lockFd_);
}

void VirtualRemote::Transfer(std::chrono::milliseconds duration) {
    if (duration.count() > 0) {
        clock_.Pause(duration);
    }
}

bool VirtualRemote::Usable(RemoteOperation operation) const {
    return plugged_ && !failing_[static_cast<std::size_t>(operation)];
}

bool VirtualRemote::link_state() {
    Transfer(times_.call);
    const std::lock_guard lock(mutex_);
    return plugged_;
}

bool VirtualRemote::RBasicInfo(char* buffer) {
    Transfer(times_.call);
    const std::lock_guard lock(mutex_);
    if (buffer == nullptr || !Usable(RemoteOperation::BasicInfo)) {
        return false;
    }
    FillBuffer(buffer, kBasicInfoSize, BasicInfoText(identity_));
    return true;
}

bool VirtualRemote::RCodeTypeDataKVhotel(char* buffer) {
    Transfer(times_.call);
    const std::lock_guard lock(mutex_);
    if (buffer == nullptr || !Usable(RemoteOperation::TableRead)) {
        return false;
    }
    FillBuffer(buffer, kKeyCodeTableSize, flash_);
    return true;
}

bool VirtualRemote::SetCodeCarrierWave() {
    Transfer(times_.call);
    const std::lock_guard lock(mutex_);
    if (!Usable(RemoteOperation::CaptureMode)) {
        return false;
    }
    captureMode_ = true;
    return true;
}

bool VirtualRemote::RCollectCodeInfo(char* buffer) {
    Transfer(times_.capturePoll);
    const std::lock_guard lock(mutex_);
    if (buffer == nullptr || !Usable(RemoteOperation::Capture) || !captureMode_ ||
        pendingSignals_.empty()) {
        return false;
    }
    FillBuffer(buffer, kCaptureSize, pendingSignals_.front());
    pendingSignals_.pop_front();
    captureMode_ = false;
    return true;
}

bool VirtualRemote::WCodeDataKVHOTEL(const char* text) {
    Transfer(times_.tableWrite);
    const std::lock_guard lock(mutex_);
    if (text == nullptr || !Usable(RemoteOperation::TableWrite)) {
        return false;
    }
    // Read no further than one character past the flash size: the text may
    // lack its terminating zero.
    const std::size_t length = ::strnlen(text, kKeyCodeTableSize + 1);
    std::string table(text, length);
    if (!IsStorableKeyCodeTable(table) || !store_.Save(table)) {
        return false;
    }
    flash_ = std::move(table);
    return true;
}

void VirtualRemote::Unplug() {
    const std::lock_guard lock(mutex_);
    plugged_ = false;
    captureMode_ = false;
    KeepSwitches();
}

void VirtualRemote::PlugIn() {
    const std::lock_guard lock(mutex_);
    plugged_ = true;
    KeepSwitches();
}

void VirtualRemote::PlugInAs(const RemoteIdentity& otherRemote) {
    const std::lock_guard lock(mutex_);
    KeepIdentity(otherRemote);
    plugged_ = true;
    KeepSwitches();
}

bool VirtualRemote::IsPlugged() const {
    const std::lock_guard lock(mutex_);
    return plugged_;
}

RemoteIdentity VirtualRemote::Identity() const {
    const std::lock_guard lock(mutex_);
    return identity_;
}

void VirtualRemote::SetIdentity(const RemoteIdentity& identity) {
    const std::lock_guard lock(mutex_);
    KeepIdentity(identity);
}

void VirtualRemote::KeepIdentity(const RemoteIdentity& identity) {
    identity_ = identity;
    (void)identityStore_.Save(IdentityFileText(identity));
}

void VirtualRemote::KeepSwitches() {
    // Like the identity: a switch that cannot be saved holds until the
    // remote is closed.
    (void)switchesStore_.Save(SwitchesFileText({plugged_, keptFailing_}));
}

void VirtualRemote::SetFailing(RemoteOperation operation, bool failing) {
    const std::lock_guard lock(mutex_);
    failing_[static_cast<std::size_t>(operation)] = failing;
    keptFailing_[static_cast<std::size_t>(operation)] = failing;
    KeepSwitches();
}

bool VirtualRemote::IsFailing(RemoteOperation operation) const {
    const std::lock_guard lock(mutex_);
    return failing_[static_cast<std::size_t>(operation)];
}

std::string VirtualRemote::PressRoomKey(IrProtocol protocol, std::uint32_t address,
                                        std::uint32_t command, int frames) {
    const std::lock_guard lock(mutex_);
    const SignalRequest request{protocol, address, command, frames, toggle_};
    if (std::string problem = CheckSignalRequest(request); !problem.empty()) {
        return problem;
    }
    ReceiverModel receiver = receiver_;
    receiver.seed += presses_;
    std::string capture = SynthesiseCapture(request, receiver);
    if (capture.empty()) {
        return "无法生成该按键的信号。";
    }
    ++presses_;
    toggle_ = !toggle_;  // a new press of an RC5/RC6 remote flips its toggle bit
    pendingSignals_.push_back(std::move(capture));
    return {};
}

std::string VirtualRemote::LoadCaptureFile(const std::filesystem::path& file) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) {
        return "无法读取采集文件 " + file.string() + "：" + error.message();
    }
    if (size > kMaxCaptureFileBytes) {
        return "采集文件太大，不是遥控器的采集数据。";
    }
    std::ifstream in(file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return "无法读取采集文件 " + file.string() + "。";
    }
    return QueueRawCapture(text);
}

std::string VirtualRemote::QueueRawCapture(std::string_view words) {
    std::string problem;
    std::string capture = CaptureWordsOnly(words, problem);
    if (!problem.empty()) {
        return problem;
    }
    const std::lock_guard lock(mutex_);
    pendingSignals_.push_back(std::move(capture));
    return {};
}

std::size_t VirtualRemote::PendingSignals() const {
    const std::lock_guard lock(mutex_);
    return pendingSignals_.size();
}

void VirtualRemote::ClearPendingSignals() {
    const std::lock_guard lock(mutex_);
    pendingSignals_.clear();
}

bool VirtualRemote::InCaptureMode() const {
    const std::lock_guard lock(mutex_);
    return captureMode_;
}

void VirtualRemote::SetReceiver(const ReceiverModel& receiver) {
    const std::lock_guard lock(mutex_);
    receiver_ = receiver;
}

ReceiverModel VirtualRemote::Receiver() const {
    const std::lock_guard lock(mutex_);
    return receiver_;
}

std::string VirtualRemote::FlashText() const {
    const std::lock_guard lock(mutex_);
    return flash_;
}

bool VirtualRemote::ResetToFactory() {
    const std::lock_guard lock(mutex_);
    std::string factory = FactoryKeyCodeTable();
    if (!store_.Save(factory)) {
        return false;
    }
    flash_ = std::move(factory);
    return true;
}

}  // namespace kv::device
