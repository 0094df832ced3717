#include "device/CodeCollector.h"

#include <utility>

namespace kv::device {
namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;

}  // namespace

int WholeSecondsBetween(const TimeOfDay& from, const TimeOfDay& to) {
    const int difference = to.SecondsSinceMidnight() - from.SecondsSinceMidnight();
    return ((difference % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
}

TCollectCode::TCollectCode(CollectorPorts ports, const std::atomic<int>& collectControl,
                           EndHandler onEnd)
    : ports_(ports),
      collectControl_(collectControl),
      onEnd_(std::move(onEnd)),
      worker_(ports.dispatcher) {
    worker_.Start([this](std::stop_token teardown) { Run(std::move(teardown)); });
}

void TCollectCode::Run(std::stop_token teardown) {
    std::string collectedCode = Collect(teardown);
    // The capture and a copy of the handler travel with the task: the
    // handler usually destroys this object.
    worker_.Ui().Post([onEnd = onEnd_, collectedCode = std::move(collectedCode)]() mutable {
        if (onEnd) {
            onEnd(std::move(collectedCode));
        }
    });
}

bool TCollectCode::MustStop(const std::stop_token& teardown) const {
    return collectControl_.load() >= kCollectMustStop || teardown.stop_requested();
}

std::string TCollectCode::Collect(const std::stop_token& teardown) {
    const TimeOfDay start = ports_.clock.Now();
    if (!ports_.device.SetCodeCarrierWave()) {
        return {};
    }
    while (!MustStop(teardown)) {
        if (WholeSecondsBetween(start, ports_.clock.Now()) > kCollectSecondsLimit) {
            return {};
        }
        // No pause between polls: the device call itself takes its time.
        std::string capture = ReadCapture(ports_.device);
        if (!capture.empty()) {
            return capture;
        }
        if (!ports_.device.link_state()) {
            return {};
        }
    }
    return {};
}

bool StartCollection(std::unique_ptr<TCollectCode>& collector, std::atomic<int>& collectControl,
                     CollectorPorts ports, TCollectCode::EndHandler onEnd) {
    if (collector) {
        return false;
    }
    collectControl.store(kCollectMayRun);
    collector = std::make_unique<TCollectCode>(ports, collectControl, std::move(onEnd));
    return true;
}

}  // namespace kv::device
