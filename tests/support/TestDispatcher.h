#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

#include "device/UiDispatcher.h"

namespace kv::test {

// A UI dispatcher whose "UI thread" is the test's own thread: tasks wait in a
// queue until the test runs them, so a test steps workers one window
// operation at a time. invoke() from a worker blocks it until the test loop
// has run the task; from the test's thread it runs the task at once.
//
// The waits below are bounded so that a broken worker fails the test instead
// of hanging it; they never pace a passing test.
class TestDispatcher final : public device::UiDispatcher {
  public:
    static constexpr std::chrono::seconds kPatience{20};

    TestDispatcher() : loopThread_(std::this_thread::get_id()) {}

    void post(std::function<void()> task) override {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(task));
        }
        changed_.notify_all();
    }

    void invoke(std::function<void()> task) override {
        if (std::this_thread::get_id() == loopThread_) {
            task();
            return;
        }
        bool done = false;
        post([&] {
            task();
            std::lock_guard lock(mutex_);
            done = true;
            changed_.notify_all();
        });
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return done; });
    }

    // Waits for a task without running it; false when none came in time.
    bool WaitForTask() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return !queue_.empty(); });
    }

    // Waits for the next task and runs it; false when none came in time.
    bool RunOne() {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            if (!changed_.wait_for(lock, kPatience, [&] { return !queue_.empty(); })) {
                return false;
            }
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        task();
        return true;
    }

    // Runs tasks, waiting for each, until done() holds (checked before each).
    // False when the workers stopped sending tasks before that.
    template <typename Done>
    bool RunUntil(Done done) {
        while (!done()) {
            if (!RunOne()) {
                return false;
            }
        }
        return true;
    }

    // Runs only the tasks already queued, including ones they queue.
    int RunPending() {
        int count = 0;
        while (Pending() > 0 && RunOne()) {
            ++count;
        }
        return count;
    }

    std::size_t Pending() const {
        std::lock_guard lock(mutex_);
        return queue_.size();
    }

  private:
    const std::thread::id loopThread_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> queue_;
};

}  // namespace kv::test
