#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "device/LinkWatcher.h"

namespace kv::workflow {

// Starts the window's two kinds of worker. The end handlers run on the UI
// thread after the worker's body has returned.
class WorkerThreads {
  public:
    virtual ~WorkerThreads() = default;

    // `window`: the controls the watcher shows the link state on; it must
    // stay alive until ReleaseAll. `remoteIdentity`: who must come back after
    // an unplug. `ended` learns why the watcher stopped.
    virtual void StartLinkWatcher(device::LinkWindow& window, std::string remoteIdentity,
                                  std::function<void(device::LinkWatchEnd)> ended) = 0;
    // Asks the watcher to stop at the start of its next pass; does not wait.
    virtual void StopLinkWatcher() = 0;

    // One collection. The worker reads `collectControl` between polls;
    // `ended` gets the raw capture, or the empty text when none arrived.
    virtual void StartCollector(std::atomic<int>& collectControl,
                                std::function<void(std::string capture)> ended) = 0;

    // Stops and joins every worker; end handlers not yet run never run. Called
    // on the UI thread before the window's state goes away.
    virtual void ReleaseAll() = 0;
};

}  // namespace kv::workflow
