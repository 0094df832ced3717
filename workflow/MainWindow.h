#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "device/Dialogs.h"
#include "device/RemoteDevice.h"
#include "workflow/AnimationPlayer.h"
#include "workflow/DeviceWorkerThreads.h"
#include "workflow/DisplayModes.h"
#include "workflow/ExternalConverter.h"
#include "workflow/KeyRecordEncoder.h"
#include "workflow/MainWindowState.h"
#include "workflow/PictureLibrary.h"
#include "workflow/WindowModel.h"
#include "workflow/WorkerThreads.h"

namespace kv::workflow {

// What the main window reaches outside itself.
struct MainWindowPorts {
    device::RemoteDevice& device;
    device::Dialogs& dialogs;
    PictureLibrary& pictures;
    DisplayModes& displayModes;
    AnimationPlayer& animation;
    ExternalConverter& converter;
    KeyRecordEncoder& encoder;
    WorkerThreads& threads;
};

struct MainWindowSettings {
    // Folder of the running program, with its trailing separator; the style
    // library is looked for there.
    std::string programDir;
    // Where the learning animation is extracted at start-up and removed again
    // on a normal close.
    std::filesystem::path animationFile;
    // Lets the toolkit process pending window messages (the splash repaints
    // during identification). May be empty.
    std::function<void()> processPendingEvents;
};

// The main window's behaviour without a window toolkit: start-up and close,
// identification, the learning controller, collected-code handling, writes
// and delete mode. It drives the window model and the ports; the desktop
// program renders the model and turns clicks into the handlers below. Every
// handler runs on the UI thread.
class Tmainlernix {
  public:
    Tmainlernix(MainWindowPorts ports, MainWindowSettings settings);
    ~Tmainlernix();
    Tmainlernix(const Tmainlernix&) = delete;
    Tmainlernix& operator=(const Tmainlernix&) = delete;

    WindowModel& Model() { return model_; }
    const MainWindowState& State() const { return state_; }

    // Lifecycle.
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    // Any close request: the query, and the close itself when it is allowed.
    // The model reports Closed() afterwards.
    void Close();
    void IBtn79Click() { Close(); }
    void updateibtnClick();

    // Learning.
    void beginstudyibtnClick();
    void KeyClick(IBtn& key);
    // A click on the named key button, when it takes clicks.
    void KeyButtonClick(IBtn& key);
    void CollectThreadTerminate(std::string capture);
    bool FinishLearning();
    void UpdateDeleteButtons();
    void ShowIdlePanel();

    // Deleting.
    void delstudykeyClick();

    // The link watcher's end: close the window unless a close is under way.
    // When another remote came back, nothing is ever written to it.
    void LinkWatcherEnded(device::LinkWatchEnd why);

    // Exposed for tests and the tools: identification on its own.
    void IdentifyRemote();
    bool LoadPictures();

  private:
    // Message box with the prompt caption and the given buttons.
    device::DialogAnswer Ask(const std::string& text, device::DialogButtons buttons);
    void Tell(const std::string& text);
    void SetStatus(std::string text, bool repaint);

    bool RefuseRemote(const std::string& basicInfo);
    void CheckScreen();

    void ShowKeyPicture(IBtn& key, PictureSet set);
    void LearnKey(IBtn& key);
    void StopLearning();
    void StartCollector();
    void DropQueuedKey(IBtn& key);
    void CaptureFailed();
    std::string ConvertExternally(IBtn& key, std::string captureText);
    void KeyNotRecognised(IBtn& key);
    void DiscardLearningRun();

    void DeleteKey(IBtn& key);
    enum class WriteResult { Written, Failed, Refused };
    WriteResult WriteTable(const std::string& table);
    void WriteDeletions();

    MainWindowPorts ports_;
    MainWindowSettings settings_;
    WindowModel model_;
    ModelLinkWindow linkWindow_;
    MainWindowState state_;
};

}  // namespace kv::workflow
