#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "tests/workflow/WorkflowFakes.h"
#include "workflow/KeyCodeTable.h"
#include "workflow/MainWindow.h"

namespace kv::workflow::testing {

// The remote's table with one preset key, TV/ VOL+ (04): flags without the
// learned bit, an empty first block and a 2-byte second block.
inline std::string PresetTable() {
    return "0001"
           "0480"
           "0000"
           "00"
           "0A00"
           "02"
           "1122";
}

// The table with learned records merged in for these codes.
inline std::string WithLearned(std::string table, std::initializer_list<const char*> codes) {
    char fill = 'A';
    for (const char* code : codes) {
        table = MergeKeyRecord(table, KeyRecord(code, 4, 5, fill++));
    }
    return table;
}

// Raw capture words of a signal of `frames` short frames: mark, space, mark,
// then a short gap between frames and the end gap and a 37 kHz carrier
// trailer after the last one; zero-filled to the buffer's size as read.
inline std::string RawCapture(int frames = 1) {
    std::string raw;
    for (int i = 0; i < frames; ++i) {
        raw += "810003008200";
        if (i + 1 < frames) {
            raw += "7FFF0100";
        }
    }
    for (int i = 0; i < 20; ++i) {
        raw += "7FFF";
    }
    raw += "4F4F4F00";
    raw.resize(device::kCaptureSize, '\0');
    return raw;
}

inline PictureRef Pic(PictureSet set, int index) {
    return PictureRef::FromSet(set, index);
}

// The idle look of a window where no key is learned: delete mode off, the
// delete button grey and disabled, only the empty panel shown.
inline void ExpectNothingLearnedLook(Tmainlernix& window) {
    WindowModel& model = window.Model();
    EXPECT_FALSE(window.State().deleteMode);
    EXPECT_FALSE(model.delstudykey.Enabled());
    EXPECT_EQ(model.delstudykey.Picture(), PictureRef::Named("deletehui"));
    EXPECT_TRUE(model.Image8.Visible());
    for (const Control* panel : {&model.Image4, &model.Image5, &model.Image7}) {
        EXPECT_FALSE(panel->Visible()) << panel->Name();
    }
}

// A main window over fakes of every port, started as the program starts it.
class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest() {
        static int counter = 0;
        folder_ = std::filesystem::temp_directory_path() /
                  ("kv-mainwindow-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(folder_);
        remote.basicInfo = BasicInfo("01", "02", "7315");
        remote.table = PresetTable();
        encoder.reply = [](int keyCode) {
            static constexpr char kDigits[] = "0123456789ABCDEF";
            return KeyRecord(std::string{kDigits[keyCode >> 4], kDigits[keyCode & 0xF]});
        };
    }
    ~MainWindowTest() override {
        window.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::filesystem::path AnimationFile() const { return folder_ / "888.gif"; }

    Tmainlernix& Create() {
        MainWindowPorts ports{remote,    dialogs,   pictures, display,
                              animation, converter, encoder,  threads};
        window = std::make_unique<Tmainlernix>(
            ports, MainWindowSettings{"/opt/kvlearn/", AnimationFile(), {}});
        window->FormCreate();
        return *window;
    }
    Tmainlernix& Start() {
        Create();
        window->FormShow();
        return *window;
    }

    WindowModel& Model() { return window->Model(); }
    const MainWindowState& State() const { return window->State(); }
    IBtn& Key(const char* code) { return *window->Model().KeyByCode(code); }

    // Learning on, the key learned, and its confirmed write failing; the
    // remote takes writes again afterwards.
    void LearnAndFailToWrite(const char* code) {
        window->beginstudyibtnClick();
        LearnKey(code);
        remote.writeSucceeds = false;
        dialogs.Answer(DialogAnswer::Yes);
        window->beginstudyibtnClick();
        remote.writeSucceeds = true;
    }

    // Learning on, the key clicked and its collection ended with `capture`.
    void LearnKey(const char* code, const std::string& capture = RawCapture()) {
        window->KeyButtonClick(Key(code));
        threads.EndCollection(capture);
    }

    FakeRemote remote;
    ScriptedDialogs dialogs;
    FakePictures pictures;
    FakeDisplayModes display;
    FakeAnimation animation;
    FakeConverter converter;
    FakeEncoder encoder;
    FakeThreads threads;
    std::unique_ptr<Tmainlernix> window;

  private:
    std::filesystem::path folder_;
};

}  // namespace kv::workflow::testing
