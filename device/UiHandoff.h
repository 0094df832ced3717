#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <utility>

#include "device/UiDispatcher.h"

namespace kv::device {

// A worker's road to the user-interface thread, which its owner can close.
//
// A worker thread asks the UI thread for window work and waits for it; the
// owner, on the UI thread, joins the worker when it goes away. Waiting in the
// dispatcher's blocking invoke() there would deadlock: the worker waits for
// the UI thread, which waits in the join. So a call here is queued with
// post() and the worker waits on the handoff instead, and TearDown() (UI
// thread, before the join) releases it:
//  - a request still queued never runs;
//  - a request already running (a message box whose nested event loop tore
//    the owner down) finishes on its own, and its result is dropped;
//  - an end handler queued by the worker never runs.
// Everything a queued request touches after TearDown lives in shared state,
// so a late request is harmless.
class UiHandoff {
  public:
    explicit UiHandoff(UiDispatcher& dispatcher);
    UiHandoff(const UiHandoff&) = delete;
    UiHandoff& operator=(const UiHandoff&) = delete;

    // Worker side: runs task on the UI thread and waits until it has run.
    // False when the handoff was torn down first.
    bool Call(std::function<void()> task);

    // Worker side: Call for a task with a result; nothing after a teardown.
    template <typename Result>
    std::optional<Result> Call(std::function<Result()> task) {
        auto result = std::make_shared<std::optional<Result>>();
        if (!Call([task = std::move(task), result] { *result = task(); })) {
            return std::nullopt;
        }
        return *result;
    }

    // Worker side: queues task for the UI thread without waiting; it runs
    // unless the handoff is torn down before its turn.
    void Post(std::function<void()> task);

    // UI thread: no request runs from now on and a waiting worker goes on.
    void TearDown();

  private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        bool tornDown = false;
    };
    // True when the task may run; on the UI thread, so nothing can tear the
    // handoff down between this answer and the task.
    static bool StillOpen(Shared& shared);

    UiDispatcher& dispatcher_;
    std::shared_ptr<Shared> shared_;
};

// A worker thread with its handoff to the UI thread, in the one order that
// is safe: destroying it (on the UI thread) tears the handoff down before it
// stops and joins the thread, so the join never waits for the UI thread.
// Declare it last in the owner, so that the thread has ended before anything
// it uses goes away.
class UiWorkerThread {
  public:
    explicit UiWorkerThread(UiDispatcher& dispatcher) : ui_(dispatcher) {}
    ~UiWorkerThread() {
        ui_.TearDown();
        thread_.request_stop();
        // thread_ joins as it is destroyed, before ui_ goes.
    }
    UiWorkerThread(const UiWorkerThread&) = delete;
    UiWorkerThread& operator=(const UiWorkerThread&) = delete;

    // Call once the owner is complete: the body may use all of it at once.
    void Start(std::function<void(std::stop_token teardown)> body) {
        thread_ = std::jthread(std::move(body));
    }

    UiHandoff& Ui() { return ui_; }

  private:
    UiHandoff ui_;
    std::jthread thread_;
};

}  // namespace kv::device
