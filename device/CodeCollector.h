#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>

#include "device/Clock.h"
#include "device/RemoteDevice.h"
#include "device/UiDispatcher.h"
#include "device/UiHandoff.h"

namespace kv::device {

// Values of `collectControl`.
inline constexpr int kCollectMayRun = 1;
inline constexpr int kCollectMustStop = 2;
// A collection ends at the first look that finds more whole seconds than
// this since its start: about 7 seconds of back-to-back polls.
inline constexpr int kCollectSecondsLimit = 6;

// Whole seconds from one time of day to a later one, across midnight.
int WholeSecondsBetween(const TimeOfDay& from, const TimeOfDay& to);

struct CollectorPorts {
    RemoteDevice& device;
    Clock& clock;
    UiDispatcher& dispatcher;
};

// The code collector: puts the remote into capture mode and polls for a
// capture, back to back, until one arrives, `collectControl` asks it to stop,
// more than 6 whole seconds have passed or the remote is unplugged.
//
// Shared state: `collectControl` belongs to the main window (written there,
// only read here) and must outlive the collector. `collectedCode` is the
// collector's own while it runs and is handed over whole to the end handler,
// which runs on the UI thread after the body has returned (the dispatcher's
// post): the empty text when nothing was captured, else the 10240-character
// raw capture. The main window keeps it in its own `collectedCode` there, so
// no text is ever shared between the threads.
//
// The collector never waits for the UI thread. Destroying it (on the UI
// thread: the end handler releasing it, or the window's close) stops it at
// its next look, drops an end handler not yet run, and joins, which waits for
// at most one device call.
class TCollectCode {
  public:
    using EndHandler = std::function<void(std::string collectedCode)>;

    // Starts at once.
    TCollectCode(CollectorPorts ports, const std::atomic<int>& collectControl, EndHandler onEnd);
    ~TCollectCode() = default;
    TCollectCode(const TCollectCode&) = delete;
    TCollectCode& operator=(const TCollectCode&) = delete;

  private:
    void Run(std::stop_token teardown);
    bool MustStop(const std::stop_token& teardown) const;
    // The raw capture, or the empty text when the collection ended without one.
    std::string Collect(const std::stop_token& teardown);

    CollectorPorts ports_;
    const std::atomic<int>& collectControl_;
    const EndHandler onEnd_;
    // Last: it must stop before anything it uses goes away.
    UiWorkerThread worker_;
};

// Starts a collection unless one still runs: a stopped collector that has
// not ended yet keeps its place and `collectControl` keeps its stop, so at
// most one collector ever runs. True when a collector was started.
bool StartCollection(std::unique_ptr<TCollectCode>& collector, std::atomic<int>& collectControl,
                     CollectorPorts ports, TCollectCode::EndHandler onEnd);

}  // namespace kv::device
