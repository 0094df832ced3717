#pragma once

#include <chrono>

namespace kv::device {

// Local time of day to the whole second.
struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;

    int SecondsSinceMidnight() const { return (hour * 60 + minute) * 60 + second; }
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

// Time as the workers see it: passed in so that tests can cross midnight or a
// time limit without waiting.
class Clock {
public:
    virtual ~Clock() = default;
    virtual TimeOfDay Now() = 0;
    virtual void Pause(std::chrono::milliseconds duration) = 0;
};

// The machine's own local time and a real pause.
class SystemClock final : public Clock {
public:
    TimeOfDay Now() override;
    void Pause(std::chrono::milliseconds duration) override;
};

}  // namespace kv::device
