#pragma once

#include <chrono>
#include <mutex>
#include <vector>

#include "device/Clock.h"

namespace kv::test {

// A clock that moves only when told: by Advance() (from a test or a fake
// device's hook, as if a call took that long) and by Pause(). It remembers
// every stamp it answered and every pause asked of it.
class FakeClock final : public device::Clock {
  public:
    using Milliseconds = std::chrono::milliseconds;

    explicit FakeClock(device::TimeOfDay start = {10, 15, 0}, Milliseconds pastTheSecond = {}) {
        Set(start, pastTheSecond);
    }

    void Set(device::TimeOfDay time, Milliseconds pastTheSecond = {}) {
        std::lock_guard lock(mutex_);
        now_ = Milliseconds(time.SecondsSinceMidnight() * 1000LL) + pastTheSecond;
    }

    device::TimeOfDay Now() override {
        std::lock_guard lock(mutex_);
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now_).count();
        const device::TimeOfDay stamp{static_cast<int>(seconds / 3600),
                                      static_cast<int>(seconds / 60 % 60),
                                      static_cast<int>(seconds % 60)};
        stamps_.push_back(stamp);
        return stamp;
    }

    void Pause(Milliseconds duration) override {
        std::lock_guard lock(mutex_);
        pauses_.push_back(duration);
        MoveOn(duration);
    }

    void Advance(Milliseconds duration) {
        std::lock_guard lock(mutex_);
        MoveOn(duration);
    }

    std::vector<device::TimeOfDay> Stamps() const {
        std::lock_guard lock(mutex_);
        return stamps_;
    }

    std::vector<Milliseconds> Pauses() const {
        std::lock_guard lock(mutex_);
        return pauses_;
    }

  private:
    static constexpr Milliseconds kDay{24LL * 60 * 60 * 1000};

    void MoveOn(Milliseconds duration) { now_ = (now_ + duration) % kDay; }

    mutable std::mutex mutex_;
    Milliseconds now_{};
    std::vector<device::TimeOfDay> stamps_;
    std::vector<Milliseconds> pauses_;
};

}  // namespace kv::test
