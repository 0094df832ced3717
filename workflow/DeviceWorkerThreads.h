#pragma once

#include <memory>

#include "device/Clock.h"
#include "device/CodeCollector.h"
#include "device/Dialogs.h"
#include "device/LinkWatcher.h"
#include "device/RemoteDevice.h"
#include "device/UiDispatcher.h"
#include "workflow/WindowModel.h"
#include "workflow/WorkerThreads.h"

namespace kv::workflow {

// The watcher's controls, reached by name in the window model.
class ModelLinkWindow final : public device::LinkWindow {
  public:
    explicit ModelLinkWindow(WindowModel& model) : model_(model) {}
    void SetText(std::string_view control, const std::string& text) override;
    void SetVisible(std::string_view control, bool visible) override;
    void SetEnabled(std::string_view control, bool enabled) override;

  private:
    WindowModel& model_;
};

// The real workers: the link watcher and the code collector threads.
class DeviceWorkerThreads final : public WorkerThreads {
  public:
    DeviceWorkerThreads(device::RemoteDevice& device, device::Clock& clock,
                        device::UiDispatcher& dispatcher, device::Dialogs& dialogs)
        : device_(device), clock_(clock), dispatcher_(dispatcher), dialogs_(dialogs) {}
    ~DeviceWorkerThreads() override { ReleaseAll(); }

    void StartLinkWatcher(device::LinkWindow& window, std::string remoteIdentity,
                          std::function<void(device::LinkWatchEnd)> ended) override;
    void StopLinkWatcher() override;
    void StartCollector(std::atomic<int>& collectControl,
                        std::function<void(std::string capture)> ended) override;
    void ReleaseAll() override;

  private:
    device::RemoteDevice& device_;
    device::Clock& clock_;
    device::UiDispatcher& dispatcher_;
    device::Dialogs& dialogs_;
    std::unique_ptr<device::linkstate> watcher_;
    std::unique_ptr<device::TCollectCode> collector_;
};

}  // namespace kv::workflow
