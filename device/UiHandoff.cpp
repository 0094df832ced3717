#include "device/UiHandoff.h"

namespace kv::device {

UiHandoff::UiHandoff(UiDispatcher& dispatcher)
    : dispatcher_(dispatcher), shared_(std::make_shared<Shared>()) {}

bool UiHandoff::StillOpen(Shared& shared) {
    std::lock_guard lock(shared.mutex);
    return !shared.tornDown;
}

bool UiHandoff::Call(std::function<void()> task) {
    // Per call, so that a request finishing after a teardown writes into
    // state it still owns.
    auto done = std::make_shared<bool>(false);
    dispatcher_.post([shared = shared_, done, task = std::move(task)] {
        if (!StillOpen(*shared)) {
            return;
        }
        task();
        {
            std::lock_guard lock(shared->mutex);
            *done = true;
        }
        shared->changed.notify_all();
    });
    std::unique_lock lock(shared_->mutex);
    shared_->changed.wait(lock, [&] { return *done || shared_->tornDown; });
    return *done;
}

void UiHandoff::Post(std::function<void()> task) {
    dispatcher_.post([shared = shared_, task = std::move(task)] {
        if (StillOpen(*shared)) {
            task();
        }
    });
}

void UiHandoff::TearDown() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->tornDown = true;
    }
    shared_->changed.notify_all();
}

}  // namespace kv::device
