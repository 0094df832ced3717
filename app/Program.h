#pragma once

#include <QString>
#include <filesystem>
#include <memory>

#include "app/MainWindowView.h"
#include "app/MovieAnimationPlayer.h"
#include "app/PictureStore.h"
#include "app/QtDialogs.h"
#include "app/QtDisplayModes.h"
#include "app/QtUiDispatcher.h"
#include "app/VirtualRemotePanel.h"
#include "device/Clock.h"
#include "device/RemoteDeviceFactory.h"
#include "workflow/DeviceWorkerThreads.h"
#include "workflow/MainWindow.h"
#include "workflow/TransferCodeLibrary.h"

namespace kv::app {

struct ProgramSetup {
    // The program's folder with its trailing separator: picture libraries,
    // style library, help page and the vendor's device library live there.
    QString programDir;
    std::filesystem::path virtualRemoteFolder;
    bool searchSystemLibraryPath = true;
    // Where the learning animation is extracted while the program runs.
    std::filesystem::path animationFile;
};

// The setup of the installed program: its own folder, the user's folders.
ProgramSetup DefaultProgramSetup();

// Everything the running program is made of, built in the order the parts
// need each other and torn down the other way round.
class Program {
  public:
    // Nothing when no remote can be opened at all; `error` then says why.
    static std::unique_ptr<Program> Create(const ProgramSetup& setup, QString& error);
    ~Program();

    // The start sequence: the splash (with the virtual remote's control
    // window beside it, when that remote is in use), the main window's
    // creation with the remote's identification, 500 ms on the splash; the
    // main window is shown once the message loop runs.
    void Start();
    // The whole life of the program: Start(), then the message loop until
    // the main window has closed for good. Quitting the loop also ends any
    // message box still open, so a close that comes while a worker's prompt
    // is on screen does not leave that prompt behind.
    int Run();

    workflow::Tmainlernix& Window() { return *window_; }
    MainWindowView& View() { return *view_; }
    QtDialogs& Dialogs() { return dialogs_; }
    MovieAnimationPlayer& Animation() { return animation_; }
    // The virtual remote and its control window, when it is in use.
    device::VirtualRemote* Virtual() { return device_.virtualRemote; }
    VirtualRemotePanel* Panel() { return panel_.get(); }

  private:
    void ShowMainWindow();
    // Shows the virtual remote's control window to the right of `window`.
    void ShowPanelBeside(const QWidget& window);
    Program(const ProgramSetup& setup, device::RemoteDeviceChoice device);

    ProgramSetup setup_;
    device::SystemClock clock_;
    device::RemoteDeviceChoice device_;
    QtDialogs dialogs_;
    QtUiDispatcher dispatcher_;
    PictureStore pictures_;
    QtDisplayModes displayModes_;
    MovieAnimationPlayer animation_;
    workflow::TransferCodeLibrary converter_;
    std::unique_ptr<workflow::KeyRecordEncoder> encoder_;
    std::unique_ptr<workflow::DeviceWorkerThreads> threads_;
    std::unique_ptr<workflow::Tmainlernix> window_;
    std::unique_ptr<MainWindowView> view_;
    std::unique_ptr<VirtualRemotePanel> panel_;
};

}  // namespace kv::app
