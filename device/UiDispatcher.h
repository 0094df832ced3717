#pragma once

#include <functional>

namespace kv::device {

// Runs work on the user-interface thread on a worker's behalf.
class UiDispatcher {
public:
    virtual ~UiDispatcher() = default;
    // Queues the task and returns at once.
    virtual void post(std::function<void()> task) = 0;
    // Runs the task on the UI thread and waits until it has run.
    virtual void invoke(std::function<void()> task) = 0;
};

}  // namespace kv::device
