#include "workflow/DeviceWorkerThreads.h"

namespace kv::workflow {

void ModelLinkWindow::SetText(std::string_view control, const std::string& text) {
    if (Control* found = model_.Find(control)) {
        found->SetText(text);
    }
}

void ModelLinkWindow::SetVisible(std::string_view control, bool visible) {
    if (Control* found = model_.Find(control)) {
        found->SetVisible(visible);
    }
}

void ModelLinkWindow::SetEnabled(std::string_view control, bool enabled) {
    if (Control* found = model_.Find(control)) {
        found->SetEnabled(enabled);
    }
}

void DeviceWorkerThreads::StartLinkWatcher(device::LinkWindow& window, std::string remoteIdentity,
                                           std::function<void(device::LinkWatchEnd)> ended) {
    device::LinkWatcherPorts ports{device_, clock_, dispatcher_, dialogs_, window};
    // The watcher object stays until ReleaseAll: its end handler runs on the
    // UI thread from inside the watcher's own handoff.
    watcher_ =
        std::make_unique<device::linkstate>(ports, std::move(remoteIdentity), std::move(ended));
}

void DeviceWorkerThreads::StopLinkWatcher() {
    if (watcher_) {
        watcher_->RequestStop();
    }
}

void DeviceWorkerThreads::StartCollector(std::atomic<int>& collectControl,
                                         std::function<void(std::string capture)> ended) {
    device::CollectorPorts ports{device_, clock_, dispatcher_};
    device::StartCollection(collector_, collectControl, ports,
                            [this, ended = std::move(ended)](std::string capture) {
                                // The collector hands its end handler over as
                                // a copy, so releasing it here is safe.
                                collector_.reset();
                                ended(std::move(capture));
                            });
}

void DeviceWorkerThreads::ReleaseAll() {
    collector_.reset();
    watcher_.reset();
}

}  // namespace kv::workflow
