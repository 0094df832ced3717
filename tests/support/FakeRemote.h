#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "device/RemoteDevice.h"

namespace kv::test {

// A remote whose every answer the test sets beforehand. Safe to call from
// the UI thread and both workers at once. Hooks run on the calling thread,
// outside the fake's lock, before the call answers: a poll hook can move a
// fake clock on or ask the collector to stop at an exact point.
class FakeRemote final : public device::RemoteDevice {
  public:
    // --- link ---
    void SetConnected(bool connected) {
        std::lock_guard lock(mutex_);
        connected_ = connected;
    }
    // link_state answers these in order; the last one then stays.
    void ScriptLinkStates(std::vector<bool> states) {
        std::lock_guard lock(mutex_);
        linkScript_.assign(states.begin(), states.end());
    }

    // --- basic information and table ---
    void SetBasicInfo(std::string text) { Set(basicInfo_, std::move(text)); }
    void SetBasicInfoFails(bool fails) { Set(basicInfoFails_, fails); }
    void SetKeyCodeTable(std::string text) { Set(table_, std::move(text)); }
    void SetTableReadFails(bool fails) { Set(tableReadFails_, fails); }

    // --- capture ---
    void SetCaptureModeResult(bool entered) { Set(captureModeResult_, entered); }
    // Polls answer false this many times, in turn with queued captures.
    void QueueEmptyPolls(int count) {
        std::lock_guard lock(mutex_);
        for (int i = 0; i < count; ++i) {
            pollScript_.emplace_back(std::nullopt);
        }
    }
    // A poll answers true with this raw capture (cut or zero-padded to the
    // buffer). Polls beyond the script answer false.
    void QueueCapture(std::string raw) {
        std::lock_guard lock(mutex_);
        pollScript_.emplace_back(std::move(raw));
    }
    void OnCaptureMode(std::function<void()> hook) { Set(onCaptureMode_, std::move(hook)); }
    void OnCapturePoll(std::function<void()> hook) { Set(onCapturePoll_, std::move(hook)); }

    // --- write ---
    void SetWriteResult(bool stored) { Set(writeResult_, stored); }
    // Every text passed to a write, successful or not.
    std::vector<std::string> Writes() const { return Get(writes_); }

    // --- what was asked ---
    int LinkStateCalls() const { return Get(linkStateCalls_); }
    int BasicInfoReads() const { return Get(basicInfoReads_); }
    int TableReads() const { return Get(tableReads_); }
    int CaptureModeCalls() const { return Get(captureModeCalls_); }
    int CapturePolls() const { return Get(capturePolls_); }

    // --- RemoteDevice ---
    bool link_state() override {
        std::lock_guard lock(mutex_);
        ++linkStateCalls_;
        if (!linkScript_.empty()) {
            connected_ = linkScript_.front();
            linkScript_.pop_front();
        }
        return connected_;
    }

    bool RBasicInfo(char* buffer) override {
        std::lock_guard lock(mutex_);
        ++basicInfoReads_;
        return !basicInfoFails_ && Fill(buffer, device::kBasicInfoSize, basicInfo_);
    }

    bool RCodeTypeDataKVhotel(char* buffer) override {
        std::lock_guard lock(mutex_);
        ++tableReads_;
        return !tableReadFails_ && Fill(buffer, device::kKeyCodeTableSize, table_);
    }

    bool SetCodeCarrierWave() override {
        RunHook(onCaptureMode_);
        std::lock_guard lock(mutex_);
        ++captureModeCalls_;
        return captureModeResult_;
    }

    bool RCollectCodeInfo(char* buffer) override {
        RunHook(onCapturePoll_);
        std::lock_guard lock(mutex_);
        ++capturePolls_;
        if (pollScript_.empty()) {
            return false;
        }
        std::optional<std::string> answer = std::move(pollScript_.front());
        pollScript_.pop_front();
        return answer && Fill(buffer, device::kCaptureSize, *answer);
    }

    bool WCodeDataKVHOTEL(const char* text) override {
        std::lock_guard lock(mutex_);
        writes_.emplace_back(text);
        if (writeResult_) {
            table_ = writes_.back();
        }
        return writeResult_;
    }

  private:
    static bool Fill(char* buffer, std::size_t size, const std::string& text) {
        std::memcpy(buffer, text.data(), std::min(size, text.size()));
        return true;
    }

    template <typename T, typename V>
    void Set(T& field, V&& value) {
        std::lock_guard lock(mutex_);
        field = std::forward<V>(value);
    }

    template <typename T>
    T Get(const T& field) const {
        std::lock_guard lock(mutex_);
        return field;
    }

    void RunHook(const std::function<void()>& hookField) {
        std::function<void()> hook = Get(hookField);
        if (hook) {
            hook();
        }
    }

    mutable std::mutex mutex_;
    bool connected_ = true;
    std::deque<bool> linkScript_;
    std::string basicInfo_;
    bool basicInfoFails_ = false;
    std::string table_;
    bool tableReadFails_ = false;
    bool captureModeResult_ = true;
    std::deque<std::optional<std::string>> pollScript_;
    std::function<void()> onCaptureMode_;
    std::function<void()> onCapturePoll_;
    bool writeResult_ = true;
    std::vector<std::string> writes_;
    int linkStateCalls_ = 0;
    int basicInfoReads_ = 0;
    int tableReads_ = 0;
    int captureModeCalls_ = 0;
    int capturePolls_ = 0;
};

}  // namespace kv::test
