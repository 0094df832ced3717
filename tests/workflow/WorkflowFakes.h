#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/Dialogs.h"
#include "device/RemoteDevice.h"
#include "workflow/AnimationPlayer.h"
#include "workflow/DisplayModes.h"
#include "workflow/ExternalConverter.h"
#include "workflow/KeyRecordEncoder.h"
#include "workflow/PictureLibrary.h"
#include "workflow/WorkerThreads.h"

namespace kv::workflow::testing {

using device::DialogAnswer;
using device::DialogButtons;

// One message box as the operator saw it.
struct ShownDialog {
    std::string text;
    std::string caption;
    DialogButtons buttons;
    friend bool operator==(const ShownDialog&, const ShownDialog&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const ShownDialog& dialog) {
    return out << "[" << dialog.caption << "|" << static_cast<int>(dialog.buttons) << "] "
               << dialog.text;
}

inline ShownDialog Prompt(std::string text, DialogButtons buttons = DialogButtons::Ok) {
    return {std::move(text), device::kPromptCaption, buttons};
}
inline ShownDialog Plain(std::string text) {
    return {std::move(text), device::kAppTitle, DialogButtons::Ok};
}

// Answers message boxes from a script and records every one shown. A box
// with a choice that the script did not foresee fails the test. `whileShown`
// is what happens in the world while a box is on screen, before it is
// answered (a remote plugged in, the window's events running).
class ScriptedDialogs final : public device::Dialogs {
  public:
    void Answer(DialogAnswer answer) { answers_.push_back(answer); }
    DialogAnswer Ask(const std::string& text, const std::string& caption,
                     DialogButtons buttons) override {
        shown.push_back({text, caption, buttons});
        if (whileShown) {
            whileShown(text);
        }
        if (buttons == DialogButtons::Ok) {
            return DialogAnswer::Ok;
        }
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return DialogAnswer::Cancel;
        }
        const DialogAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    bool AllAnswersUsed() const { return answers_.empty(); }

    std::vector<ShownDialog> shown;
    std::function<void(const std::string& text)> whileShown;

  private:
    std::deque<DialogAnswer> answers_;
};

// A remote that answers from fields; writes are recorded.
class FakeRemote final : public device::RemoteDevice {
  public:
    bool link_state() override {
        if (!linkAnswers.empty()) {
            const bool answer = linkAnswers.front();
            linkAnswers.pop_front();
            return answer;
        }
        return connected;
    }
    bool RBasicInfo(char* buffer) override {
        return Fill(buffer, basicInfo, device::kBasicInfoSize);
    }
    bool RCodeTypeDataKVhotel(char* buffer) override {
        return Fill(buffer, table, device::kKeyCodeTableSize);
    }
    bool SetCodeCarrierWave() override { return true; }
    bool RCollectCodeInfo(char*) override { return false; }
    bool WCodeDataKVHOTEL(const char* text) override {
        writes.emplace_back(text);
        return writeSucceeds;
    }

    bool connected = true;
    std::deque<bool> linkAnswers;  // answered first, then `connected`
    std::optional<std::string> basicInfo;
    std::optional<std::string> table;
    bool writeSucceeds = true;
    std::vector<std::string> writes;

  private:
    static bool Fill(char* buffer, const std::optional<std::string>& text, std::size_t size) {
        if (!text) {
            return false;
        }
        text->copy(buffer, std::min(size, text->size()));
        return true;
    }
};

// The basic information of a remote with these version and type fields.
inline std::string BasicInfo(const std::string& major, const std::string& minor,
                             const std::string& type, const std::string& identity = "REMOTE-1") {
    std::string info(device::kBasicInfoSize, '\0');
    info.replace(0, identity.size(), identity);
    info.replace(64, major.size(), major);
    info.replace(66, minor.size(), minor);
    info.replace(70, type.size(), type);
    return info;
}

class FakePictures final : public PictureLibrary {
  public:
    bool Open() override {
        calls.push_back("open");
        return opens;
    }
    std::string AnimationData() override { return animation; }
    bool LoadPictureSets() override {
        calls.push_back("load");
        return setsLoad;
    }
    void Close() override { calls.push_back("close"); }

    bool opens = true;
    bool setsLoad = true;
    std::string animation = "GIF89a-movie";
    std::vector<std::string> calls;
};

class FakeDisplayModes final : public DisplayModes {
  public:
    int ScreenWidth() override { return width; }
    int ScreenHeight() override { return height; }
    std::optional<DisplayMode> ReadMode(int index) override {
        readModes.push_back(index);
        return mode0;
    }
    std::optional<DisplayMode> ReadCurrentMode() override { return current; }
    bool ApplyMode(const DisplayMode& mode, std::uint32_t flags) override {
        applied.emplace_back(mode, flags);
        return true;
    }

    int width = 1280;
    int height = 1024;
    std::optional<DisplayMode> mode0;
    std::optional<DisplayMode> current;
    std::vector<int> readModes;
    std::vector<std::pair<DisplayMode, std::uint32_t>> applied;
};

class FakeAnimation final : public AnimationPlayer {
  public:
    void Load(const std::string& movieFile) override { calls.push_back("load " + movieFile); }
    void Play() override {
        calls.push_back("play");
        playing = true;
    }
    void Stop() override {
        calls.push_back("stop");
        playing = false;
    }
    bool playing = false;
    std::vector<std::string> calls;
};

// Hands out a scripted key record and remembers what it was given.
class FakeEncoder final : public KeyRecordEncoder {
  public:
    std::string Encode(std::string_view captureBody, int keyCode,
                       const std::string& appDir) override {
        bodies.emplace_back(captureBody);
        keyCodes.push_back(keyCode);
        lastAppDir = appDir;
        return reply ? reply(keyCode) : std::string();
    }
    std::function<std::string(int keyCode)> reply;
    std::vector<std::string> bodies;
    std::vector<int> keyCodes;
    std::string lastAppDir;
};

class FakeConverter final : public ExternalConverter {
  public:
    bool Available() override { return installed; }
    std::string Cominput(const std::string& request) override {
        requests.push_back(request);
        return reply;
    }
    bool installed = false;
    std::string reply;
    std::vector<std::string> requests;
};

// Workers that do nothing by themselves: the test ends them.
class FakeThreads final : public WorkerThreads {
  public:
    void StartLinkWatcher(device::LinkWindow&, std::string remoteIdentity,
                          std::function<void(device::LinkWatchEnd)> ended) override {
        ++watcherStarts;
        watcherIdentity = std::move(remoteIdentity);
        watcherEnded = std::move(ended);
    }
    void StopLinkWatcher() override { ++watcherStops; }
    void StartCollector(std::atomic<int>& collectControl,
                        std::function<void(std::string)> ended) override {
        ++collectorStarts;
        control = &collectControl;
        collectorEnded = std::move(ended);
    }
    void ReleaseAll() override { ++releases; }

    // The running collection ends with this capture ("" for none).
    void EndCollection(std::string capture) {
        ASSERT_TRUE(collectorEnded) << "no collection runs";
        auto ended = std::move(collectorEnded);
        collectorEnded = nullptr;
        ended(std::move(capture));
    }
    bool CollectionRuns() const { return static_cast<bool>(collectorEnded); }

    int watcherStarts = 0;
    int watcherStops = 0;
    int collectorStarts = 0;
    int releases = 0;
    std::string watcherIdentity;
    std::function<void(device::LinkWatchEnd)> watcherEnded;
    std::function<void(std::string)> collectorEnded;
    std::atomic<int>* control = nullptr;
};

// A key record of the remote's layout for a key: header, a first part of
// `first` bytes and a second part of `second` bytes, filled with `fill`.
inline std::string KeyRecord(const std::string& code, int first = 4, int second = 5,
                             char fill = 'A') {
    auto hex2 = [](int v) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        return std::string{kDigits[(v >> 4) & 0xF], kDigits[v & 0xF]};
    };
    return "0001" + code + "C70A00" + hex2(first) + hex2(first + 10) + "00" + hex2(second) +
           std::string(2 * static_cast<std::size_t>(first), fill) +
           std::string(2 * static_cast<std::size_t>(second), 'B');
}

}  // namespace kv::workflow::testing
