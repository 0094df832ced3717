#include "device/Clock.h"

#include <ctime>
#include <thread>

namespace kv::device {

TimeOfDay SystemClock::Now() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return TimeOfDay{local.tm_hour, local.tm_min, local.tm_sec};
}

void SystemClock::Pause(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

}  // namespace kv::device
