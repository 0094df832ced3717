#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "device/CodeCollector.h"
#include "workflow/ImageButton.h"
#include "workflow/KeyStates.h"

namespace kv::workflow {

// What collection may do: the controller writes it, the collector only reads.
using device::kCollectMayRun;
using device::kCollectMustStop;

// The state the main window shares between start-up, the link watcher and
// the learning workflow. Everything except `collectControl` is touched on the
// UI thread only.
struct MainWindowState {
    bool studyMode = false;
    bool deleteMode = false;
    bool codesDirty = false;
    bool identifyFailed = false;
    bool closing = false;

    // First 30 characters of the remote's basic information; fixed once read.
    std::string remoteIdentity;
    // Folder of the running program, with its trailing separator.
    std::string appDir;

    // Read by the collector thread between its polls.
    std::atomic<int> collectControl{kCollectMayRun};
    // The raw capture of the last collection, or empty.
    std::string collectedCode;

    // The remote's table as the last write sent it (or as read at start-up).
    std::string keyCodeText;
    // The learning copy that captures are merged into.
    std::string keyCodeWork;

    KeyStateList keyStates;
    KeyStateList keyStateBackups;
    // The key whose code is being collected; at most one, not owned.
    std::vector<IBtn*> keyQueue;

    // Whether the two worker threads run; their objects live with the window.
    bool linkWatcherRunning = false;
    // The link watcher found another remote (or one it cannot read) where
    // ours was: the codes of this window are not for it.
    bool otherRemoteConnected = false;
    bool collectorRunning = false;
    // Learning was switched off while the running collection was under way:
    // what it brings back is not for the key now queued, if any.
    bool collectionStopped = false;
};

}  // namespace kv::workflow
